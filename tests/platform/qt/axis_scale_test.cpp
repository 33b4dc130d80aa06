#include "platform/qt/axis_scale.h"

#include <gtest/gtest.h>

#include <limits>

TEST(AxisLabelText, GroupsThousandsKeepsAtMostThreeDecimalsAndNeverAnExponent) {
  const struct {
    double Value;
    const char* Text;
  } cases[] = {
      {0.0, "0"},
      {999.0, "999"},
      {1000.0, "1,000"},
      {1e6, "1,000,000"},
      {1.5e7, "15,000,000"},
      {51840000.0, "51,840,000"},
      {1e20, "100,000,000,000,000,000,000"},
      {-1234.5, "-1,234.5"},
      {0.1 + 0.2, "0.3"},
      {0.0626, "0.063"},
      {999.9996, "1,000"},
      {-0.0001, "0"},
      {-0.0, "0"},
      {std::numeric_limits<double>::quiet_NaN(), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(AxisLabelText(c.Value), c.Text) << c.Value;
}
