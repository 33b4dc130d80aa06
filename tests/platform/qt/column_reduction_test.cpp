#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "platform/qt/column_reduction.h"
#include "platform/qt/level_of_detail.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A line of random values with runs of NaN (as filtered data may hold), some long enough to
// cover whole buckets of every level.
struct RandomLine {
  explicit RandomLine(std::size_t count, unsigned seed) : X(count), Y(count) {
    std::mt19937 random(seed);
    std::normal_distribution<double> value(0.0, 50.0);
    std::uniform_int_distribution<int> percent(0, 999);
    for (std::size_t i = 0; i < count; ++i) {
      X[i] = static_cast<double>(i);
      Y[i] = value(random);
    }
    for (std::size_t i = 0; i < count; ++i) {
      const int roll = percent(random);
      if (roll < 5) Y[i] = NaN;
      if (roll == 999) {  // a long gap
        for (std::size_t j = i; j < std::min(count, i + 5000); ++j) Y[j] = NaN;
        i += 5000;
      }
    }
    Detail.Build(Y.data(), count);
  }
  LineData Line() const { return LineData{X.data(), Y.data(), X.size(), &Detail}; }

  std::vector<double> X;
  std::vector<double> Y;
  LevelOfDetail Detail;
};

// Every point looked at on its own.
std::map<std::int64_t, ColumnExtremes> BruteForce(const LineData& line,
                                                  const ColumnMapping& mapping) {
  std::map<std::int64_t, ColumnExtremes> columns;
  for (std::size_t i = 0; i < line.Count; ++i) {
    const std::int64_t column = mapping.ColumnOf(line.X[i]);
    const double y = line.Y[i];
    if (column < 0 || column >= mapping.Columns || std::isnan(y)) continue;
    auto found = columns.find(column);
    if (found == columns.end()) {
      columns.emplace(column, ColumnExtremes{column, i, i, y, y});
    } else {
      found->second.LastIndex = i;
      found->second.Min = std::min(found->second.Min, y);
      found->second.Max = std::max(found->second.Max, y);
    }
  }
  return columns;
}

}  // namespace

TEST(LevelOfDetailTest, RangesMatchAScanOfTheValues) {
  const RandomLine data(200000, 7);
  std::mt19937 random(3);
  std::uniform_int_distribution<std::size_t> index(0, data.Y.size());
  for (int trial = 0; trial < 2000; ++trial) {
    std::size_t first = index(random);
    std::size_t last = index(random);
    if (first > last) std::swap(first, last);
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    std::size_t firstNumber = last;
    std::size_t lastNumber = last;
    for (std::size_t i = first; i < last; ++i) {
      if (std::isnan(data.Y[i])) continue;
      lo = std::min(lo, data.Y[i]);
      hi = std::max(hi, data.Y[i]);
      if (firstNumber == last) firstNumber = i;
      lastNumber = i;
    }
    const ValueRange range = data.Detail.Range(first, last);
    ASSERT_EQ(range.Min, lo) << first << ".." << last;
    ASSERT_EQ(range.Max, hi) << first << ".." << last;
    ASSERT_EQ(data.Detail.FirstNumber(first, last), firstNumber) << first << ".." << last;
    ASSERT_EQ(data.Detail.LastNumber(first, last), lastNumber) << first << ".." << last;
  }
}

TEST(LevelOfDetailTest, AllNaNIsEmptyAndShortArraysWork) {
  for (std::size_t count : {0u, 1u, 31u, 32u, 33u, 1025u, 40000u}) {
    const std::vector<double> values(count, NaN);
    LevelOfDetail detail;
    detail.Build(values.data(), count);
    EXPECT_TRUE(detail.Whole().Empty()) << count;
    EXPECT_EQ(detail.FirstNumber(0, count), count) << count;
    EXPECT_EQ(detail.LastNumber(0, count), count) << count;
  }
}

TEST(ColumnReductionTest, EveryColumnMatchesABruteForceScanAtEveryZoom) {
  const RandomLine data(300000, 11);
  const LineData line = data.Line();
  // (first x shown, x values shown, columns): whole, partly off either side, zoomed to fewer
  // points than columns, and past the end.
  const struct {
    double Origin;
    double Span;
    std::int64_t Columns;
  } zooms[] = {
      {0, 300000, 1000},    {0, 300000, 1},       {-5000, 310000, 997}, {123.4, 50000, 800},
      {150000, 3000, 1200}, {150000.5, 40, 1000}, {299990, 100, 640},   {400000, 1000, 500},
      {-2000, 1000, 500},   {10, 1e-3, 10},
  };
  for (const auto& zoom : zooms) {
    ColumnMapping mapping{zoom.Origin, 0.0, static_cast<double>(zoom.Columns) / zoom.Span, 0,
                          zoom.Columns};
    const ReducedLine reduced = ReduceToColumns(line, mapping, 0, line.Count - 1);
    const auto expected = BruteForce(line, mapping);
    ASSERT_EQ(reduced.Columns.size(), expected.size()) << zoom.Origin << " " << zoom.Span;
    for (const ColumnExtremes& column : reduced.Columns) {
      const ColumnExtremes& want = expected.at(column.Column);
      EXPECT_EQ(column.FirstIndex, want.FirstIndex);
      EXPECT_EQ(column.LastIndex, want.LastIndex);
      EXPECT_EQ(column.Min, want.Min);
      EXPECT_EQ(column.Max, want.Max);
    }
    // The line runs on to the nearest point with a number on either side of the canvas.
    std::size_t before = line.Count;
    std::size_t after = line.Count;
    for (std::size_t i = 0; i < line.Count; ++i) {
      if (std::isnan(line.Y[i])) continue;
      const std::int64_t column = mapping.ColumnOf(line.X[i]);
      if (column < 0) before = i;
      if (column >= mapping.Columns && after == line.Count) after = i;
    }
    EXPECT_EQ(reduced.BeforeIndex, before) << zoom.Origin;
    EXPECT_EQ(reduced.AfterIndex, after) << zoom.Origin;
  }
}
