#include "platform/qt/reduced_curve.h"

#include <qwt_scale_map.h>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/qt/array_series_data.h"
#include "platform/qt/column_reduction.h"

ReducedCurve::ReducedCurve() {
  setStyle(QwtPlotCurve::Lines);
  setPaintAttribute(QwtPlotCurve::ClipPolygons, false);
}

const ArraySeriesData* ReducedCurve::Data() const {
  return dynamic_cast<const ArraySeriesData*>(data());
}

void ReducedCurve::TakeData(LineSeries& series) {
  const ArraySeriesData* held = Data();
  const bool modified = series.XValues.Modified || series.YValues.Modified;
  if (modified || held == nullptr || held->DiffersFrom(series)) {
    setData(new ArraySeriesData(series));
  }
  series.XValues.Modified = false;
  series.YValues.Modified = false;
}

void ReducedCurve::drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                             const QRectF& /*canvasRect*/, int from, int to) const {
  const ArraySeriesData* data = Data();
  if (data == nullptr || from > to || from < 0) return;

  // One column per pixel of the device, which is finer than the plot's units when printing.
  const double deviceScale = std::abs(painter->transform().m11());
  const double pixels = std::abs(xMap.pDist()) * (deviceScale > 0.0 ? deviceScale : 1.0);
  const double units = xMap.s2() - xMap.s1();
  if (!(units > 0.0) || !(pixels >= 1.0)) return;
  ColumnMapping mapping;
  mapping.Origin = xMap.s1();
  mapping.Columns = static_cast<std::int64_t>(std::ceil(pixels));
  mapping.ColumnsPerUnit = static_cast<double>(mapping.Columns) / units;

  const LineData line = data->Line();
  const ReducedLine reduced =
      ReduceToColumns(line, mapping, static_cast<std::size_t>(from), static_cast<std::size_t>(to));
  if (reduced.Columns.empty() &&
      (reduced.BeforeIndex == line.Count || reduced.AfterIndex == line.Count)) {
    return;
  }

  // Qt's raster engine draws thin lines pixel by pixel, and slowly; a column's extent and
  // the step between neighbouring columns are drawn as one-pixel-wide rectangles instead,
  // which covers the same pixels. Only a step across several columns is drawn as a line.
  const double pixel = 1.0 / (deviceScale > 0.0 ? deviceScale : 1.0);
  const QColor color = pen().color();
  const auto span = [&](double x, double y1, double y2) {
    painter->fillRect(QRectF(x, std::min(y1, y2), pixel, std::abs(y2 - y1) + pixel), color);
  };
  const auto point = [&](std::size_t i) {
    return QPointF(xMap.transform(line.X[i]), yMap.transform(line.Y[i]));
  };
  bool havePrevious = false;
  QPointF previous;
  const auto stepTo = [&](const QPointF& next) {
    if (havePrevious) {
      if (std::abs(next.x() - previous.x()) <= 2 * pixel) {
        span(previous.x(), previous.y(), next.y());
      } else {
        painter->drawLine(previous, next);
      }
    }
    previous = next;
    havePrevious = true;
  };

  const double columnWidth = xMap.pDist() / static_cast<double>(mapping.Columns);
  if (reduced.BeforeIndex != line.Count) stepTo(point(reduced.BeforeIndex));
  for (const ColumnExtremes& column : reduced.Columns) {
    const double left = xMap.p1() + static_cast<double>(column.Column) * columnWidth;
    stepTo(point(column.FirstIndex));
    span(left, yMap.transform(column.Min), yMap.transform(column.Max));
    stepTo(point(column.LastIndex));
  }
  if (reduced.AfterIndex != line.Count) stepTo(point(reduced.AfterIndex));
  if (reduced.Columns.empty() && !havePrevious) return;
}
