#include <gtest/gtest.h>

#include "display/panel_fixture.h"
#include "recording/recording_format.h"

namespace panel {
namespace {

using ClearFilter = PanelTest;

TEST_F(ClearFilter, ShowsTheRawTraceOfEveryTickedChannelUnderItsLayoutName) {
  struct Case {
    bool TenChannels;
    int FilterItem;  // -1: pressed with no filter selected
  };
  for (const Case c : {Case{true, 1}, Case{true, -1}, Case{false, 0}}) {
    SCOPED_TRACE(testing::Message() << c.TenChannels << " " << c.FilterItem);
    OpenPulses(c.TenChannels);
    TForm1& w = Window();
    const int ticked[] = {2, 4, 5, 8};
    for (int slot : ticked) w.ChannelBox(slot)->UserClick();
    if (c.FilterItem >= 0) w.RadioGroup1->UserChoose(c.FilterItem);
    const DynArray<double> before = w.Acceleration[4];

    w.Button1->UserClick();
    EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
    for (int slot = 0; slot < SlotCount; ++slot) {
      SCOPED_TRACE(slot);
      const bool shown = w.ChannelBox(slot)->Checked() && slot < (c.TenChannels ? SlotCount : 6);
      EXPECT_EQ(Raw(slot).Active(), shown);
      if (shown) {
        EXPECT_EQ(Raw(slot).Title(), SlotTitle(slot, c.TenChannels));
      }
      EXPECT_FALSE(Filtered(slot).Active());
      EXPECT_TRUE(w.InvertBox(slot)->Enabled());
    }
    // No data changes.
    EXPECT_TRUE(w.Acceleration[4].SharesStorageWith(before));
    EXPECT_EQ(w.Acceleration[4][PulseStart], PulseHeight[4]);

    // A second press changes nothing further.
    w.Button1->UserClick();
    EXPECT_TRUE(Raw(2).Active());
    EXPECT_FALSE(Filtered(2).Active());
  }
  EXPECT_TRUE(desktop.Messages.empty());
}

TEST_F(ClearFilter, BeforeAnyLoadItOnlyEnablesTheInvertBoxesAndHidesTheFilteredSeries) {
  TForm1& w = Window();
  // The form leaves the filtered series active without points.
  ASSERT_TRUE(Filtered(0).Active());
  w.Button1->UserClick();
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_TRUE(w.InvertBox(slot)->Enabled());
    EXPECT_FALSE(Filtered(slot).Active());
    EXPECT_FALSE(Raw(slot).Active());
  }
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
}

}  // namespace
}  // namespace panel
