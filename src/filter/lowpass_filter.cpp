#include "filter/lowpass_filter.h"

#include <cmath>

#include "platform/parallel_passes.h"

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

}  // namespace

void LowPassFilter(FilterState& state, double cutoff, const double* input, double* output,
                   std::uint32_t count) {
  state.SampleRate = 600.0;
  const double fs = state.SampleRate;
  const double prewarped = std::tan(cutoff * FilterPi / TangentSampleRate) * SampleRateOverPi;
  const double omega = prewarped * FilterTwoPi;
  const double squaredRate = SquaredRateFactor * fs * fs;

  const Section s1 = DesignSection(fs, squaredRate, omega, Section1Damping);
  const Section s2 = DesignSection(fs, squaredRate, omega, Section2Damping);
  state.A11 = s1.A1;
  state.A21 = s1.A2;
  state.G1 = s1.G;
  state.A12 = s2.A1;
  state.A22 = s2.A2;
  state.G2 = s2.G;

  // Each section is a recursion whose speed is set by the latency of its own arithmetic. The
  // loop therefore runs section 2 one sample behind section 1, so that the two recursions
  // overlap instead of section 2 waiting for every fresh output of section 1. Every sample
  // still goes through exactly the same operations in the same order. The delay elements
  // stay in locals (registers) and the state receives their final values.
  double x1 = 0.0, x2 = 0.0, w1 = 0.0, w2 = 0.0, w3 = 0.0, y1 = 0.0, y2 = 0.0;
  if (count > 0) {
    const double x = input[0];
    w1 = SectionOutput(s1, x, x1, x2, w1, w2);
    x1 = x;
    // Loop invariant at i: x1, x2 = inputs i-1, i-2; w1, w2, w3 = section 1 outputs i-1, i-2,
    // i-3; y1, y2 = section 2 outputs i-2, i-3.
    for (std::uint32_t i = 1; i < count; ++i) {
      const double xi = input[i];
      const double w = SectionOutput(s1, xi, x1, x2, w1, w2);
      const double y = SectionOutput(s2, w1, w2, w3, y1, y2);
      output[i - 1] = y;
      x2 = x1;
      x1 = xi;
      w3 = w2;
      w2 = w1;
      w1 = w;
      y2 = y1;
      y1 = y;
    }
    const double y = SectionOutput(s2, w1, w2, w3, y1, y2);
    output[count - 1] = y;
    y2 = y1;
    y1 = y;
  }
  state.X1 = x1;
  state.X2 = x2;
  state.W1 = w1;
  state.W2 = w2;
  state.Y1 = y1;
  state.Y2 = y2;
}

void LowPassFilterChannels(FilterState& state, double cutoff,
                           const std::vector<ChannelFilterRun>& runs, std::uint32_t count) {
  const auto runCount = static_cast<std::int64_t>(runs.size());
#pragma omp parallel for schedule(dynamic, 1) if (count >= ParallelPassSamples)
  for (std::int64_t r = 0; r < runCount; ++r) {
    FilterState own{};
    LowPassFilter(own, cutoff, runs[r].Input, runs[r].Output, count);
    if (r == runCount - 1) state = own;
  }
}
