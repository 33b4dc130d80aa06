// Decoding a one-hour ten-channel recording (3601 blocks, 86,481,616 bytes), beside a plain
// copy of the same bytes into fresh memory and a plain read() of the file into fresh memory:
// the load should stay within 5 copies, and the open command through the File menu within
// 1.6 plain reads, quiet, and within twice its quiet time beside four busy cores or under a
// two-CPU quota.
//
//   decode_bench                 the timings, with the ratios to the copy and to the read
//   decode_bench --peak-memory   opens it through the menu, filters it and opens it again;
//                                prints the peaks of resident memory

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "app/main_window.h"
#include "machine_load.h"
#include "one_hour_recording.h"
#include "platform/application.h"
#include "platform/pass_threads.h"
#include "recording/file_bytes.h"
#include "recording/recording_decoder.h"
#include "recording/recording_format.h"
#include "recording/sensitivity_file.h"
#include "support/scripted_desktop.h"

namespace {

// Everything a load does with the data, from the bytes to the converted recording state.
void DecodeAll(RecordingState& state, const FileBytes& bytes, const std::string& path) {
  CheckRecordingSize(bytes, path);
  benchmark::DoNotOptimize(StartTimeText(bytes));
  state.TenChannels = ProbeTenChannels(bytes.data(), bytes.Size());
  const std::string sensitivityPath = SensitivityFilePath(path);
  const SensitivityReading reading = ReadSensitivityText(sensitivityPath, state.TenChannels);
  ParseSensitivityText(reading.Text, state.TenChannels, state.SensitivityCode, state.SerialText);
  for (int slot = 0; slot < state.LayoutSlotCount(); ++slot) {
    state.Sensitivity[slot] = SensitivityFromCode(state.SensitivityCode[slot]);
  }
  CheckSensitivities(state.Sensitivity, state.TenChannels, sensitivityPath);
  const RecordingGeometry geometry =
      ComputeGeometry(static_cast<std::int64_t>(bytes.Size()), state.TenChannels);
  DecodeRecording(state, bytes, geometry,
                  AllocateRecordingArrays(geometry, state.TenChannels, path));
  state.SpeedValues.Release();
  state.SpeedPositions.Release();
}

double CopySeconds(const std::vector<std::uint8_t>& source) {
  const auto start = std::chrono::steady_clock::now();
  void* copy = std::malloc(source.size());
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, source.data(), source.size());
  benchmark::DoNotOptimize(copy);
  benchmark::ClobberMemory();
  std::free(copy);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The least a load from a file can cost: the file read whole, with plain read() calls, into
// memory that nothing has touched yet.
double ReadSeconds(const std::string& path, std::size_t size) {
  const auto start = std::chrono::steady_clock::now();
  const int fd = ::open(path.c_str(), O_RDONLY);
  auto* memory = static_cast<char*>(std::malloc(size));
  if (fd < 0 || memory == nullptr) throw std::bad_alloc();
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, memory + done, size - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  benchmark::DoNotOptimize(memory);
  benchmark::ClobberMemory();
  std::free(memory);
  if (done != size) throw std::runtime_error("the recording could not be read in full");
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Times `load` per iteration and, right after it, a copy of the recording's bytes and a plain
// read of its file, so that the ratios compare them under the same conditions.
template <typename Load>
void RunAgainstCopy(benchmark::State& state, Load load) {
  const auto& source = OneHourBytes();
  const OneHourFile& file = OneHourRecordingFile();
  double loadSeconds = 0.0;
  double copySeconds = 0.0;
  double readSeconds = 0.0;
  for (auto _ : state) {
    RecordingState recording;
    const auto start = std::chrono::steady_clock::now();
    load(recording);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    loadSeconds += seconds;
    copySeconds += CopySeconds(source);
    readSeconds += ReadSeconds(file.Name, source.size());
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
  state.counters["ratio_to_copy"] = loadSeconds / copySeconds;
  state.counters["ratio_to_read"] = loadSeconds / readSeconds;
  state.counters["copy_ms"] = 1000.0 * copySeconds / iterations;
  state.counters["read_ms"] = 1000.0 * readSeconds / iterations;
}

void BM_CopyBytes(benchmark::State& state) {
  const auto& source = OneHourBytes();
  for (auto _ : state) state.SetIterationTime(CopySeconds(source));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

void BM_DecodeFromMemory(benchmark::State& state) {
  const OneHourFile& file = OneHourRecordingFile();
  const FileBytes bytes = ToFileBytes(OneHourBytes());
  RunAgainstCopy(state, [&](RecordingState& recording) { DecodeAll(recording, bytes, file.Name); });
}

void BM_LoadFromFile(benchmark::State& state) {
  const OneHourFile& file = OneHourRecordingFile();
  RunAgainstCopy(state, [&](RecordingState& recording) {
    const FileBytes bytes = ReadWholeFile(file.Name);
    DecodeAll(recording, bytes, file.Name);
  });
}

// "&Open..." through the File menu, headless: the decoding above plus everything the window
// does with the new recording (the boxes, the titles, the binding, the impact counts); on a
// quiet machine, beside four processes that keep four cores busy, and in a cgroup with a quota
// of two CPUs. The plain read beside it runs under the same load; held against the quiet
// open, the busy one should take at most twice as long, and so should the one under the quota.
void BM_OpenThroughTheMenu(benchmark::State& state, MachineLoad load) {
  const OneHourFile& file = OneHourRecordingFile();
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  application.CreateForm(Form1);
  RunUnder(state, load, [&] {
    RunAgainstCopy(state, [&](RecordingState&) {
      desktop.AnswerWith(file.Name);
      Form1->Open1->UserClick();
    });
  });
  if (!desktop.Messages.empty()) state.SkipWithError(desktop.Messages.front().Text.c_str());
  Form1 = nullptr;
}

BENCHMARK(BM_CopyBytes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeFromMemory)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromFile)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenThroughTheMenu, quiet, MachineLoad::Quiet)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenThroughTheMenu, four_busy_cores, MachineLoad::FourBusyCores)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenThroughTheMenu, two_cpu_quota, MachineLoad::TwoCpuQuota)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

