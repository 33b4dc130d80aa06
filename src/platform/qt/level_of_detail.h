#pragma once

#include <cstddef>
#include <vector>

// Minimum and maximum of a run of values; Min > Max when the run holds no number.
struct ValueRange {
  double Min;
  double Max;
  bool Empty() const { return Min > Max; }
};

// Min/max tables over buckets of 32, 1024, 32768, ... values of one array, so the extremes of
// any run of it cost a few dozen steps however long the run is. NaN values are no numbers:
// they never count as an extreme, and a run of NaNs alone is empty.
class LevelOfDetail {
 public:
  static constexpr std::size_t Fanout = 32;

  // Builds the tables for `values[0 .. count)`. The values stay the caller's; they must
  // outlive every query.
  void Build(const double* values, std::size_t count);

  // The extremes of values[first .. last).
  ValueRange Range(std::size_t first, std::size_t last) const;
  // The first index in [first, last) that holds a number, or `last` when none does.
  std::size_t FirstNumber(std::size_t first, std::size_t last) const;
  // The last index in [first, last) that holds a number, or `last` when none does.
  std::size_t LastNumber(std::size_t first, std::size_t last) const;

  // The extremes of every value.
  ValueRange Whole() const { return Range(0, count_); }
  std::size_t MemoryBytes() const;

 private:
  struct Level {
    std::size_t BucketSize;           // values per bucket
    std::vector<ValueRange> Buckets;  // whole buckets only
  };

  // The deepest level whose bucket starts at `start` and ends by `limit` and holds no number.
  std::size_t EmptyRunAt(std::size_t start, std::size_t limit) const;
  std::size_t EmptyRunEndingAt(std::size_t end, std::size_t floor) const;

  const double* values_ = nullptr;
  std::size_t count_ = 0;
  std::vector<Level> levels_;
};
