#pragma once

#include <qwt_plot.h>
#include <QMap>
#include <QString>
#include <memory>
#include <vector>

#include "platform/chart.h"
#include "platform/qt/subscriptions.h"

class DepthBarChart;
class FrozenCanvas;
class MouseNavigation;
class QwtScaleDraw;
class ReducedCurve;

// A chart of the model as a Qwt plot: its title, axis titles, a legend of the shown series,
// line series drawn reduced to pixel columns, bar series side by side, the axes as the model's
// axes say, and the mouse zooming and panning them. However many model changes come
// in one turn of the event loop, the plot is drawn again once.
class ChartView : public QwtPlot {
  Q_OBJECT

 public:
  ChartView(Chart& chart, QWidget* parent);
  ~ChartView() override;

  // Room for the axes, the legend and a canvas whose traces can still be told apart.
  QSize minimumSizeHint() const override;

  const Chart& Model() const { return chart_; }
  // Draws now if a redraw is due, so output taken at once shows the model as it is.
  void FlushReplot();
  bool ReplotPending() const { return replotPending_; }
  int ReplotCount() const { return replotCount_; }
  const std::vector<ReducedCurve*>& Curves() const { return curves_; }
  // While frozen, the chart shows the picture it had when it froze (its series' arrays are
  // being written): the event loop draws nothing new, and the legend keeps its entries. What
  // came in meanwhile is drawn once it thaws. FlushReplot still draws at once. The mouse zooms
  // and pans nothing meanwhile, and a drag under way when it freezes ends there.
  void SetFrozen(bool frozen);
  bool Frozen() const { return frozen_; }

 public slots:
  void replot() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ScheduleReplot();
  void DrawNow();
  void ShowChartTexts();
  void FollowAxisScale(int axisId, const ChartAxis& axis, bool& shownAutomatic);
  void FollowLineSeries(LineSeries& series);
  void FollowBarSeries(BarSeries& series, DepthBarChart* bars);
  // What the axis shows when it scales automatically: the extent of the shown series.
  AxisRange DataRange(int axisId) const;
  // The model's axes learn what the shown series hold, for a person's zoom and pan.
  void TellDataRanges();
  void ArrangeBars();
  // The bottom axis of a chart with bars is labelled by bar group.
  AxisRange BarLabelSpan() const;
  void ShowBarLabels();
  void SetShown(QwtPlotItem& item, bool shown);
  // So that the scales do not jump while a zoom or pan changes their labels, and a value under
  // the pointer stays there.
  void KeepScalesSteady();
  void SetScaleDraw(int axisId, QwtScaleDraw* draw);

  Chart& chart_;
  std::vector<ReducedCurve*> curves_;
  std::vector<std::pair<BarSeries*, DepthBarChart*>> bars_;
  QMap<double, QString> barLabels_;
  bool leftAutomatic_ = true;
  bool bottomAutomatic_ = true;
  bool replotPending_ = false;
  bool frozen_ = false;
  bool legendPending_ = false;
  // Paints the canvas from its picture while the chart is frozen.
  std::unique_ptr<FrozenCanvas> frozenCanvas_;
  // The plot deletes its canvas only after its own destructor has run; the filters on the
  // canvas go with the view's members, before then.
  std::unique_ptr<MouseNavigation> navigation_;
  int replotCount_ = 0;
  Subscriptions subscriptions_;
};
