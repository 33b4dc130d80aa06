#include <gtest/gtest.h>

#include "display/panel_fixture.h"

namespace panel {
namespace {

using SpeedBox = PanelTest;

constexpr const char* Acceleration = "Acceleration [m/s2]";
constexpr const char* Both = "Acceleration [m/s2] + The blue line is speed in knots";
constexpr const char* Knots = "Knots";

struct Step {
  CheckBox* TForm1::*Box;  // the box a person clicks
  const char* Title;
  bool SpeedShown;
};

TEST_F(SpeedBox, LeftAxisTitleFollowsTheSpeedBoxAndTheChannelBoxes) {
  OpenPulses(true);
  TForm1& w = Window();
  const Step steps[] = {
      {&TForm1::CBSpeed, Knots, true},          // the speed alone
      {&TForm1::CBHullY, Both, true},           // and a channel
      {&TForm1::CBSpare, Both, true},           // and a second one
      {&TForm1::CBHullY, Both, true},           // one of two unticked
      {&TForm1::CBSpare, Knots, true},          // the last one unticked
      {&TForm1::CBNavigatorX, Both, true},      // a channel again
      {&TForm1::CBSpeed, Acceleration, false},  // the speed hidden
      {&TForm1::CBNavigatorX, Acceleration, false},
      {&TForm1::CBHullX, Acceleration, false},
      {&TForm1::CBSpeed, Both, true},  // the speed beside Hull X
  };

  for (const Step& step : steps) {
    CheckBox* box = w.*step.Box;
    SCOPED_TRACE(box->Name());
    box->UserClick();
    EXPECT_EQ(LeftAxisTitle(), step.Title);
    EXPECT_EQ(w.Chart1->GetSeries(10)->Active(), step.SpeedShown);
  }
}

TEST_F(SpeedBox, OnlyTheChannelBoxesOfTheLayoutCount) {
  // Before any load the window counts as six channels, yet a visit to "ICI" and back makes
  // the box of slot 6 usable.
  TForm1& w = Window();
  VisitImpacts();
  w.CBNavigatorX->UserClick();
  ASSERT_TRUE(w.CBNavigatorX->Checked());
  w.CBSpeed->UserClick();
  EXPECT_EQ(LeftAxisTitle(), Knots);
  w.CBPilotZ->UserClick();
  EXPECT_EQ(LeftAxisTitle(), Both);
  w.CBPilotZ->UserClick();
  EXPECT_EQ(LeftAxisTitle(), Knots);
  // The speed series of no recording has no points, and nothing failed.
  EXPECT_TRUE(w.Chart1->GetSeries(10)->Active());
  EXPECT_EQ(w.Chart1->GetLineSeries(10)->XValues.Count, 0u);
  EXPECT_TRUE(desktop.Messages.empty());
}

}  // namespace
}  // namespace panel
