#include <gtest/gtest.h>

#include <string>

#include "display/panel_fixture.h"
#include "recording/recording_format.h"

namespace panel {
namespace {

using PageSwitching = PanelTest;

// The band that the peak of each slot's impact reaches once filtered at 50 Hz: the step
// response overshoots by about 12 %, and the 250 m/s² impact of Spare rises above every band.
constexpr std::array<int, 10> FilteredBandAt50Hz{0, 1, 3, 4, 5, 6, 7, 8, 9, -1};

// The 24 bars of a ticked slot: x = 1 to 24, labelled with the lower band limits, in the
// colour of the slot's bar series, one impact in `band` (-1: none) and none elsewhere.
void ExpectBars(const BarSeries& bars, int band) {
  ASSERT_EQ(bars.Points().size(), 24u);
  EXPECT_TRUE(bars.Active());
  for (int b = 0; b < 24; ++b) {
    const BarPoint& point = bars.Points()[b];
    EXPECT_EQ(point.X, b + 1.0);
    EXPECT_EQ(point.Label, std::to_string(20 + 10 * b));
    EXPECT_EQ(point.PointColor, bars.SeriesColor());
    EXPECT_EQ(point.Y, b == band ? 1.0 : 0.0) << "band " << b;
  }
}

TEST_F(PageSwitching, BarsOfEveryTickedSlotFromRawThenFilteredData) {
  OpenPulses(true);
  TForm1& w = Window();
  for (int slot = 0; slot < SlotCount; ++slot) w.ChannelBox(slot)->UserClick();

  for (int visit = 0; visit < 2; ++visit) {  // a second visit shows the same, not twice as much
    ShowImpacts();
    for (int slot = 0; slot < SlotCount; ++slot) {
      SCOPED_TRACE(slot);
      EXPECT_EQ(Bars(slot).Title(), SlotTitle(slot, true));
      ExpectBars(Bars(slot), PulseBand[slot]);
    }
    ShowGraph();
  }

  w.RadioGroup1->UserChoose(0);
  ShowImpacts();
  for (int slot = 0; slot < SlotCount; ++slot) {
    SCOPED_TRACE(slot);
    ExpectBars(Bars(slot), FilteredBandAt50Hz[slot]);
    EXPECT_EQ(w.FilteredImpactCounts[slot + 1][23], 0.0);
  }
  // The raw counts are kept apart from the filtered ones.
  EXPECT_EQ(w.ImpactCounts[10][22], 1.0);
  EXPECT_TRUE(desktop.Messages.empty());
}

TEST_F(PageSwitching, EveryTickedSlotIsCountedFromItsCurrentTrace) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullX->UserClick();
  w.CBPilotY->UserClick();
  ShowImpacts();
  ExpectBars(Bars(0), PulseBand[0]);
  ExpectBars(Bars(4), PulseBand[4]);
  ShowGraph();

  // An inverted impact is no impact: both channels' bars follow the data now shown.
  w.CheckBox1->UserClick();
  w.CheckBox5->UserClick();
  ShowImpacts();
  ExpectBars(Bars(0), -1);
  ExpectBars(Bars(4), -1);
  ShowGraph();

  w.CheckBox5->UserClick();
  ShowImpacts();
  ExpectBars(Bars(4), PulseBand[4]);
}

TEST_F(PageSwitching, EnteringImpactsLocksThePanelAndTheFileMenu) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullY->UserClick();
  ShowImpacts();
  EXPECT_FALSE(w.Panel1->Enabled());
  EXPECT_FALSE(w.RadioGroup1->Enabled());
  EXPECT_FALSE(w.Button1->Enabled());
  EXPECT_FALSE(w.CBSpeed->Enabled());
  EXPECT_FALSE(w.File->Enabled());
  EXPECT_TRUE(w.About->UsableByUser());
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_FALSE(w.ChannelBox(slot)->Enabled()) << slot;
    EXPECT_FALSE(w.InvertBox(slot)->Enabled()) << slot;
    // Unticked slots' bar series are hidden.
    EXPECT_EQ(Bars(slot).Active(), slot == 1) << slot;
  }
  EXPECT_TRUE(Bars(0).Points().empty());
}

