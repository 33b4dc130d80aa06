#include "app/main_window.h"

namespace {

// The count of one trace into `row`. The counter reads a little past n (a late impact's
// window), so the whole range it may read is checked up front.
TraceImpactCount CheckedTraceCount(const DynArray<double>& trace, std::uint32_t n,
                                   std::int64_t frameCount, ImpactRow& row) {
  trace.CheckRange(0, ImpactReadCount(n, frameCount));
  return {trace.data(), &row};
}

}  // namespace

// Every trace is checked before the first count, so a trace that is too short stops the
// counts before any row changes.
void TForm1::CountImpactsOfSlots(const std::vector<int>& slots, bool filtered, std::uint32_t n,
                                 const WorkProgress& progress) {
  std::vector<TraceImpactCount> counts;
  for (int slot : slots) {
    counts.push_back(
        CheckedTraceCount(Acceleration.at(slot), n, FrameCount, ImpactCounts.at(slot + 1)));
    if (filtered) {
      counts.push_back(CheckedTraceCount(FilteredAcceleration.at(slot), n, FrameCount,
                                         FilteredImpactCounts.at(slot + 1)));
    }
  }
  CountImpactsInTraces(counts, n, FrameCount, ImpactLimits, progress);
}
