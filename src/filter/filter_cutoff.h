#pragma once

// The group "Filter channels" is the only record of the filter selection: its ItemIndex is
// -1 while no filter is selected and 0 to 4 for "50 Hz" to "250 Hz".
inline constexpr int NoFilterSelected = -1;

// The cut-off in Hz that item `itemIndex` (0 to 4) of "Filter channels" stands for.
constexpr double CutoffOfItem(int itemIndex) {
  return 50.0 * (itemIndex + 1);
}
