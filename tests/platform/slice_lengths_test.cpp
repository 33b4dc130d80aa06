#include "platform/slice_lengths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/work_progress.h"

namespace {

using Slices = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

// A pass cut by `lengths`: the slices it runs and the progress it reports.
struct RunSlices {
  Slices Ran;
  std::vector<double> Reported;
  RunSlices(std::uint64_t total, SliceLengths lengths) {
    RunInSlices(
        total, std::move(lengths), [this](double f) { Reported.push_back(f); },
        [this](std::uint64_t begin, std::uint64_t end) { Ran.emplace_back(begin, end); });
  }
};

// A slice of length 0 would never end a pass.
TEST(SliceLengths, RefusesALengthOfZero) {
  EXPECT_THROW(SliceLengths(0), std::invalid_argument);
  EXPECT_THROW(SliceLengths(std::vector<std::uint64_t>{}), std::invalid_argument);
  EXPECT_THROW(SliceLengths(std::vector<std::uint64_t>{5, 0}), std::invalid_argument);
  int slices = 0;
  EXPECT_THROW(
      RunInSlices(10, SliceLengths(0), {}, [&](std::uint64_t, std::uint64_t) { ++slices; }),
      std::invalid_argument);
  EXPECT_EQ(slices, 0);
}

// After a short first slice each is sized to take SliceSeconds at the slower of the rate of
// the one before and the rate of the pass so far, growing by Growth at most, never shorter than
// an eighth of the first nor longer than four firsts.
TEST(SliceLengths, SizesEachSliceFromTheRateOfTheLastAndOfThePass) {
  constexpr double Aim = SliceLengths::SliceSeconds;
  const struct {
    const char* What;
    std::uint64_t Units;
    double Seconds;
    std::uint64_t Next;
  } steps[] = {
      {"a short slice went fast: grows by the factor", 500, Aim / 400, 2000},
      {"as many as fit the aim at this rate", 1500, Aim / 2, 3000},
      {"a busy machine: shorter", 3000, 2 * Aim, 1500},
      {"stalled: no shorter than an eighth of the first", 1500, 40 * Aim, 125},
      // 6625 units in 42.5125 aims.
      {"fast again: held to the pass's rate after a stall", 125, Aim / 100, 155},
  };
  SliceLengths lengths(1000);
  EXPECT_EQ(lengths.Next(), 1000u);
  for (const auto& step : steps) {
    lengths.Took(step.Units, step.Seconds);
    EXPECT_EQ(lengths.Next(), step.Next) << step.What;
  }

  SliceLengths tooShortForTheClock(1000);
  tooShortForTheClock.Took(500, 0.0);
  EXPECT_EQ(tooShortForTheClock.Next(), 2000u);

  SliceLengths fast(10);
  for (int slice = 0; slice < 12; ++slice) fast.Took(fast.Next(), Aim / 1000);
  EXPECT_EQ(fast.Next(), 40u);
}

// Whatever their lengths, the slices cover the whole pass once, in order, and progress is
// told between two slices only.
TEST(SliceLengths, SlicesCoverThePassInOrderAndReportBetween) {
  const RunSlices cycled(14, SliceLengths(std::vector<std::uint64_t>{3, 1, 5}));
  EXPECT_EQ(cycled.Ran, (Slices{{0, 3}, {3, 4}, {4, 9}, {9, 12}, {12, 13}, {13, 14}}));
  EXPECT_EQ(cycled.Reported,
            (std::vector<double>{3 / 14.0, 4 / 14.0, 9 / 14.0, 12 / 14.0, 13 / 14.0}));

  const RunSlices timed(5000000, SliceLengths(100));
  ASSERT_FALSE(timed.Ran.empty());
  EXPECT_EQ(timed.Ran.front(), (std::pair<std::uint64_t, std::uint64_t>{0, 100}));
  for (std::size_t i = 1; i < timed.Ran.size(); ++i) {
    EXPECT_EQ(timed.Ran[i].first, timed.Ran[i - 1].second);
    EXPECT_GE(timed.Ran[i].second - timed.Ran[i].first,
              i + 1 < timed.Ran.size() ? 100 / SliceLengths::ShortestInFirsts : 1u);
  }
  EXPECT_EQ(timed.Ran.back().second, 5000000u);
  EXPECT_EQ(timed.Reported.size(), timed.Ran.size() - 1);

  EXPECT_TRUE(RunSlices(0, SliceLengths(7)).Ran.empty());
}

}  // namespace
