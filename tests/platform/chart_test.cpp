#include "platform/chart.h"

#include <gtest/gtest.h>

namespace {

struct AxisState {
  bool Automatic;
  double Minimum;
  double Maximum;
};

AxisState StateOf(const ChartAxis& axis) {
  return {axis.Automatic(), axis.Minimum(), axis.Maximum()};
}

}  // namespace

TEST(ChartAxisZoom, StaysInsideTheWholeAndIsAutomaticOnceItShowsAllOfIt) {
  const AxisRange whole{0.0, 1000.0};
  const struct {
    const char* Case;
    bool StartAutomatic;
    AxisRange Start;
    double Factor;
    AxisState Expected;
  } cases[] = {
      {"zoom in from the whole", true, {}, 0.5, {false, 250.0, 750.0}},
      {"zoom out past the whole", false, {400.0, 600.0}, 10.0, {true, 400.0, 600.0}},
      {"zoom out to exactly the whole", false, {250.0, 750.0}, 2.0, {true, 250.0, 750.0}},
      {"zoom out near the start moves right", false, {0.0, 100.0}, 2.0, {false, 0.0, 200.0}},
      {"zoom out near the end moves left", false, {950.0, 1000.0}, 4.0, {false, 800.0, 1000.0}},
      {"zoom out of the whole", true, {}, 1.25, {true, 0.0, 0.0}},
      {"a range outside the data comes back inside",
       false,
       {-300.0, -100.0},
       1.0,
       {false, 0.0, 200.0}},
  };
  for (const auto& c : cases) {
    Chart chart("chart");
    ChartAxis& axis = chart.BottomAxis();
    if (!c.StartAutomatic) axis.SetMinMax(c.Start.Min, c.Start.Max);
    axis.Zoom(c.Factor, whole);
    const AxisState state = StateOf(axis);
    EXPECT_EQ(state.Automatic, c.Expected.Automatic) << c.Case;
    EXPECT_DOUBLE_EQ(state.Minimum, c.Expected.Minimum) << c.Case;
    EXPECT_DOUBLE_EQ(state.Maximum, c.Expected.Maximum) << c.Case;
  }
}

TEST(ChartAxisZoom, InAndOutAgainEndsAutomatic) {
  Chart chart("chart");
  ChartAxis& axis = chart.LeftAxis();
  const AxisRange whole{-3.7, 251.3};
  for (int step = 0; step < 25; ++step) axis.Zoom(0.9, whole);
  EXPECT_FALSE(axis.Automatic());
  for (int step = 0; step < 24; ++step) axis.Zoom(1.0 / 0.9, whole);
  EXPECT_FALSE(axis.Automatic());
  axis.Zoom(1.0 / 0.9, whole);
  EXPECT_TRUE(axis.Automatic());
}

TEST(ChartAxisZoom, WithoutDataOrWithANonsenseFactorNothingChanges) {
  Chart chart("chart");
  int changes = 0;
  chart.Subscribe([&changes] { ++changes; });
  chart.BottomAxis().Zoom(0.5, AxisRange{1.0, 0.0});
  chart.BottomAxis().Zoom(0.0, AxisRange{0.0, 1.0});
  chart.BottomAxis().Zoom(-2.0, AxisRange{0.0, 1.0});
  EXPECT_TRUE(chart.BottomAxis().Automatic());
  EXPECT_EQ(changes, 0);
}

TEST(ChartAxisZoom, UndoZoomMakesBothAxesAutomatic) {
  Chart chart("chart");
  chart.LeftAxis().SetMinMax(1.0, 2.0);
  chart.BottomAxis().Zoom(0.5, AxisRange{0.0, 10.0});
  ASSERT_FALSE(chart.BottomAxis().Automatic());
  chart.UndoZoom();
  EXPECT_TRUE(chart.LeftAxis().Automatic());
  EXPECT_TRUE(chart.BottomAxis().Automatic());
}
