#include "platform/available_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/fake_system.h"
#include "support/temp_folder.h"

namespace {

constexpr const char* Meminfo = "/proc/meminfo";
// 20 000 000 kB.
constexpr std::uint64_t MachineAvailable = std::uint64_t{20000000} * 1024;
constexpr const char* MachineMeminfo = "MemTotal: 24554328 kB\nMemAvailable: 20000000 kB\n";
constexpr const char* V1Unlimited = "9223372036854771712\n";

// The process's memory cgroups, read from fake trees: each level is its limit less its usage
// that cannot be reclaimed, and the smallest level and MemAvailable wins. A group's clean file
// cache, active or inactive, can be reclaimed, less half of it kept back up to a sixteenth of
// the limit.
TEST(AvailableMemory, TheProcessesCgroupsLimitWhatTheMachineCanGive) {
  const struct {
    const char* What;
    FakeFiles Files;
    std::optional<std::uint64_t> Bytes;
  } cases[] = {
      // 100000 reclaimable, 50000 of it kept back.
      {"v1: usage less its hierarchical inactive file cache",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "5:pids:/jobs/a\n4:memory:/jobs/a\n2:cpu,cpuacct:/jobs/a\n0::/jobs/a\n"},
        {Mountinfo, HybridMounts},
        {"/sys/fs/cgroup/memory/memory.limit_in_bytes", V1Unlimited},
        {"/sys/fs/cgroup/memory/jobs/memory.limit_in_bytes", V1Unlimited},
        {"/sys/fs/cgroup/memory/jobs/a/memory.limit_in_bytes", "1000000\n"},
        {"/sys/fs/cgroup/memory/jobs/a/memory.usage_in_bytes", "600000\n"},
        {"/sys/fs/cgroup/memory/jobs/a/memory.stat",
         "cache 300000\ninactive_file 50000\ntotal_cache 300000\ntotal_inactive_file 100000\n"},
        {"/sys/fs/cgroup/cpu,cpuacct/jobs/a/memory.limit_in_bytes", "1\n"}},
       std::uint64_t{450000}},
      {"v1 without hierarchical figures",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "4:memory:/jobs\n"},
        {Mountinfo, HybridMounts},
        {"/sys/fs/cgroup/memory/jobs/memory.limit_in_bytes", "3000000\n"},
        {"/sys/fs/cgroup/memory/jobs/memory.usage_in_bytes", "2000000\n"},
        {"/sys/fs/cgroup/memory/jobs/memory.stat", "cache 500000\ninactive_file 400000\n"}},
       std::uint64_t{1212500}},
      {"v2: an ancestor's limit is smaller than the group's",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/user.slice/app.scope\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/memory.stat", "inactive_file 1\n"},
        {"/sys/fs/cgroup/user.slice/memory.max", "800000\n"},
        {"/sys/fs/cgroup/user.slice/memory.current", "700000\n"},
        {"/sys/fs/cgroup/user.slice/memory.stat", "anon 500000\ninactive_file 200000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.max", "5000000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.current", "600000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.stat", "inactive_file 0\n"}},
       std::uint64_t{250000}},
      {"v2: the group's own limit is the smallest",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/user.slice/app.scope\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/user.slice/memory.max", "max\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.max", "1500000000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.current", "400000000\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.stat", "inactive_file 150000000\n"}},
       std::uint64_t{1175000000}},
      {"usage above the limit leaves nothing",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "1000\n"},
        {"/sys/fs/cgroup/a/memory.current", "5000\n"},
        {"/sys/fs/cgroup/a/memory.stat", "inactive_file 100\n"}},
       std::uint64_t{0}},
      {"a cache larger than the usage frees no more than the usage",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "1000\n"},
        {"/sys/fs/cgroup/a/memory.current", "500\n"},
        {"/sys/fs/cgroup/a/memory.stat", "inactive_file 900\n"}},
       std::uint64_t{938}},
      // A copy of recordings just made: 960 MB of clean cache, 111411200 (a sixteenth of the
      // 1700 MiB limit) kept back.
      {"v1: active file cache counts as well as inactive",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "4:memory:/copy\n"},
        {Mountinfo, HybridMounts},
        {"/sys/fs/cgroup/memory/copy/memory.limit_in_bytes", "1782579200\n"},
        {"/sys/fs/cgroup/memory/copy/memory.usage_in_bytes", "1000000000\n"},
        {"/sys/fs/cgroup/memory/copy/memory.stat",
         "active_file 1\ninactive_file 1\ntotal_active_file 944000000\n"
         "total_inactive_file 16000000\ntotal_dirty 0\ntotal_writeback 0\n"}},
       std::uint64_t{1631168000}},
      // 400 MB clean of 800 MB, 125 MB kept back.
      {"v1: hierarchical dirty and writeback cache is not reclaimable",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "4:memory:/copy\n"},
        {Mountinfo, HybridMounts},
        {"/sys/fs/cgroup/memory/copy/memory.limit_in_bytes", "2000000000\n"},
        {"/sys/fs/cgroup/memory/copy/memory.usage_in_bytes", "1200000000\n"},
        {"/sys/fs/cgroup/memory/copy/memory.stat",
         "dirty 1\nwriteback 1\ntotal_active_file 600000000\ntotal_inactive_file 200000000\n"
         "total_dirty 300000000\ntotal_writeback 100000000\n"}},
       std::uint64_t{1075000000}},
      // 140 MB clean of 300 MB, half of it kept back.
      {"v2: dirty and writeback cache is not reclaimable",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "2000000000\n"},
        {"/sys/fs/cgroup/a/memory.current", "600000000\n"},
        {"/sys/fs/cgroup/a/memory.stat",
         "active_file 200000000\ninactive_file 100000000\nfile_dirty 100000000\n"
         "file_writeback 60000000\n"}},
       std::uint64_t{1470000000}},
      // Reclaim brings a throttled group back under memory.high: 400 MB clean, 62.5 MB of it
      // kept back.
      {"v2: memory.high below memory.max is the limit, whose usage can be above it",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "2000000000\n"},
        {"/sys/fs/cgroup/a/memory.high", "1000000000\n"},
        {"/sys/fs/cgroup/a/memory.current", "1100000000\n"},
        {"/sys/fs/cgroup/a/memory.stat", "active_file 400000000\n"}},
       std::uint64_t{237500000}},
      {"v2: memory.high without memory.max, and memory.max with memory.high at max",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a/b\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "2000000000\n"},
        {"/sys/fs/cgroup/a/memory.high", "max\n"},
        {"/sys/fs/cgroup/a/memory.current", "500000000\n"},
        {"/sys/fs/cgroup/a/b/memory.max", "max\n"},
        {"/sys/fs/cgroup/a/b/memory.high", "700000000\n"},
        {"/sys/fs/cgroup/a/b/memory.current", "400000000\n"}},
       std::uint64_t{300000000}},
      {"cache figures too large to add up leave nothing clean",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "1000\n"},
        {"/sys/fs/cgroup/a/memory.current", "500\n"},
        {"/sys/fs/cgroup/a/memory.stat",
         "active_file 18446744073709551615\ninactive_file 10\n"
         "file_dirty 18446744073709551615\nfile_writeback 5\n"}},
       std::uint64_t{500}},
      {"missing usage and stat leave the limit",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "7000\n"}},
       std::uint64_t{7000}},
      // The container sees its own group as the mount's root, and its path from the host's.
      {"a container whose mount shows only its own group",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/system.slice/docker-4f2a.scope\n"},
        {Mountinfo,
         "700 650 0:26 /system.slice/docker-4f2a.scope /sys/fs/cgroup ro,nosuid - cgroup2 "
         "cgroup rw\n"},
        {"/sys/fs/cgroup/memory.max", "2000000\n"},
        {"/sys/fs/cgroup/memory.current", "500000\n"},
        {"/sys/fs/cgroup/memory.stat", "inactive_file 0\n"}},
       std::uint64_t{1500000}},
      {"a v1 container with an escaped mount point",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "9:memory:/docker/4f2a\n"},
        {Mountinfo,
         "700 650 0:32 /docker/4f2a /sys/fs/cgroup/my\\040memory ro - cgroup cgroup "
         "rw,memory\n"},
        {"/sys/fs/cgroup/my memory/memory.limit_in_bytes", "2000000\n"},
        {"/sys/fs/cgroup/my memory/memory.usage_in_bytes", "1500000\n"}},
       std::uint64_t{500000}},
      {"a group the mount does not show",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/other/group\n"},
        {Mountinfo, "700 650 0:26 /docker/4f2a /sys/fs/cgroup ro - cgroup2 cgroup rw\n"},
        {"/sys/fs/cgroup/memory.max", "2000000\n"}},
       MachineAvailable},
      {"no limit at any level",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/user.slice/app.scope\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/user.slice/memory.max", "max\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.max", "max\n"},
        {"/sys/fs/cgroup/user.slice/app.scope/memory.current", "400000000\n"}},
       MachineAvailable},
      {"a limit that does not read as a number",
       {{Meminfo, MachineMeminfo},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "12k\n"}},
       MachineAvailable},
      {"the machine has less than the group",
       {{Meminfo, "MemAvailable: 1000 kB\n"},
        {SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "2000000\n"}},
       std::uint64_t{1024000}},
      {"no cgroup files", {{Meminfo, MachineMeminfo}}, MachineAvailable},
      {"no meminfo",
       {{SelfCgroup, "0::/a\n"},
        {Mountinfo, UnifiedMounts},
        {"/sys/fs/cgroup/a/memory.max", "2000000\n"}},
       std::uint64_t{2000000}},
      {"nothing to read", {}, std::nullopt},
  };
  for (const auto& c : cases) {
    TempFolder root;
    WriteFakeSystem(root, c.Files);
    EXPECT_EQ(AvailableMemoryUnder(root.Path()), c.Bytes) << c.What;
  }
}

