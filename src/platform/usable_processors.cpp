#include "platform/usable_processors.h"

#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <memory>
#include <sstream>
#include <thread>

#include "platform/cgroup_folders.h"
#include "platform/system_text_file.h"

namespace {

// A whole number that is the entire word; none otherwise ("max", "-1" among them).
std::optional<std::uint64_t> PositiveNumber(const std::string& word) {
  std::uint64_t value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end || value == 0) return std::nullopt;
  return value;
}

// The word at `index` (from 0) of a file's text; "" when the file cannot be read or is
// shorter.
std::string FileWord(const std::string& root, const std::string& path, int index) {
  std::istringstream words(ReadSystemTextFile(root, path).value_or(""));
  std::string word;
  for (int i = 0; i <= index; ++i) {
    if (!(words >> word)) return {};
  }
  return word;
}

// The CPUs one group's quota gives, rounded up; none without a quota that can be read.
std::optional<std::uint64_t> GroupProcessors(const std::string& root, const CgroupFolder& folder) {
  const bool v2 = folder.Version == CgroupVersion::V2;
  const std::optional<std::uint64_t> quota =
      PositiveNumber(v2 ? FileWord(root, folder.Path + "/cpu.max", 0)
                        : FileWord(root, folder.Path + "/cpu.cfs_quota_us", 0));
  const std::optional<std::uint64_t> period =
      PositiveNumber(v2 ? FileWord(root, folder.Path + "/cpu.max", 1)
                        : FileWord(root, folder.Path + "/cpu.cfs_period_us", 0));
  if (!quota || !period) return std::nullopt;
  return *quota / *period + (*quota % *period != 0 ? 1 : 0);
}

int AffinityProcessors() {
  // The mask is as large as the kernel's processor numbers go, which may pass CPU_SETSIZE.
  const unsigned machine = std::max(std::thread::hardware_concurrency(), 1u);
  for (std::size_t size = std::max<std::size_t>(machine, CPU_SETSIZE); size <= (1u << 20);
       size *= 2) {
    const auto free = [](cpu_set_t* set) { CPU_FREE(set); };
    const std::unique_ptr<cpu_set_t, decltype(free)> mask(CPU_ALLOC(size), free);
    if (!mask) break;
    const std::size_t bytes = CPU_ALLOC_SIZE(size);
    if (sched_getaffinity(0, bytes, mask.get()) == 0) return CPU_COUNT_S(bytes, mask.get());
    if (errno != EINVAL) break;
  }
  return static_cast<int>(machine);
}

}  // namespace

std::optional<int> CgroupProcessors(const std::string& root) {
  std::optional<std::uint64_t> least;
  for (const CgroupFolder& folder : ProcessCgroupFolders(root, "cpu")) {
    const std::optional<std::uint64_t> group = GroupProcessors(root, folder);
    if (group && (!least || *group < *least)) least = group;
  }
  if (!least) return std::nullopt;
  return static_cast<int>(std::min<std::uint64_t>(*least, 1u << 20));
}

int UsableProcessors(int affinityProcessors, std::optional<int> cgroupProcessors) {
  const int usable = std::min(affinityProcessors, cgroupProcessors.value_or(affinityProcessors));
  return std::max(usable, 1);
}

int UsableProcessors() {
  return UsableProcessors(AffinityProcessors(), CgroupProcessors("/"));
}
