#include "impacts/impact_counter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t Trigger = 10;  // where the cases below put their first trigger
constexpr std::int64_t LongTrace = 3000;

// A quiet trace of `length` zeros with the given samples set.
std::vector<double> Trace(std::int64_t length,
                          const std::vector<std::pair<std::int64_t, double>>& samples) {
  std::vector<double> trace(static_cast<std::size_t>(length), 0.0);
  for (const auto& [position, value] : samples) trace[static_cast<std::size_t>(position)] = value;
  return trace;
}

ImpactRow Count(const std::vector<double>& trace, std::uint32_t n, std::int64_t frameCount) {
  ImpactRow row{};
  CountImpactsInTrace(trace.data(), n, frameCount, MakeImpactLimits(), row);
  return row;
}

ImpactRow Count(const std::vector<double>& trace) {
  return Count(trace, static_cast<std::uint32_t>(trace.size()), LongTrace);
}

ImpactRow Bands(std::initializer_list<int> bands) {
  ImpactRow row{};
  for (const int band : bands) row[band] += 1.0;
  return row;
}

TEST(ImpactCounterTest, LimitsRunFromTwentyToTwoHundredFiftyInTens) {
  const ImpactRow limits = MakeImpactLimits();
  for (int b = 0; b < ImpactBandCount; ++b) EXPECT_EQ(limits[b], 20.0 + 10.0 * b);
}

// Each case puts a trigger of 50 at Trigger plus the listed window samples, a sample of 45 just
// before the expected resume position (skipped: were it a trigger, its window would swallow the
// next sample) and one of 25 at it (counted, band 0).
TEST(ImpactCounterTest, PeakAndResumePosition) {
  const struct {
    const char* Name;
    std::vector<std::pair<std::int64_t, double>> Window;  // offsets from the trigger
    std::int64_t Resume;                                  // offset from the trigger
    int PeakBand;
  } cases[] = {
      {"trigger is the peak", {}, 361, 2},
      {"later sample equal to the trigger", {{10, 50.0}}, 361, 2},
      {"second trigger 100 samples on", {{100, 35.0}}, 361, 2},
      {"peak at +1 (p = 0)", {{1, 60.0}}, 361, 3},
      {"peak at +2 (p = 1)", {{2, 60.0}}, 361, 3},
      {"peak at +3 (p = 2)", {{3, 60.0}}, 362, 3},
      {"earliest of equal maxima", {{5, 60.0}, {20, 60.0}}, 364, 3},
      {"not-a-number never the peak", {{1, NaN}, {200, NaN}}, 361, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::pair<std::int64_t, double>> samples{
        {Trigger, 50.0}, {Trigger + c.Resume - 1, 45.0}, {Trigger + c.Resume, 25.0}};
    for (const auto& [offset, value] : c.Window) samples.push_back({Trigger + offset, value});
    EXPECT_EQ(Count(Trace(LongTrace, samples)), Bands({c.PeakBand, 0}));
  }
}

// Bands are open below and closed above. The trigger's window is skipped whether or not its
// peak falls into a band: 20.0 at +360 would otherwise start an impact with peak 35 (band 1)
// that swallows the 45 at +721; skipped, 35 starts an impact whose peak is the 45 (band 2).
TEST(ImpactCounterTest, BandEdges) {
  const struct {
    double Peak;
    int Band;  // -1: none
  } cases[] = {
      {20.0, -1},
      {30.0, 0},
      {std::nextafter(30.0, 31.0), 1},
      {250.0, 22},
      {std::nextafter(250.0, 251.0), -1},
      {400.0, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Peak);
    const std::vector<double> trace = Trace(
        LongTrace,
        {{Trigger, c.Peak}, {Trigger + 360, 20.0}, {Trigger + 361, 35.0}, {Trigger + 721, 45.0}});
    ImpactRow expected = Bands({2});
    if (c.Band >= 0) expected[c.Band] += 1.0;
    EXPECT_EQ(Count(trace), expected);
  }
}

TEST(ImpactCounterTest, NotANumberNeverTriggers) {
  const std::vector<double> trace =
      Trace(LongTrace, {{Trigger, NaN}, {Trigger + 1, 25.0}, {Trigger + 300, 45.0}});
  EXPECT_EQ(Count(trace), Bands({2}));
}

TEST(ImpactCounterTest, CountsAddToTheRow) {
  const std::vector<double> trace =
      Trace(LongTrace, {{100, 25.0}, {600, 120.0}, {1200, 250.0}, {2000, 20.0}});
  ImpactRow row{};
  const ImpactRow limits = MakeImpactLimits();
  CountImpactsInTrace(trace.data(), LongTrace, LongTrace, limits, row);
  CountImpactsInTrace(trace.data(), LongTrace, LongTrace, limits, row);
  ImpactRow expected{};
  expected[0] = expected[9] = expected[22] = 2.0;
  EXPECT_EQ(row, expected);
}

TEST(ImpactCounterTest, NothingIsReadWhenNIsZero) {
  ImpactRow row{};
  row[5] = 3.0;
  const ImpactRow before = row;
  CountImpactsInTrace(nullptr, 0, 1000, MakeImpactLimits(), row);
  EXPECT_EQ(row, before);
  EXPECT_EQ(ImpactReadCount(0, 1000), 0u);
}

TEST(ImpactCounterTest, ReadCount) {
  const struct {
    std::uint32_t N;
    std::int64_t FrameCount;
    std::uint64_t Expected;
  } cases[] = {
      {1000, 1000, 1000}, {600, 1200, 960}, {1200, 1500, 1500}, {1200, 1800, 1560},
      {360, 360, 360},    {100, 300, 100},  {361, 361, 361},    {1, 10000, 361},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImpactReadCount(c.N, c.FrameCount), c.Expected) << c.N << " " << c.FrameCount;
  }
}

// A single trigger at every position below n: it counts only when its whole window lies below
// frameCount (so with frameCount 1000 at 639 but not at 640, and never with frameCount <= 360),
// and the scan stays inside a trace of exactly ImpactReadCount entries.
TEST(ImpactCounterTest, WindowMustEndBelowFrameCount) {
  const struct {
    std::uint32_t N;
    std::int64_t FrameCount;
  } cases[] = {{1000, 1000}, {600, 1200}, {1200, 1500}, {360, 360}, {100, 300}, {361, 361}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.N << " " << c.FrameCount);
    const auto length = static_cast<std::int64_t>(ImpactReadCount(c.N, c.FrameCount));
    for (std::int64_t t = 0; t < c.N; ++t) {
      const ImpactRow expected = t < c.FrameCount - ImpactWindow ? Bands({2}) : ImpactRow{};
      ASSERT_EQ(Count(Trace(length, {{t, 45.0}}), c.N, c.FrameCount), expected) << "trigger " << t;
    }
  }
}

}  // namespace
