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
// progress bar appears once the work lasts. The person's input is dropped meanwhile, as a
// modal window drops it, and a request to close the window is kept for the action's end. The
// charts show what they showed before the action until it ends: their arrays are being
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
  // While a box or a dialog waits for the person, the input is theirs and no bar is shown.
  void Pause();
  void Resume();
  // Whether the person asked to close the window while the work ran.
  bool CloseRequested() const { return closeRequested_; }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  void TurnEventLoop();
  void SetChartsFrozen(bool frozen);

  QPointer<QWidget> window_;
  std::unique_ptr<QProgressDialog> bar_;
  QElapsedTimer sinceTurn_;
  int paused_ = 0;
  bool closeRequested_ = false;
};
