#include "throttled_disk.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const std::string BlkioRoot = "/sys/fs/cgroup/blkio";

bool WriteTo(const std::string& file, const std::string& text) {
  std::ofstream out(file);
  out << text;
  out.flush();
  return static_cast<bool>(out);
}

std::string ReadFirstLine(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The blkio group this process is in now, as a path under the controller's root.
std::string CurrentGroup() {
  std::ifstream in("/proc/self/cgroup");
  for (std::string line; std::getline(in, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    std::stringstream controllers(line.substr(first + 1, second - first - 1));
    for (std::string controller; std::getline(controllers, controller, ',');) {
      if (controller == "blkio") return line.substr(second + 1);
    }
  }
  return "/";
}

// "MAJ:MIN" of the whole disk that holds `folder`: the throttle counts the requests that reach
// a disk, and a partition's are counted on the disk it belongs to.
std::string DiskOf(const std::string& folder) {
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0) return {};
  const std::string device =
      std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev));
  const std::string block = "/sys/dev/block/" + device;
  if (::access((block + "/partition").c_str(), F_OK) == 0) {
    const std::string whole = ReadFirstLine(block + "/../dev");
    if (!whole.empty()) return whole;
  }
  return device;
}

}  // namespace

ThrottledDisk::ThrottledDisk(const std::string& folder, std::uint64_t bytesPerSecond) {
  if (::access((BlkioRoot + "/blkio.throttle.write_bps_device").c_str(), F_OK) != 0) {
    problem_ = "no cgroup v1 blkio controller at " + BlkioRoot;
    return;
  }
  const std::string disk = DiskOf(folder);
  if (disk.empty()) {
    problem_ = "cannot find the disk that holds " + folder;
    return;
  }
  formerGroup_ = BlkioRoot + CurrentGroup();
  const std::string group = BlkioRoot + "/tavro-slow-disk-" + std::to_string(::getpid());
  if (::mkdir(group.c_str(), 0755) != 0) {
    problem_ = "cannot make the group " + group + ": " + std::strerror(errno);
    return;
  }
  group_ = group;
  if (!WriteTo(group_ + "/blkio.throttle.write_bps_device",
               disk + " " + std::to_string(bytesPerSecond))) {
    problem_ = "the disk " + disk + " cannot be throttled";
    return;
  }
  // The whole process moves, so a thread it starts later is in the group as well.
  if (!WriteTo(group_ + "/cgroup.procs", std::to_string(::getpid()))) {
    problem_ = "cannot move the process into " + group_;
  }
}

ThrottledDisk::~ThrottledDisk() {
  if (group_.empty()) return;
  WriteTo(formerGroup_ + "/cgroup.procs", std::to_string(::getpid()));
  ::rmdir(group_.c_str());
}
