#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the system can give the program before it has to swap or kill a process. New storage
// comes as untouched zero pages, so allocating never fails: a step that is about to write
// storage never written asks here first and refuses with a message instead of being killed
// part-way.

// The MemAvailable line of /proc/meminfo's text, in bytes; none when the text lacks it (a
// kernel older than 3.14) or it does not read as a number of kB.
std::optional<std::uint64_t> ParseMemAvailable(const std::string& meminfoText);

// What the system under `root` (a folder standing for "/") can give: the smallest of
// MemAvailable of <root>/proc/meminfo and what the process's memory cgroups still let it have
// (see CgroupAvailableMemory); none when neither tells a figure.
std::optional<std::uint64_t> AvailableMemoryUnder(const std::string& root);

// The figure the program uses: AvailableMemoryUnder("/") now, or none when the system does not
// tell it, in which case nothing is refused and a step that cannot fit fails as it would
// without us.
std::optional<std::uint64_t> AvailableMemory();

// Replaces the system's figure (tests set what the system would say); an empty function
// restores it.
void SetAvailableMemorySource(std::function<std::optional<std::uint64_t>()> source);

// Whether `needed` more resident bytes fit into what the system can give once `released`
// bytes have been given back; when they do not, the text for the message: "needs 363 MB of
// memory, and 120 MB are available" (MB below a gigabyte, else GB with one decimal; what is
// needed rounded up and what is available rounded down, so the two never read alike).
struct MemoryCheck {
  bool Fits = true;
  std::string Shortage;
};
MemoryCheck CheckMemory(std::uint64_t needed, std::uint64_t released);
