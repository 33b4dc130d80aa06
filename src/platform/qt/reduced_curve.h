#pragma once

#include <qwt_plot_curve.h>

#include "platform/chart.h"

class ArraySeriesData;

// A curve that draws each pixel column of its line as the column's first, lowest, highest and
// last point: the picture of every point at a cost that follows the canvas width. The column
// width comes from the painter, so a print-out is reduced to the printer's pixels.
class ReducedCurve : public QwtPlotCurve {
 public:
  ReducedCurve();

  // Takes the series' arrays again, rebuilding the tables, when they are marked modified or
  // are not the ones held; then the series' value lists are no longer modified.
  void TakeData(LineSeries& series);
  const ArraySeriesData* Data() const;

 protected:
  void drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                 const QRectF& canvasRect, int from, int to) const override;
};
