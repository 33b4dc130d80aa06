#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

// Fake trees of the files the kernel makes, for the code that reads the process's limits
// below a folder standing for "/".

using FakeFiles = std::vector<std::pair<std::string, std::string>>;

// Writes the given files (paths from "/") below `root`.
void WriteFakeSystem(const TempFolder& root, const FakeFiles& files);

inline constexpr const char* SelfCgroup = "/proc/self/cgroup";
inline constexpr const char* Mountinfo = "/proc/self/mountinfo";
// A systemd hybrid layout: the controllers on v1, a v2 hierarchy without them.
inline constexpr const char* HybridMounts =
    "31 22 0:28 / /sys/fs/cgroup rw,relatime shared:9 - tmpfs tmpfs rw,mode=755\n"
    "32 31 0:29 / /sys/fs/cgroup/cpu,cpuacct rw,relatime shared:10 - cgroup cgroup rw,cpu,cpuacct\n"
    "35 31 0:32 / /sys/fs/cgroup/memory rw,relatime shared:13 - cgroup cgroup rw,memory\n"
    "41 31 0:38 / /sys/fs/cgroup/unified rw,relatime shared:14 - cgroup2 cgroup2 rw\n";
inline constexpr const char* UnifiedMounts =
    "25 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 25 0:26 / /sys/fs/cgroup rw,nosuid shared:4 - cgroup2 cgroup2 rw,nsdelegate\n";
