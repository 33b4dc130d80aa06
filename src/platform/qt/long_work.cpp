#include "platform/qt/long_work.h"

#include <QApplication>
#include <QEvent>
#include <QProgressDialog>
#include <QWidget>

#include "platform/qt/chart_view.h"

namespace {

// The event loop turns at least this often while work reports progress: well inside what a
// person takes for an answer, and seldom enough to cost nothing against the work.
constexpr qint64 UsualTurnIntervalMs = 25;
qint64 turnIntervalMs = UsualTurnIntervalMs;

// The bar shows up only for work that lasts longer than this.
constexpr int BarDelayMs = 500;

constexpr int BarSteps = 1000;

// What a person does with the mouse, the keys, a pen or a finger, and a drop onto a window.
bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

LongWork::LongWork(QWidget* window) : window_(window) {
  SetChartsFrozen(true);
  qApp->installEventFilter(this);
  bar_ = std::make_unique<QProgressDialog>(window);
  bar_->setCancelButton(nullptr);
  bar_->setWindowTitle(window != nullptr ? window->windowTitle() : QString());
  bar_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  bar_->setAutoClose(false);
  bar_->setAutoReset(false);
  bar_->setRange(0, BarSteps);
  // The bar shows when the work has lasted. The dialog would show itself by its own guess of
  // the time left, and by a timer started with it, which a box's loop would run too.
  bar_->reset();
  barDelay_.start();
}

LongWork::~LongWork() {
  // Input that came in since the last turn is dropped too, so nothing done while the work ran
  // reaches a control after it.
  if (paused_ == 0) QCoreApplication::processEvents();
  qApp->removeEventFilter(this);
  bar_.reset();
  SetChartsFrozen(false);
}

void LongWork::Report(double fractionDone) {
  if (paused_ > 0) return;
  ShowBar(fractionDone);
  // The first report turns the loop at once: the window may not have been drawn since a
  // dialog closed over it.
  if (!sinceTurn_.isValid() || sinceTurn_.elapsed() >= turnIntervalMs) TurnEventLoop();
}

void LongWork::ShowBar(double fractionDone) {
  if (!bar_->isVisible()) {
    if (barDelay_.elapsed() < BarDelayMs) return;
    bar_->show();
  }
  const double clamped = fractionDone < 0.0 ? 0.0 : fractionDone > 1.0 ? 1.0 : fractionDone;
  bar_->setValue(static_cast<int>(clamped * BarSteps));
}

qint64 LongWork::TurnIntervalMs() {
  return turnIntervalMs;
}

void LongWork::SetTurnInterval(qint64 ms) {
  turnIntervalMs = ms >= 0 ? ms : UsualTurnIntervalMs;
}

void LongWork::TurnEventLoop() {
  QCoreApplication::processEvents();
  sinceTurn_.restart();
}

void LongWork::Pause() {
  if (paused_++ > 0) return;
  qApp->removeEventFilter(this);
  // Reset also stops the dialog's own show timer, which the box's loop would run.
  bar_->reset();
  bar_->hide();
}

void LongWork::Resume() {
  if (--paused_ > 0) return;
  qApp->installEventFilter(this);
  barDelay_.restart();
  sinceTurn_.invalidate();
}

bool LongWork::eventFilter(QObject* object, QEvent* event) {
  if (IsInput(event->type())) return true;
  if (event->type() == QEvent::Close && object != window_ && object->isWidgetType() &&
      static_cast<QWidget*>(object)->isWindow()) {
    event->ignore();
    return true;
  }
  return false;
}

void LongWork::SetChartsFrozen(bool frozen) {
  if (window_ == nullptr) return;
  for (ChartView* chart : window_->findChildren<ChartView*>()) chart->SetFrozen(frozen);
}
