#pragma once

#include <cstdint>
#include <vector>

#include "platform/slice_lengths.h"

// The passes over a whole recording (decode, filter runs, impact counts) run on every core
// the process may use through OpenMP. A pass over fewer samples per channel than this runs on
// the calling thread alone: waking the other cores would cost more than they could save.
inline constexpr std::int64_t ParallelPassSamples = std::int64_t{1} << 16;

// The passes work in slices and report their progress between two, where the window gets to
// answer. A pass's first slice is this many samples per channel, a few milliseconds of work;
// the later ones are sized by time (see SliceLengths).
inline constexpr std::uint64_t FirstSliceSamples = std::uint64_t{1} << 16;

// The slice lengths of a pass whose unit spans `unitSamples` samples per channel (a block
// spans 600), so that its first slice covers FirstSliceSamples.
SliceLengths PassSliceLengths(std::uint64_t unitSamples);

// What the passes compute does not depend on where their slices end, so tests cut every
// pass's slices at lengths of their choosing to show it: slices of these many samples per
// channel in turn (those of a pass over blocks rounded up to whole blocks). An empty list
// restores slices sized by time.
void SetSliceSamples(std::vector<std::uint64_t> samples);

// The threads a pass runs on: as many as the process may use, once they are set at start.
int PassThreads();
