// Counting the impacts of one channel of a one-hour recording: noise of a few m/s² with an
// impact of 60 m/s² every three seconds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "impacts/impact_counter.h"

namespace {

constexpr std::uint32_t OneHourSamples = 2'160'600;
constexpr std::uint32_t ImpactSpacing = 1800;
constexpr int PulseLength = 30;

std::vector<double> ChannelWithImpacts() {
  std::mt19937 generator(7);
  std::uniform_real_distribution<double> noise(-4.0, 4.0);
  std::vector<double> channel(OneHourSamples);
  for (std::uint32_t i = 0; i < OneHourSamples; ++i) {
    const std::uint32_t phase = i % ImpactSpacing;
    const double pulse =
        phase < PulseLength ? 60.0 * std::sin(3.14159265358979 * phase / PulseLength) : 0.0;
    channel[i] = noise(generator) + pulse;
  }
  return channel;
}

void CountOneChannel(benchmark::State& state) {
  const std::vector<double> channel = ChannelWithImpacts();
  const ImpactRow limits = MakeImpactLimits();
  for (auto _ : state) {
    ImpactRow row{};
    CountImpactsInTrace(channel.data(), OneHourSamples, OneHourSamples, limits, row);
    benchmark::DoNotOptimize(row);
  }
  state.counters["items_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * OneHourSamples, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(CountOneChannel)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
