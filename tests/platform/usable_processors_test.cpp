#include "platform/usable_processors.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/fake_system.h"
#include "support/temp_folder.h"

namespace {

// The CPU cgroups, read from fake trees: each level's quota over its period, rounded up, and
// the smallest level wins; a level without a quota, or with one that does not read as one,
// sets no bound.
TEST(UsableProcessors, TheProcessesCgroupsLimitTheProcessors) {
  const struct {
    const char* What;
    FakeFiles Files;
    std::optional<int> Processors;
  } cases[] = {
      {"v1: a quota of two periods",
       {{SelfCgroup, "4:memory:/jobs/a\n2:cpu,cpuacct:/jobs/a\n0::/jobs/a\n"},
        {Mountinfo, HybridMounts},
        {"/sys/fs/cgroup/cpu,cpuacct/cpu.cfs_quota_us", "-1\n"},
        {"/sys/fs/cgroup/cpu,cpuacct/cpu.cfs_period_us", "100000\n"},
        {"/sys/fs/cgroup/cpu,cpuacct/jobs/a/cpu.cfs_quota_us", "200000\n"},
        {"/sys/fs/cgroup/cpu,cpuacct/jobs/a/cpu.cfs_period_us", "100000\n"},
        {"/sys/fs/cgroup/memory/jobs/a/cpu.cfs_quota_us", "1000\n"}},
       2},
      {"v1: part of a period rounds up",
       {{SelfCgroup, "2:cpuacct,cpu:/a\n"},
        {Mountinfo, HybridMounts},
        {"/sys/fs/cgroup/cpu,cpuacct/a/cpu.cfs_quota_us", "150000\n"},
        {"/sys/fs/cgroup/cpu,cpuacct/a/cpu.cfs_period_us", "100000\n"}},
       2},
      {"v1: no quota anywhere",
       {{SelfCgroup, "2:cpu,cpuacct:/a\n"},
        {Mountinfo, HybridMounts},
        {"/sys/fs/cgroup/cpu,cpuacct/a/cpu.cfs_quota_us", "-1\n"},
        {"/sys/fs/cgroup/cpu,cpuacct/a/cpu.cfs_period_us", "100000\n"}},
       std::nullopt},
      {"v2: cpu.max",
       {{SelfCgroup, "0::/user.slice/app.scope\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/user.slice/app.scope/cpu.max", "300000 100000\n"}},
       3},
      {"v2: an ancestor's quota is smaller than the group's",
       {{SelfCgroup, "0::/user.slice/app.scope\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/user.slice/cpu.max", "50000 50000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/cpu.max", "400000 100000\n"}},
       1},
      {"v2: the group's own quota is smaller than an ancestor's",
       {{SelfCgroup, "0::/user.slice/app.scope\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/user.slice/cpu.max", "400000 100000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/cpu.max", "200000 100000\n"}},
       2},
      {"v2: \"max\" is no quota",
       {{SelfCgroup, "0::/user.slice/app.scope\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/user.slice/cpu.max", "max 100000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/cpu.max", "max 100000\n"}},
       std::nullopt},
      {"a period of 0 or a file cut short sets no bound",
       {{SelfCgroup, "0::/a/b\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/cpu.max", "100000 0\n"},
        {"/sys/fs/cgroup/a/b/cpu.max", "100000\n"}},
       std::nullopt},
      {"nothing to read", {}, std::nullopt},
  };
  for (const auto& c : cases) {
    TempFolder root;
    WriteFakeSystem(root, c.Files);
    EXPECT_EQ(CgroupProcessors(root.Path()), c.Processors) << c.What;
  }
}

// The affinity mask and the cgroups' quota bound each other, and a process always has one.
TEST(UsableProcessors, TheSmallerOfAffinityAndQuotaAndAtLeastOne) {
  const struct {
    int Affinity;
    std::optional<int> Cgroup;
    int Usable;
  } cases[] = {{8, std::nullopt, 8}, {8, 2, 2}, {2, 8, 2}, {0, std::nullopt, 1}, {4, 0, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(UsableProcessors(c.Affinity, c.Cgroup), c.Usable)
        << c.Affinity << " " << c.Cgroup.value_or(-1);
  }
}

TEST(UsableProcessors, TheProcessHasAtLeastOne) {
  EXPECT_GE(UsableProcessors(), 1);
}

}  // namespace
