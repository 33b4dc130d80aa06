#include "app/main_window.h"

namespace {

// Adds the impacts that start among trace[0 .. n - 1] to `row`. The counter reads a little
// past n (a late impact's window), so the whole range it may read is checked once up front.
void CountTraceInto(const DynArray<double>& trace, std::uint32_t n, std::int64_t frameCount,
                    const ImpactRow& limits, ImpactRow& row) {
  trace.CheckRange(0, ImpactReadCount(n, frameCount));
  CountImpactsInTrace(trace.data(), n, frameCount, limits, row);
}

}  // namespace

void TForm1::CountImpacts(int slot, std::uint32_t n) {
  CountTraceInto(Acceleration.at(slot), n, FrameCount, ImpactLimits, ImpactCounts.at(slot + 1));
}

void TForm1::CountFilteredImpacts(int slot, std::uint32_t n) {
  CountTraceInto(FilteredAcceleration.at(slot), n, FrameCount, ImpactLimits,
                 FilteredImpactCounts.at(slot + 1));
}
