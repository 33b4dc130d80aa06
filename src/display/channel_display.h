#pragma once

#include <cstdint>
#include <vector>

#include "platform/chart.h"
#include "platform/dyn_array.h"

class TForm1;

// The three titles of Chart1's left axis. The speed trace has no axis of its own, so the
// title says whether the axis carries accelerations, knots or both.
inline constexpr char AccelerationAxisTitle[] = "Acceleration [m/s2]";
inline constexpr char AccelerationAndSpeedAxisTitle[] =
    "Acceleration [m/s2] + The blue line is speed in knots";
inline constexpr char SpeedAxisTitle[] = "Knots";

// Hands an x array, a y array and a point count to a line series: each value list takes
// the very array (a shared reference, never a copy) and is marked modified, then the series
// is repainted. Both arrays must hold `count` entries; the check is made once, before the
// series changes, so a chart can never be told to draw past an array's end.
void BindLineSeries(LineSeries& series, const DynArray<double>& x, const DynArray<double>& y,
                    std::uint32_t count);

// Empties both value lists of a line series (no points, no arrays) and tells the views, which
// let go of the arrays as well.
void ReleaseLineSeries(LineSeries& series);

// Whether the channel box of a slot of the loaded layout is ticked (slots 0 to 5 in the
// six-channel layout, whatever the hidden boxes of slots 6 to 9 say).
bool AnyLayoutChannelTicked(const TForm1& window);

// The slots of the loaded layout whose channel box is ticked, in slot order.
std::vector<int> TickedLayoutSlots(const TForm1& window);
