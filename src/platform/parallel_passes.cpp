#include "platform/parallel_passes.h"

#include <omp.h>

#include <stdexcept>
#include <utility>

namespace {

std::vector<std::uint64_t> chosenSliceSamples;

}  // namespace

SliceLengths PassSliceLengths(std::uint64_t unitSamples) {
  if (unitSamples == 0) throw std::invalid_argument("a pass's unit spans no sample");
  const std::uint64_t unit = unitSamples;
  if (chosenSliceSamples.empty()) return SliceLengths((FirstSliceSamples + unit - 1) / unit);
  std::vector<std::uint64_t> units;
  for (const std::uint64_t samples : chosenSliceSamples)
    units.push_back((samples + unit - 1) / unit);
  return SliceLengths(std::move(units));
}

int PassThreads() {
  return omp_get_max_threads();
}

void SetSliceSamples(std::vector<std::uint64_t> samples) {
  chosenSliceSamples = std::move(samples);
}
