#pragma once

#include <vector>

// The rows one pixel column covers, Top <= Bottom, both included; Top > Bottom covers none.
struct ColumnSpan {
  int Top;
  int Bottom;
  bool Empty() const { return Top > Bottom; }
};

// A block of whole pixels, both ends included.
struct PixelRect {
  int Left;
  int Top;
  int Right;
  int Bottom;
};

// Covers the pixels of `spans` (the columns firstColumn, firstColumn + 1, ...) with
// disjoint rectangles, as wide as neighbouring columns allow: a band that runs across many
// columns becomes a few long rectangles instead of one tall, one-pixel-wide one per column.
// A solid fill draws a rectangle row by row, so this turns one fill call per pixel row of
// every column into one per row of the band.
std::vector<PixelRect> SpansToRectangles(int firstColumn, const std::vector<ColumnSpan>& spans);
