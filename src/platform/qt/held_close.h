#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// A request to close the window while an action runs waits for the action's end: the handler
// goes on with the window's controls and charts. The request may come in any stretch of the
// action, also after its last report; the window closes once the loop turns after the handler
// has returned, when this holder goes. While a box waits for the person, the desktop's own
// close of the window under it is refused by Qt before it reaches the window, as in any
// program with a box up.
class HeldClose : public QObject {
 public:
  // `window` is the main window (may be null).
  explicit HeldClose(QWidget* window);
  ~HeldClose() override;
  HeldClose(const HeldClose&) = delete;
  HeldClose& operator=(const HeldClose&) = delete;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  bool requested_ = false;
};
