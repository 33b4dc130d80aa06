#include "platform/parallel_passes.h"

#include <omp.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace {

std::vector<std::uint64_t> chosenSliceSamples;

}  // namespace

std::int64_t LongestStretch(PassUnit unit) {
  return unit.Bytes > 0 && unit.Bytes < StretchBytes ? StretchBytes / unit.Bytes : 1;
}

int PassThreads() {
  return omp_get_max_threads();
}

std::int64_t StretchesPerLaneAndRound(int lanes) {
  const std::int64_t threads = PassThreads();
  return threads / std::gcd<std::int64_t>(lanes > 0 ? lanes : 1, threads);
}

SliceLengths PassSliceLengths(int lanes, PassUnit unit) {
  if (unit.Samples <= 0) throw std::invalid_argument("a pass's unit spans no sample");
  if (chosenSliceSamples.empty()) {
    const std::int64_t round = StretchesPerLaneAndRound(lanes) * LongestStretch(unit);
    return SliceLengths(static_cast<std::uint64_t>(std::max<std::int64_t>(round / 2, 1)));
  }
  const auto samples = static_cast<std::uint64_t>(unit.Samples);
  std::vector<std::uint64_t> units;
  for (const std::uint64_t length : chosenSliceSamples) {
    units.push_back((length + samples - 1) / samples);
  }
  return SliceLengths(std::move(units));
}

void SetSliceSamples(std::vector<std::uint64_t> samples) {
  chosenSliceSamples = std::move(samples);
}
