#include "platform/qt/chart_view.h"

#include <qwt_interval.h>
#include <qwt_legend.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_layout.h>
#include <qwt_scale_div.h>
#include <qwt_scale_widget.h>
#include <QFontMetrics>
#include <QMap>
#include <QStringList>
#include <QTimer>

#include "platform/qt/axis_scale.h"
#include "platform/qt/depth_bar_chart.h"
#include "platform/qt/frozen_canvas.h"
#include "platform/qt/label_scale_draw.h"
#include "platform/qt/mouse_navigation.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/reduced_curve.h"

namespace {

// The smallest chart whose canvas, beside the axes and the legend, still shows the traces.
constexpr QSize ReadableChartSize(480, 300);

// Lines are a pixel wide on screen. They are not cosmetic, so a print-out widens them with the
// printer's resolution and they keep their weight on paper.
constexpr double LineWidth = 1.0;

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
  KeepScalesSteady();
  navigation_ = std::make_unique<MouseNavigation>(*this, chart);

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
  navigation_->SetFrozen(frozen);
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
  if (axisId == QwtPlot::xBottom && !barLabels_.isEmpty()) {
    ShowBarLabels();
    return;
  }
  // The plot's own scaling takes over only when the model's axis becomes automatic: until
  // then the plot keeps what was set on it.
  if (axis.Automatic()) {
    if (!shownAutomatic) setAxisAutoScale(axisId, true);
  } else {
    setAxisScale(axisId, axis.Minimum(), axis.Maximum());
  }
  shownAutomatic = axis.Automatic();
}

AxisRange ChartView::DataRange(int axisId) const {
  if (axisId == QwtPlot::xBottom && !barLabels_.isEmpty()) return BarLabelSpan();
  // What the plot's automatic scaling covers: every shown item that scales the axis.
  QwtInterval extent;
  for (const QwtPlotItem* item : itemList()) {
    if (!item->isVisible() || !item->testItemAttribute(QwtPlotItem::AutoScale)) continue;
    const QRectF bounds = item->boundingRect();
    if (item->xAxis() == axisId && bounds.width() >= 0.0) {
      extent |= QwtInterval(bounds.left(), bounds.right());
    } else if (item->yAxis() == axisId && bounds.height() >= 0.0) {
      extent |= QwtInterval(bounds.top(), bounds.bottom());
    }
  }
  return extent.isValid() ? AxisRange{extent.minValue(), extent.maxValue()} : AxisRange{1.0, 0.0};
}

void ChartView::TellDataRanges() {
  chart_.BottomAxis().SetDataRange(DataRange(QwtPlot::xBottom));
  chart_.LeftAxis().SetDataRange(DataRange(QwtPlot::yLeft));
}

void ChartView::KeepScalesSteady() {
  // The canvas ends where the time scale ends, and both scales leave room for the widest labels
  // they are likely to write: the sample numbers of a day and values of a few hundred.
  plotLayout()->setAlignCanvasToScale(QwtPlot::yLeft, true);
  plotLayout()->setAlignCanvasToScale(QwtPlot::yRight, true);
  QwtScaleWidget* time = axisWidget(QwtPlot::xBottom);
  const int halfTimeLabel = QFontMetrics(time->font()).horizontalAdvance("00,000,000") / 2;
  time->setMinBorderDist(halfTimeLabel, halfTimeLabel);
  QwtScaleDraw* values = axisScaleDraw(QwtPlot::yLeft);
  values->setMinimumExtent(
      QFontMetrics(axisWidget(QwtPlot::yLeft)->font()).horizontalAdvance("-000.000") +
      values->maxTickLength() + values->spacing() + values->penWidth());
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
    TellDataRanges();
    ScheduleReplot();
  });
}

void ChartView::FollowBarSeries(BarSeries& series, DepthBarChart* bars) {
  subscriptions_.Follow(series, [this, bars, &series] {
    bars->TakePoints(series);
    bars->setTitle(LegendTitle(series));
    SetShown(*bars, series.Active());
    ArrangeBars();
    TellDataRanges();
    ScheduleReplot();
  });
}

void ChartView::ArrangeBars() {
  int shown = 0;
  for (auto& [series, bars] : bars_) shown += series->Active() ? 1 : 0;
  int place = 0;
  barLabels_.clear();
  for (auto& [series, bars] : bars_) {
    if (!series->Active()) continue;
    bars->SetPlace(place++, shown);
    for (const BarPoint& point : series->Points()) {
      if (!barLabels_.contains(point.X)) barLabels_.insert(point.X, ToQString(point.Label));
    }
  }
  if (barLabels_.isEmpty()) {
    SetScaleDraw(QwtPlot::xBottom, new NumberScaleDraw());
    setAxisAutoScale(QwtPlot::xBottom);
    return;
  }
  SetScaleDraw(QwtPlot::xBottom, new LabelScaleDraw(barLabels_));
  ShowBarLabels();
}

AxisRange ChartView::BarLabelSpan() const {
  return {barLabels_.firstKey() - 0.5, barLabels_.lastKey() + 0.5};
}

void ChartView::ShowBarLabels() {
  // One tick per bar group in what the axis shows, each named by its label.
  const ChartAxis& axis = chart_.BottomAxis();
  const AxisRange shown =
      axis.Automatic() ? BarLabelSpan() : AxisRange{axis.Minimum(), axis.Maximum()};
  QList<double> ticks;
  for (const double x : barLabels_.keys()) {
    if (x >= shown.Min && x <= shown.Max) ticks << x;
  }
  setAxisScaleDiv(QwtPlot::xBottom,
                  QwtScaleDiv(shown.Min, shown.Max, QList<double>(), QList<double>(), ticks));
}
