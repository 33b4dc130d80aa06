#pragma once

#include <optional>
#include <string>

// How many processors the process can keep busy at once: the passes over a recording start
// no more threads than this, since a thread more than the process may run only waits for its
// turn, and holds up every thread of its pass that waits for it.

// The CPUs the process's cgroups let it use, rounded up: for its group and every ancestor
// that the mount shows, the quota over the period (v2 "cpu.max" as "quota period" or "max
// period"; v1 "cpu.cfs_quota_us", -1 for none, over "cpu.cfs_period_us"); the smallest of
// these. `root` stands for "/", as for the memory cgroups. None when no level has a quota.
std::optional<int> CgroupProcessors(const std::string& root);

// The processors the affinity mask lets the process run on, as many as the cgroups allow;
// at least 1.
int UsableProcessors(int affinityProcessors, std::optional<int> cgroupProcessors);

// The process's figure: its affinity mask now and its cgroups under "/".
int UsableProcessors();
