#pragma once

#include <cstdint>

#include "platform/parallel_passes.h"

// A slice is cut into stretches of at most LongestStretch, and no finer than it takes to give
// every thread one, down to this many bytes.
inline constexpr std::int64_t ShortestStretchBytes = std::int64_t{1} << 15;

// A slice gives the threads at least this many rounds of one stretch each: a thread that the
// machine's other work holds up, or wakes late, leaves its later stretches to the others.
inline constexpr std::int64_t StretchRounds = 4;

// How a slice of `units` units of each lane is cut: `PerLane` stretches of `Length` units,
// the last one of a lane perhaps shorter. As few stretches as keep every stretch within
// LongestStretch and give the threads whole rounds of one each (see
// StretchesPerLaneAndRound), StretchRounds at least, unless that would make them shorter
// than ShortestStretchBytes.
struct StretchCut {
  std::int64_t PerLane;
  std::int64_t Length;
};
StretchCut CutIntoStretches(int lanes, std::int64_t units, PassUnit unit);

// Runs work(lane, from, to) over the units [first, end) of each of `lanes` arrays, cut into
// stretches (see CutIntoStretches), in one parallel region: the stretches go to the threads
// one at a time as they come free, so a thread that the machine's other work holds up delays
// only the stretch it has. They go out round by round, the stretches of one round as far
// apart as the rounds allow: on a quiet machine each thread goes on where its last stretch
// ended, on pages no other thread touches at the same time. What `work` computes for a unit
// may depend only on the unit's inputs, and what it sums up must come out the same in any
// order.
template <typename Work>
void ForEachStretch(int lanes, std::int64_t first, std::int64_t end, PassUnit unit, Work&& work) {
  if (lanes <= 0 || end <= first) return;
  const StretchCut cut = CutIntoStretches(lanes, end - first, unit);
  const std::int64_t items = cut.PerLane * lanes;
  const bool parallel = items > 1 && (end - first) * unit.Samples * lanes >= ParallelPassSamples;
  const std::int64_t threads = PassThreads();
  const std::int64_t rounds = items % threads == 0 ? items / threads : 1;
#pragma omp parallel for schedule(dynamic, 1) if (parallel)
  for (std::int64_t turn = 0; turn < items; ++turn) {
    const std::int64_t item = rounds > 1 ? turn % threads * rounds + turn / threads : turn;
    const std::int64_t from = first + item % cut.PerLane * cut.Length;
    const std::int64_t to = end - from > cut.Length ? from + cut.Length : end;
    work(static_cast<int>(item / cut.PerLane), from, to);
  }
}
