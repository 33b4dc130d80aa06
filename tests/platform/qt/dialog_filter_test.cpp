#include <gtest/gtest.h>

#include "platform/qt/dialog_filter.h"

TEST(QtNameFiltersTest, EachPatternAlsoMatchesItsOtherCases) {
  const struct {
    const char* Filter;
    std::vector<std::string> Expected;
  } cases[] = {
      {"*.DAT|*.DAT", {"*.DAT (*.DAT *.dat)"}},
      {"*.bmp|*.bmp", {"*.bmp (*.bmp *.BMP)"}},
      {"Text|*.txt;*.Log|All|*", {"Text (*.txt *.TXT *.Log *.log *.LOG)", "All (*)"}},
      {"", {}},
      {"no pattern", {}},
      {"Empty pattern|", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(QtNameFilters(c.Filter), c.Expected) << c.Filter;
}
