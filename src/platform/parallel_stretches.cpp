#include "platform/parallel_stretches.h"

#include <algorithm>

std::int64_t StretchLength(int lanes, std::int64_t first, std::int64_t end,
                           std::int64_t unitSamples) {
  const std::int64_t unit = std::max<std::int64_t>(unitSamples, 1);
  const std::int64_t longest = std::max<std::int64_t>(StretchSamples / unit, 1);
  const std::int64_t shortest = std::max<std::int64_t>(MinStretchSamples / unit, 1);
  const std::int64_t threads = PassThreads();
  const std::int64_t perLane = (threads + lanes - 1) / std::max(lanes, 1);
  const std::int64_t even = (end - first + perLane - 1) / perLane;
  return std::clamp(even, shortest, longest);
}
