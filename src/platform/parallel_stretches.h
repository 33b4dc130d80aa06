#pragma once

#include <cstdint>

#include "platform/parallel_passes.h"

// The stretches a pass hands to its threads, in samples per channel. Each thread works on
// stretches of a channel of its own: a huge page's first touch, which zeroes all of its 2 MiB,
// is then waited for by no more than a few threads, and the threads zero their pages in
// parallel. A slice is cut into stretches of at most StretchSamples (half a huge page of
// doubles; the arrays begin on a huge page and the stretches lie where their multiples
// fall), and no finer than it takes to give every thread one (down to MinStretchSamples).
inline constexpr std::int64_t StretchSamples = std::int64_t{1} << 17;
inline constexpr std::int64_t MinStretchSamples = std::int64_t{1} << 12;

// The length of the stretches of [first, end) in a pass over `lanes` arrays whose unit spans
// `unitSamples` samples per channel; at least 1.
std::int64_t StretchLength(int lanes, std::int64_t first, std::int64_t end,
                           std::int64_t unitSamples);

// Runs work(lane, from, to) over the units [first, end) of each of `lanes` arrays, cut into
// stretches (see StretchLength), in one parallel region: the stretches go to the threads one
// at a time as they come free, so a thread that the machine's other work holds up delays only
// the stretch it has. What `work` computes for a unit may depend only on the unit's inputs,
// and what it sums up must come out the same in any order.
template <typename Work>
void ForEachStretch(int lanes, std::int64_t first, std::int64_t end, std::int64_t unitSamples,
                    Work&& work) {
  if (lanes <= 0 || end <= first) return;
  const std::int64_t stretch = StretchLength(lanes, first, end, unitSamples);
  const std::int64_t firstStretch = first / stretch;
  const std::int64_t perLane = (end - 1) / stretch - firstStretch + 1;
  const std::int64_t items = perLane * lanes;
  const bool parallel = items > 1 && (end - first) * unitSamples * lanes >= ParallelPassSamples;
#pragma omp parallel for schedule(dynamic, 1) if (parallel)
  for (std::int64_t item = 0; item < items; ++item) {
    const std::int64_t index = firstStretch + item % perLane;
    const std::int64_t from = index * stretch > first ? index * stretch : first;
    const std::int64_t to = (index + 1) * stretch < end ? (index + 1) * stretch : end;
    work(static_cast<int>(item / perLane), from, to);
  }
}
