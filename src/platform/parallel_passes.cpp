#include "platform/parallel_passes.h"

namespace {

constexpr std::int64_t UsualSliceSamples = std::int64_t{1} << 18;
std::int64_t sliceSamples = UsualSliceSamples;

}  // namespace

std::int64_t SliceSamples() {
  return sliceSamples;
}

void SetSliceSamples(std::int64_t samples) {
  sliceSamples = samples > 0 ? samples : UsualSliceSamples;
}
