#include <gtest/gtest.h>

#include <vector>

#include "display/panel_fixture.h"
#include "filter/lowpass_filter.h"

namespace panel {
namespace {

using InvertBoxes = PanelTest;

std::vector<double> Trace(const TForm1& w, int slot) {
  const double* data = w.Acceleration[slot].data();
  return std::vector<double>(data, data + w.SampleCount);
}

TEST_F(InvertBoxes, TickingNegatesExactlyAndUntickingRestoresTheLoadedTrace) {
  OpenPulses(true);
  TForm1& w = Window();
  for (int slot = 0; slot < SlotCount; ++slot) {
    SCOPED_TRACE(slot);
    const std::vector<double> loaded = Trace(w, slot);
    w.ChannelBox(slot)->UserClick();
    w.InvertBox(slot)->UserClick();
    const std::vector<double> inverted = Trace(w, slot);
    for (std::size_t n = 0; n < loaded.size(); ++n) ASSERT_EQ(inverted[n], -loaded[n]) << n;
    EXPECT_EQ(inverted[PulseStart], -PulseHeight[slot]);  // -250.0 stays too

    const LineSeries& raw = Raw(slot);
    EXPECT_TRUE(raw.Active());
    EXPECT_EQ(raw.XValues.Count, Samples);
    EXPECT_TRUE(raw.YValues.Value.SharesStorageWith(w.Acceleration[slot]));
    EXPECT_TRUE(raw.YValues.Modified);

    w.InvertBox(slot)->UserClick();
    EXPECT_EQ(Trace(w, slot), loaded);
  }
}

TEST_F(InvertBoxes, SamplesBeyondTheLimitsStayZeroInBothSigns) {
  // Hull Y: -300, then 250 and 50 m/s², which together keep the mean at the zero level.
  RecordingBuilder recording = PulseRecording(true);
  recording.Counts(1, [](std::int64_t sample) -> std::uint32_t {
    switch (sample) {
      case 10:
        return ZeroLevel + 198000;
      case 11:
        return ZeroLevel - 165000;
      case 12:
        return ZeroLevel - 33000;
      default:
        return ZeroLevel;
    }
  });
  Open(recording);
  TForm1& w = Window();
  ASSERT_EQ(w.Acceleration[1][10], 0.0);
  ASSERT_EQ(w.Acceleration[1][11], 250.0);
  w.CBHullY->UserClick();
  w.CheckBox2->UserClick();
  EXPECT_EQ(w.Acceleration[1][10], 0.0);
  EXPECT_EQ(w.Acceleration[1][11], -250.0);
  EXPECT_EQ(w.Acceleration[1][12], -50.0);
}

TEST_F(InvertBoxes, TheSignSurvivesFilteringAndClearing) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBHullZ->UserClick();
  w.CheckBox3->UserClick();
  w.RadioGroup1->UserChoose(1);

  std::vector<double> expected(w.PlotCount);
  FilterState state{};
  const std::vector<double> inverted = Trace(w, 2);
  LowPassFilter(state, 100.0, inverted.data(), expected.data(), w.PlotCount);
  EXPECT_EQ(w.FilteredAcceleration[2][PulseStart + 30], expected[PulseStart + 30]);
  EXPECT_LT(w.FilteredAcceleration[2][PulseStart + 30], -40.0);
  EXPECT_TRUE(w.CheckBox3->Checked());
  EXPECT_FALSE(w.CheckBox3->UsableByUser());

  w.Button1->UserClick();
  EXPECT_TRUE(Raw(2).Active());
  EXPECT_EQ(w.Acceleration[2][PulseStart], -PulseHeight[2]);
  EXPECT_TRUE(w.CheckBox3->Checked());
  EXPECT_TRUE(w.CheckBox3->UsableByUser());
}

TEST_F(InvertBoxes, InvertingAHiddenChannelShowsOnceItsBoxIsTicked) {
  OpenPulses(true);
  TForm1& w = Window();
  w.Button1->UserClick();  // enables every "Invert" box, also of unticked channels
  w.CheckBox6->UserClick();
  EXPECT_EQ(w.Acceleration[5][PulseStart], -PulseHeight[5]);
  EXPECT_FALSE(Raw(5).Active());
  w.CBPilotZ->UserClick();
  EXPECT_TRUE(Raw(5).Active());
  EXPECT_TRUE(Raw(5).YValues.Value.SharesStorageWith(w.Acceleration[5]));
}

TEST_F(InvertBoxes, BeforeAnyLoadAClickComputesNothing) {
  TForm1& w = Window();
  VisitImpacts();
  for (int slot : {0, 5}) {
    w.InvertBox(slot)->UserClick();
    EXPECT_TRUE(w.InvertBox(slot)->Checked());
    EXPECT_EQ(Raw(slot).XValues.Count, 0u);
    EXPECT_TRUE(Raw(slot).YValues.Value.Empty());
  }
  EXPECT_TRUE(desktop.Messages.empty());
}

}  // namespace
}  // namespace panel
