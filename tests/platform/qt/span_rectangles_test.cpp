#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/qt/span_rectangles.h"

// The rectangles cover every pixel of the spans once and nothing else, and a band across
// the columns becomes few rectangles.
TEST(SpanRectanglesTest, CoverEachPixelOfTheSpansOnce) {
  std::mt19937 random(9);
  std::uniform_int_distribution<int> row(0, 60);
  std::uniform_int_distribution<int> roll(0, 9);
  for (int trial = 0; trial < 200; ++trial) {
    const int firstColumn = trial - 100;
    std::vector<ColumnSpan> spans(80);
    int top = row(random);
    int bottom = top + 5;
    for (ColumnSpan& span : spans) {
      // Mostly a jittering band, now and then a jump or an empty column.
      const int kind = roll(random);
      if (kind == 0) {
        span = ColumnSpan{1, 0};
        continue;
      }
      if (kind == 1) {
        top = row(random);
        bottom = row(random);
        if (top > bottom) std::swap(top, bottom);
      } else {
        top += roll(random) % 3 - 1;
        bottom += roll(random) % 3 - 1;
        if (top > bottom) bottom = top;
      }
      span = ColumnSpan{top, bottom};
    }
    std::vector<std::vector<int>> hits(spans.size(), std::vector<int>(200, 0));
    for (const PixelRect& rect : SpansToRectangles(firstColumn, spans)) {
      ASSERT_LE(rect.Left, rect.Right);
      ASSERT_LE(rect.Top, rect.Bottom);
      for (int x = rect.Left; x <= rect.Right; ++x) {
        for (int y = rect.Top; y <= rect.Bottom; ++y) ++hits.at(x - firstColumn).at(y + 50);
      }
    }
    for (std::size_t i = 0; i < spans.size(); ++i) {
      for (int y = -50; y < 150; ++y) {
        const bool inside = y >= spans[i].Top && y <= spans[i].Bottom;
        ASSERT_EQ(hits[i][y + 50], inside ? 1 : 0) << "column " << i << " row " << y;
      }
    }
  }
  const std::vector<ColumnSpan> band(500, ColumnSpan{10, 300});
  EXPECT_EQ(SpansToRectangles(0, band).size(), 1u);
  EXPECT_TRUE(SpansToRectangles(0, {}).empty());
}
