#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the process's memory cgroups still let it have: for its group and every ancestor that
// the mount shows, the limit less what the group uses that cannot be reclaimed (its usage less
// the clean file cache that the kernel drops before it kills anything, part of it kept back);
// the smallest of these. Inside a container or a desktop session slice with a memory maximum,
// this is what the process can really have, whatever the whole machine has left.
//
// `root` stands for "/": the files read are <root>/proc/self/cgroup, <root>/proc/self/mountinfo
// and the group folders under the mount points they name. Both cgroup v2 ("memory.max",
// "memory.high", "memory.current", "memory.stat") and v1 ("memory.limit_in_bytes",
// "memory.usage_in_bytes", "memory.stat") count. None when no level has a limit that can be read.
std::optional<std::uint64_t> CgroupAvailableMemory(const std::string& root);