TEST(AvailableMemory, ReadsMemAvailableOrTellsNothing) {
  const struct {
    const char* Text;
    std::optional<std::uint64_t> Bytes;
  } cases[] = {
      {"MemTotal:       24554328 kB\nMemFree:          512000 kB\nMemAvailable:   "
       "20000000 kB\nBuffers:           1000 kB\n",
       std::uint64_t{20000000} * 1024},
      {"MemAvailable: 0 kB", std::uint64_t{0}},
      // A kernel before 3.14 has no such line; only MemFree would mislead, ignoring the cache.
      {"MemTotal: 24554328 kB\nMemFree: 512000 kB\n", std::nullopt},
      {"MemAvailable: lots kB\n", std::nullopt},
      {"MemAvailable: 1000 MB\n", std::nullopt},
      {"MemAvailable: 99999999999999999999 kB\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMemAvailable(c.Text), c.Bytes) << c.Text;
}

TEST(AvailableMemory, TheSystemTellsAFigureOnLinux) {
  const std::optional<std::uint64_t> available = AvailableMemory();
  ASSERT_TRUE(available.has_value());
  EXPECT_GT(*available, 0u);
}

TEST(AvailableMemory, ComparesWhatIsNeededWithWhatIsAvailablePlusWhatIsReleased) {
  struct Case {
    std::optional<std::uint64_t> System;
    std::uint64_t Needed;
    std::uint64_t Released;
    const char* Shortage;  // empty: it fits
  };
  const Case cases[] = {
      {std::uint64_t{100}, 100, 0, ""},
      {std::uint64_t{100}, 150, 50, ""},
      {std::uint64_t{100}, 151, 50, "needs 1 MB of memory, and 0 MB are available"},
      {std::uint64_t{0}, 50, 50, ""},
      {std::nullopt, UINT64_MAX, 0, ""},
      {UINT64_MAX, UINT64_MAX, UINT64_MAX, ""},
      // Needed rounds up and available rounds down, so the two never read alike.
      {std::uint64_t{120'900'000}, 363'000'001, 0,
       "needs 364 MB of memory, and 120 MB are available"},
      {std::uint64_t{999'999'999}, 17'010'000'000, 0,
       "needs 17.1 GB of memory, and 999 MB are available"},
      {std::uint64_t{4'299'000'000}, 4'300'000'000, 0,
       "needs 4.3 GB of memory, and 4.2 GB are available"},
  };
  for (const Case& c : cases) {
    SetAvailableMemorySource([&c] { return c.System; });
    const MemoryCheck check = CheckMemory(c.Needed, c.Released);
    EXPECT_EQ(check.Fits, std::string(c.Shortage).empty()) << c.Needed;
    EXPECT_EQ(check.Shortage, c.Shortage);
  }
  SetAvailableMemorySource({});
}

}  // namespace
