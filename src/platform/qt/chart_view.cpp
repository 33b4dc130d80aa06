#include "platform/qt/chart_view.h"

#include <qwt_interval.h>
#include <qwt_legend.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_magnifier.h>
#include <qwt_scale_div.h>
#include <QEvent>
#include <QMap>
#include <QPainter>
#include <QStringList>
#include <QTimer>

#include "platform/qt/axis_scale.h"
#include "platform/qt/depth_bar_chart.h"
#include "platform/qt/label_scale_draw.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/reduced_curve.h"

namespace {

// The smallest chart whose canvas, beside the axes and the legend, still shows the traces.
constexpr QSize ReadableChartSize(480, 300);

// Lines are a pixel wide on screen. They are not cosmetic, so a print-out widens them with the
// printer's resolution and they keep their weight on paper.
constexpr double LineWidth = 1.0;

// Qwt's default wheel factor zooms out on a forward turn; the inverse zooms in.
constexpr double WheelZoomFactor = 1.0 / 0.9;

// The wheel zooms the chart's axes, as the chart component's own zoom does: a zoomed axis
// shows a range of its own until a zoom out reaches the whole again, a double-click asks for
// the whole at once, and code can make the axes automatic again (every load does).
class WheelZoom : public QwtPlotMagnifier {
 public:
  WheelZoom(ChartView& view, Chart& chart)
      : QwtPlotMagnifier(view.canvas()), view_(view), chart_(chart) {}

  bool eventFilter(QObject* object, QEvent* event) override {
    if (object == parent() && event->type() == QEvent::MouseButtonDblClick) {
      chart_.UndoZoom();
      return true;
    }
    return QwtPlotMagnifier::eventFilter(object, event);
  }

 protected:
  void rescale(double factor) override {
    chart_.LeftAxis().Zoom(factor, view_.WholeRange(QwtPlot::yLeft));
    chart_.BottomAxis().Zoom(factor, view_.WholeRange(QwtPlot::xBottom));
  }

 private:
  ChartView& view_;
  Chart& chart_;
};

// Paints a canvas with the picture it had when this began, whatever asks it to repaint: the
// picture of the arrays as they were, never of arrays half written. A canvas that was never
// drawn shows its background alone.
class FrozenCanvas : public QObject {
 public:
  explicit FrozenCanvas(QwtPlotCanvas& canvas) : canvas_(canvas) {
    const QPixmap* picture = canvas.backingStore();
    if (picture != nullptr) picture_ = *picture;
    canvas.installEventFilter(this);
  }
  ~FrozenCanvas() override { canvas_.removeEventFilter(this); }

  bool eventFilter(QObject* object, QEvent* event) override {
    if (object != &canvas_ || event->type() != QEvent::Paint) return false;
    QPainter painter(&canvas_);
    painter.fillRect(canvas_.rect(), canvas_.palette().brush(canvas_.backgroundRole()));
    if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
    return true;
  }

 private:
  QwtPlotCanvas& canvas_;
  QPixmap picture_;
};

QString LegendTitle(const ChartSeries& series) {
  return ToQString(series.Title().empty() ? series.Name() : series.Title());
}

}  // namespace

ChartView::ChartView(Chart& chart, QWidget* parent) : QwtPlot(parent), chart_(chart) {
  setAutoReplot(false);
  setCanvasBackground(Qt::white);
  insertLegend(new QwtLegend(), QwtPlot::RightLegend);
  for (const auto& [axisId, axis] : {std::pair(QwtPlot::yLeft, &chart.LeftAxis()),
                                     std::pair(QwtPlot::xBottom, &chart.BottomAxis())}) {
    setAxisScaleEngine(axisId, new ChartScaleEngine(axis->Increment));
    SetScaleDraw(axisId, new NumberScaleDraw());
    axisScaleDraw(axisId)->enableComponent(QwtAbstractScaleDraw::Backbone, axis->AxisLineVisible);
  }
  if (chart.MouseWheelZooms) {
    // The wheel only: no dragging, no keys, and no panner, so the wheel never pans.
    auto* magnifier = new WheelZoom(*this, chart);
    magnifier->setMouseButton(Qt::NoButton);
    magnifier->setZoomInKey(Qt::Key_unknown, Qt::NoModifier);
    magnifier->setZoomOutKey(Qt::Key_unknown, Qt::NoModifier);
    magnifier->setWheelFactor(WheelZoomFactor);
  }

  for (std::size_t i = 0; i < chart.SeriesCount(); ++i) {
    ChartSeries* series = chart.GetSeries(static_cast<int>(i));
    if (auto* line = dynamic_cast<LineSeries*>(series)) {
      FollowLineSeries(*line);
    } else if (auto* bar = dynamic_cast<BarSeries*>(series)) {
      auto* bars = new DepthBarChart();
      if (chart.View3D) {
        bars->SetDepth(BarDepth{static_cast<double>(chart.Depth3DPercent),
                                static_cast<double>(chart.Perspective3D)});
      }
      bars->attach(this);
      bars_.emplace_back(bar, bars);
    }
  }
  for (auto& [series, bars] : bars_) FollowBarSeries(*series, bars);
  subscriptions_.Follow(chart, [this] {
    ShowChartTexts();
    FollowAxisScale(QwtPlot::yLeft, chart_.LeftAxis(), leftAutomatic_);
    FollowAxisScale(QwtPlot::xBottom, chart_.BottomAxis(), bottomAutomatic_);
    ScheduleReplot();
  });
}

ChartView::~ChartView() = default;

QSize ChartView::minimumSizeHint() const {
  return QwtPlot::minimumSizeHint().expandedTo(ReadableChartSize);
}

