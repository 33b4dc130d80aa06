#include "impacts/impact_counter.h"

#include <algorithm>

#include "platform/parallel_passes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Most of a trace lies below the threshold, so the scan for the next trigger skips whole
// blocks of samples at a time and only looks at single samples inside a block that has one.
constexpr std::int64_t TriggerBlock = 8;

bool BlockReachesThreshold(const double* d) {
#if defined(__SSE2__)
  // Ordered comparisons: a sample that is not a number never reaches the threshold.
  const __m128d threshold = _mm_set1_pd(ImpactThreshold);
  const __m128d a = _mm_cmpge_pd(_mm_loadu_pd(d), threshold);
  const __m128d b = _mm_cmpge_pd(_mm_loadu_pd(d + 2), threshold);
  const __m128d c = _mm_cmpge_pd(_mm_loadu_pd(d + 4), threshold);
  const __m128d e = _mm_cmpge_pd(_mm_loadu_pd(d + 6), threshold);
  return _mm_movemask_pd(_mm_or_pd(_mm_or_pd(a, b), _mm_or_pd(c, e))) != 0;
#else
  bool reached = false;
  for (std::int64_t k = 0; k < TriggerBlock; ++k) reached |= d[k] >= ImpactThreshold;
  return reached;
#endif
}

// First position in [from, to) whose sample reaches the threshold, or `to` when none does.
std::int64_t FindTrigger(const double* d, std::int64_t from, std::int64_t to) {
  while (from + TriggerBlock <= to && !BlockReachesThreshold(d + from)) from += TriggerBlock;
  for (; from < to; ++from) {
    if (d[from] >= ImpactThreshold) return from;
  }
  return to;
}

struct Peak {
  double Value;
  std::int64_t Offset;  // window offset j of the peak sample d[i + 1 + j]; 0 when d[i] is it
};

// The strict comparison keeps the earliest of equal maxima and lets no NaN become the peak.
Peak FindPeak(const double* trigger) {
  Peak peak{trigger[0], 0};
  for (std::int64_t j = 0; j < ImpactWindow; ++j) {
    if (trigger[1 + j] > peak.Value) peak = {trigger[1 + j], j};
  }
  return peak;
}

void CountPeak(double peak, const ImpactRow& limits, ImpactRow& row) {
  for (int b = 0; b + 1 < ImpactBandCount; ++b) {
    if (limits[b] < peak && peak <= limits[b + 1]) {
      row[b] += 1.0;
      return;
    }
  }
}

}  // namespace

ImpactRow MakeImpactLimits() {
  ImpactRow limits{};
  for (int b = 0; b < ImpactBandCount; ++b) limits[b] = 20.0 + 10.0 * b;
  return limits;
}

std::uint64_t ImpactReadCount(std::uint32_t n, std::int64_t frameCount) {
  if (n == 0) return 0;
  if (frameCount <= ImpactWindow) return n;
  const std::int64_t windowEnd = std::min<std::int64_t>(std::int64_t{n} + ImpactWindow, frameCount);
  return static_cast<std::uint64_t>(std::max<std::int64_t>(n, windowEnd));
}

void CountImpactsInTrace(const double* trace, std::uint32_t n, std::int64_t frameCount,
                         const ImpactRow& limits, ImpactRow& row) {
  // A window must end below frameCount, so triggers at lastStart or later end the scan. The
  // position is kept in 64 bits so that stepping past a late window cannot wrap around.
  const std::int64_t lastStart = frameCount - ImpactWindow;
  const std::int64_t end = n;
  std::int64_t i = 0;
  while (true) {
    i = FindTrigger(trace, i, end);
    if (i >= end || i >= lastStart) return;
    const Peak peak = FindPeak(trace + i);
    CountPeak(peak.Value, limits, row);
    if (i + peak.Offset >= lastStart) return;
    i += ImpactWindow + std::max<std::int64_t>(peak.Offset, 1);
  }
}

void CountImpactsInTraces(const std::vector<TraceImpactCount>& counts, std::uint32_t n,
                          std::int64_t frameCount, const ImpactRow& limits) {
  const auto traceCount = static_cast<std::int64_t>(counts.size());
#pragma omp parallel for schedule(dynamic, 1) if (n >= ParallelPassSamples)
  for (std::int64_t t = 0; t < traceCount; ++t) {
    CountImpactsInTrace(counts[t].Trace, n, frameCount, limits, *counts[t].Row);
  }
}
