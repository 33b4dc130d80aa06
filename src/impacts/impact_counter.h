#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/work_progress.h"

// Impacts are sorted by peak into 24 bands of 10 m/s² starting at 20 m/s². Band b (0 .. 22)
// holds the peaks m with limits[b] < m <= limits[b + 1]; band 23, labelled 250 in the chart,
// never counts anything, and neither a peak of exactly 20.0 nor one above 250.0 falls into a
// band.
constexpr int ImpactBandCount = 24;
using ImpactRow = std::array<double, ImpactBandCount>;

// The band limits 20, 30, ..., 250 m/s².
ImpactRow MakeImpactLimits();

// A sample at or above the threshold starts an impact; its peak is the largest of that sample
// and the ImpactWindow samples after it.
constexpr double ImpactThreshold = 20.0;
constexpr int ImpactWindow = 360;

// How many leading entries of a trace CountImpactsInTrace may read for these n and
// frameCount: every read lies below the returned count. Triggers are looked for below n, and a
// window is only searched when it ends below frameCount, so the count is
//   0                                   when n is 0,
//   n                                   when frameCount <= ImpactWindow (no window is ever
//                                       searched),
//   max(n, min(n + ImpactWindow, frameCount))   otherwise,
// which never exceeds max(n, frameCount). Callers check this range once against the array.
std::uint64_t ImpactReadCount(std::uint32_t n, std::int64_t frameCount);

// Counts the impacts that start among trace[0 .. n - 1] into `row`, adding 1.0 to the band of
// each peak (the row is not cleared first). A trigger is counted only when its whole window
// lies below frameCount; the first trigger whose window does not ends the scan. After an
// impact the scan resumes ImpactWindow + max(p, 1) samples past the trigger, p being the
// window offset of the peak (0 when the trigger itself is the peak). A sample that is not a
// number is never a trigger and never the peak. Reads only below ImpactReadCount(n,
// frameCount); with n = 0 reads nothing, so trace may then be null.
void CountImpactsInTrace(const double* trace, std::uint32_t n, std::int64_t frameCount,
                         const ImpactRow& limits, ImpactRow& row);

// One trace of a count over several traces, and the row it counts into.
struct TraceImpactCount {
  const double* Trace;
  ImpactRow* Row;
};

// CountImpactsInTrace for each trace with the same n and frameCount, the traces spread over
// the cores, in slices of samples that report to `progress` between them; each count is what
// it would be alone. No two traces may count into one row.
void CountImpactsInTraces(const std::vector<TraceImpactCount>& counts, std::uint32_t n,
                          std::int64_t frameCount, const ImpactRow& limits,
                          const WorkProgress& progress = {});
