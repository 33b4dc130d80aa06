#include "platform/chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct AxisState {
  bool Automatic;
  double Minimum;
  double Maximum;
};

// An axis of a fresh chart that is automatic or shows `start`.
struct AxisStart {
  bool Automatic;
  AxisRange Range;
};

// The series hold `data`; a person has zoomed to the start's range, which the data held then.
void Start(ChartAxis& axis, const AxisStart& start, const AxisRange& data) {
  if (!start.Automatic) {
    axis.SetDataRange({std::min(data.Min, start.Range.Min), std::max(data.Max, start.Range.Max)});
    axis.ZoomTo(start.Range);
  }
  axis.SetDataRange(data);
}

void ExpectState(const ChartAxis& axis, const AxisState& expected, const char* name) {
  EXPECT_EQ(axis.Automatic(), expected.Automatic) << name;
  EXPECT_DOUBLE_EQ(axis.Minimum(), expected.Minimum) << name;
  EXPECT_DOUBLE_EQ(axis.Maximum(), expected.Maximum) << name;
}

constexpr AxisStart Whole{true, {}};

}  // namespace

TEST(ChartAxisZoom, StaysInsideTheWholeAndIsAutomaticOnceItShowsAllOfIt) {
  const AxisRange whole{0.0, 1000.0};
  const struct {
    const char* Case;
    AxisStart Start;
    double Factor;
    double About;
    AxisState Expected;
  } cases[] = {
      {"zoom in from the whole", Whole, 0.5, 500.0, {false, 250.0, 750.0}},
      {"zoom out past the whole", {false, {400.0, 600.0}}, 10.0, 500.0, {true, 400.0, 600.0}},
      {"zoom out to exactly the whole", {false, {250.0, 750.0}}, 2.0, 500.0, {true, 250.0, 750.0}},
      {"zoom out near the start moves right",
       {false, {0.0, 100.0}},
       2.0,
       50.0,
       {false, 0.0, 200.0}},
      {"zoom out near the end moves left",
       {false, {950.0, 1000.0}},
       4.0,
       975.0,
       {false, 800.0, 1000.0}},
      {"zoom out of the whole", Whole, 1.25, 500.0, {true, 0.0, 0.0}},
      {"a range outside the data comes back inside",
       {false, {-300.0, -100.0}},
       1.0,
       -200.0,
       {false, 0.0, 200.0}},
      // The value pointed at keeps its place within what is shown.
      {"zoom in about a point", Whole, 0.5, 200.0, {false, 100.0, 600.0}},
      {"zoom in about the first value", Whole, 0.5, 0.0, {false, 0.0, 500.0}},
      {"zoom in about the last value", Whole, 0.25, 1000.0, {false, 750.0, 1000.0}},
      {"zoom in about a point of a zoomed view",
       {false, {100.0, 300.0}},
       0.5,
       150.0,
       {false, 125.0, 225.0}},
      {"zoom out about a point stops at the start",
       {false, {100.0, 200.0}},
       4.0,
       190.0,
       {false, 0.0, 400.0}},
  };
  for (const auto& c : cases) {
    Chart chart("chart");
    ChartAxis& axis = chart.BottomAxis();
    Start(axis, c.Start, whole);
    axis.Zoom(c.Factor, c.About);
    ExpectState(axis, c.Expected, c.Case);
  }
}

TEST(ChartAxisZoomTo, ShowsTheRangeCutToTheWhole) {
  const AxisRange whole{0.0, 1000.0};
  const struct {
    const char* Case;
    AxisStart Start;
    AxisRange Range;
    AxisState Expected;
  } cases[] = {
      {"a range of the whole", Whole, {100.0, 300.0}, {false, 100.0, 300.0}},
      {"a range of a zoomed view", {false, {100.0, 300.0}}, {150.0, 200.0}, {false, 150.0, 200.0}},
      {"a range past the start is cut", Whole, {-50.0, 100.0}, {false, 0.0, 100.0}},
      {"a range past the end is cut", Whole, {900.0, 1200.0}, {false, 900.0, 1000.0}},
      {"a range over all of the whole is automatic",
       {false, {100.0, 300.0}},
       {-5.0, 2000.0},
       {true, 100.0, 300.0}},
      {"a range beside the whole changes nothing",
       {false, {100.0, 300.0}},
       {1200.0, 1300.0},
       {false, 100.0, 300.0}},
      {"an empty range changes nothing", Whole, {150.0, 150.0}, {true, 0.0, 0.0}},
  };
  for (const auto& c : cases) {
    Chart chart("chart");
    ChartAxis& axis = chart.LeftAxis();
    Start(axis, c.Start, whole);
    axis.ZoomTo(c.Range);
    ExpectState(axis, c.Expected, c.Case);
  }
}

