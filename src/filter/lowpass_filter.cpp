#include "filter/lowpass_filter.h"

#include <cmath>

#include "platform/parallel_passes.h"
#include "platform/parallel_stretches.h"
#include "platform/work_progress.h"
#include "platform/zeroed_storage.h"

namespace {

// The design constants are the rounded values the filter has always used, so that filtered
// traces and the impact counts taken from them stay what users have seen before.
constexpr double FilterPi = 3.14159265359;
constexpr float TangentSampleRate = 600.0f;
constexpr double SampleRateOverPi = 190.98593171026184;
constexpr double FilterTwoPi = 6.283185307;
constexpr float SquaredRateFactor = 4.0f;
// 2 cos(3 pi / 8) and 2 cos(pi / 8): the lightly damped pole pair runs first.
constexpr double Section1Damping = 0.765366865;
constexpr double Section2Damping = 1.847759065;

struct Section {
  double A1;
  double A2;
  double G;
};

Section DesignSection(double sampleRate, double squaredRate, double omega, double damping) {
  const double b = 2.0 * sampleRate * damping * omega;
  const double d = squaredRate + b + omega * omega;
  return {2.0 * (squaredRate - omega * omega) / d, (squaredRate - b + omega * omega) / d,
          omega * omega / d};
}

// One output of a section from its input, its last two inputs and its last two outputs.
inline double SectionOutput(const Section& s, double in, double in1, double in2, double out1,
                            double out2) {
  return s.A1 * out1 - s.A2 * out2 + s.G * (in + 2.0 * in1 + in2);
}

struct Sections {
  Section First;
  Section Second;
};

// The coefficients for `cutoff`, also written to the state with its sample rate.
Sections DesignFilter(FilterState& state, double cutoff) {
  state.SampleRate = 600.0;
  const double fs = state.SampleRate;
  const double prewarped = std::tan(cutoff * FilterPi / TangentSampleRate) * SampleRateOverPi;
  const double omega = prewarped * FilterTwoPi;
  const double squaredRate = SquaredRateFactor * fs * fs;
  const Sections sections{DesignSection(fs, squaredRate, omega, Section1Damping),
                          DesignSection(fs, squaredRate, omega, Section2Damping)};
  state.A11 = sections.First.A1;
  state.A21 = sections.First.A2;
  state.G1 = sections.First.G;
  state.A12 = sections.Second.A1;
  state.A22 = sections.Second.A2;
  state.G2 = sections.Second.G;
  return sections;
}

// The delay elements of a run between two of its stretches: x1, x2 = inputs i-1, i-2;
// w1, w2, w3 = section 1 outputs i-1, i-2, i-3; y1, y2 = section 2 outputs i-2, i-3, where i is
// the next sample (section 2 runs one sample behind, see FilterStretch).
struct Delays {
  double X1 = 0.0, X2 = 0.0, W1 = 0.0, W2 = 0.0, W3 = 0.0, Y1 = 0.0, Y2 = 0.0;
};

// Samples [first, end) of a run over `count` samples from rest. Each section is a recursion
// whose speed is set by the latency of its own arithmetic. The loop therefore runs section 2
// one sample behind section 1, so that the two recursions overlap instead of section 2 waiting
// for every fresh output of section 1: the run's first sample only enters section 1, and its
// last stretch also takes the last sample through section 2. Every sample still goes through
// exactly the same operations in the same order, however the run is cut into stretches. The
// delay elements stay in locals (registers) inside a stretch.
void FilterStretch(const Sections& s, Delays& d, const double* input, double* output,
                   std::uint32_t first, std::uint32_t end, std::uint32_t count) {
  double x1 = d.X1, x2 = d.X2, w1 = d.W1, w2 = d.W2, w3 = d.W3, y1 = d.Y1, y2 = d.Y2;
  std::uint32_t i = first;
  if (i == 0 && end > 0) {
    const double x = input[0];
    w1 = SectionOutput(s.First, x, x1, x2, w1, w2);
    x1 = x;
    i = 1;
  }
  for (; i < end; ++i) {
    const double xi = input[i];
    const double w = SectionOutput(s.First, xi, x1, x2, w1, w2);
    const double y = SectionOutput(s.Second, w1, w2, w3, y1, y2);
    output[i - 1] = y;
    x2 = x1;
    x1 = xi;
    w3 = w2;
    w2 = w1;
    w1 = w;
    y2 = y1;
    y1 = y;
  }
  if (end == count && count > 0) {
    const double y = SectionOutput(s.Second, w1, w2, w3, y1, y2);
    output[count - 1] = y;
    y2 = y1;
    y1 = y;
  }
  d = Delays{x1, x2, w1, w2, w3, y1, y2};
}

void KeepDelays(FilterState& state, const Delays& d) {
  state.X1 = d.X1;
  state.X2 = d.X2;
  state.W1 = d.W1;
  state.W2 = d.W2;
  state.Y1 = d.Y1;
  state.Y2 = d.Y2;
}

}  // namespace

void LowPassFilter(FilterState& state, double cutoff, const double* input, double* output,
                   std::uint32_t count) {
  const Sections sections = DesignFilter(state, cutoff);
  Delays delays;
  FilterStretch(sections, delays, input, output, 0, count, count);
  KeepDelays(state, delays);
}

void LowPassFilterChannels(FilterState& state, double cutoff,
                           const std::vector<ChannelFilterRun>& runs, std::uint32_t count,
                           const WorkProgress& progress) {
  if (runs.empty()) return;
  FilterState last{};
  const Sections sections = DesignFilter(last, cutoff);
  std::vector<Delays> delays(runs.size());
  const auto runCount = static_cast<std::int64_t>(runs.size());
  RunInSlices(
      count, PassSliceLengths(static_cast<int>(runCount), SampleOfDoubles), progress,
      [&](std::uint64_t first, std::uint64_t end) {
        const auto from = static_cast<std::uint32_t>(first);
        const auto to = static_cast<std::uint32_t>(end);
        // The zeroing of fresh output pages is shared out evenly first.
        ForEachStretch(static_cast<int>(runCount), static_cast<std::int64_t>(first),
                       static_cast<std::int64_t>(end), SampleOfDoubles,
                       [&](int run, std::int64_t a, std::int64_t b) {
                         PopulateForWriting(runs[run].Output + a,
                                            static_cast<std::size_t>(b - a) * sizeof(double));
                       });
        // A channel's run is a recursion that no two threads can share, but it can go from
        // one thread to another: with more channels than threads, each channel's part of the
        // slice is cut into pieces that follow one another on whichever thread comes free,
        // so ten channels on eight threads take the time of one and a quarter, not two.
        const std::int64_t pieces =
            runCount > PassThreads() ? StretchesPerLaneAndRound(static_cast<int>(runCount)) : 1;
#pragma omp parallel if (count >= ParallelPassSamples)
#pragma omp single
        for (std::int64_t piece = 0; piece < pieces; ++piece) {
          const auto a = static_cast<std::uint32_t>(from + (to - from) * piece / pieces);
          const auto b = static_cast<std::uint32_t>(from + (to - from) * (piece + 1) / pieces);
          if (a == b) continue;
          for (std::int64_t r = 0; r < runCount; ++r) {
            Delays* runDelays = &delays[r];
#pragma omp task depend(inout : runDelays [0:1]) firstprivate(r, a, b, runDelays)
            FilterStretch(sections, *runDelays, runs[r].Input, runs[r].Output, a, b, count);
          }
        }
      });
  KeepDelays(last, delays.back());
  state = last;
}
