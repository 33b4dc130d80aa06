#include "platform/memory_cgroup.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <sstream>
#include <vector>

#include "platform/cgroup_folders.h"
#include "platform/system_text_file.h"

namespace {

// v1 keeps "no limit" as the largest page count in bytes (9223372036854771712 with 4 KiB
// pages); no machine has 4 EiB, so anything from here up is no limit.
constexpr std::uint64_t NoLimitFrom = std::uint64_t{1} << 62;

// A file holding one number of bytes; none for "max", a missing file or anything else.
std::optional<std::uint64_t> ReadByteCount(const std::string& root, const std::string& path) {
  const std::optional<std::string> text = ReadSystemTextFile(root, path);
  if (!text) return std::nullopt;
  std::uint64_t value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || stop == text->data()) return std::nullopt;
  if (std::string(stop, end).find_first_not_of(" \n") != std::string::npos) return std::nullopt;
  return value;
}

// The value of the first of `names` that memory.stat's "name value" lines hold.
std::optional<std::uint64_t> StatValue(const std::string& statText,
                                       std::initializer_list<const char*> names) {
  for (const char* wanted : names) {
    std::istringstream lines(statText);
    std::string name;
    std::uint64_t value = 0;
    while (lines >> name >> value) {
      if (name == wanted) return value;
    }
  }
  return std::nullopt;
}

std::uint64_t SaturatingSum(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b
             ? std::numeric_limits<std::uint64_t>::max()
             : a + b;
}

// What memory.stat tells of a group's page cache (tmpfs pages are not among it: they cannot be
// dropped, only swapped).
struct FileCache {
  std::uint64_t Active = 0;
  std::uint64_t Inactive = 0;
  std::uint64_t Dirty = 0;      // written by a program, not yet on the disk
  std::uint64_t Writeback = 0;  // on its way to the disk
};

// v1's "total_" figures count the groups below, as its usage does; the plain ones only the
// group's own pages. A figure missing counts as none.
FileCache FileCacheOf(const std::string& statText, CgroupVersion version) {
  const auto figure = [&](const char* v2Name, const char* v1Name) {
    const std::string v1Total = std::string("total_") + v1Name;
    return (version == CgroupVersion::V2 ? StatValue(statText, {v2Name})
                                         : StatValue(statText, {v1Total.c_str(), v1Name}))
        .value_or(0);
  };
  return {figure("active_file", "active_file"), figure("inactive_file", "inactive_file"),
          figure("file_dirty", "dirty"), figure("file_writeback", "writeback")};
}

// The part of a group's usage that reclaim gives back before anything in the group is killed:
// its clean file cache, active or inactive alike. Dirty pages and pages under writeback must
// reach the disk first, which a slow stick makes take long (and nothing in v1 paces a group's
// writing), so they count as used. Like the kernel's MemAvailable, which keeps back half of
// the page cache up to the low watermark, half of the clean cache is kept back, but no more
// than a sixteenth of the limit: that leaves the group's programs the file pages they run from
// (their code and libraries) and the figures' own slack, while a large cache, such as that of
// recordings just copied, counts nearly whole.
std::uint64_t ReclaimableBytes(const FileCache& cache, std::uint64_t usage, std::uint64_t limit) {
  const std::uint64_t file = SaturatingSum(cache.Active, cache.Inactive);
  const std::uint64_t unwritten = SaturatingSum(cache.Dirty, cache.Writeback);
  const std::uint64_t clean = std::min(file - std::min(unwritten, file), usage);
  return clean - std::min(clean / 2, limit / 16);
}

// The group's limit: v1's memory.limit_in_bytes; in v2 the smaller of memory.max and
// memory.high, past which the group is not killed but throttled to a crawl. None when no
// limit is set or can be read.
std::optional<std::uint64_t> GroupLimit(const std::string& root, const std::string& folder,
                                        CgroupVersion version) {
  std::optional<std::uint64_t> least;
  const auto take = [&](const char* file) {
    const std::optional<std::uint64_t> limit = ReadByteCount(root, folder + file);
    if (limit && *limit < NoLimitFrom && (!least || *limit < *least)) least = limit;
  };
  if (version == CgroupVersion::V1) {
    take("/memory.limit_in_bytes");
  } else {
    take("/memory.max");
    take("/memory.high");
  }
  return least;
}

// What one group can still give: its limit less its usage that cannot be reclaimed. A usage
// that cannot be read leaves the limit as the bound, and a stat that cannot be read leaves
// nothing reclaimable.
std::optional<std::uint64_t> GroupAvailableMemory(const std::string& root,
                                                  const std::string& folder,
                                                  CgroupVersion version) {
  const bool v2 = version == CgroupVersion::V2;
  const std::optional<std::uint64_t> limit = GroupLimit(root, folder, version);
  if (!limit) return std::nullopt;
  const std::uint64_t usage =
      ReadByteCount(root, folder + (v2 ? "/memory.current" : "/memory.usage_in_bytes")).value_or(0);
  const std::string stat = ReadSystemTextFile(root, folder + "/memory.stat").value_or("");
  const std::uint64_t unreclaimable =
      usage - ReclaimableBytes(FileCacheOf(stat, version), usage, *limit);
  return *limit > unreclaimable ? *limit - unreclaimable : 0;
}

}  // namespace

std::optional<std::uint64_t> CgroupAvailableMemory(const std::string& root) {
  std::optional<std::uint64_t> least;
  for (const CgroupFolder& folder : ProcessCgroupFolders(root, "memory")) {
    const std::optional<std::uint64_t> group =
        GroupAvailableMemory(root, folder.Path, folder.Version);
    if (group && (!least || *group < *least)) least = group;
  }
  return least;
}
