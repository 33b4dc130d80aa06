#include "platform/qt/span_rectangles.h"

#include <deque>

namespace {

// A rectangle still growing to the right: rows Top .. Bottom from column Left on.
struct OpenRect {
  int Left;
  int Top;
  int Bottom;
};

}  // namespace

std::vector<PixelRect> SpansToRectangles(int firstColumn, const std::vector<ColumnSpan>& spans) {
  std::vector<PixelRect> done;
  // Top to bottom, tiling the previous column's span without gaps.
  std::deque<OpenRect> open;
  const auto close = [&done](const OpenRect& rect, int top, int bottom, int right) {
    done.push_back(PixelRect{rect.Left, top, right, bottom});
  };
  const int count = static_cast<int>(spans.size());
  for (int i = 0; i <= count; ++i) {
    const int column = firstColumn + i;
    const ColumnSpan span = i < count ? spans[i] : ColumnSpan{1, 0};
    if (span.Empty()) {
      for (const OpenRect& rect : open) close(rect, rect.Top, rect.Bottom, column - 1);
      open.clear();
      continue;
    }
    // Rows of the open rectangles outside this span end in the column before; what lies
    // inside the span runs on.
    while (!open.empty() && open.front().Top < span.Top) {
      OpenRect& rect = open.front();
      if (rect.Bottom < span.Top) {
        close(rect, rect.Top, rect.Bottom, column - 1);
        open.pop_front();
      } else {
        close(rect, rect.Top, span.Top - 1, column - 1);
        rect.Top = span.Top;
      }
    }
    while (!open.empty() && open.back().Bottom > span.Bottom) {
      OpenRect& rect = open.back();
      if (rect.Top > span.Bottom) {
        close(rect, rect.Top, rect.Bottom, column - 1);
        open.pop_back();
      } else {
        close(rect, span.Bottom + 1, rect.Bottom, column - 1);
        rect.Bottom = span.Bottom;
      }
    }
    if (open.empty()) {
      open.push_back(OpenRect{column, span.Top, span.Bottom});
      continue;
    }
    if (span.Top < open.front().Top) {
      open.push_front(OpenRect{column, span.Top, open.front().Top - 1});
    }
    if (span.Bottom > open.back().Bottom) {
      open.push_back(OpenRect{column, open.back().Bottom + 1, span.Bottom});
    }
  }
  return done;
}
