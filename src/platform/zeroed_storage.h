#pragma once

#include <cstddef>
#include <memory>

// The system's transparent huge pages.
inline constexpr std::size_t HugePageSize = std::size_t{2} << 20;

// New zeroed storage of `bytes` bytes (more than 0), freed when the last holder lets go;
// throws std::bad_alloc when it cannot be had. The pages come from the system untouched, so
// what nothing writes costs no memory. Storage of HugePageSize or more is mapped on its own
// and starts on a huge-page boundary, so that AdviseHugePages can give its pages the size.
std::shared_ptr<void> AllocateZeroed(std::size_t bytes);

// Asks for huge pages over the whole huge pages within [first, first + bytes), where the
// system offers them: a range about to be written in one go then faults in 2 MiB at a time
// instead of 4 KiB, which takes most of the cost out of the first write. Only the range's
// partial pages at either end stay small, so a block never costs more than the 2 MiB pages
// its writes lie in. Storage smaller than a huge page holds no whole one, and nothing
// changes there.
void AdviseHugePages(void* first, std::size_t bytes);

// Has the system give [first, first + bytes) its pages now, as a write would, without changing
// what they hold: a pass whose threads each write whole arrays of unequal count can have the
// first touch, which zeroes each fresh page, shared out evenly beforehand. Pages already there
// cost next to nothing; a system that cannot populate leaves the first write to do it.
void PopulateForWriting(void* first, std::size_t bytes);
