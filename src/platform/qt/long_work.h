#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <memory>

class ChartView;
class QProgressDialog;
class QWidget;

// The long part of one action: from the first report of its progress to the action's end.
// The window keeps answering the desktop in between: each report lets the event loop turn
// when it has not for a while, so the window repaints and answers the desktop's pings, and a
// progress bar appears once the work has lasted half a second. The person's input is dropped
// meanwhile, as a modal window drops it; a request to close the main window goes on to the
// window, where the action's HeldClose keeps it for the action's end, and other windows stay.
// The charts show what they showed before the action until it ends: their arrays are being
// written.
class LongWork : public QObject {
 public:
  // `window` is the main window (may be null).
  explicit LongWork(QWidget* window);
  ~LongWork() override;
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  // How long an action runs before its work counts as long, and how often the loop turns
  // then. Tests set 0 to turn at every report; a negative value restores the usual interval.
  static qint64 TurnIntervalMs();
  static void SetTurnInterval(qint64 ms);

  void Report(double fractionDone);
  // While a box or a dialog waits for the person, the input is theirs and no bar is shown;
  // after it the window is drawn again at the next report, and the bar comes back once the
  // work has lasted another half second.
  void Pause();
  void Resume();

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  void TurnEventLoop();
  void ShowBar(double fractionDone);
  void SetChartsFrozen(bool frozen);

  QPointer<QWidget> window_;
  std::unique_ptr<QProgressDialog> bar_;
  QElapsedTimer sinceTurn_;
  // The time the work has run since it started or a person answered it.
  QElapsedTimer barDelay_;
  int paused_ = 0;
};