TEST(ChartAxisPan, MovesAtTheSameWidthAndStopsAtTheWholesEnds) {
  const AxisRange whole{-100.0, 1000.0};
  const struct {
    const char* Case;
    AxisStart Start;
    double Delta;
    AxisState Expected;
  } cases[] = {
      {"forward", {false, {100.0, 300.0}}, 50.0, {false, 150.0, 350.0}},
      {"backward", {false, {100.0, 300.0}}, -50.5, {false, 49.5, 249.5}},
      {"stops at the start", {false, {100.0, 300.0}}, -500.0, {false, -100.0, 100.0}},
      {"stops at the end", {false, {100.0, 300.0}}, 5000.0, {false, 800.0, 1000.0}},
      {"at the end there is no further", {false, {800.0, 1000.0}}, 1.0, {false, 800.0, 1000.0}},
      {"the whole has nothing to pan", Whole, 50.0, {true, 0.0, 0.0}},
  };
  for (const auto& c : cases) {
    Chart chart("chart");
    ChartAxis& axis = chart.BottomAxis();
    Start(axis, c.Start, whole);
    axis.Pan(c.Delta);
    ExpectState(axis, c.Expected, c.Case);
  }
}

TEST(ChartZoomAndPan, EachAxisTakesItsOwnRange) {
  Chart chart("chart");
  chart.BottomAxis().SetDataRange({0.0, 36000.0});
  chart.LeftAxis().SetDataRange({-20.0, 80.0});
  chart.ZoomTo(ChartArea{{6000.0, 12000.0}, {-30.0, 10.0}});
  ExpectState(chart.BottomAxis(), {false, 6000.0, 12000.0}, "rectangle, time");
  ExpectState(chart.LeftAxis(), {false, -20.0, 10.0}, "rectangle, acceleration");

  chart.Pan(ChartPoint{-1000.0, 5.0});
  ExpectState(chart.BottomAxis(), {false, 5000.0, 11000.0}, "pan, time");
  ExpectState(chart.LeftAxis(), {false, -15.0, 15.0}, "pan, acceleration");

  chart.Zoom(2.0, ChartPoint{5000.0, 15.0});
  ExpectState(chart.BottomAxis(), {false, 5000.0, 17000.0}, "wheel, time");
  ExpectState(chart.LeftAxis(), {false, -20.0, 40.0}, "wheel, acceleration, at the lowest");

  chart.Zoom(4.0, ChartPoint{5000.0, 15.0});
  EXPECT_TRUE(chart.BottomAxis().Automatic());
  EXPECT_TRUE(chart.LeftAxis().Automatic());
}

TEST(ChartAxisZoom, InAndOutAgainEndsAutomatic) {
  Chart chart("chart");
  ChartAxis& axis = chart.LeftAxis();
  axis.SetDataRange({-3.7, 251.3});
  for (int step = 0; step < 25; ++step) axis.Zoom(0.9, 17.0);
  EXPECT_FALSE(axis.Automatic());
  for (int step = 0; step < 24; ++step) axis.Zoom(1.0 / 0.9, 17.0);
  EXPECT_FALSE(axis.Automatic());
  axis.Zoom(1.0 / 0.9, 17.0);
  EXPECT_TRUE(axis.Automatic());
}

