#include "platform/qt/held_close.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

HeldClose::HeldClose(QWidget* window) : window_(window) {
  if (window_ != nullptr) window_->installEventFilter(this);
}

HeldClose::~HeldClose() {
  if (window_ == nullptr) return;
  window_->removeEventFilter(this);
  // The close comes from the loop, after the dispatch of the action has unwound.
  if (requested_) QTimer::singleShot(0, window_.data(), &QWidget::close);
}

bool HeldClose::eventFilter(QObject* object, QEvent* event) {
  if (object != window_ || event->type() != QEvent::Close) return false;
  requested_ = true;
  event->ignore();
  return true;
}
