#pragma once

#include <cstdint>
#include <vector>

#include "platform/slice_lengths.h"

// The passes over a whole recording (decode, filter runs, impact counts) run on every core
// the process may use through OpenMP. A pass over fewer samples per channel than this runs on
// the calling thread alone: waking the other cores would cost more than they could save.
inline constexpr std::int64_t ParallelPassSamples = std::int64_t{1} << 16;

// What one unit of a pass is: the samples of a channel it spans, and the bytes the pass
// writes for it into each of its arrays (a block spans 600 samples and gets 2400 bytes of
// counts per channel).
struct PassUnit {
  std::int64_t Samples;
  std::int64_t Bytes;
};
inline constexpr PassUnit SampleOfDoubles{1, 8};

// Each thread of a pass writes stretches of an array of its own, at most this many bytes
// long: half a huge page. A huge page's first touch, which zeroes all of its 2 MiB, is then
// waited for by few threads, and the threads zero their pages in parallel.
inline constexpr std::int64_t StretchBytes = std::int64_t{1} << 20;

// The longest stretch of a pass, in units; at least 1.
std::int64_t LongestStretch(PassUnit unit);

// The fewest stretches per lane (array) for which a pass over `lanes` of them hands out its
// stretches in whole rounds of one per thread: threads / gcd(lanes, threads).
std::int64_t StretchesPerLaneAndRound(int lanes);

// The slice lengths of a pass over `lanes` arrays. The passes report their progress between
// two slices, where the window gets to answer. The first slice is half as long as one round of
// longest stretches, one per thread: a few milliseconds of work on a quiet machine, and short
// enough on a busy one; the later ones are sized by time (see SliceLengths).
SliceLengths PassSliceLengths(int lanes, PassUnit unit);

// What the passes compute does not depend on where their slices end, so tests cut every
// pass's slices at lengths of their choosing to show it: slices of these many samples per
// channel in turn (those of a pass over blocks rounded up to whole blocks). An empty list
// restores slices sized by time.
void SetSliceSamples(std::vector<std::uint64_t> samples);

// The threads a pass runs on: as many as the process may use, once they are set at start.
int PassThreads();