TEST_F(PageSwitching, ReturningShowsTheSeriesOfTheSelectionAndUnlocksThePanel) {
  struct Case {
    int FilterItem;  // -1: no filter
  };
  for (const Case c : {Case{-1}, Case{2}}) {
    SCOPED_TRACE(c.FilterItem);
    OpenPulses(true);
    TForm1& w = Window();
    for (int slot : {0, 6, 9}) w.ChannelBox(slot)->UserClick();
    if (c.FilterItem >= 0) w.RadioGroup1->UserChoose(c.FilterItem);
    for (int slot : {6, 9}) w.Chart1->GetSeries(slot)->SetTitle("stale");
    const bool filtered = c.FilterItem >= 0;

    VisitImpacts();
    EXPECT_TRUE(w.Panel1->Enabled() && w.RadioGroup1->Enabled() && w.Button1->Enabled());
    EXPECT_TRUE(w.CBSpeed->Enabled() && w.File->Enabled());
    for (int slot = 0; slot < SlotCount; ++slot) {
      SCOPED_TRACE(slot);
      const bool ticked = w.ChannelBox(slot)->Checked();
      EXPECT_TRUE(w.ChannelBox(slot)->Enabled());
      // Every "Invert" box of the layout, also of unticked channels, follows the selection.
      EXPECT_EQ(w.InvertBox(slot)->Enabled(), !filtered);
      EXPECT_EQ(Raw(slot).Active(), ticked && !filtered);
      EXPECT_EQ(Filtered(slot).Active(), ticked && filtered);
    }
    EXPECT_EQ(Raw(6).Title(), "Nav. x");
    EXPECT_EQ(Raw(9).Title(), "Spare");
  }
}

TEST_F(PageSwitching, SixChannelLayoutVisitsOnlyItsSlots) {
  OpenPulses(false);
  TForm1& w = Window();
  w.CBPilotX->UserClick();  // slot 3, "Spare" in this layout
  ShowImpacts();
  EXPECT_EQ(Bars(3).Title(), "Spare");
  ExpectBars(Bars(3), PulseBand[3]);
  for (int slot = 6; slot < SlotCount; ++slot) {
    EXPECT_FALSE(Bars(slot).Active()) << slot;
    EXPECT_TRUE(Bars(slot).Points().empty()) << slot;
  }
  EXPECT_FALSE(w.CBNavigatorX->Enabled());
  EXPECT_TRUE(w.CBNavigatorY->Enabled());
  ShowGraph();
  EXPECT_TRUE(w.CBNavigatorX->Enabled());
  EXPECT_FALSE(w.CBNavigatorX->Visible());
  EXPECT_EQ(Raw(3).Title(), "Spare");
}

TEST_F(PageSwitching, BeforeAnyLoadAVisitMakesTheSixChannelRowsUsable) {
  TForm1& w = Window();
  ShowImpacts();
  for (int slot = 0; slot < 6; ++slot) EXPECT_FALSE(Bars(slot).Active()) << slot;
  for (int slot = 6; slot < SlotCount; ++slot) EXPECT_TRUE(Bars(slot).Active()) << slot;
  ShowGraph();

  EXPECT_TRUE(w.CBSpeed->UsableByUser());
  for (int slot = 0; slot < SlotCount; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(w.ChannelBox(slot)->UsableByUser(), slot <= 6);
    EXPECT_EQ(w.InvertBox(slot)->UsableByUser(), slot <= 5);
  }

  // With a box ticked, a visit counts nothing and shows 24 empty bars.
  w.CBHullY->UserClick();
  ShowImpacts();
  EXPECT_EQ(Bars(1).Title(), "Hull Y");
  ExpectBars(Bars(1), -1);
  EXPECT_TRUE(desktop.Messages.empty());
}

}  // namespace
}  // namespace panel
