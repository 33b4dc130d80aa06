// How long the window goes without answering during long work: the real Qt window, offscreen,
// on a twelve-hour ten-channel recording (the one-hour recording twelve times over, 1.04 GB;
// "--hours=24" as first argument makes it 24 hours).
// A zero-length timer marks every turn of the event loop; longest_gap_ms is the longest time
// between two turns while the action runs, from its start to its end, and should stay at most
// 100 ms. The actions: "&Open..." through the menu, a cut-off choice with ten channels ticked,
// a visit to "ICI" with a filter selected, and "Save file without route data".
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "machine_load.h"
#include "one_hour_recording.h"
#include "platform/application.h"
#include "platform/pass_threads.h"
#include "platform/qt/scripted_qt_desktop.h"
#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"

namespace {

// Twelve hours unless the first argument says otherwise ("--hours=24").
int hours = 12;

struct LongRecording {
  TempFolder Folder;
  std::string Name = Folder.File("R1200.DAT");
  std::string Copy = Folder.File("R1200-copy.DAT");
  LongRecording() {
    std::FILE* file = std::fopen(Name.c_str(), "wb");
    const std::vector<std::uint8_t>& hour = OneHourBytes();
    for (int h = 0; h < hours && file != nullptr; ++h) {
      std::fwrite(hour.data(), 1, hour.size(), file);
    }
    if (file != nullptr) std::fclose(file);
    WriteTextToFile(Folder.File("S2.txt"), SensitivityTextBuilder(true).Build());
  }
};

// The window with the recording loaded and every channel box ticked.
class ShownWindow {
 public:
  ShownWindow() : application_(desktop, "tavro-x") {
    application_.CreateForm(Form1);
    desktop.ShowForm(*Form1);
    QApplication::processEvents();
  }
  ~ShownWindow() {
    desktop.CloseForm();
    Form1 = nullptr;
  }

  void Open(const std::string& name) {
    desktop.Answers.push_back(name);
    Form1->Open1->UserClick();
  }
  void TickAll() {
    for (int slot = 0; slot < SlotCount; ++slot) Form1->ChannelBox(slot)->UserClick();
  }

  ScriptedQtDesktop desktop;

 private:
  Application application_;
};

// The longest time between two turns of the event loop while `action` runs, in seconds; the
// action's start and end count as turns.
double LongestGapSeconds(const std::function<void()>& action, double& actionSeconds) {
  QElapsedTimer clock;
  qint64 last = 0;
  qint64 longest = 0;
  QTimer turns;
  QObject::connect(&turns, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  turns.start(0);
  clock.start();
  action();
  const qint64 end = clock.nsecsElapsed();
  longest = std::max(longest, end - last);
  actionSeconds = end * 1e-9;
  return longest * 1e-9;
}

void Measure(benchmark::State& state, ShownWindow& window, const std::function<void()>& action) {
  double longest = 0.0;
  double total = 0.0;
  for (auto _ : state) {
    double seconds = 0.0;
    longest = std::max(longest, LongestGapSeconds(action, seconds));
    total += seconds;
    state.SetIterationTime(seconds);
    QApplication::processEvents();
  }
  state.counters["longest_gap_ms"] = 1000.0 * longest;
  state.counters["action_ms"] = 1000.0 * total / static_cast<double>(state.iterations());
  if (!window.desktop.Messages.empty()) {
    state.SkipWithError(window.desktop.Messages.front().c_str());
  }
}

LongRecording& Recording() {
  static LongRecording recording;
  return recording;
}

// Also beside four processes that keep four cores busy and in a cgroup with a quota of two
// CPUs, as on a desktop doing other work or in a container.
void OpenTheLongRecording(benchmark::State& state, MachineLoad load) {
  const std::string& name = Recording().Name;
  ShownWindow window;
  RunUnder(state, load, [&] { Measure(state, window, [&] { window.Open(name); }); });
}

void ChooseCutoffWithTenTicked(benchmark::State& state) {
  ShownWindow window;
  window.Open(Recording().Name);
  window.TickAll();
  int item = 0;
  Measure(state, window, [&] {
    Form1->RadioGroup1->UserChoose(item);
    item = (item + 1) % 5;
  });
}

void VisitImpactsWithTenTickedAndFilter(benchmark::State& state) {
  ShownWindow window;
  window.Open(Recording().Name);
  window.TickAll();
  Form1->RadioGroup1->UserChoose(0);
  Measure(state, window, [&] {
    Form1->PageControl1->UserSelect(Form1->TabSheet2);
    Form1->PageControl1->UserSelect(Form1->TabSheet1);
  });
}

void SaveWithoutRouteData(benchmark::State& state) {
  ShownWindow window;
  window.Open(Recording().Name);
  Measure(state, window, [&] {
    window.desktop.Answers.push_back(Recording().Copy);
    Form1->SavenoGPS1->UserClick();
  });
}

BENCHMARK_CAPTURE(OpenTheLongRecording, quiet, MachineLoad::Quiet)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenTheLongRecording, four_busy_cores, MachineLoad::FourBusyCores)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenTheLongRecording, two_cpu_quota, MachineLoad::TwoCpuQuota)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ChooseCutoffWithTenTicked)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(VisitImpactsWithTenTickedAndFilter)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SaveWithoutRouteData)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  PreparePassThreads(argv);
  if (argc > 1 && std::string(argv[1]).rfind("--hours=", 0) == 0) {
    hours = std::max(1, std::atoi(argv[1] + 8));
    argv[1] = argv[0];
    --argc;
    ++argv;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
