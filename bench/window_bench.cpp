// The left panel and the page "ICI" on the one-hour ten-channel recording with all ten
// channels ticked, headless, beside the filter and the counter run alone over the same
// arrays in the same binary: the handlers should add nothing of size n to those passes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <numeric>
#include <string>

#include "app/main_window.h"
#include "filter/lowpass_filter.h"
#include "impacts/impact_counter.h"
#include "one_hour_recording.h"
#include "platform/application.h"
#include "support/scripted_desktop.h"

namespace {

// The main window with the one-hour recording loaded and every channel box ticked.
class LoadedWindow {
 public:
  LoadedWindow() : application_(desktop_, "tavro-x") {
    application_.CreateForm(Form1);
    desktop_.AnswerWith(OneHourRecordingFile().Name);
    Form1->Open1->UserClick();
    for (int slot = 0; slot < SlotCount; ++slot) Form1->ChannelBox(slot)->UserClick();
  }
  ~LoadedWindow() { Form1 = nullptr; }

  TForm1& Window() { return *Form1; }
  // What went wrong, or null when the load and everything after it showed no message.
  const char* Failure() const {
    return desktop_.Messages.empty() ? nullptr : desktop_.Messages.front().Text.c_str();
  }

 private:
  ScriptedDesktop desktop_;
  Application application_;
};

void SetSampleRate(benchmark::State& state, std::int64_t samplesPerIteration) {
  state.counters["samples_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations() * samplesPerIteration), benchmark::Counter::kIsRate);
}

// Every choice differs from the one before, so each runs the handler.
void ChooseCutoffWithTenTicked(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  int item = 0;
  for (auto _ : state) {
    w.RadioGroup1->UserChoose(item);
    item = (item + 1) % 5;
    benchmark::ClobberMemory();
  }
  if (loaded.Failure() != nullptr) state.SkipWithError(loaded.Failure());
  SetSampleRate(state, std::int64_t{SlotCount} * w.PlotCount);
}

void FilterTenChannelsAlone(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  FilterState filter{};
  int item = 0;
  for (auto _ : state) {
    const double cutoff = 50.0 * (item + 1);
    for (int slot = 0; slot < SlotCount; ++slot) {
      LowPassFilter(filter, cutoff, w.Acceleration[slot].data(),
                    w.FilteredAcceleration[slot].data(), w.PlotCount);
    }
    item = (item + 1) % 5;
    benchmark::ClobberMemory();
  }
  SetSampleRate(state, std::int64_t{SlotCount} * w.PlotCount);
}

// "ICI" and back with a filter selected: every ticked slot's raw and filtered traces are
// counted once per visit, and the bars take 24 points each.
void VisitImpactsWithTenTickedAndFilter(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  w.RadioGroup1->UserChoose(1);
  const long holdersBefore = w.FilteredAcceleration[0].UseCount();
  for (auto _ : state) {
    w.PageControl1->UserSelect(w.TabSheet2);
    w.PageControl1->UserSelect(w.TabSheet1);
    benchmark::ClobberMemory();
  }
  if (loaded.Failure() != nullptr) state.SkipWithError(loaded.Failure());
  // The visit shares the arrays with the series and copies none of them.
  if (w.FilteredAcceleration[0].UseCount() != holdersBefore) {
    state.SkipWithError("a visit to ICI took a reference to a filtered array");
  }
  state.counters["hull_x_impacts"] =
      std::accumulate(w.ImpactCounts[1].begin(), w.ImpactCounts[1].end(), 0.0);
  SetSampleRate(state, 2 * std::int64_t{SlotCount} * w.SampleCount);
}

void CountTwentyTracesAlone(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  w.RadioGroup1->UserChoose(1);
  for (auto _ : state) {
    for (int slot = 0; slot < SlotCount; ++slot) {
      ImpactRow raw{};
      ImpactRow filtered{};
      CountImpactsInTrace(w.Acceleration[slot].data(), w.SampleCount, w.FrameCount, w.ImpactLimits,
                          raw);
      CountImpactsInTrace(w.FilteredAcceleration[slot].data(), w.SampleCount, w.FrameCount,
                          w.ImpactLimits, filtered);
      benchmark::DoNotOptimize(raw);
      benchmark::DoNotOptimize(filtered);
    }
  }
  SetSampleRate(state, 2 * std::int64_t{SlotCount} * w.SampleCount);
}

BENCHMARK(FilterTenChannelsAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ChooseCutoffWithTenTicked)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(CountTwentyTracesAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(VisitImpactsWithTenTickedAndFilter)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
