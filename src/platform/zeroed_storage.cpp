#include "platform/zeroed_storage.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace {

std::uintptr_t RoundUp(std::uintptr_t value) {
  return (value + HugePageSize - 1) / HugePageSize * HugePageSize;
}

// An anonymous mapping of `bytes` rounded up to whole huge pages, starting on a huge-page
// boundary: the system aligns a mapping to 4 KiB only, so one huge page more is mapped and
// the unaligned ends are given back.
std::shared_ptr<void> MapAlignedToHugePages(std::size_t bytes) {
  if (bytes > SIZE_MAX - 2 * HugePageSize) throw std::bad_alloc();
  const std::size_t length = RoundUp(bytes);
  const std::size_t span = length + HugePageSize;
  void* mapped = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto first = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = RoundUp(first);
  if (aligned > first) ::munmap(mapped, aligned - first);
  const std::size_t tail = span - (aligned - first) - length;
  if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + length), tail);
  return std::shared_ptr<void>(reinterpret_cast<void*>(aligned),
                               [length](void* p) { ::munmap(p, length); });
}

}  // namespace

std::shared_ptr<void> AllocateZeroed(std::size_t bytes) {
  if (bytes >= HugePageSize) return MapAlignedToHugePages(bytes);
  void* memory = std::calloc(bytes, 1);
  if (memory == nullptr) throw std::bad_alloc();
  return std::shared_ptr<void>(memory, [](void* p) { std::free(p); });
}

void AdviseHugePages(void* first, std::size_t bytes) {
  const auto begin = reinterpret_cast<std::uintptr_t>(first);
  const std::uintptr_t wholeBegin = RoundUp(begin);
  const std::uintptr_t wholeEnd = (begin + bytes) / HugePageSize * HugePageSize;
  // A system without transparent huge pages refuses the advice; the pages then stay small.
  if (wholeBegin < wholeEnd) {
    ::madvise(reinterpret_cast<void*>(wholeBegin), wholeEnd - wholeBegin, MADV_HUGEPAGE);
  }
}

void PopulateForWriting(void* first, std::size_t bytes) {
  if (bytes == 0) return;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(first) / page * page;
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(first) + bytes;
#ifdef MADV_POPULATE_WRITE
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
  (void)begin;
  (void)end;
#endif
}
