#include "platform/parallel_stretches.h"

#include <algorithm>

namespace {

std::int64_t DivideRoundingUp(std::int64_t a, std::int64_t b) {
  return (a + b - 1) / b;
}

}  // namespace

StretchCut CutIntoStretches(int lanes, std::int64_t units, PassUnit unit) {
  if (units <= 0) return {0, 1};
  const std::int64_t round = StretchesPerLaneAndRound(lanes);
  const std::int64_t longest = LongestStretch(unit);
  const std::int64_t shortest =
      unit.Bytes > 0 ? std::max<std::int64_t>(ShortestStretchBytes / unit.Bytes, 1) : 1;
  // `round` stretches of every lane make round * lanes / threads rounds of one per thread.
  const std::int64_t threadRounds = round * std::max(lanes, 1) / PassThreads();
  const std::int64_t rounds = std::max(DivideRoundingUp(StretchRounds, threadRounds),
                                       DivideRoundingUp(units, round * longest));
  const std::int64_t mostAtShortest = std::max<std::int64_t>(units / shortest, 1);
  const std::int64_t perLane = std::min(rounds * round, mostAtShortest);
  const std::int64_t length = DivideRoundingUp(units, perLane);
  return {DivideRoundingUp(units, length), length};
}
