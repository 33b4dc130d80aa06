#include "platform/qt/depth_bar_chart.h"

#include <qwt_column_symbol.h>
#include <qwt_scale_map.h>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace {

// Bars of neighbouring x values keep this share of a unit free between their groups.
constexpr double GroupWidth = 0.8;

}  // namespace

DepthBarChart::DepthBarChart() {
  setLegendMode(QwtPlotBarChart::LegendChartTitle);
  auto* symbol = new QwtColumnSymbol(QwtColumnSymbol::Box);
  symbol->setFrameStyle(QwtColumnSymbol::Plain);
  setSymbol(symbol);
}

void DepthBarChart::TakePoints(const BarSeries& series) {
  QVector<QPointF> points;
  colors_.clear();
  for (const BarPoint& point : series.Points()) {
    points.append(QPointF(point.X, point.Y));
    colors_.append(ToQColor(point.PointColor));
  }
  widthFraction_ = std::clamp(series.BarWidthPercent, 1, 100) / 100.0;
  auto* symbol = new QwtColumnSymbol(QwtColumnSymbol::Box);
  symbol->setFrameStyle(QwtColumnSymbol::Plain);
  QPalette palette;
  palette.setColor(QPalette::Window, ToQColor(series.SeriesColor()));
  symbol->setPalette(palette);
  setSymbol(symbol);  // the legend's swatch
  setSamples(points);
}

void DepthBarChart::SetPlace(int place, int shown) {
  place_ = place;
  shown_ = std::max(shown, 1);
}

void DepthBarChart::drawSample(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                               const QRectF& canvasRect, const QwtInterval& /*boundingInterval*/,
                               int index, const QPointF& sample) const {
  const double slot = GroupWidth / shown_;
  const double left = sample.x() - GroupWidth / 2 + slot * place_ + slot * (1 - widthFraction_) / 2;
  const double right = left + slot * widthFraction_;
  const QRectF front = QRectF(QPointF(xMap.transform(left), yMap.transform(sample.y())),
                              QPointF(xMap.transform(right), yMap.transform(baseline())))
                           .normalized();
  const double groupPixels = std::abs(xMap.transform(GroupWidth) - xMap.transform(0.0));
  // Bars further right show less of their side, as seen from the middle of the chart.
  const double offCentre = canvasRect.width() > 0
                               ? (front.center().x() - canvasRect.center().x()) / canvasRect.width()
                               : 0;
  const double perspective =
      std::clamp(depth_.PerspectivePercent / 100.0 * (0.5 + offCentre), 0.0, 1.0);
  const QColor color = index < colors_.size() ? colors_[index] : QColor(Qt::gray);
  DrawDepthBar(*painter, front, color, groupPixels * depth_.DepthPercent / 100.0, perspective);
}

void DrawDepthBar(QPainter& painter, const QRectF& front, const QColor& color, double depth,
                  double perspective) {
  painter.save();
  // Not cosmetic: a print-out widens the outline with the printer's resolution.
  painter.setPen(QPen(color.darker(160), 1.0));
  if (depth > 0.0) {
    const QPointF back(depth * (1.0 - perspective), -depth);
    const QPolygonF top(QVector<QPointF>{front.topLeft(), front.topRight(), front.topRight() + back,
                                         front.topLeft() + back});
    const QPolygonF side(QVector<QPointF>{front.topRight(), front.bottomRight(),
                                          front.bottomRight() + back, front.topRight() + back});
    painter.setBrush(color.darker(125));
    painter.drawPolygon(top);
    painter.setBrush(color.darker(150));
    painter.drawPolygon(side);
  }
  painter.setBrush(color);
  painter.drawRect(front);
  painter.restore();
}
