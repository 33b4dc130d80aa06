#include "app/main_window.h"
#include "platform/application.h"

void TForm1::FilterChannel(int slot, double cutoff, std::uint32_t count) {
  FilterChannels({slot}, cutoff, count, ActionProgress());
}

// Every range is checked before the first run, so a slot whose arrays are too short stops
// the filter before any output changes.
void TForm1::FilterChannels(const std::vector<int>& slots, double cutoff, std::uint32_t count,
                            const WorkProgress& progress) {
  std::vector<ChannelFilterRun> runs;
  for (int slot : slots) {
    const DynArray<double>& input = Acceleration.at(slot);
    const DynArray<double>& output = FilteredAcceleration.at(slot);
    input.CheckRange(0, count);
    // A first filter after a load writes fresh storage.
    output.AdviseHugePagesFor(0, count);
    runs.push_back({input.data(), output.data()});
  }
  LowPassFilterChannels(FilterState, cutoff, runs, count, progress);
}
