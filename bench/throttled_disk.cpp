#include "throttled_disk.h"

#include <fstream>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

std::string ReadFirstLine(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
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

ThrottledDisk::ThrottledDisk(const std::string& folder, std::uint64_t bytesPerSecond)
    : group_("blkio", "tavro-slow-disk") {
  const std::string disk = DiskOf(folder);
  if (disk.empty()) {
    problem_ = "cannot find the disk that holds " + folder;
    return;
  }
  group_.Set("blkio.throttle.write_bps_device", disk + " " + std::to_string(bytesPerSecond));
  group_.Enter();
  problem_ = group_.Problem();
}
