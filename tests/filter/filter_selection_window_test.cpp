#include <gtest/gtest.h>

#include <vector>

#include "display/panel_fixture.h"
#include "filter/lowpass_filter.h"

namespace panel {
namespace {

using FilterSelection = PanelTest;

std::vector<bool> ActiveFlags(const TForm1& w) {
  std::vector<bool> flags;
  for (int index = 0; index <= 20; ++index) flags.push_back(w.Chart1->GetSeries(index)->Active());
  return flags;
}

void ExpectFilteredAt(const TForm1& w, int slot, double cutoff) {
  std::vector<double> expected(w.PlotCount);
  FilterState state{};
  LowPassFilter(state, cutoff, w.Acceleration[slot].data(), expected.data(), w.PlotCount);
  for (std::uint32_t n = 0; n < w.PlotCount; ++n) {
    ASSERT_EQ(w.FilteredAcceleration[slot][n], expected[n]) << "slot " << slot << " sample " << n;
  }
}

// Every way of choosing a cut-off with no channel of the layout ticked: the selection is
// cleared before "Set channel" shows, every "Invert" box ends disabled and no series changes.
struct NoChannelCase {
  const char* Name;
  void (*Prepare)(PanelTest& test);
};

class FilterWithoutChannel : public PanelTest,
                             public ::testing::WithParamInterface<NoChannelCase> {};

TEST_P(FilterWithoutChannel, AsksForAChannel) {
  GetParam().Prepare(*this);
  TForm1& w = Window();
  const std::vector<bool> shownBefore = ActiveFlags(w);
  int selectionWhileShown = 0;
  desktop.WhileMessageShown = [&](const std::string&) {
    selectionWhileShown = w.RadioGroup1->ItemIndex();
  };

  w.RadioGroup1->UserChoose(1);

  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_EQ(desktop.Messages[0].Text, "Set channel");
  EXPECT_EQ(desktop.Messages[0].Caption, "Error");
  EXPECT_EQ(selectionWhileShown, -1);
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_FALSE(w.InvertBox(slot)->Enabled());
  EXPECT_EQ(ActiveFlags(w), shownBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterWithoutChannel,
    ::testing::Values(
        // Clear filter enables all ten "Invert" boxes first.
        NoChannelCase{"BeforeAnyLoad", [](PanelTest& t) { t.Window().Button1->UserClick(); }},
        NoChannelCase{"OnlySpeedTicked",
                      [](PanelTest& t) {
                        t.OpenPulses(true);
                        t.Window().CBSpeed->UserClick();
                        t.Window().Button1->UserClick();
                      }},
        // Before any load the window counts as six channels, and a visit to "ICI" and back
        // makes the box of slot 6 usable.
        NoChannelCase{"OnlyABoxOutsideTheLayoutTicked",
                      [](PanelTest& t) {
                        t.VisitImpacts();
                        t.Window().CBNavigatorX->UserClick();
                        ASSERT_TRUE(t.Window().CBNavigatorX->Checked());
                      }}),
    [](const ::testing::TestParamInfo<NoChannelCase>& info) { return info.param.Name; });

TEST_F(FilterSelection, FiltersEveryTickedChannelAndShowsItInPlaceOfTheRawTrace) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullX->UserClick();
  w.CBNavigatorY->UserClick();
  std::vector<bool> expectedShown = ActiveFlags(w);
  expectedShown[0] = expectedShown[7] = false;
  expectedShown[11] = expectedShown[18] = true;

  w.RadioGroup1->UserChoose(2);  // "150 Hz"
  EXPECT_TRUE(desktop.Messages.empty());
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), 2);
  EXPECT_EQ(ActiveFlags(w), expectedShown);
  for (int slot : {0, 7}) {
    EXPECT_EQ(Filtered(slot).XValues.Count, Samples);
    EXPECT_EQ(Filtered(slot).YValues.Count, Samples);
    EXPECT_TRUE(Filtered(slot).XValues.Value.SharesStorageWith(w.SampleIndex));
    EXPECT_TRUE(Filtered(slot).YValues.Value.SharesStorageWith(w.FilteredAcceleration[slot]));
    ExpectFilteredAt(w, slot, 150.0);
  }
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_FALSE(w.InvertBox(slot)->Enabled());
  // Unticked channels are not filtered.
  EXPECT_EQ(w.FilteredAcceleration[1][PulseStart + 30], 0.0);

