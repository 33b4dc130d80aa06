#include "machine_load.h"

#include <omp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

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

namespace {

// Where the v1 cpu controller is mounted, and the process's group in it.
bool CpuHierarchy(std::string& mountPoint, std::string& group) {
  std::ifstream mounts("/proc/self/mounts");
  std::string device, point, type, options, rest;
  while (mounts >> device >> point >> type >> options && std::getline(mounts, rest)) {
    if (type == "cgroup" && ("," + options + ",").find(",cpu,") != std::string::npos) {
      mountPoint = point;
    }
  }
  std::ifstream cgroups("/proc/self/cgroup");
  std::string line;
  while (std::getline(cgroups, line)) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
    if (controllers.find(",cpu,") != std::string::npos) group = line.substr(second + 1);
  }
  return !mountPoint.empty() && !group.empty();
}

bool WriteTo(const std::string& file, const std::string& text) {
  std::ofstream out(file);
  out << text << std::flush;
  return static_cast<bool>(out);
}

std::string ReadWord(const std::string& file) {
  std::ifstream in(file);
  std::string word;
  in >> word;
  return word;
}

}  // namespace

CpuQuota::CpuQuota(int cpus) {
  if (cpus <= 0) return;
  std::string mountPoint, group;
  if (!CpuHierarchy(mountPoint, group)) {
    failure_ = "no cgroup v1 cpu controller is mounted";
    return;
  }
  formerGroup_ = mountPoint + (group == "/" ? "" : group);
  group_ = mountPoint + "/tavro-bench-" + std::to_string(::getpid());
  if (::mkdir(group_.c_str(), 0755) != 0) {
    failure_ = "cannot make the group " + group_;
    group_.clear();
    return;
  }
  const long period = std::stol("0" + ReadWord(group_ + "/cpu.cfs_period_us"));
  if (period <= 0 || !WriteTo(group_ + "/cpu.cfs_quota_us", std::to_string(cpus * period)) ||
      !WriteTo(group_ + "/cgroup.procs", std::to_string(::getpid()))) {
    failure_ = "cannot set the quota of " + group_;
  }
}

CpuQuota::~CpuQuota() {
  if (group_.empty()) return;
  WriteTo(formerGroup_ + "/cgroup.procs", std::to_string(::getpid()));
  ::rmdir(group_.c_str());
}
