#include "filter/lowpass_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double Cutoffs[] = {50.0, 100.0, 150.0, 200.0, 250.0};

FilterState DesignAt(double cutoff) {
  FilterState state{};
  LowPassFilter(state, cutoff, nullptr, nullptr, 0);
  return state;
}

std::vector<double> Filter(double cutoff, const std::vector<double>& input) {
  FilterState state{};
  std::vector<double> output(input.size());
  LowPassFilter(state, cutoff, input.data(), output.data(),
                static_cast<std::uint32_t>(input.size()));
  return output;
}

std::vector<double> NoisySignal(std::size_t count) {
  std::mt19937 generator(12345);
  std::normal_distribution<double> noise(0.0, 4.0);
  std::vector<double> signal(count);
  for (std::size_t i = 0; i < count; ++i) {
    signal[i] = noise(generator) + (i % 700 < 30 ? 60.0 : 0.0);
  }
  return signal;
}

// The same Butterworth filter, designed from its analogue poles: the four poles at angles
// pi/2 + (2k + 1) pi/8 on a circle of the pre-warped cut-off, each mapped through the
// bilinear transform, four zeros at z = -1, gain set for unity at zero frequency, run as one
// fourth-order direct form in extended precision.
std::vector<double> ReferenceFilter(double cutoff, const std::vector<double>& input) {
  using Complex = std::complex<long double>;
  const long double pi = 3.141592653589793238462643383279502884L;
  const long double fs = 600.0L;
  const long double c = 2.0L * fs;
  const long double omega = c * std::tan(pi * cutoff / fs);

  std::vector<Complex> denominator{1.0L};  // coefficients of z^0, z^-1, ...
  Complex dcGain = 1.0L;
  for (int k = 0; k < 4; ++k) {
    const Complex pole = std::polar(omega, pi / 2 + (2 * k + 1) * pi / 8);
    const Complex z = (c + pole) / (c - pole);
    std::vector<Complex> next(denominator.size() + 1, 0.0L);
    for (std::size_t j = 0; j < denominator.size(); ++j) {
      next[j] += denominator[j];
      next[j + 1] -= z * denominator[j];
    }
    denominator = next;
    dcGain *= (1.0L - z) / 2.0L;
  }
  const long double numerator[5] = {1, 4, 6, 4, 1};

  std::vector<double> output(input.size());
  std::vector<long double> x(input.size()), y(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    x[i] = input[i];
    long double sum = 0.0L;
    for (std::size_t j = 0; j <= 4 && j <= i; ++j) {
      sum += dcGain.real() * numerator[j] * x[i - j];
      if (j > 0) sum -= denominator[j].real() * y[i - j];
    }
    y[i] = sum;
    output[i] = static_cast<double>(sum);
  }
  return output;
}

TEST(LowPassFilterTest, HundredHertzGainsAndFirstOutput) {
  FilterState state{};
  const double input[] = {3.0};
  double output[1] = {};
  LowPassFilter(state, 100.0, input, output, 1);
  EXPECT_NEAR(state.G1, 0.1877703554, 1e-10);
  EXPECT_NEAR(state.G2, 0.1388809306, 1e-10);
  EXPECT_NEAR(output[0], 0.02607772170 * 3.0, 3.0 * 1e-11);
  EXPECT_EQ(state.SampleRate, 600.0);
}

TEST(LowPassFilterTest, QuarterSampleRateHasNearZeroFirstCoefficients) {
  const FilterState state = DesignAt(150.0);
  EXPECT_LT(std::abs(state.A11), 1e-10);
  EXPECT_LT(std::abs(state.A12), 1e-10);
}

TEST(LowPassFilterTest, CoefficientsMirrorAboutQuarterSampleRate) {
  const struct { double Low, High; } pairs[] = {{100.0, 200.0}, {50.0, 250.0}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.Low);
    const FilterState low = DesignAt(pair.Low);
    const FilterState high = DesignAt(pair.High);
    EXPECT_NEAR(low.A11, -high.A11, 1e-9);
    EXPECT_NEAR(low.A12, -high.A12, 1e-9);
    EXPECT_NEAR(low.A21, high.A21, 1e-9);
    EXPECT_NEAR(low.A22, high.A22, 1e-9);
  }
}

