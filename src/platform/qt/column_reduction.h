#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/qt/level_of_detail.h"

// How x values fall into pixel columns: a value goes to the pixel its position
// Left + (x - Origin) × PixelsPerUnit rounds to, which is how Qwt places a point on a raster
// device, counted from FirstPixel; the columns 0 .. Columns - 1 are on the canvas.
struct ColumnMapping {
  double Origin = 0.0;
  double Left = 0.0;
  double PixelsPerUnit = 1.0;
  std::int64_t FirstPixel = 0;
  std::int64_t Columns = 0;

  // The pixel x lands on, unclamped (it may lie far off the canvas).
  double PixelOf(double x) const;
  // The column x falls into; far-off points clamp to -1 and Columns.
  std::int64_t ColumnOf(double x) const;
};

// What one pixel column of a line shows: its first and last point and its lowest and highest
// value. NaN values are left out as if they were not there.
struct ColumnExtremes {
  std::int64_t Column;
  std::size_t FirstIndex;
  std::size_t LastIndex;
  double Min;
  double Max;
};

// A line's points in a form that can be reduced: x ascending, y with its min/max tables.
struct LineData {
  const double* X = nullptr;
  const double* Y = nullptr;
  std::size_t Count = 0;
  const LevelOfDetail* Detail = nullptr;
};

// The points of a line that a view draws: every column on the canvas reduced to its extremes,
// plus the nearest point left and right of the canvas, so the line runs on to the edges.
struct ReducedLine {
  std::vector<ColumnExtremes> Columns;
  std::size_t BeforeIndex;  // Count when there is none
  std::size_t AfterIndex;   // Count when there is none
};

// Reduces the points first .. last (inclusive) of `line` to the columns of `mapping`. The cost
// depends on the number of columns, not on the number of points.
ReducedLine ReduceToColumns(const LineData& line, const ColumnMapping& mapping, std::size_t first,
                            std::size_t last);