void ChartView::ScheduleReplot() {
  if (replotPending_) return;
  replotPending_ = true;
  QTimer::singleShot(0, this, [this] {
    if (replotPending_) replot();
  });
}

void ChartView::FlushReplot() {
  if (replotPending_) DrawNow();
}

void ChartView::replot() {
  if (frozen_) {
    replotPending_ = true;
    return;
  }
  DrawNow();
}

void ChartView::DrawNow() {
  replotPending_ = false;
  ++replotCount_;
  if (legendPending_) {
    legendPending_ = false;
    updateLegend();
  }
  QwtPlot::replot();
}

void ChartView::SetFrozen(bool frozen) {
  if (frozen == frozen_) return;
  frozen_ = frozen;
  if (frozen) {
    frozenCanvas_ = std::make_unique<FrozenCanvas>(*static_cast<QwtPlotCanvas*>(canvas()));
    return;
  }
  frozenCanvas_.reset();
  if (replotPending_) {
    replotPending_ = false;
    ScheduleReplot();
  }
  canvas()->update();
}

// The chart's right and top margins are per cent of its size, as the form description gives
// them.
void ChartView::resizeEvent(QResizeEvent* event) {
  setContentsMargins(0, height() * chart_.MarginTop / 100, width() * chart_.MarginRight / 100, 0);
  QwtPlot::resizeEvent(event);
}

void ChartView::ShowChartTexts() {
  QStringList lines;
  for (const std::string& line : chart_.TitleLines()) lines << ToQString(line);
  setTitle(lines.join('\n'));
  setAxisTitle(QwtPlot::yLeft, ToQString(chart_.LeftAxis().Title()));
  setAxisTitle(QwtPlot::xBottom, ToQString(chart_.BottomAxis().Title()));
  ScheduleReplot();
}

void ChartView::FollowAxisScale(int axisId, const ChartAxis& axis, bool& shownAutomatic) {
  // The plot's own scaling takes over only when the model's axis becomes automatic: until
  // then the plot keeps what was set on it, such as the scale of the bar labels.
  if (axis.Automatic()) {
    if (!shownAutomatic) setAxisAutoScale(axisId, true);
  } else {
    setAxisScale(axisId, axis.Minimum(), axis.Maximum());
  }
  shownAutomatic = axis.Automatic();
}

AxisRange ChartView::WholeRange(int axisId) const {
  // What the plot's automatic scaling covers: every shown item that scales the axis.
  QwtInterval whole;
  for (const QwtPlotItem* item : itemList()) {
    if (!item->isVisible() || !item->testItemAttribute(QwtPlotItem::AutoScale)) continue;
    const QRectF bounds = item->boundingRect();
    if (item->xAxis() == axisId && bounds.width() >= 0.0) {
      whole |= QwtInterval(bounds.left(), bounds.right());
    } else if (item->yAxis() == axisId && bounds.height() >= 0.0) {
      whole |= QwtInterval(bounds.top(), bounds.bottom());
    }
  }
  return whole.isValid() ? AxisRange{whole.minValue(), whole.maxValue()} : AxisRange{1.0, 0.0};
}

void ChartView::SetScaleDraw(int axisId, QwtScaleDraw* draw) {
  draw->setPenWidth(static_cast<int>(LineWidth));
  setAxisScaleDraw(axisId, draw);
}

void ChartView::SetShown(QwtPlotItem& item, bool shown) {
  // A hidden item keeps its legend entry unless it leaves the legend too.
  item.setVisible(shown);
  item.setItemAttribute(QwtPlotItem::Legend, shown);
  if (frozen_) {
    legendPending_ = true;
  } else {
    updateLegend(&item);
  }
}

void ChartView::FollowLineSeries(LineSeries& series) {
  auto* curve = new ReducedCurve();
  curve->attach(this);
  curves_.push_back(curve);
  subscriptions_.Follow(series, [this, curve, &series] {
    curve->TakeData(series);
    curve->setTitle(LegendTitle(series));
    curve->setPen(ToQColor(series.SeriesColor()), LineWidth);
    SetShown(*curve, series.Active());
    ScheduleReplot();
  });
}

void ChartView::FollowBarSeries(BarSeries& series, DepthBarChart* bars) {
  subscriptions_.Follow(series, [this, bars, &series] {
    bars->TakePoints(series);
    bars->setTitle(LegendTitle(series));
    SetShown(*bars, series.Active());
    ArrangeBars();
    ScheduleReplot();
  });
}

void ChartView::ArrangeBars() {
  int shown = 0;
  for (auto& [series, bars] : bars_) shown += series->Active() ? 1 : 0;
  int place = 0;
  QMap<double, QString> labels;
  for (auto& [series, bars] : bars_) {
    if (!series->Active()) continue;
    bars->SetPlace(place++, shown);
    for (const BarPoint& point : series->Points()) {
      if (!labels.contains(point.X)) labels.insert(point.X, ToQString(point.Label));
    }
  }
  if (labels.isEmpty()) {
    SetScaleDraw(QwtPlot::xBottom, new NumberScaleDraw());
    setAxisAutoScale(QwtPlot::xBottom);
    return;
  }
  // One tick per bar group, each named by its label.
  QList<double> ticks = labels.keys();
  SetScaleDraw(QwtPlot::xBottom, new LabelScaleDraw(labels));
  setAxisScaleDiv(QwtPlot::xBottom, QwtScaleDiv(ticks.front() - 0.5, ticks.back() + 0.5,
                                                QList<double>(), QList<double>(), ticks));
}
