#pragma once

#include <qwt_plot_barchart.h>
#include <QColor>
#include <QVector>

#include "platform/chart.h"

struct BarDepth {
  double DepthPercent = 0.0;        // of a bar group's width; 0 draws flat bars
  double PerspectivePercent = 0.0;  // how much the side faces narrow towards the right
};

// One bar series: the bars of the shown series stand side by side around each x, each series
// in its own place of the group, and are drawn as blocks (front, top and side face) when the
// chart has depth.
class DepthBarChart : public QwtPlotBarChart {
 public:
  DepthBarChart();

  // Takes the series' points, colours and bar width.
  void TakePoints(const BarSeries& series);
  // This series' place among the `shown` series of the chart.
  void SetPlace(int place, int shown);
  void SetDepth(const BarDepth& depth) { depth_ = depth; }

 protected:
  void drawSample(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                  const QRectF& canvasRect, const QwtInterval& boundingInterval, int index,
                  const QPointF& sample) const override;

 private:
  QVector<QColor> colors_;
  double widthFraction_ = 0.7;
  int place_ = 0;
  int shown_ = 1;
  BarDepth depth_;
};

// Draws a bar as a block: the front face in the bar's colour, the top and the side in darker
// shades, reaching `depth` pixels back, with the side narrowed by `perspective` (0 .. 1).
void DrawDepthBar(QPainter& painter, const QRectF& front, const QColor& color, double depth,
                  double perspective);
