// The cost of drawing Chart1: ten channels and the speed, shown whole and zoomed, for
// recordings of one minute, one hour and three hours; the cost of building a channel's min/max
// tables against one pass over its values; and the tables' memory beside the arrays.
#include <benchmark/benchmark.h>

#include <qwt_plot_canvas.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

#include "platform/chart.h"
#include "platform/qt/array_series_data.h"
#include "platform/qt/chart_view.h"

namespace {

constexpr int SamplesPerSecond = 600;
constexpr int ChannelCount = 10;

std::int64_t SamplesOf(int minutes) {
  return std::int64_t{minutes} * 60 * SamplesPerSecond;
}

DynArray<double> Ramp(std::int64_t count, double step) {
  DynArray<double> values = DynArray<double>::Allocate(count);
  double* out = values.data();
  for (std::int64_t i = 0; i < count; ++i) out[i] = static_cast<double>(i) * step;
  return values;
}

// Something like a channel: a swell, a vibration and a burst now and then.
DynArray<double> Channel(std::int64_t count, int slot) {
  DynArray<double> values = DynArray<double>::Allocate(count);
  double* out = values.data();
  for (std::int64_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / SamplesPerSecond;
    out[i] = 5 * std::sin(0.7 * t + slot) + 2 * std::sin(90 * t) + ((i % 3000) < 30 ? 80.0 : 0.0);
  }
  return values;
}

void Bind(LineSeries& series, const DynArray<double>& x, const DynArray<double>& y) {
  series.XValues.Value = x;
  series.XValues.Count = x.Length();
  series.XValues.Modified = true;
  series.YValues.Value = y;
  series.YValues.Count = y.Length();
  series.YValues.Modified = true;
  series.SetActive(true);
  series.Repaint();
}

// Chart1 as the program shows it, with every channel and the speed ticked, at its size on
// screen.
struct ShownChart {
  explicit ShownChart(int minutes) : chart("Chart1") {
    chart.MouseWheelZooms = true;
    const std::int64_t count = SamplesOf(minutes);
    const DynArray<double> samples = Ramp(count, 1.0);
    for (int slot = 0; slot <= ChannelCount; ++slot) {
      series.push_back(std::make_unique<LineSeries>("Series" + std::to_string(slot + 1)));
      chart.AddSeries(series.back().get());
    }
    view = std::make_unique<ChartView>(chart, nullptr);
    view->resize(1168 - 145 - 8, 600);
    view->updateLayout();
    for (int slot = 0; slot < ChannelCount; ++slot)
      Bind(*series[slot], samples, Channel(count, slot));
    // The speed: one point a second, at the second's first sample.
    Bind(*series[ChannelCount], Ramp(count / SamplesPerSecond, SamplesPerSecond),
         Channel(count / SamplesPerSecond, 0));
    view->replot();
  }

  // One repaint of the canvas, offscreen.
  void Paint(QImage& image) {
    QPainter painter(&image);
    view->drawCanvas(&painter);
  }

  Chart chart;
  std::vector<std::unique_ptr<LineSeries>> series;
  std::unique_ptr<ChartView> view;
};

// One recording in memory at a time; it goes before the QApplication does.
std::unique_ptr<ShownChart> shownChart;
int shownMinutes = 0;

ShownChart& ChartOf(int minutes) {
  if (!shownChart || shownMinutes != minutes) {
    shownChart.reset();
    shownChart = std::make_unique<ShownChart>(minutes);
    shownMinutes = minutes;
  }
  return *shownChart;
}

void Repaint(benchmark::State& state, bool zoomed) {
  const int minutes = static_cast<int>(state.range(0));
  ShownChart& shown = ChartOf(minutes);
  if (zoomed) {
    // Ten seconds in the middle of the recording.
    const double middle = static_cast<double>(SamplesOf(minutes)) / 2;
    shown.view->setAxisScale(QwtPlot::xBottom, middle, middle + 10 * SamplesPerSecond);
  } else {
    shown.view->setAxisAutoScale(QwtPlot::xBottom);
  }
  shown.view->replot();
  QImage image(shown.view->canvas()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    shown.Paint(image);
    benchmark::DoNotOptimize(image.bits());
  }
  state.counters["canvas_width"] = image.width();
  state.counters["points_per_channel"] = static_cast<double>(SamplesOf(minutes));
}

void BM_RepaintWhole(benchmark::State& state) {
  Repaint(state, false);
}
void BM_RepaintZoomed(benchmark::State& state) {
  Repaint(state, true);
}
BENCHMARK(BM_RepaintWhole)->Arg(1)->Arg(60)->Arg(180)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintZoomed)->Arg(1)->Arg(60)->Arg(180)->Unit(benchmark::kMillisecond);

// Building one channel's tables, as when its series is marked modified.
void BM_BuildTables(benchmark::State& state) {
  const std::int64_t count = SamplesOf(180);
  LineSeries series("Series1");
  series.XValues.Value = Ramp(count, 1.0);
  series.XValues.Count = count;
  series.YValues.Value = Channel(count, 0);
  series.YValues.Count = count;
  std::size_t tableBytes = 0;
  for (auto _ : state) {
    ArraySeriesData data(series);
    tableBytes = data.Detail().MemoryBytes();
    benchmark::DoNotOptimize(data.boundingRect());
  }
  // Beside the arrays the series shows (x and y, 8 bytes a point each).
  state.counters["tables_percent_of_xy"] = 100.0 * tableBytes / (16.0 * count);
  state.counters["tables_percent_of_y"] = 100.0 * tableBytes / (8.0 * count);
}
BENCHMARK(BM_BuildTables)->Unit(benchmark::kMillisecond);

// One pass over the same values for comparison: their extremes, the least a table needs.
void BM_OnePassOverValues(benchmark::State& state) {
  const std::int64_t count = SamplesOf(180);
  const DynArray<double> values = Channel(count, 0);
  for (auto _ : state) {
    const double* y = values.data();
    double lo = y[0];
    double hi = y[0];
    for (std::int64_t i = 0; i < count; ++i) {
      lo = y[i] < lo ? y[i] : lo;
      hi = y[i] > hi ? y[i] : hi;
    }
    benchmark::DoNotOptimize(lo);
    benchmark::DoNotOptimize(hi);
  }
}
BENCHMARK(BM_OnePassOverValues)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  shownChart.reset();
  return 0;
}
