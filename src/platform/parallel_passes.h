#pragma once

#include <cstdint>

// The passes over a whole recording (decode, filter runs, impact counts) run on every core
// through OpenMP. A pass over fewer samples per channel than this runs on the calling thread
// alone: waking the other cores would cost more than they could save.
inline constexpr std::int64_t ParallelPassSamples = std::int64_t{1} << 16;

// The passes work in slices of this many samples per channel and report their progress
// between two slices, where the window gets to answer: a slice over every channel of a
// recording takes a few tens of milliseconds at most. What they compute does not depend on
// where the slices end, so tests cut them finer to show it (0 restores the usual length).
std::int64_t SliceSamples();
void SetSliceSamples(std::int64_t samples);