TEST(LowPassFilterTest, ConstantInputOvershootsThenSettlesAtItsValue) {
  const std::vector<double> input(3000, 7.5);
  for (const double cutoff : Cutoffs) {
    SCOPED_TRACE(cutoff);
    const std::vector<double> output = Filter(cutoff, input);
    EXPECT_GT(*std::max_element(output.begin(), output.end()), 7.5 * 1.05);
    EXPECT_NEAR(output.back(), 7.5, 1e-9);
  }
}

TEST(LowPassFilterTest, AgreesWithPoleDesignAtEveryCutoff) {
  const std::vector<double> input = NoisySignal(5000);
  for (const double cutoff : Cutoffs) {
    SCOPED_TRACE(cutoff);
    const std::vector<double> output = Filter(cutoff, input);
    const std::vector<double> reference = ReferenceFilter(cutoff, input);
    double scale = 0.0;
    for (const double y : reference) scale = std::max(scale, std::abs(y));
    for (std::size_t i = 0; i < input.size(); ++i) {
      ASSERT_NEAR(output[i], reference[i], 1e-9 * scale) << "sample " << i;
    }
  }
}

// The two sections, one sample at a time, with the coefficients the run itself reports: the
// filter must give exactly these values, whatever the length of the run.
TEST(LowPassFilterTest, MatchesTheSampleBySampleRecurrenceExactly) {
  const std::vector<double> signal = NoisySignal(1000);
  for (const std::size_t count : {1u, 2u, 3u, 1000u}) {
    for (const double cutoff : {50.0, 200.0}) {
      SCOPED_TRACE(testing::Message() << count << " samples at " << cutoff << " Hz");
      const std::vector<double> input(signal.begin(), signal.begin() + count);
      FilterState state{};
      std::vector<double> output(count);
      LowPassFilter(state, cutoff, input.data(), output.data(), static_cast<std::uint32_t>(count));
      double x1 = 0, x2 = 0, w1 = 0, w2 = 0, y1 = 0, y2 = 0;
      for (std::size_t i = 0; i < count; ++i) {
        const double w = state.A11 * w1 - state.A21 * w2 + state.G1 * (input[i] + 2.0 * x1 + x2);
        const double y = state.A12 * y1 - state.A22 * y2 + state.G2 * (w + 2.0 * w1 + w2);
        x2 = x1, x1 = input[i], w2 = w1, w1 = w, y2 = y1, y1 = y;
        ASSERT_EQ(output[i], y) << "sample " << i;
      }
      EXPECT_EQ(state.W1, w1);
      EXPECT_EQ(state.W2, w2);
    }
  }
}

TEST(LowPassFilterTest, EachRunStartsFromRestAndLeavesItsLastValues) {
  const std::vector<double> first = NoisySignal(1000);
  const std::vector<double> other(1000, -42.0);
  FilterState state{};
  std::vector<double> once(first.size()), again(first.size()), between(other.size());
  LowPassFilter(state, 100.0, first.data(), once.data(), 1000);
  LowPassFilter(state, 250.0, other.data(), between.data(), 1000);
  LowPassFilter(state, 100.0, first.data(), again.data(), 1000);
  EXPECT_EQ(once, again);
  EXPECT_EQ(state.X1, first[999]);
  EXPECT_EQ(state.X2, first[998]);
  EXPECT_EQ(state.Y1, again[999]);
  EXPECT_EQ(state.Y2, again[998]);
}

TEST(LowPassFilterTest, CountZeroTouchesNoSampleAndResetsTheDelays) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  FilterState state{nan, nan, nan, nan, nan, nan, nan, nan, nan, nan, nan, nan, nan};
  LowPassFilter(state, 100.0, nullptr, nullptr, 0);
  for (const double delay : {state.X1, state.X2, state.W1, state.W2, state.Y1, state.Y2}) {
    EXPECT_EQ(delay, 0.0);
  }
  EXPECT_EQ(state.SampleRate, 600.0);
  EXPECT_NEAR(state.G1, 0.1877703554, 1e-10);
}

TEST(LowPassFilterTest, WritesOnlyBelowCount) {
  const std::vector<double> input = NoisySignal(100);
  std::vector<double> output(100, -1.0);
  FilterState state{};
  LowPassFilter(state, 50.0, input.data(), output.data(), 90);
  for (std::size_t i = 0; i < 90; ++i) EXPECT_NE(output[i], -1.0) << i;
  for (std::size_t i = 90; i < 100; ++i) EXPECT_EQ(output[i], -1.0) << i;
}

}  // namespace