  // Another cut-off filters anew from the accelerations; choosing the selected item again runs
  // nothing.
  w.RadioGroup1->UserChoose(4);
  ExpectFilteredAt(w, 0, 250.0);
  ExpectFilteredAt(w, 7, 250.0);
  w.FilteredAcceleration[0][PulseStart] = 12345.0;
  w.RadioGroup1->UserChoose(4);
  EXPECT_EQ(w.FilteredAcceleration[0][PulseStart], 12345.0);
}

TEST_F(FilterSelection, FiftyHertzTitlesThePilotRowsOfTheLayout) {
  struct Case {
    bool TenChannels;
    int SeriesIndex;  // the series of slots 3 to 5 that 50 Hz titles
    const char* Titles[3];
  };
  const Case cases[] = {{true, 3, {"Pilot X", "Pilot Y", "Pilot Z"}},
                        {false, 14, {"Spare", "Pilot Z", "Nav. z"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.TenChannels ? "ten channels" : "six channels");
    OpenPulses(c.TenChannels);
    TForm1& w = Window();
    for (int slot = 3; slot <= 5; ++slot) {
      w.ChannelBox(slot)->UserClick();
      // Whatever titled the series before, 50 Hz gives it the layout's name.
      w.Chart1->GetSeries(c.SeriesIndex + slot - 3)->SetTitle("stale");
    }
    w.RadioGroup1->UserChoose(0);
    for (int slot = 3; slot <= 5; ++slot) {
      EXPECT_EQ(w.Chart1->GetSeries(c.SeriesIndex + slot - 3)->Title(), c.Titles[slot - 3]);
    }
  }
}

TEST_F(FilterSelection, BeforeAnyLoadAFilteredChannelShowsNoPoints) {
  TForm1& w = Window();
  VisitImpacts();
  w.CBHullX->UserClick();
  w.RadioGroup1->UserChoose(0);
  EXPECT_TRUE(desktop.Messages.empty());
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), 0);
  EXPECT_TRUE(Filtered(0).Active());
  EXPECT_EQ(Filtered(0).XValues.Count, 0u);
  EXPECT_EQ(Filtered(0).YValues.Count, 0u);
}

// The first filter run on a channel makes 8 B per sample resident. When that cannot be had
// the group goes back to the item it had and nothing else changes; channels filtered before
// need nothing more.
TEST_F(FilterSelection, ACutOffThatCannotFitIsRefusedAndTheGroupGoesBack) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullX->UserClick();
  w.CBNavigatorY->UserClick();
  const std::vector<bool> shownBefore = ActiveFlags(w);
  int selectionWhileShown = 0;
  desktop.WhileMessageShown = [&](const std::string&) {
    selectionWhileShown = w.RadioGroup1->ItemIndex();
  };

  constexpr std::uint64_t TwoFilteredChannels = 2 * 8 * Samples;
  SetAvailableMemory(TwoFilteredChannels - 1);
  w.RadioGroup1->UserChoose(1);
  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_EQ(desktop.Messages[0].Text,
            "The channels cannot be filtered: filtering needs 1 MB of memory, and 0 MB are "
            "available");
  EXPECT_EQ(desktop.Messages[0].Caption, "Error");
  EXPECT_EQ(selectionWhileShown, -1);
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
  EXPECT_EQ(ActiveFlags(w), shownBefore);
  EXPECT_TRUE(w.CheckBox1->Enabled() && w.CheckBox8->Enabled());
  EXPECT_EQ(Filtered(0).XValues.Count, 0u);
  EXPECT_EQ(w.FilteredAcceleration[0][PulseStart + 30], 0.0);

  SetAvailableMemory(TwoFilteredChannels);
  w.RadioGroup1->UserChoose(1);
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), 1);
  ExpectFilteredAt(w, 7, 100.0);
  SetAvailableMemory(0);
  w.RadioGroup1->UserChoose(3);
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), 3);
  ExpectFilteredAt(w, 0, 200.0);
  EXPECT_EQ(desktop.Messages.size(), 1u);
}

}  // namespace
}  // namespace panel
