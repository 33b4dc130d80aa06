#include "platform/parallel_stretches.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr PassUnit Block{600, 2400};

class ParallelStretches : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { omp_set_num_threads(GetParam()); }
  void TearDown() override { omp_set_num_threads(defaultThreads_); }

 private:
  int defaultThreads_ = omp_get_max_threads();
};

// Every unit of every lane is worked on exactly once, in stretches of the cut's length laid
// end to end from the slice's start, whatever the threads and wherever the slice starts.
TEST_P(ParallelStretches, CoverEveryLanesUnitsOnce) {
  const struct {
    int Lanes;
    std::int64_t First;
    std::int64_t End;
    PassUnit Unit;
  } cases[] = {
      {1, 0, 1, SampleOfDoubles},
      {1, 0, 100000, SampleOfDoubles},
      {10, 5000, 700000, SampleOfDoubles},
      {3, 131071, 131075, SampleOfDoubles},
      {1, 17, 3601, Block},
      {6, 0, 2000000, SampleOfDoubles},
      {2, 0, 0, SampleOfDoubles},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lanes << " lanes [" << c.First << ", " << c.End << ")");
    const StretchCut cut = CutIntoStretches(c.Lanes, c.End - c.First, c.Unit);
    std::vector<std::vector<int>> visits(c.Lanes, std::vector<int>(c.End, 0));
    std::vector<int> misplaced(c.Lanes, 0);
    ForEachStretch(c.Lanes, c.First, c.End, c.Unit,
                   [&](int lane, std::int64_t from, std::int64_t to) {
                     if (to - from > cut.Length || (from - c.First) % cut.Length != 0) {
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

// A thread writes at most half a huge page of an array in one stretch, the stretches of all
// lanes come out in four or more whole rounds of one per thread, and none is cut shorter than
// 32 KiB unless the slice is.
TEST_P(ParallelStretches, AreCutInWholeRoundsOfHalfAHugePageAtMost) {
  const std::int64_t threads = GetParam();
  const std::int64_t halfPage = StretchBytes / 8;
  const struct {
    int Lanes;
    std::int64_t Units;
    PassUnit Unit;
  } cases[] = {
      {1, 40 * halfPage, SampleOfDoubles},
      {10, 3 * halfPage + 7, SampleOfDoubles},
      {10, halfPage, SampleOfDoubles},
      {6, 2000000, SampleOfDoubles},
      {1, 3601, Block},
      {1, 113, Block},
      {1, 1000, SampleOfDoubles},
      {3, 3, SampleOfDoubles},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lanes << " lanes of " << c.Units << " units");
    const StretchCut cut = CutIntoStretches(c.Lanes, c.Units, c.Unit);
    EXPECT_EQ(cut.PerLane, (c.Units + cut.Length - 1) / cut.Length);
    EXPECT_LE(cut.Length * c.Unit.Bytes, StretchBytes);
    const std::int64_t stretches = cut.PerLane * c.Lanes;
    if (cut.Length * c.Unit.Bytes >= 2 * ShortestStretchBytes) {
      EXPECT_EQ(stretches % threads, 0) << stretches << " stretches";
      EXPECT_GE(stretches / threads, StretchRounds);
    } else {
      EXPECT_EQ(cut.PerLane,
                std::max<std::int64_t>(c.Units * c.Unit.Bytes / ShortestStretchBytes, 1));
    }
  }
  // Ten lanes over eight threads: four stretches of each make five rounds.
  if (threads == 8) {
    EXPECT_EQ(CutIntoStretches(10, halfPage, SampleOfDoubles).PerLane, 4);
  }
}

INSTANTIATE_TEST_SUITE_P(Threads, ParallelStretches, ::testing::Values(1, 3, 8));

}  // namespace
