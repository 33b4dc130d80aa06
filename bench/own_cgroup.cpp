#include "own_cgroup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/cgroup_folders.h"

namespace {

bool WriteTo(const std::string& file, const std::string& text) {
  std::ofstream out(file);
  out << text << std::flush;
  return static_cast<bool>(out);
}

}  // namespace

OwnCgroup::OwnCgroup(const std::string& controller, const std::string& name) {
  // The process's own group comes first, before its ancestors.
  for (const CgroupFolder& folder : ProcessCgroupFolders("/", controller)) {
    if (folder.Version == CgroupVersion::V1) {
      formerGroup_ = folder.Path;
      break;
    }
  }
  if (formerGroup_.empty()) {
    problem_ = "no cgroup v1 " + controller + " controller is mounted";
    return;
  }
  const std::string group = formerGroup_ + "/" + name + "-" + std::to_string(::getpid());
  if (::mkdir(group.c_str(), 0755) != 0) {
    problem_ = "cannot make the group " + group + ": " + std::strerror(errno);
    return;
  }
  group_ = group;
}

OwnCgroup::~OwnCgroup() {
  if (group_.empty()) return;
  WriteTo(formerGroup_ + "/cgroup.procs", std::to_string(::getpid()));
  ::rmdir(group_.c_str());
}

std::string OwnCgroup::Read(const std::string& file) const {
  std::ifstream in(group_ + "/" + file);
  std::string word;
  in >> word;
  return word;
}

void OwnCgroup::Set(const std::string& file, const std::string& text) {
  if (!problem_.empty()) return;
  if (!WriteTo(group_ + "/" + file, text)) problem_ = "cannot set " + file + " of " + group_;
}

void OwnCgroup::Enter() {
  if (!problem_.empty()) return;
  // The whole process moves, so a thread it starts later is in the group as well.
  if (!WriteTo(group_ + "/cgroup.procs", std::to_string(::getpid()))) {
    problem_ = "cannot move the process into " + group_;
  }
}
