#include <algorithm>

#include "app/main_window.h"
#include "platform/application.h"
#include "platform/available_memory.h"
#include "recording/recording_memory.h"

// Called before the filter writes the filtered arrays of `slots` over PlotCount samples. The
// load leaves those arrays as untouched storage, so the first run on a slot makes 8 B per
// sample resident, and one that cannot fit would be killed part-way. On a refusal `refuse`
// undoes what the user chose, then one message tells why; otherwise the arrays count as
// written from here on.
bool TForm1::ReserveFilteredArrays(const std::vector<int>& slots,
                                   const std::function<void()>& refuse) {
  std::uint64_t needed = 0;
  for (int slot : slots) {
    const std::uint32_t written = FilteredSamplesWritten.at(slot);
    if (written < PlotCount) needed += FilteredBytesPerSample * (PlotCount - written);
  }
  const MemoryCheck memory = CheckMemory(needed, 0);
  if (!memory.Fits) {
    refuse();
    CurrentDesktop().ShowMessage("The channels cannot be filtered: filtering " + memory.Shortage,
                                 "Error");
    return false;
  }
  for (int slot : slots) {
    FilteredSamplesWritten.at(slot) = std::max(FilteredSamplesWritten.at(slot), PlotCount);
  }
  return true;
}
