#pragma once

#include <QFrame>
#include <vector>

#include "platform/controls.h"

// A widget whose children sit where their controls say: docked to an edge (top, bottom, left,
// right, in that order, the first created outermost), filling what is left, or at their own
// position and size.
class AlignContainer : public QFrame {
 public:
  explicit AlignContainer(QWidget* parent) : QFrame(parent) {}

  void AddChild(QWidget* widget, const Control& control);
  void Arrange();
  // The smallest size that still shows every placed child whole and gives every docked child
  // and the filling one at least their own smallest size.
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::vector<std::pair<QWidget*, const Control*>> children_;
};
