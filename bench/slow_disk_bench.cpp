// The safe write of 64 MiB to a disk that takes 10 MB/s, as an SD card or a USB stick does,
// with the progress a save reports. The figure that counts is `longest_gap_ms`: the longest
// time the calling thread (the window's, in the program) went without a report, counted from
// the start of the write to its end, so a step that holds it before the first or after the last
// report counts too. The writes are throttled through a cgroup v1 blkio group (run as root).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <unistd.h>

#include "recording/recording_error.h"
#include "recording/safe_file_write.h"
#include "support/temp_folder.h"
#include "throttled_disk.h"

namespace {

constexpr std::size_t WriteSize = std::size_t{64} << 20;
constexpr std::uint64_t DiskBytesPerSecond = 10485760;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration span) {
  return std::chrono::duration<double, std::milli>(span).count();
}

// range(0): 0 writes a new file each time, 1 replaces the file of the same size.
void SafeWriteToSlowDisk(benchmark::State& state) {
  const bool replacing = state.range(0) != 0;
  const std::vector<std::uint8_t> bytes(WriteSize, 0x5a);
  TempFolder folder;
  const std::string target = folder.File("R0412.DAT");
  if (replacing) WriteFileSafely(target, bytes.data(), bytes.size());

  ThrottledDisk disk(folder.Path(), DiskBytesPerSecond);
  if (!disk.Problem().empty()) {
    state.SkipWithError(("the disk cannot be slowed down: " + disk.Problem()).c_str());
    return;
  }

  double longestGap = 0;
  double reports = 0;
  for (auto _ : state) {
    if (!replacing) {
      state.PauseTiming();
      ::unlink(target.c_str());
      state.ResumeTiming();
    }
    Clock::time_point last = Clock::now();
    const auto report = [&](double) {
      const Clock::time_point now = Clock::now();
      longestGap = std::max(longestGap, Milliseconds(now - last));
      last = now;
      ++reports;
    };
    try {
      WriteFileSafely(target, bytes.data(), bytes.size(), report);
    } catch (const RecordingError& error) {
      state.SkipWithError(error.Message().c_str());
      return;
    }
    longestGap = std::max(longestGap, Milliseconds(Clock::now() - last));
  }
  state.counters["longest_gap_ms"] = longestGap;
  state.counters["reports"] = benchmark::Counter(reports, benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * WriteSize));
}

BENCHMARK(SafeWriteToSlowDisk)
    ->ArgName("replace")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
