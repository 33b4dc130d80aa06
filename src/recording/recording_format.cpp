#include "recording/recording_format.h"

#include <stdexcept>

bool ProbeTenChannels(const std::uint8_t* bytes, std::size_t size) {
  return size > LayoutProbeOffset && bytes[LayoutProbeOffset] != 0;
}

const char* SlotTitle(int slot, bool tenChannels) {
  static const char* const TenChannelTitles[] = {"Hull X",  "Hull Y",  "Hull Z", "Pilot X",
                                                 "Pilot Y", "Pilot Z", "Nav. x", "Nav. y",
                                                 "Nav. z",  "Spare"};
  static const char* const SixChannelTitles[] = {"Hull X", "Hull Y",  "Hull Z",
                                                 "Spare",  "Pilot Z", "Nav. z"};
  if (slot < 0 || slot >= 10) throw std::out_of_range("channel slot " + std::to_string(slot));
  return !tenChannels && slot < 6 ? SixChannelTitles[slot] : TenChannelTitles[slot];
}
