#pragma once

#include <QObject>
#include <QPixmap>

class QwtPlotCanvas;

// Paints a canvas with the picture it had when this began, whatever asks it to repaint: the
// picture of the arrays as they were, never of arrays half written. A canvas that was never
// drawn shows its background alone.
class FrozenCanvas : public QObject {
 public:
  explicit FrozenCanvas(QwtPlotCanvas& canvas);
  ~FrozenCanvas() override;

  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  QwtPlotCanvas& canvas_;
  QPixmap picture_;
};
