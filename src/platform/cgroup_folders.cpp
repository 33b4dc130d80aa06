#include "platform/cgroup_folders.h"

#include <optional>
#include <sstream>

#include "platform/system_text_file.h"

namespace {

// A hierarchy the process is counted in for the controller, and its group's path from the
// hierarchy's root, as /proc/self/cgroup tells them.
struct Hierarchy {
  CgroupVersion Version;
  std::string GroupPath;
};

// A mount of such a hierarchy: the folder of the hierarchy that it shows (a container often
// sees only its own group) and where it shows it.
struct CgroupMount {
  CgroupVersion Version;
  std::string Root;
  std::string MountPoint;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) parts.push_back(part);
  return parts;
}

bool ListsName(const std::string& commaList, const std::string& name) {
  for (const std::string& entry : Split(commaList, ',')) {
    if (entry == name) return true;
  }
  return false;
}

// Lines "hierarchy-ID:controller-list:cgroup-path"; the v2 hierarchy is "0::path".
std::vector<Hierarchy> HierarchiesOf(const std::string& cgroupText,
                                     const std::string& v1Controller) {
  std::vector<Hierarchy> hierarchies;
  for (const std::string& line : Split(cgroupText, '\n')) {
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos) continue;
    const std::string id = line.substr(0, first);
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    if (id == "0" && controllers.empty()) {
      hierarchies.push_back({CgroupVersion::V2, path});
    } else if (ListsName(controllers, v1Controller)) {
      hierarchies.push_back({CgroupVersion::V1, path});
    }
  }
  return hierarchies;
}

// mountinfo writes a space, tab, newline or backslash in a path as an octal escape ("\040").
std::string Unescaped(const std::string& field) {
  std::string text;
  for (std::size_t at = 0; at < field.size(); ++at) {
    const auto isOctal = [&](std::size_t i) { return field[i] >= '0' && field[i] <= '7'; };
    if (field[at] == '\\' && at + 3 < field.size() && isOctal(at + 1) && isOctal(at + 2) &&
        isOctal(at + 3)) {
      text += static_cast<char>((field[at + 1] - '0') * 64 + (field[at + 2] - '0') * 8 +
                                (field[at + 3] - '0'));
      at += 3;
    } else {
      text += field[at];
    }
  }
  return text;
}

// Lines "ID parent major:minor root mount-point options [optional fields...] - type source
// super-options"; the v1 mounts that count are those of the controller.
std::vector<CgroupMount> CgroupMountsOf(const std::string& mountinfoText,
                                        const std::string& v1Controller) {
  std::vector<CgroupMount> mounts;
  for (const std::string& line : Split(mountinfoText, '\n')) {
    const std::vector<std::string> fields = Split(line, ' ');
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (dash + 3 >= fields.size()) continue;
    const std::string& type = fields[dash + 1];
    const std::string& superOptions = fields[dash + 3];
    if (type == "cgroup2") {
      mounts.push_back({CgroupVersion::V2, Unescaped(fields[3]), Unescaped(fields[4])});
    } else if (type == "cgroup" && ListsName(superOptions, v1Controller)) {
      mounts.push_back({CgroupVersion::V1, Unescaped(fields[3]), Unescaped(fields[4])});
    }
  }
  return mounts;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

// The group's path below the mount's root ("" for the root itself), when the mount shows the
// group. A path that climbs out ("/.." where a cgroup namespace hides the group) shows none.
std::optional<std::string> PathBelowMountRoot(const std::string& mountRoot,
                                              const std::string& groupPath) {
  const std::string root = WithoutTrailingSlashes(mountRoot);
  const std::string path = WithoutTrailingSlashes(groupPath);
  if (path.compare(0, root.size(), root) != 0) return std::nullopt;
  if (path.size() > root.size() && path[root.size()] != '/') return std::nullopt;
  const std::string below = path.substr(root.size());
  if ((below + "/").find("/../") != std::string::npos) return std::nullopt;
  return below;
}

// The group's folder and those of its ancestors up to the mount point, as far as a mount of
// its hierarchy shows them.
std::vector<std::string> GroupFolders(const Hierarchy& hierarchy,
                                      const std::vector<CgroupMount>& mounts) {
  for (const CgroupMount& mount : mounts) {
    if (mount.Version != hierarchy.Version) continue;
    std::optional<std::string> below = PathBelowMountRoot(mount.Root, hierarchy.GroupPath);
    if (!below) continue;
    const std::string mountPoint = WithoutTrailingSlashes(mount.MountPoint);
    std::vector<std::string> folders{mountPoint + *below};
    while (!below->empty()) {
      below->erase(below->rfind('/'));
      folders.push_back(mountPoint + *below);
    }
    return folders;
  }
  return {};
}

}  // namespace

std::vector<CgroupFolder> ProcessCgroupFolders(const std::string& root,
                                               const std::string& v1Controller) {
  const std::optional<std::string> cgroupText = ReadSystemTextFile(root, "/proc/self/cgroup");
  const std::optional<std::string> mountinfoText = ReadSystemTextFile(root, "/proc/self/mountinfo");
  if (!cgroupText || !mountinfoText) return {};
  const std::vector<CgroupMount> mounts = CgroupMountsOf(*mountinfoText, v1Controller);
  std::vector<CgroupFolder> folders;
  for (const Hierarchy& hierarchy : HierarchiesOf(*cgroupText, v1Controller)) {
    for (std::string& path : GroupFolders(hierarchy, mounts)) {
      folders.push_back({hierarchy.Version, std::move(path)});
    }
  }
  return folders;
}
