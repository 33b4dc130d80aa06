#include "impacts/impact_counter.h"

#include <algorithm>

#include "platform/parallel_passes.h"
#include "platform/work_progress.h"

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

namespace {

// Where the scan of one trace stands between two stretches of it.
struct TraceScan {
  std::int64_t Next = 0;  // the first position not yet looked at
  bool Ended = false;     // a window reached frameCount
};

// Scans the triggers at positions below `end` (at most n), from where the scan stands. A
// window may reach past `end`: it is read whole where it stands, so cutting the scan into
// stretches changes nothing of what it counts.
void ScanStretch(const double* trace, std::int64_t end, std::int64_t frameCount,
                 const ImpactRow& limits, ImpactRow& row, TraceScan& scan) {
  // A window must end below frameCount, so triggers at lastStart or later end the scan. The
  // position is kept in 64 bits so that stepping past a late window cannot wrap around.
  const std::int64_t lastStart = frameCount - ImpactWindow;
  std::int64_t i = scan.Next;
  // A window may have carried the scan past this stretch already.
  while (!scan.Ended && i < end) {
    i = FindTrigger(trace, i, end);
    if (i >= end) break;
    if (i >= lastStart) {
      scan.Ended = true;
      break;
    }
    const Peak peak = FindPeak(trace + i);
    CountPeak(peak.Value, limits, row);
    if (i + peak.Offset >= lastStart) scan.Ended = true;
    i += ImpactWindow + std::max<std::int64_t>(peak.Offset, 1);
  }
  scan.Next = std::max(i, end);
}

}  // namespace

void CountImpactsInTrace(const double* trace, std::uint32_t n, std::int64_t frameCount,
                         const ImpactRow& limits, ImpactRow& row) {
  TraceScan scan;
  ScanStretch(trace, n, frameCount, limits, row, scan);
}

void CountImpactsInTraces(const std::vector<TraceImpactCount>& counts, std::uint32_t n,
                          std::int64_t frameCount, const ImpactRow& limits,
                          const WorkProgress& progress) {
  const auto traceCount = static_cast<std::int64_t>(counts.size());
  std::vector<TraceScan> scans(counts.size());
  // The scan mostly skips blocks of samples below the threshold, a hundred times faster than
  // a filter run, and every slice ends in a wait for its slowest trace: slices sized by time
  // grow to their longest here at once, so the scan stops to report only a few times an hour
  // of a recording.
  RunInSlices(n, PassSliceLengths(static_cast<int>(traceCount), SampleOfDoubles), progress,
              [&](std::uint64_t, std::uint64_t end) {
#pragma omp parallel for schedule(dynamic, 1) if (n >= ParallelPassSamples)
                for (std::int64_t t = 0; t < traceCount; ++t) {
                  ScanStretch(counts[t].Trace, static_cast<std::int64_t>(end), frameCount, limits,
                              *counts[t].Row, scans[t]);
                }
              });
}
