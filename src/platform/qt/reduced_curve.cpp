#include "platform/qt/reduced_curve.h"

#include <qwt_painter.h>
#include <qwt_scale_map.h>
#include <QPainter>
#include <QPolygonF>
#include <QRect>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/qt/array_series_data.h"
#include "platform/qt/column_reduction.h"
#include "platform/qt/span_rectangles.h"

namespace {

// Pixel rows far beyond any canvas: a wild value must not overflow an int.
constexpr double RowLimit = 1 << 24;
constexpr ColumnSpan NoRows{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};

// Where a value lands on a raster device, rounded as Qwt rounds the points it draws.
double PixelRow(const QwtScaleMap& yMap, double y) {
  return std::clamp(std::floor(yMap.transform(y) + 0.5), -RowLimit, RowLimit);
}

// The pixel columns of the canvas at `scale` device pixels per plot unit. The canvas may
// reach past the scale's ends (its margins), and points there are drawn too.
ColumnMapping ColumnsOf(const QwtScaleMap& xMap, const QRectF& canvasRect, double scale) {
  ColumnMapping mapping;
  mapping.Origin = xMap.s1();
  mapping.Left = xMap.p1() * scale;
  mapping.PixelsPerUnit = (xMap.p2() - xMap.p1()) / (xMap.s2() - xMap.s1()) * scale;
  const double left = std::floor(canvasRect.left() * scale);
  const double right = std::ceil(canvasRect.right() * scale);
  mapping.FirstPixel = static_cast<std::int64_t>(left);
  mapping.Columns = static_cast<std::int64_t>(right - left) + 1;
  return mapping;
}

// Whether the painter draws whole device pixels the way the raster engine draws a thin
// opaque line, so the reduced line can be filled as pixel runs. On a screen with more device
// pixels than logical ones the points still land on logical pixels, but the pen covers
// device pixels, so there the runs would not be the line's.
bool DrawsWholePixels(QPainter& painter) {
  const QPen& pen = painter.pen();
  return painter.device()->devicePixelRatioF() == 1.0 &&
         !painter.testRenderHint(QPainter::Antialiasing) && pen.style() == Qt::SolidLine &&
         pen.widthF() <= 1.0 && pen.color().alpha() == 255;
}

void DrawOnPixels(QPainter& painter, const ColumnMapping& mapping, const QwtScaleMap& yMap,
                  const LineData& line, const ReducedLine& reduced) {
  // Every point Qwt would draw lands on a whole pixel, so the points of one column all lie
  // on one vertical line, which covers the column from its lowest to its highest point.
  // Between neighbouring columns the raster engine draws a steep step in the left column,
  // up to one pixel short of the next point, which starts the next column. So all but the
  // longer steps are pixel runs per column, filled as a few wide rectangles; the longer
  // steps (across empty columns or off the canvas) are drawn as the lines they are, joined
  // into polylines where they follow each other, as the stock curve joins them.
  std::vector<ColumnSpan> spans(static_cast<std::size_t>(mapping.Columns), NoRows);
  // Rows a .. b, either way round (a y scale may grow downwards).
  const auto cover = [&spans](std::int64_t column, double a, double b) {
    ColumnSpan& span = spans[static_cast<std::size_t>(column)];
    span.Top = std::min(span.Top, static_cast<int>(std::min(a, b)));
    span.Bottom = std::max(span.Bottom, static_cast<int>(std::max(a, b)));
  };
  std::vector<QPolygonF> chains;
  bool havePrevious = false;
  QPointF previous;
  const auto stepTo = [&](std::size_t i) {
    const QPointF next(mapping.PixelOf(line.X[i]), PixelRow(yMap, line.Y[i]));
    if (havePrevious) {
      const double column = previous.x() - static_cast<double>(mapping.FirstPixel);
      const double rise = next.y() - previous.y();
      if (next.x() == previous.x()) {
        // Within one column: its span covers the step.
      } else if (next.x() - previous.x() == 1.0 && column >= 0.0 &&
                 column < static_cast<double>(mapping.Columns)) {
        if (rise >= 2.0) cover(static_cast<std::int64_t>(column), previous.y(), next.y() - 1);
        if (rise <= -2.0) cover(static_cast<std::int64_t>(column), next.y() + 1, previous.y());
      } else {
        if (chains.empty() || chains.back().back() != previous)
          chains.push_back(QPolygonF(QVector<QPointF>{previous}));
        chains.back().append(next);
      }
    }
    previous = next;
    havePrevious = true;
  };

  if (reduced.BeforeIndex != line.Count) stepTo(reduced.BeforeIndex);
  for (const ColumnExtremes& column : reduced.Columns) {
    stepTo(column.FirstIndex);
    cover(column.Column, PixelRow(yMap, column.Max), PixelRow(yMap, column.Min));
    stepTo(column.LastIndex);
  }
  if (reduced.AfterIndex != line.Count) stepTo(reduced.AfterIndex);

  const std::vector<PixelRect> rects =
      SpansToRectangles(static_cast<int>(mapping.FirstPixel), spans);
  QVector<QRect> fills;
  fills.reserve(static_cast<int>(rects.size()));
  for (const PixelRect& rect : rects) {
    fills.append(QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right, rect.Bottom)));
  }
  const QColor color = painter.pen().color();
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawRects(fills);
  painter.restore();
  for (const QPolygonF& chain : chains) painter.drawPolyline(chain);
}

