#pragma once

#include <cstdint>
#include <string>

#include "own_cgroup.h"

// Puts this process, and every thread it starts from now on, into a blkio group of its own whose
// writes to the disk that holds `folder` are held to `bytesPerSecond`, as on a slow SD card or
// USB stick. When the object goes the process returns to its group and the new one is removed.
// Needs cgroup v1's blkio controller and the right to make groups; where either is missing,
// `Problem()` says why and nothing is throttled.
class ThrottledDisk {
 public:
  ThrottledDisk(const std::string& folder, std::uint64_t bytesPerSecond);
  ThrottledDisk(const ThrottledDisk&) = delete;
  ThrottledDisk& operator=(const ThrottledDisk&) = delete;

  // Empty when the writes are throttled.
  const std::string& Problem() const { return problem_; }

 private:
  OwnCgroup group_;
  std::string problem_;
};