TEST(ChartAxisZoom, WithoutDataOrWithNonsenseNothingChanges) {
  Chart chart("chart");
  int changes = 0;
  chart.Subscribe([&changes] { ++changes; });
  const AxisRange noData{1.0, 0.0};
  const AxisRange whole{0.0, 1.0};
  ChartAxis& axis = chart.BottomAxis();
  axis.Zoom(0.5, 0.5);
  axis.ZoomTo(AxisRange{0.2, 0.4});
  axis.SetDataRange(whole);
  axis.Zoom(0.0, 0.5);
  axis.Zoom(-2.0, 0.5);
  axis.Zoom(0.5, std::nan(""));
  axis.ZoomTo(AxisRange{0.4, 0.2});
  EXPECT_TRUE(axis.Automatic());
  EXPECT_EQ(changes, 0);

  axis.ZoomTo(AxisRange{0.2, 0.4});
  changes = 0;
  axis.Pan(std::numeric_limits<double>::infinity());
  axis.SetDataRange(noData);
  axis.Pan(0.1);
  ExpectState(axis, {false, 0.2, 0.4}, "pan");
  EXPECT_EQ(changes, 0);
}

TEST(ChartAxisZoom, UndoZoomMakesBothAxesAutomatic) {
  Chart chart("chart");
  for (ChartAxis* axis : {&chart.LeftAxis(), &chart.BottomAxis()}) {
    axis->SetDataRange({0.0, 10.0});
    axis->Zoom(0.5, 5.0);
    ASSERT_FALSE(axis->Automatic());
  }
  chart.UndoZoom();
  EXPECT_TRUE(chart.LeftAxis().Automatic());
  EXPECT_TRUE(chart.BottomAxis().Automatic());
}

TEST(ChartAxisWhole, IsTheDataAndTheRangeTheProgramFixed) {
  const AxisRange noData{1.0, 0.0};
  const struct {
    const char* Case;
    AxisRange Data;
    AxisStart Program;
    AxisRange Whole;
  } cases[] = {
      {"automatic: the data", {0.0, 100.0}, Whole, {0.0, 100.0}},
      {"fixed wider than the data", {0.0, 100.0}, {false, {-50.0, 200.0}}, {-50.0, 200.0}},
      {"fixed inside the data", {0.0, 100.0}, {false, {20.0, 30.0}}, {0.0, 100.0}},
      {"fixed beside the data", {0.0, 100.0}, {false, {150.0, 200.0}}, {0.0, 200.0}},
      {"fixed without data", noData, {false, {-5.0, 5.0}}, {-5.0, 5.0}},
  };
  for (const auto& c : cases) {
    Chart chart("chart");
    ChartAxis& axis = chart.BottomAxis();
    axis.SetDataRange(c.Data);
    if (!c.Program.Automatic) axis.SetMinMax(c.Program.Range.Min, c.Program.Range.Max);
    EXPECT_EQ(axis.Whole().Min, c.Whole.Min) << c.Case;
    EXPECT_EQ(axis.Whole().Max, c.Whole.Max) << c.Case;
  }
  Chart chart("chart");
  chart.LeftAxis().SetDataRange(noData);
  EXPECT_TRUE(chart.LeftAxis().Whole().Empty());
}

TEST(ChartAxisWhole, AnAxisFixedWiderThanTheDataStaysFixedThroughZoomPanAndUndo) {
  Chart chart("chart");
  ChartAxis& axis = chart.BottomAxis();
  axis.SetDataRange({0.0, 100.0});
  axis.SetMinMax(-50.0, 200.0);

  axis.Pan(30.0);
  ExpectState(axis, {false, -50.0, 200.0}, "pan of the whole");
  axis.Zoom(0.5, 75.0);
  ExpectState(axis, {false, 12.5, 137.5}, "wheel");
  axis.Pan(-1000.0);
  ExpectState(axis, {false, -50.0, 75.0}, "pan past the data to the fixed start");
  axis.Zoom(10.0, 0.0);
  ExpectState(axis, {false, -50.0, 200.0}, "zoom out to the whole");
  axis.ZoomTo({10.0, 20.0});
  chart.UndoZoom();
  ExpectState(axis, {false, -50.0, 200.0}, "undo");

  // Once the program makes it automatic again, the data is the whole.
  axis.SetAutomatic(true);
  axis.Zoom(0.5, 50.0);
  axis.Zoom(4.0, 50.0);
  EXPECT_TRUE(axis.Automatic());
}
