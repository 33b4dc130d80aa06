#include "platform/qt/chart_view.h"

#include <qwt_legend.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_magnifier.h>
#include <qwt_scale_div.h>
#include <QMap>
#include <QStringList>
#include <QTimer>

#include "platform/qt/depth_bar_chart.h"
#include "platform/qt/label_scale_draw.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/reduced_curve.h"

namespace {

// Qwt's default wheel factor zooms out on a forward turn; the inverse zooms in.
constexpr double WheelZoomFactor = 1.0 / 0.9;

// A wheel zoom fixes the axes' ranges, as the chart component's own zoom does: the model's
// axes stop scaling automatically until code makes them automatic again (every load does).
class WheelZoom : public QwtPlotMagnifier {
 public:
  WheelZoom(QWidget* canvas, Chart& chart) : QwtPlotMagnifier(canvas), chart_(chart) {}

 protected:
  void rescale(double factor) override {
    QwtPlotMagnifier::rescale(factor);
    chart_.LeftAxis().SetAutomatic(false);
    chart_.BottomAxis().SetAutomatic(false);
  }

 private:
  Chart& chart_;
};

QString LegendTitle(const ChartSeries& series) {
  return ToQString(series.Title().empty() ? series.Name() : series.Title());
}

}  // namespace

ChartView::ChartView(Chart& chart, QWidget* parent) : QwtPlot(parent), chart_(chart) {
  setAutoReplot(false);
  setCanvasBackground(Qt::white);
  insertLegend(new QwtLegend(), QwtPlot::RightLegend);
  if (!chart.LeftAxis().AxisLineVisible) {
    axisScaleDraw(QwtPlot::yLeft)->enableComponent(QwtAbstractScaleDraw::Backbone, false);
  }
  if (chart.MouseWheelZooms) {
    // The wheel only: no dragging, no keys, and no panner, so the wheel never pans.
    auto* magnifier = new WheelZoom(canvas(), chart);
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
    FollowAxisScaling();
  });
}

ChartView::~ChartView() = default;

void ChartView::ScheduleReplot() {
  if (replotPending_) return;
  replotPending_ = true;
  QTimer::singleShot(0, this, [this] { FlushReplot(); });
}

void ChartView::FlushReplot() {
  if (replotPending_) replot();
}

void ChartView::replot() {
  replotPending_ = false;
  ++replotCount_;
  QwtPlot::replot();
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

void ChartView::FollowAxisScaling() {
  const bool left = chart_.LeftAxis().Automatic();
  const bool bottom = chart_.BottomAxis().Automatic();
  if (left && !leftAutomatic_) setAxisAutoScale(QwtPlot::yLeft, true);
  if (bottom && !bottomAutomatic_) setAxisAutoScale(QwtPlot::xBottom, true);
  leftAutomatic_ = left;
  bottomAutomatic_ = bottom;
  ScheduleReplot();
}

void ChartView::SetShown(QwtPlotItem& item, bool shown) {
  // A hidden item keeps its legend entry unless it leaves the legend too.
  item.setVisible(shown);
  item.setItemAttribute(QwtPlotItem::Legend, shown);
  updateLegend(&item);
}

void ChartView::FollowLineSeries(LineSeries& series) {
  auto* curve = new ReducedCurve();
  curve->attach(this);
  curves_.push_back(curve);
  subscriptions_.Follow(series, [this, curve, &series] {
    curve->TakeData(series);
    curve->setTitle(LegendTitle(series));
    curve->setPen(ToQColor(series.SeriesColor()), 0.0);
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
    setAxisScaleDraw(QwtPlot::xBottom, new QwtScaleDraw());
    setAxisAutoScale(QwtPlot::xBottom);
    return;
  }
  // One tick per bar group, each named by its label.
  QList<double> ticks = labels.keys();
  setAxisScaleDraw(QwtPlot::xBottom, new LabelScaleDraw(labels));
  setAxisScaleDiv(QwtPlot::xBottom, QwtScaleDiv(ticks.front() - 0.5, ticks.back() + 0.5,
                                                QList<double>(), QList<double>(), ticks));
}
