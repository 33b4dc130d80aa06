#pragma once

#include <string>
#include <vector>

// Where the kernel shows the limits of the process's cgroups.

enum class CgroupVersion { V1, V2 };

// The folder of one of the process's groups, or of one of its ancestors, in a hierarchy of
// the given version.
struct CgroupFolder {
  CgroupVersion Version;
  std::string Path;
};

// The folders of the process's group and of its ancestors up to each mount point, in every
// hierarchy that counts for `v1Controller` ("memory", "cpu"): the v1 hierarchies of that
// controller and the v2 one, as far as their mounts show them. `root` stands for "/": the
// files read are <root>/proc/self/cgroup and <root>/proc/self/mountinfo. The paths returned
// are absolute, to be read below `root` as well.
std::vector<CgroupFolder> ProcessCgroupFolders(const std::string& root,
                                               const std::string& v1Controller);
