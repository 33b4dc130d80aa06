#include "platform/qt/column_reduction.h"

#include <cmath>
#include <limits>

double ColumnMapping::PixelOf(double x) const {
  // The same operations as QwtScaleMap::transform and qRound (for positions >= 0), so a
  // point falls into the very column Qwt would draw it in, also at a column's edge.
  return std::floor(Left + (x - Origin) * PixelsPerUnit + 0.5);
}

std::int64_t ColumnMapping::ColumnOf(double x) const {
  // Far-off points clamp to a column just outside the canvas on their side.
  const double column = PixelOf(x) - static_cast<double>(FirstPixel);
  if (!(column >= -1.0)) return -1;
  if (column > static_cast<double>(Columns)) return Columns;
  return static_cast<std::int64_t>(column);
}

namespace {

// The first index in [begin, end) whose column is at least `column` (x is ascending, so the
// columns are too).
std::size_t FirstInColumn(const LineData& line, const ColumnMapping& mapping, std::size_t begin,
                          std::size_t end, std::int64_t column) {
  // Gallop first: the next column usually starts close by.
  std::size_t step = 1;
  std::size_t low = begin;
  std::size_t high = begin;
  while (high < end && mapping.ColumnOf(line.X[high]) < column) {
    low = high + 1;
    high = begin + step;
    step *= 2;
    if (high > end) high = end;
  }
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (mapping.ColumnOf(line.X[mid]) < column) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

}  // namespace

ReducedLine ReduceToColumns(const LineData& line, const ColumnMapping& mapping, std::size_t first,
                            std::size_t last) {
  ReducedLine reduced{{}, line.Count, line.Count};
  if (line.Count == 0 || first > last || mapping.Columns <= 0) return reduced;
  if (last >= line.Count) last = line.Count - 1;
  const LevelOfDetail& detail = *line.Detail;
  const std::size_t end = last + 1;

  const std::size_t visibleBegin = FirstInColumn(line, mapping, first, end, 0);
  const std::size_t visibleEnd = FirstInColumn(line, mapping, visibleBegin, end, mapping.Columns);
  if (visibleBegin > first) {
    const std::size_t before = detail.LastNumber(first, visibleBegin);
    if (before != visibleBegin) reduced.BeforeIndex = before;
  }
  const std::size_t after = detail.FirstNumber(visibleEnd, end);
  if (after != end) reduced.AfterIndex = after;

  std::size_t begin = visibleBegin;
  while (begin < visibleEnd) {
    const std::int64_t column = mapping.ColumnOf(line.X[begin]);
    const std::size_t next = FirstInColumn(line, mapping, begin + 1, visibleEnd, column + 1);
    const std::size_t firstNumber = detail.FirstNumber(begin, next);
    if (firstNumber != next) {
      const ValueRange range = detail.Range(begin, next);
      reduced.Columns.push_back(ColumnExtremes{column, firstNumber, detail.LastNumber(begin, next),
                                               range.Min, range.Max});
    }
    begin = next;
  }
  return reduced;
}
