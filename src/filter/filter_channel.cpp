#include "app/main_window.h"

void TForm1::FilterChannel(int slot, double cutoff, std::uint32_t count) {
  const DynArray<double>& input = Acceleration.at(slot);
  const DynArray<double>& output = FilteredAcceleration.at(slot);
  input.CheckRange(0, count);
  output.CheckRange(0, count);
  LowPassFilter(FilterState, cutoff, input.data(), output.data(), count);
}
