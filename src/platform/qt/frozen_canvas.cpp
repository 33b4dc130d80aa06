#include "platform/qt/frozen_canvas.h"

#include <qwt_plot_canvas.h>
#include <QEvent>
#include <QPainter>

FrozenCanvas::FrozenCanvas(QwtPlotCanvas& canvas) : canvas_(canvas) {
  const QPixmap* picture = canvas.backingStore();
  if (picture != nullptr) picture_ = *picture;
  canvas.installEventFilter(this);
}

FrozenCanvas::~FrozenCanvas() {
  canvas_.removeEventFilter(this);
}

bool FrozenCanvas::eventFilter(QObject* object, QEvent* event) {
  if (object != &canvas_ || event->type() != QEvent::Paint) return false;
  QPainter painter(&canvas_);
  painter.fillRect(canvas_.rect(), canvas_.palette().brush(canvas_.backgroundRole()));
  if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
  return true;
}
