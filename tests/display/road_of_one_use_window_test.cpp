#include <gtest/gtest.h>

#include "display/panel_fixture.h"

namespace panel {
namespace {

using RoadOfOneUse = PanelTest;

TEST_F(RoadOfOneUse, OpenTickFilterVisitImpactsAndReturn) {
  OpenPulses(true);
  TForm1& w = Window();

  w.CBHullX->UserClick();
  EXPECT_TRUE(Raw(0).Active());
  EXPECT_TRUE(w.CheckBox1->UsableByUser());

  w.RadioGroup1->UserChoose(1);  // "100 Hz"
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), 1);
  EXPECT_FALSE(Raw(0).Active());
  EXPECT_TRUE(Filtered(0).Active());
  EXPECT_EQ(Filtered(0).YValues.Count, Samples);
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_FALSE(w.InvertBox(slot)->Enabled());

  ShowImpacts();
  const Control* const panelControls[] = {w.Panel1, w.RadioGroup1, w.Button1, w.CBSpeed, w.CBHullX};
  for (const Control* control : panelControls) {
    EXPECT_FALSE(control->UsableByUser()) << control->Name();
  }
  EXPECT_FALSE(w.Open1->UsableByUser());
  EXPECT_TRUE(w.About->UsableByUser());
  ASSERT_EQ(Bars(0).Points().size(), 24u);
  EXPECT_TRUE(Bars(0).Active());
  EXPECT_EQ(Bars(0).Title(), "Hull X");
  // The 25 m/s² impact of Hull X, filtered at 100 Hz, still peaks in the first band.
  EXPECT_EQ(Bars(0).Points()[0].Y, 1.0);
  EXPECT_EQ(w.FilteredImpactCounts[1][0], 1.0);
  for (int slot = 1; slot < SlotCount; ++slot) EXPECT_FALSE(Bars(slot).Active()) << slot;

  ShowGraph();
  EXPECT_TRUE(w.CBHullX->UsableByUser());
  EXPECT_TRUE(w.RadioGroup1->UsableByUser());
  EXPECT_TRUE(w.Open1->UsableByUser());
  EXPECT_TRUE(Filtered(0).Active());
  EXPECT_FALSE(Raw(0).Active());
  // The "Invert" boxes stay disabled as long as a filter is selected.
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_FALSE(w.InvertBox(slot)->Enabled());
  EXPECT_TRUE(desktop.Messages.empty());
}

// Opening a recording unticks every box that is in use; their handlers run inside the load,
// over the previous recording, and the load still ends in the state of a fresh load.
TEST_F(RoadOfOneUse, LoadWhileEverythingIsInUseEndsInTheLoadedState) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBSpeed->UserClick();
  w.CBHullX->UserClick();
  w.CBNavigatorY->UserClick();
  w.CheckBox1->UserClick();
  w.CheckBox8->UserClick();
  w.RadioGroup1->UserChoose(3);
  ASSERT_EQ(LeftAxisTitle(), "Acceleration [m/s2] + The blue line is speed in knots");

  struct Case {
    const char* Name;
    bool TenChannels;
  };
  for (const Case& next : {Case{"S0001.DAT", false}, Case{"R0413.DAT", true}}) {
    SCOPED_TRACE(next.Name);
    Open(PulseRecording(next.TenChannels), next.Name);
    EXPECT_TRUE(desktop.Messages.empty());
    EXPECT_EQ(w.DataFileName, folder.File(next.Name));
    EXPECT_EQ(w.TenChannels, next.TenChannels);
    EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
    EXPECT_EQ(LeftAxisTitle(), "Acceleration [m/s2]");
    EXPECT_FALSE(w.CBSpeed->Checked());
    for (int index = 0; index <= 20; ++index) EXPECT_FALSE(w.Chart1->GetSeries(index)->Active());
    for (int slot = 0; slot < SlotCount; ++slot) {
      EXPECT_FALSE(w.ChannelBox(slot)->Checked()) << slot;
      EXPECT_FALSE(w.InvertBox(slot)->Checked()) << slot;
      EXPECT_FALSE(w.InvertBox(slot)->Enabled()) << slot;
    }
    for (int slot = 0; slot < w.LayoutSlotCount(); ++slot) {
      // The new recording carries the load's sign.
      EXPECT_EQ(w.Acceleration[slot][PulseStart], PulseHeight[slot]) << slot;
      EXPECT_TRUE(Raw(slot).YValues.Value.SharesStorageWith(w.Acceleration[slot]));
      EXPECT_EQ(Raw(slot).XValues.Count, Samples);
    }
    // Tick the boxes again for the next load.
    w.CBSpeed->UserClick();
    w.CBHullX->UserClick();
    w.CheckBox1->UserClick();
    w.RadioGroup1->UserChoose(0);
  }
}

}  // namespace
}  // namespace panel
