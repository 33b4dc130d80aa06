#include "machine_load.h"

#include <omp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/usable_processors.h"

void UseUsableProcessors() {
  omp_set_num_threads(UsableProcessors());
}

int PassThreadCount() {
  return omp_get_max_threads();
}

BusyCores::BusyCores(int cores) {
  for (int i = 0; i < cores; ++i) {
    const pid_t child = ::fork();
    if (child == 0) {
      volatile unsigned long turns = 0;
      for (;;) turns = turns + 1;
    }
    if (child > 0) spinners_.push_back(child);
  }
}

BusyCores::~BusyCores() {
  for (const pid_t child : spinners_) ::kill(child, SIGKILL);
  for (const pid_t child : spinners_) ::waitpid(child, nullptr, 0);
}

CpuQuota::CpuQuota(int cpus) {
  if (cpus <= 0) return;
  OwnCgroup& group = group_.emplace("cpu", "tavro-bench");
  const long period = std::stol("0" + group.Read("cpu.cfs_period_us"));
  if (period > 0) {
    group.Set("cpu.cfs_quota_us", std::to_string(cpus * period));
    group.Enter();
  }
  failure_ = group.Problem();
  if (failure_.empty() && period <= 0) failure_ = "cannot read the CPU period of the group";
}
