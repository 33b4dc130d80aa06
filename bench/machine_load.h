#pragma once

#include <benchmark/benchmark.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "own_cgroup.h"

// The conditions a desktop or a container puts a pass under, made by the benchmark itself.

// Sets the passes' threads as the program does at start: as many as the process may use now.
void UseUsableProcessors();

// Other work keeping `cores` cores busy: as many processes spinning, from construction to
// destruction.
class BusyCores {
 public:
  explicit BusyCores(int cores);
  ~BusyCores();
  BusyCores(const BusyCores&) = delete;
  BusyCores& operator=(const BusyCores&) = delete;

 private:
  std::vector<pid_t> spinners_;
};

// The process in a cgroup of its own whose CPU quota is `cpus` periods per period (as a
// container's --cpus), cgroup v1's cpu controller; from construction to destruction, when the
// process goes back to its group. Needs the right to make groups (root). No group for 0.
class CpuQuota {
 public:
  explicit CpuQuota(int cpus);
  CpuQuota(const CpuQuota&) = delete;
  CpuQuota& operator=(const CpuQuota&) = delete;

  // Why the quota could not be set; empty when it holds.
  const std::string& Failure() const { return failure_; }

 private:
  std::optional<OwnCgroup> group_;
  std::string failure_;
};

// The conditions the benchmarks measure under.
enum class MachineLoad { Quiet, FourBusyCores, TwoCpuQuota };

// The passes' threads now.
int PassThreadCount();

// Calls `run` under `load`, the passes' threads as many as the program would find at start
// under it (the counter "threads"), and restores them after; skips the benchmark when the
// load cannot be made.
template <typename Run>
void RunUnder(benchmark::State& state, MachineLoad load, Run&& run) {
  {
    const BusyCores busy(load == MachineLoad::FourBusyCores ? 4 : 0);
    const CpuQuota quota(load == MachineLoad::TwoCpuQuota ? 2 : 0);
    if (!quota.Failure().empty()) {
      state.SkipWithError(quota.Failure().c_str());
    } else {
      UseUsableProcessors();
      state.counters["threads"] = PassThreadCount();
      run();
    }
  }
  UseUsableProcessors();
}
