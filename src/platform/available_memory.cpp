#include "platform/available_memory.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

#include "platform/memory_cgroup.h"
#include "platform/system_text_file.h"

namespace {

std::function<std::optional<std::uint64_t>()>& Source() {
  static std::function<std::optional<std::uint64_t>()> source;
  return source;
}

enum class Rounding { Up, Down };

std::string SizeText(std::uint64_t bytes, Rounding rounding) {
  const bool gigabytes = bytes >= 1000000000u;
  const double units = static_cast<double>(bytes) / (gigabytes ? 1e8 : 1e6);
  const double whole = rounding == Rounding::Up ? std::ceil(units) : std::floor(units);
  char text[48];
  if (gigabytes) {
    std::snprintf(text, sizeof text, "%.1f GB", whole / 10.0);
  } else {
    std::snprintf(text, sizeof text, "%.0f MB", whole);
  }
  return text;
}

}  // namespace

std::optional<std::uint64_t> ParseMemAvailable(const std::string& meminfoText) {
  std::istringstream lines(meminfoText);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string name;
    std::string unit;
    std::uint64_t kilobytes = 0;
    if (!(fields >> name) || name != "MemAvailable:") continue;
    if (!(fields >> kilobytes >> unit) || unit != "kB") return std::nullopt;
    if (kilobytes > std::numeric_limits<std::uint64_t>::max() / 1024) return std::nullopt;
    return kilobytes * 1024;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> AvailableMemoryUnder(const std::string& root) {
  const std::optional<std::string> meminfo = ReadSystemTextFile(root, "/proc/meminfo");
  const std::optional<std::uint64_t> machine = meminfo ? ParseMemAvailable(*meminfo) : std::nullopt;
  const std::optional<std::uint64_t> groups = CgroupAvailableMemory(root);
  if (machine && groups) return *machine < *groups ? *machine : *groups;
  return machine ? machine : groups;
}

std::optional<std::uint64_t> AvailableMemory() {
  return Source() ? Source()() : AvailableMemoryUnder("/");
}

void SetAvailableMemorySource(std::function<std::optional<std::uint64_t>()> source) {
  Source() = std::move(source);
}

MemoryCheck CheckMemory(std::uint64_t needed, std::uint64_t released) {
  // What is given back first is enough: the system need not be asked (a filter run over
  // arrays written before needs nothing).
  if (needed <= released) return {};
  const std::optional<std::uint64_t> system = AvailableMemory();
  if (!system) return {};
  constexpr std::uint64_t Most = std::numeric_limits<std::uint64_t>::max();
  const std::uint64_t available = *system > Most - released ? Most : *system + released;
  if (needed <= available) return {};
  return {false, "needs " + SizeText(needed, Rounding::Up) + " of memory, and " +
                     SizeText(available, Rounding::Down) + " are available"};
}
