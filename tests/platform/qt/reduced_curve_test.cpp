#include <gtest/gtest.h>

#include <qwt_painter.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <random>

#include "platform/chart.h"
#include "platform/qt/reduced_curve.h"

namespace {

enum class Shape { Noise, Walk, Bursts };

// A recording-like line: x = 0, 1, 2, ... and y of the given shape.
void MakeLine(LineSeries& series, std::int64_t count, Shape shape, unsigned seed) {
  DynArray<double> x = DynArray<double>::Allocate(count);
  DynArray<double> y = DynArray<double>::Allocate(count);
  std::mt19937 random(seed);
  std::normal_distribution<double> step(0.0, 1.0);
  double walk = 0.0;
  for (std::int64_t i = 0; i < count; ++i) {
    x.data()[i] = static_cast<double>(i);
    walk += step(random);
    switch (shape) {
      case Shape::Noise:
        y.data()[i] = 40.0 * step(random);
        break;
      case Shape::Walk:
        y.data()[i] = walk;
        break;
      case Shape::Bursts:
        y.data()[i] = std::sin(i * 0.01) + (i % 997 < 5 ? 30.0 : 0.0);
        break;
    }
  }
  series.XValues.Value = x;
  series.XValues.Count = count;
  series.YValues.Value = y;
  series.YValues.Count = count;
}

// Draws the canvas of `plot` with only `shown` visible, at `ratio` device pixels per logical
// pixel, as a screen of that scale does.
QImage DrawCanvas(QwtPlot& plot, QwtPlotItem& shown, QwtPlotItem& hidden, int ratio) {
  shown.setVisible(true);
  hidden.setVisible(false);
  QImage image(plot.canvas()->size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  plot.drawCanvas(&painter);
  return image;
}

// Pixels lit in one picture and not in the other, and how many of them have no lit
// neighbour in both: a pixel moved at a joint of two segments touches the common line, a
// missing or stray piece of line does not.
struct Difference {
  int Pixels = 0;
  int Detached = 0;
};

Difference Compare(const QImage& expected, const QImage& drawn) {
  const auto lit = [](const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           image.pixel(x, y) != QColor(Qt::white).rgb();
  };
  Difference difference;
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      if (lit(expected, x, y) == lit(drawn, x, y)) continue;
      ++difference.Pixels;
      bool touches = false;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          touches = touches || (lit(expected, x + dx, y + dy) && lit(drawn, x + dx, y + dy));
        }
      }
      // At the canvas' edges Qwt cuts a line leaving the canvas at an off-grid point.
      const int margin = 2 * static_cast<int>(expected.devicePixelRatio());
      const bool edge = x < margin || x >= expected.width() - margin;
      difference.Detached += touches || edge ? 0 : 1;
    }
  }
  return difference;
}

int LitPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != QColor(Qt::white).rgb();
  }
  return count;
}

}  // namespace

// The reduced curve fills pixel runs instead of drawing every segment; on a raster device it
// must light exactly the pixels a stock curve drawing every point lights.
TEST(ReducedCurveTest, DrawsTheSamePixelsAsEveryPoint) {
  const struct {
    std::int64_t Count;
    Shape Kind;
    double ShownFrom;  // share of the line left of the canvas
    double ShownSpan;  // share of the line across the canvas
  } cases[] = {
      {200000, Shape::Noise, 0.0, 1.0},  {200000, Shape::Walk, 0.0, 1.0},
      {200000, Shape::Bursts, 0.0, 1.0}, {300, Shape::Walk, 0.0, 1.0},
      {2000, Shape::Noise, 0.0, 1.0},    {200000, Shape::Walk, 0.3, 0.01},
      {200000, Shape::Noise, 0.5, 0.2},
  };
  // On a screen of two device pixels per logical one the points still land on logical
  // pixels, while the pen covers device pixels: a thin line is one device pixel wide, the
  // chart's line of one logical pixel two. Each piece that Qwt splits a long polyline into
  // gets its own caps, which with a wide pen light a pixel beyond an extreme wherever a piece
  // happens to end; so the thin line is compared with every point drawn unsplit, where the
  // pictures agree to a handful of pixels. The wide line is compared split, as the stock
  // curve draws it: unsplit, stroking it takes the raster engine close to a minute.
  const struct {
    int Ratio;
    double PenWidth;
    bool Split;
  } screens[] = {{1, 0.0, true}, {2, 0.0, false}, {2, 1.0, true}};
  for (const auto& screen : screens) {
    QwtPainter::setPolylineSplitting(screen.Split);
    for (const auto& c : cases) {
      LineSeries series("Series1");
      MakeLine(series, c.Count, c.Kind, 5);
      QwtPlot plot;
      plot.resize(700, 400);
      plot.updateLayout();
      auto* reduced = new ReducedCurve();
      reduced->TakeData(series);
      reduced->setPen(Qt::black, screen.PenWidth);
      reduced->attach(&plot);
      auto* stock = new QwtPlotCurve();
      QVector<QPointF> points;
      for (std::int64_t i = 0; i < c.Count; ++i)
        points.append(QPointF(series.XValues.Value.data()[i], series.YValues.Value.data()[i]));
      stock->setSamples(points);
      stock->setPen(Qt::black, screen.PenWidth);
      stock->attach(&plot);
      if (c.ShownSpan < 1.0) {
        plot.setAxisScale(QwtPlot::xBottom, c.ShownFrom * c.Count,
                          (c.ShownFrom + c.ShownSpan) * c.Count);
      }
      plot.replot();
      const QImage expected = DrawCanvas(plot, *stock, *reduced, screen.Ratio);
      const QImage drawn = DrawCanvas(plot, *reduced, *stock, screen.Ratio);
      // Inside a column the picture is exact. Where a polyline turns, the raster engine adds or
      // leaves out a pixel depending on the segments before, which the reduction leaves out,
      // and Qwt itself splits a long polyline into pieces of 20 points, each with its own
      // ends; so a few pixels at joints may differ, each next to the common line.
      const Difference difference = Compare(expected, drawn);
      const std::string name =
          std::to_string(c.Count) + " points, shape " + std::to_string(static_cast<int>(c.Kind)) +
          ", from " + std::to_string(c.ShownFrom) + ", ratio " + std::to_string(screen.Ratio) +
          ", pen " + std::to_string(screen.PenWidth);
      EXPECT_EQ(difference.Detached, 0) << name;
      EXPECT_LE(difference.Pixels, LitPixels(expected) / 25) << name;
    }
  }
  QwtPainter::setPolylineSplitting(true);
}
