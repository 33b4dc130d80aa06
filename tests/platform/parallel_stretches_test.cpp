#include "platform/parallel_stretches.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cstdint>
#include <vector>

namespace {

class ParallelStretches : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { omp_set_num_threads(GetParam()); }
  void TearDown() override { omp_set_num_threads(defaultThreads_); }

 private:
  int defaultThreads_ = omp_get_max_threads();
};

// Every unit of every lane is worked on exactly once, in stretches within their bounds that
// lie on their multiples, whatever the threads and wherever the slice starts.
TEST_P(ParallelStretches, CoverEveryLanesUnitsOnce) {
  const struct {
    int Lanes;
    std::int64_t First;
    std::int64_t End;
    std::int64_t UnitSamples;
  } cases[] = {
      {1, 0, 1, 1},       {1, 0, 100000, 1},  {10, 5000, 700000, 1}, {3, 131071, 131075, 1},
      {1, 17, 3601, 600}, {6, 0, 2000000, 1}, {2, 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lanes << " lanes [" << c.First << ", " << c.End << ")");
    const std::int64_t stretch = StretchLength(c.Lanes, c.First, c.End, c.UnitSamples);
    EXPECT_GE(stretch, 1);
    EXPECT_LE(stretch * c.UnitSamples, std::max(StretchSamples, c.UnitSamples));
    std::vector<std::vector<int>> visits(c.Lanes, std::vector<int>(c.End, 0));
    std::vector<int> misplaced(c.Lanes, 0);
    ForEachStretch(c.Lanes, c.First, c.End, c.UnitSamples,
                   [&](int lane, std::int64_t from, std::int64_t to) {
                     if (to - from > stretch || (from != c.First && from % stretch != 0)) {
                       ++misplaced[lane];
                     }
                     for (std::int64_t n = from; n < to; ++n) ++visits[lane][n];
                   });
    for (int lane = 0; lane < c.Lanes; ++lane) {
      EXPECT_EQ(misplaced[lane], 0);
      for (std::int64_t n = 0; n < c.End; ++n) {
        ASSERT_EQ(visits[lane][n], n >= c.First ? 1 : 0) << "lane " << lane << " unit " << n;
      }
    }
  }
}

// A stretch gives each thread pages of its own: no longer than half a huge page of doubles,
// no finer than it takes to give every thread one, and not split where there are as many
// lanes as threads.
TEST_P(ParallelStretches, AreAsLongAsGivesEveryThreadOne) {
  const std::int64_t threads = GetParam();
  EXPECT_EQ(StretchLength(1, 0, 4 * StretchSamples * threads, 1), StretchSamples);
  EXPECT_EQ(StretchLength(1, 0, 1000 * threads, 1), MinStretchSamples);
  EXPECT_EQ(StretchLength(1, 0, 10000 * threads, 1), 10000);
  EXPECT_EQ(StretchLength(static_cast<int>(threads), 0, 50000, 1), 50000);
  // In blocks of 600 samples.
  EXPECT_EQ(StretchLength(1, 0, 3601, 600), StretchSamples / 600);
  EXPECT_EQ(StretchLength(1, 0, 109, 600), (109 + threads - 1) / threads);
}

INSTANTIATE_TEST_SUITE_P(Threads, ParallelStretches, ::testing::Values(1, 3, 8));

}  // namespace