long ProcKilobytes(const char* file, const char* field) {
  std::ifstream status(file);
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  }
  return -1;
}

long StatusKilobytes(const char* field) {
  return ProcKilobytes("/proc/self/status", field);
}

// Resident memory of the process beyond what it held before the window was made, in MB.
class ResidentMeter {
 public:
  ResidentMeter() : base_(StatusKilobytes("VmRSS:")) {}
  double Now() const { return Megabytes(StatusKilobytes("VmRSS:")); }
  double Peak() const { return Megabytes(StatusKilobytes("VmHWM:")); }
  // The high-water mark restarts from what is resident now, so that the next peak is a
  // phase's own.
  static void RestartPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

 private:
  double Megabytes(long kilobytes) const { return 1024.0 * (kilobytes - base_) / 1e6; }
  long base_;
};

// The one-hour recording opened through the menu with all ten channels ticked and a cut-off
// chosen, then opened a second time: the second open may peak at most 1.15 times the first
// recording's peak (its filter included), only one recording's arrays may stay resident, and
// a single load may peak at most at the file plus 14 B per sample per channel.
int PeakMemory() {
  const OneHourFile& file = OneHourRecordingFile();
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  application.CreateForm(Form1);
  TForm1& w = *Form1;
  const ResidentMeter meter;
  ResidentMeter::RestartPeak();

  desktop.AnswerWith(file.Name);
  w.Open1->UserClick();
  const double loadPeak = meter.Peak();
  const double hugePages =
      ProcKilobytes("/proc/self/smaps_rollup", "AnonHugePages:") * 1024.0 / 1e6;
  const double samples = static_cast<double>(w.SampleCount) * w.LayoutSlotCount();
  const double fileSize = static_cast<double>(w.DataFileSize);
  const double loadTarget = (fileSize + 14.0 * samples) / 1e6;
  // What one recording's arrays hold once the file's copy is gone.
  const double arrays =
      (12.0 * samples + 8.0 * w.SampleCount + 16.0 * (w.SampleCount / FramesPerBlock)) / 1e6;
  for (int slot = 0; slot < SlotCount; ++slot) w.ChannelBox(slot)->UserClick();
  w.RadioGroup1->UserChoose(1);
  const double firstPeak = meter.Peak();
  const double filtered = meter.Now();

  ResidentMeter::RestartPeak();
  desktop.AnswerWith(file.Name);
  w.Open1->UserClick();
  const double secondPeak = meter.Peak();
  const double after = meter.Now();
  Form1 = nullptr;
  if (!desktop.Messages.empty()) {
    std::fprintf(stderr, "%s\n", desktop.Messages.front().Text.c_str());
    return 1;
  }

  std::printf("file size                          %.1f MB, %u samples x %d channels\n",
              fileSize / 1e6, w.SampleCount, w.LayoutSlotCount());
  std::printf(
      "peak of the first load             %.1f MB (target %.1f MB: file + 14 B per "
      "sample per channel) %.3f\n",
      loadPeak, loadTarget, loadPeak / loadTarget);
  std::printf("in huge pages after the first load %.1f MB\n", hugePages);
  std::printf("first recording, ten filtered      %.1f MB resident, peak %.1f MB\n", filtered,
              firstPeak);
  std::printf(
      "peak of the second open            %.1f MB = %.3f x the first's peak (target "
      "1.15)\n",
      secondPeak, secondPeak / firstPeak);
  std::printf(
      "resident after the second open     %.1f MB = %.3f x one recording's arrays "
      "(%.1f MB)\n",
      after, after / arrays, arrays);
  const bool met = loadPeak <= loadTarget && secondPeak <= 1.15 * firstPeak && after < 1.5 * arrays;
  return met ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  PreparePassThreads(argv);
  if (argc > 1 && std::string(argv[1]) == "--peak-memory") return PeakMemory();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
