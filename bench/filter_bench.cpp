// Low-pass filtering one channel of a one-hour recording.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "filter/lowpass_filter.h"

namespace {

constexpr std::uint32_t OneHourSamples = 2'160'600;

std::vector<double> NoisyChannel() {
  std::mt19937 generator(7);
  std::uniform_real_distribution<double> noise(-4.0, 4.0);
  std::vector<double> channel(OneHourSamples);
  for (double& sample : channel) sample = noise(generator);
  return channel;
}

void FilterOneChannel(benchmark::State& state) {
  const std::vector<double> input = NoisyChannel();
  std::vector<double> output(input.size());
  FilterState filter{};
  for (auto _ : state) {
    LowPassFilter(filter, 100.0, input.data(), output.data(), OneHourSamples);
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  state.counters["items_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * OneHourSamples, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(FilterOneChannel)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
