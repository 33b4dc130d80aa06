// The left panel and the page "ICI" on the one-hour ten-channel recording with all ten
// channels ticked, headless, beside the filter and the counter run alone, one channel after
// the other, over the same arrays in the same binary. The passes of a handler run on every
// core, and each is timed beside its serial reference in the same iteration (the ratio
// counters): a cut-off choice should take at most 0.4 of ten serial filter passes over memory
// already touched, also the first choice after a load, which writes fresh storage; a visit to
// "ICI" at most 0.3 of a plain scan of its twenty traces (ratio_to_plain_scan), and
// ratio_to_serial_count holds it against the serial count of the same traces.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <numeric>
#include <string>

#include "app/main_window.h"
#include "filter/filter_cutoff.h"
#include "filter/lowpass_filter.h"
#include "impacts/impact_counter.h"
#include "machine_load.h"
#include "one_hour_recording.h"
#include "platform/application.h"
#include "platform/pass_threads.h"
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

double SecondsOf(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  benchmark::ClobberMemory();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Ten filter passes one after the other, as the handler ran them before it used every core;
// after a first choice the outputs are memory already touched.
double TenSerialFilterPassesSeconds(TForm1& w, double cutoff) {
  return SecondsOf([&] {
    FilterState filter{};
    for (int slot = 0; slot < SlotCount; ++slot) {
      LowPassFilter(filter, cutoff, w.Acceleration[slot].data(),
                    w.FilteredAcceleration[slot].data(), w.PlotCount);
    }
  });
}

void FilterTenChannelsAlone(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  int item = 0;
  for (auto _ : state) {
    state.SetIterationTime(TenSerialFilterPassesSeconds(w, CutoffOfItem(item)));
    item = (item + 1) % 5;
  }
  SetSampleRate(state, std::int64_t{SlotCount} * w.PlotCount);
}

// Each choice is timed beside ten serial passes at the same cut-off.
void ReportRatioToSerialPasses(benchmark::State& state, double choiceSeconds,
                               double serialSeconds) {
  state.counters["ratio_to_serial_passes"] = choiceSeconds / serialSeconds;
  state.counters["serial_passes_ms"] =
      1000.0 * serialSeconds / static_cast<double>(state.iterations());
}

// Every choice differs from the one before, so each runs the handler.
void ChooseCutoffWithTenTicked(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  w.RadioGroup1->UserChoose(4);  // the outputs are touched from here on
  int item = 0;
  double choiceSeconds = 0.0;
  double serialSeconds = 0.0;
  for (auto _ : state) {
    const double seconds = SecondsOf([&] { w.RadioGroup1->UserChoose(item); });
    state.SetIterationTime(seconds);
    choiceSeconds += seconds;
    serialSeconds += TenSerialFilterPassesSeconds(w, CutoffOfItem(item));
    item = (item + 1) % 4;
  }
  if (loaded.Failure() != nullptr) state.SkipWithError(loaded.Failure());
  SetSampleRate(state, std::int64_t{SlotCount} * w.PlotCount);
  ReportRatioToSerialPasses(state, choiceSeconds, serialSeconds);
}

// The first choice after a load, on a window made and loaded afresh for each iteration: its
// filtered arrays have never been written, so the choice pays for their first touch too. On a
// quiet machine, beside four processes that keep four cores busy (at most twice the quiet
// time), and in a cgroup with a quota of two CPUs (at most 2.5 times); the serial passes
// beside it run under the same load.
void FirstCutoffChoiceAfterALoad(benchmark::State& state, MachineLoad load) {
  double choiceSeconds = 0.0;
  double serialSeconds = 0.0;
  RunUnder(state, load, [&] {
    for (auto _ : state) {
      LoadedWindow loaded;
      TForm1& w = loaded.Window();
      const double seconds = SecondsOf([&] { w.RadioGroup1->UserChoose(1); });
      state.SetIterationTime(seconds);
      choiceSeconds += seconds;
      serialSeconds += TenSerialFilterPassesSeconds(w, CutoffOfItem(1));
      if (loaded.Failure() != nullptr) state.SkipWithError(loaded.Failure());
    }
  });
  ReportRatioToSerialPasses(state, choiceSeconds, serialSeconds);
}

double CountTwentyTracesSeconds(TForm1& w) {
  return SecondsOf([&] {
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
  });
}

// A plain scan of the same twenty traces: every sample read once, one trace after the other,
// and held against the impact threshold.
double ScanTwentyTracesSeconds(TForm1& w) {
  return SecondsOf([&] {
    std::uint64_t reached = 0;
    for (int slot = 0; slot < SlotCount; ++slot) {
      for (const double* trace :
           {w.Acceleration[slot].data(), w.FilteredAcceleration[slot].data()}) {
        for (std::uint32_t i = 0; i < w.SampleCount; ++i) reached += trace[i] >= ImpactThreshold;
      }
    }
    benchmark::DoNotOptimize(reached);
  });
}

// "ICI" and back with a filter selected: every ticked slot's raw and filtered traces are
// counted once per visit, and the bars take 24 points each. Each visit is timed beside a
// plain scan and the serial count of the same twenty traces.
void VisitImpactsWithTenTickedAndFilter(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  w.RadioGroup1->UserChoose(1);
  const long holdersBefore = w.FilteredAcceleration[0].UseCount();
  double visitSeconds = 0.0;
  double serialSeconds = 0.0;
  double scanSeconds = 0.0;
  for (auto _ : state) {
    const double seconds = SecondsOf([&] {
      w.PageControl1->UserSelect(w.TabSheet2);
      w.PageControl1->UserSelect(w.TabSheet1);
    });
    state.SetIterationTime(seconds);
    visitSeconds += seconds;
    serialSeconds += CountTwentyTracesSeconds(w);
    scanSeconds += ScanTwentyTracesSeconds(w);
  }
  if (loaded.Failure() != nullptr) state.SkipWithError(loaded.Failure());
  // The visit shares the arrays with the series and copies none of them.
  if (w.FilteredAcceleration[0].UseCount() != holdersBefore) {
    state.SkipWithError("a visit to ICI took a reference to a filtered array");
  }
  state.counters["hull_x_impacts"] =
      std::accumulate(w.ImpactCounts[1].begin(), w.ImpactCounts[1].end(), 0.0);
  SetSampleRate(state, 2 * std::int64_t{SlotCount} * w.SampleCount);
  state.counters["ratio_to_plain_scan"] = visitSeconds / scanSeconds;
  state.counters["ratio_to_serial_count"] = visitSeconds / serialSeconds;
  state.counters["plain_scan_ms"] = 1000.0 * scanSeconds / static_cast<double>(state.iterations());
  state.counters["serial_count_ms"] =
      1000.0 * serialSeconds / static_cast<double>(state.iterations());
}

void CountTwentyTracesAlone(benchmark::State& state) {
  LoadedWindow loaded;
  TForm1& w = loaded.Window();
  w.RadioGroup1->UserChoose(1);
  for (auto _ : state) state.SetIterationTime(CountTwentyTracesSeconds(w));
  SetSampleRate(state, 2 * std::int64_t{SlotCount} * w.SampleCount);
}

BENCHMARK(FilterTenChannelsAlone)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ChooseCutoffWithTenTicked)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(FirstCutoffChoiceAfterALoad, quiet, MachineLoad::Quiet)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(FirstCutoffChoiceAfterALoad, four_busy_cores, MachineLoad::FourBusyCores)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(FirstCutoffChoiceAfterALoad, two_cpu_quota, MachineLoad::TwoCpuQuota)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(CountTwentyTracesAlone)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(VisitImpactsWithTenTickedAndFilter)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  PreparePassThreads(argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
