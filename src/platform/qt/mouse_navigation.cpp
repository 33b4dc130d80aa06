#include "platform/qt/mouse_navigation.h"

#include <qwt_plot_canvas.h>
#include <QEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/qt/chart_view.h"

namespace {

// One notch of the wheel forward shows this much of the width; backward shows the inverse.
constexpr double WheelZoomInFactor = 0.9;
constexpr double WheelNotch = 120.0;

// A left drag shorter than this on either side is taken for a click and does nothing.
constexpr int MinimumDragPixels = 4;

}  // namespace

MouseNavigation::MouseNavigation(ChartView& view, Chart& chart)
    : view_(view),
      chart_(chart),
      canvas_(*view.canvas()),
      band_(new QRubberBand(QRubberBand::Rectangle, &canvas_)) {
  canvas_.installEventFilter(this);
}

MouseNavigation::~MouseNavigation() {
  canvas_.removeEventFilter(this);
}

void MouseNavigation::SetFrozen(bool frozen) {
  frozen_ = frozen;
  if (!frozen) return;
  // The release of a button held now never comes here: the gesture ends where it is.
  held_ = Qt::NoButton;
  band_->hide();
}

bool MouseNavigation::eventFilter(QObject* object, QEvent* event) {
  if (object != &canvas_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      break;
    case QEvent::Wheel:
      if (!chart_.MouseWheelZooms) return false;
      break;
    default:
      return false;
  }
  // A frozen chart's arrays are being written: it draws nothing for a gesture, and a gesture
  // changes nothing it shows.
  if (!frozen_) Follow(*event);
  return true;
}

void MouseNavigation::Follow(QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
      Press(static_cast<QMouseEvent&>(event));
      break;
    case QEvent::MouseMove:
      Move(static_cast<QMouseEvent&>(event).pos());
      break;
    case QEvent::MouseButtonRelease:
      Release(static_cast<QMouseEvent&>(event));
      break;
    case QEvent::MouseButtonDblClick:
      chart_.UndoZoom();
      break;
    default:
      Turn(static_cast<QWheelEvent&>(event));
      break;
  }
}

void MouseNavigation::Press(const QMouseEvent& event) {
  if (held_ != Qt::NoButton) return;
  if (event.button() != Qt::LeftButton && event.button() != Qt::RightButton) return;
  held_ = event.button();
  from_ = event.pos();
  grabbed_ = ValueAt(from_);
}

void MouseNavigation::Move(const QPoint& to) {
  if (held_ == Qt::LeftButton) {
    band_->setGeometry(QRect(from_, to).normalized());
    band_->show();
  } else if (held_ == Qt::RightButton) {
    // Every move pans at once and brings the value grabbed back under the pointer.
    const ChartPoint pointed = ValueAt(to);
    chart_.Pan(ChartPoint{grabbed_.X - pointed.X, grabbed_.Y - pointed.Y});
  }
}

void MouseNavigation::Release(const QMouseEvent& event) {
  if (event.button() != held_) return;
  held_ = Qt::NoButton;
  if (event.button() != Qt::LeftButton) return;
  band_->hide();
  const QPoint to = event.pos();
  const QPoint drag = to - from_;
  if (std::abs(drag.x()) < MinimumDragPixels || std::abs(drag.y()) < MinimumDragPixels) return;
  if (drag.x() < 0 && drag.y() < 0) {
    chart_.UndoZoom();
    return;
  }
  const ChartPoint a = ValueAt(from_);
  const ChartPoint b = ValueAt(to);
  chart_.ZoomTo(ChartArea{AxisRange{std::min(a.X, b.X), std::max(a.X, b.X)},
                          AxisRange{std::min(a.Y, b.Y), std::max(a.Y, b.Y)}});
}

void MouseNavigation::Turn(const QWheelEvent& event) {
  const int delta = event.angleDelta().y();
  if (delta == 0) return;
  const QPointF at = event.position();
  chart_.Zoom(std::pow(WheelZoomInFactor, delta / WheelNotch), ValueAt(at));
}

ChartPoint MouseNavigation::ValueAt(const QPointF& pixel) {
  view_.FlushReplot();
  return {view_.canvasMap(QwtPlot::xBottom).invTransform(pixel.x()),
          view_.canvasMap(QwtPlot::yLeft).invTransform(pixel.y())};
}
