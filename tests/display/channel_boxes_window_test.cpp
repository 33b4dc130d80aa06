#include <gtest/gtest.h>

#include <vector>

#include "display/panel_fixture.h"
#include "filter/lowpass_filter.h"
#include "recording/recording_format.h"

namespace panel {
namespace {

using ChannelBoxes = PanelTest;

// After a ten-channel load the raw series of slots 3 to 9 are untitled until a box titles
// them: every tick titles the pilot rows, the other rows only while the raw series is shown.
std::string RawTitleAfterFilteredTick(int slot) {
  return slot <= 5 ? SlotTitle(slot, true) : "";
}

TEST_F(ChannelBoxes, TickingWithoutFilterShowsTheRawSeriesOfEverySlot) {
  OpenPulses(true);
  TForm1& w = Window();
  for (int slot = 0; slot < SlotCount; ++slot) {
    SCOPED_TRACE(slot);
    w.ChannelBox(slot)->UserClick();
    EXPECT_TRUE(Raw(slot).Active());
    EXPECT_FALSE(Filtered(slot).Active());
    EXPECT_TRUE(w.InvertBox(slot)->Enabled());
    EXPECT_EQ(Raw(slot).Title(), SlotTitle(slot, true));
    EXPECT_EQ(Filtered(slot).Title(), SlotTitle(slot, true));
    EXPECT_TRUE(Raw(slot).YValues.Value.SharesStorageWith(w.Acceleration[slot]));
    EXPECT_EQ(LeftAxisTitle(), "Acceleration [m/s2]");

    w.ChannelBox(slot)->UserClick();
    EXPECT_FALSE(Raw(slot).Active());
    EXPECT_FALSE(w.InvertBox(slot)->Enabled());
    EXPECT_EQ(Raw(slot).Title(), SlotTitle(slot, true));
  }
  EXPECT_TRUE(desktop.Messages.empty());
}

TEST_F(ChannelBoxes, TickingWithFilterFiltersOnlyThatSlotAndShowsItFiltered) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullX->UserClick();
  w.RadioGroup1->UserChoose(2);  // "150 Hz"
  for (int slot = 1; slot < SlotCount; ++slot) {
    SCOPED_TRACE(slot);
    std::vector<double> expected(w.PlotCount);
    FilterState state{};
    LowPassFilter(state, 150.0, w.Acceleration[slot].data(), expected.data(), w.PlotCount);

    w.ChannelBox(slot)->UserClick();
    const LineSeries& filtered = Filtered(slot);
    EXPECT_TRUE(filtered.Active());
    EXPECT_FALSE(Raw(slot).Active());
    EXPECT_FALSE(w.InvertBox(slot)->Enabled());
    EXPECT_EQ(filtered.Title(), SlotTitle(slot, true));
    EXPECT_EQ(Raw(slot).Title(), RawTitleAfterFilteredTick(slot));
    EXPECT_EQ(filtered.XValues.Count, w.PlotCount);
    EXPECT_EQ(filtered.YValues.Count, w.PlotCount);
    EXPECT_TRUE(filtered.XValues.Value.SharesStorageWith(w.SampleIndex));
    EXPECT_TRUE(filtered.YValues.Value.SharesStorageWith(w.FilteredAcceleration[slot]));
    EXPECT_TRUE(filtered.XValues.Modified && filtered.YValues.Modified);
    for (std::uint32_t n = 0; n < w.PlotCount; ++n) {
      ASSERT_EQ(w.FilteredAcceleration[slot][n], expected[n]) << n;
    }
    // The slots ticked after this one have not been filtered yet.
    for (int later = slot + 1; later < SlotCount; ++later) {
      EXPECT_EQ(w.FilteredAcceleration[later][PulseStart + 30], 0.0) << later;
    }
  }

  // Unticking with a filter selected hides only the filtered series.
  w.CBHullY->UserClick();
  EXPECT_FALSE(Filtered(1).Active());
  EXPECT_FALSE(Raw(1).Active());
  EXPECT_TRUE(Filtered(2).Active());
}

TEST_F(ChannelBoxes, TickingAgainWithFilterFiltersAnewFromTheCurrentTrace) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullZ->UserClick();
  w.RadioGroup1->UserChoose(0);
  w.CBHullZ->UserClick();
  w.FilteredAcceleration[2][PulseStart + 30] = 12345.0;
  w.CBHullZ->UserClick();
  EXPECT_NE(w.FilteredAcceleration[2][PulseStart + 30], 12345.0);
  EXPECT_TRUE(Filtered(2).Active());
}

TEST_F(ChannelBoxes, SixChannelLayoutTitlesThePilotRowsByItsOwnNames) {
  OpenPulses(false);
  TForm1& w = Window();
  const char* const names[] = {"Spare", "Pilot Z", "Nav. z"};
  for (int slot = 3; slot <= 5; ++slot) {
    EXPECT_EQ(w.ChannelBox(slot)->Caption(), names[slot - 3]);
    w.ChannelBox(slot)->UserClick();
    EXPECT_TRUE(Raw(slot).Active());
    EXPECT_EQ(Raw(slot).Title(), names[slot - 3]);
  }
  w.RadioGroup1->UserChoose(1);
  for (int slot = 3; slot <= 5; ++slot) {
    EXPECT_TRUE(Filtered(slot).Active());
    EXPECT_EQ(Filtered(slot).Title(), names[slot - 3]);
  }
  // The boxes of slots 6 to 9 are hidden: a click does nothing.
  for (int slot = 6; slot < SlotCount; ++slot) {
    w.ChannelBox(slot)->UserClick();
    EXPECT_FALSE(w.ChannelBox(slot)->Checked());
    EXPECT_FALSE(Raw(slot).Active());
    EXPECT_FALSE(Filtered(slot).Active());
  }
}

// A box ticked while a filter is selected filters its channel. When the memory for the first
// run cannot be had, the box goes back to unticked, one message tells why and nothing else
// changes.
TEST_F(ChannelBoxes, ABoxWhoseFilteredTraceCannotFitGoesBackToUnticked) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullX->UserClick();
  w.RadioGroup1->UserChoose(0);
  w.CBHullX->UserClick();
  w.CBSpeed->UserClick();
  ASSERT_EQ(LeftAxisTitle(), "Knots");
  bool tickedWhileShown = true;
  desktop.WhileMessageShown = [&](const std::string&) { tickedWhileShown = w.CBHullY->Checked(); };

  constexpr std::uint64_t OneFilteredChannel = 8 * Samples;
  SetAvailableMemory(OneFilteredChannel - 1);
  w.CBHullY->UserClick();
  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_EQ(desktop.Messages[0].Caption, "Error");
  EXPECT_FALSE(tickedWhileShown);
  EXPECT_FALSE(w.CBHullY->Checked());
  EXPECT_FALSE(Filtered(1).Active() || Raw(1).Active());
  EXPECT_FALSE(w.CheckBox2->Enabled());
  EXPECT_EQ(Filtered(1).XValues.Count, 0u);
  EXPECT_EQ(w.FilteredAcceleration[1][PulseStart + 30], 0.0);
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), 0);
  EXPECT_EQ(LeftAxisTitle(), "Knots");

  SetAvailableMemory(OneFilteredChannel);
  w.CBHullY->UserClick();
  EXPECT_TRUE(Filtered(1).Active());
  // Hull X was filtered when the cut-off was chosen: it needs nothing more.
  SetAvailableMemory(0);
  w.CBHullX->UserClick();
  EXPECT_TRUE(Filtered(0).Active());
  EXPECT_EQ(desktop.Messages.size(), 1u);
}

}  // namespace
}  // namespace panel
