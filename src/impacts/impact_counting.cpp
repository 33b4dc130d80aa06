#include "app/main_window.h"
#include "platform/application.h"

namespace {

// Which traces of a slot a count reads.
struct ImpactSources {
  bool Raw;
  bool Filtered;
};

// The count of one trace into `row`. The counter reads a little past n (a late impact's
// window), so the whole range it may read is checked up front.
TraceImpactCount CheckedTraceCount(const DynArray<double>& trace, std::uint32_t n,
                                   std::int64_t frameCount, ImpactRow& row) {
  trace.CheckRange(0, ImpactReadCount(n, frameCount));
  return {trace.data(), &row};
}

// Every trace is checked before the first count, so a trace that is too short stops the
// counts before any row changes.
void CountSlotTraces(TForm1& window, const std::vector<int>& slots, ImpactSources sources,
                     std::uint32_t n, const WorkProgress& progress) {
  std::vector<TraceImpactCount> counts;
  for (int slot : slots) {
    if (sources.Raw) {
      counts.push_back(CheckedTraceCount(window.Acceleration.at(slot), n, window.FrameCount,
                                         window.ImpactCounts.at(slot + 1)));
    }
    if (sources.Filtered) {
      counts.push_back(CheckedTraceCount(window.FilteredAcceleration.at(slot), n, window.FrameCount,
                                         window.FilteredImpactCounts.at(slot + 1)));
    }
  }
  CountImpactsInTraces(counts, n, window.FrameCount, window.ImpactLimits, progress);
}

}  // namespace

void TForm1::CountImpacts(int slot, std::uint32_t n) {
  CountSlotTraces(*this, {slot}, {true, false}, n, ActionProgress());
}

void TForm1::CountFilteredImpacts(int slot, std::uint32_t n) {
  CountSlotTraces(*this, {slot}, {false, true}, n, ActionProgress());
}

void TForm1::CountImpactsOfSlots(const std::vector<int>& slots, bool filtered, std::uint32_t n,
                                 const WorkProgress& progress) {
  CountSlotTraces(*this, slots, {true, filtered}, n, progress);
}