void DrawOnRoundedPoints(QPainter& painter, const ColumnMapping& mapping, const QwtScaleMap& yMap,
                         const LineData& line, const ReducedLine& reduced) {
  // Qwt rounds every point it draws to a whole logical pixel, so the points of one column all
  // lie on one vertical line, and the pen covers with the column's first, lowest, highest and
  // last point what it covers with all of them.
  QPolygonF polyline;
  polyline.reserve(static_cast<int>(reduced.Columns.size() * 4 + 2));
  const auto point = [&](double x, double y) { polyline.append(QPointF(x, PixelRow(yMap, y))); };
  const auto pointAt = [&](std::size_t i) { point(mapping.PixelOf(line.X[i]), line.Y[i]); };
  if (reduced.BeforeIndex != line.Count) pointAt(reduced.BeforeIndex);
  for (const ColumnExtremes& column : reduced.Columns) {
    const double x = static_cast<double>(mapping.FirstPixel + column.Column);
    point(x, line.Y[column.FirstIndex]);
    point(x, column.Min);
    point(x, column.Max);
    point(x, line.Y[column.LastIndex]);
  }
  if (reduced.AfterIndex != line.Count) pointAt(reduced.AfterIndex);
  if (polyline.size() >= 2) painter.drawPolyline(polyline);
}

void DrawAsPath(QPainter& painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap, double scale,
                const ColumnMapping& mapping, const LineData& line, const ReducedLine& reduced) {
  // A vector device (a PDF, a printer) gets the reduced line itself: each device column's
  // first point, its extremes at the column's middle, and its last point.
  QPolygonF polyline;
  polyline.reserve(static_cast<int>(reduced.Columns.size() * 4 + 2));
  const auto point = [&](std::size_t i) {
    polyline.append(QPointF(xMap.transform(line.X[i]), yMap.transform(line.Y[i])));
  };
  if (reduced.BeforeIndex != line.Count) point(reduced.BeforeIndex);
  for (const ColumnExtremes& column : reduced.Columns) {
    const double middle = static_cast<double>(mapping.FirstPixel + column.Column) / scale;
    point(column.FirstIndex);
    polyline.append(QPointF(middle, yMap.transform(column.Min)));
    polyline.append(QPointF(middle, yMap.transform(column.Max)));
    point(column.LastIndex);
  }
  if (reduced.AfterIndex != line.Count) point(reduced.AfterIndex);
  if (polyline.size() >= 2) painter.drawPolyline(polyline);
}

}  // namespace

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
                             const QRectF& canvasRect, int from, int to) const {
  const ArraySeriesData* data = Data();
  if (data == nullptr || from > to || from < 0) return;
  // Columns follow x from left to right; a reversed or empty x scale shows nothing.
  if (!(xMap.s2() > xMap.s1()) || !(xMap.p2() > xMap.p1())) return;

  const bool rounded = QwtPainter::roundingAlignment(painter);
  // A print-out is reduced to the printer's pixels, which are finer than the plot's units.
  const double deviceScale = std::abs(painter->transform().m11());
  const double scale = rounded || !(deviceScale > 0.0) ? 1.0 : deviceScale;
  const ColumnMapping mapping = ColumnsOf(xMap, canvasRect, scale);
  const LineData line = data->Line();
  const ReducedLine reduced =
      ReduceToColumns(line, mapping, static_cast<std::size_t>(from), static_cast<std::size_t>(to));
  if (!rounded) {
    DrawAsPath(*painter, xMap, yMap, scale, mapping, line, reduced);
  } else if (DrawsWholePixels(*painter)) {
    DrawOnPixels(*painter, mapping, yMap, line, reduced);
  } else {
    DrawOnRoundedPoints(*painter, mapping, yMap, line, reduced);
  }
}
