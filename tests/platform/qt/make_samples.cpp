// Writes the sample recordings a new user can open: a ten-channel and a six-channel one, three
// minutes each, with a few impacts, each in its own folder beside its "S2.txt".
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/recording_builder.h"
#include "support/sensitivity_text_builder.h"

namespace {

constexpr int Minutes = 3;
constexpr int SamplesPerSecond = 600;
constexpr double Pi = 3.14159265358979323846;
constexpr float Sensitivity = 660.0F;  // code 6600: counts per m/s²
constexpr double ZeroLevel = RecordingBuilder::DefaultCount;

// A small, repeatable noise in -1 .. 1.
double Noise(std::int64_t sample, int slot) {
  std::uint64_t h =
      static_cast<std::uint64_t>(sample) * 0x9E3779B97F4A7C15ULL + slot * 0xBF58476D1CE4E5B9ULL;
  h ^= h >> 31;
  h *= 0x94D049BB133111EBULL;
  h ^= h >> 29;
  return static_cast<double>(h % 20001) / 10000.0 - 1.0;
}

// Slamming into waves: a decaying ring after every impact, the impacts a few seconds apart.
double Acceleration(std::int64_t sample, int slot) {
  const double t = static_cast<double>(sample) / SamplesPerSecond;
  double a = 4.0 * std::sin(2 * Pi * (0.4 + 0.05 * slot) * t) + 1.5 * Noise(sample, slot);
  const std::int64_t period = SamplesPerSecond * (5 + slot % 3);
  const std::int64_t since = sample % period;
  const double peak = 30.0 + 22.0 * static_cast<double>((sample / period + slot) % 10);
  a += peak * std::exp(-static_cast<double>(since) / 40.0) *
       std::cos(2 * Pi * 12.0 * since / SamplesPerSecond);
  return a;
}

void WriteSample(const std::filesystem::path& folder, bool tenChannels, const std::string& name) {
  std::filesystem::create_directories(folder);
  RecordingBuilder recording(tenChannels);
  const int blocks = Minutes * 60 + 1;  // the last block of a file is never shown
  recording.Blocks(blocks).TimeOfDay(10 * 3600 * SamplesPerSecond);
  for (int block = 0; block < blocks; ++block) {
    const double knots = 18.0 + 12.0 * std::sin(2 * Pi * block / 90.0);
    recording.Speed(block, static_cast<std::uint16_t>(knots * 10));
  }
  for (int slot = 0; slot < (tenChannels ? 10 : 6); ++slot) {
    recording.Counts(slot, [slot](std::int64_t sample) {
      return static_cast<std::uint32_t>(
          std::nearbyint(ZeroLevel - Acceleration(sample, slot) * Sensitivity));
    });
  }
  recording.WriteTo((folder / name).string());
  SensitivityTextBuilder sensitivity(tenChannels);
  if (tenChannels) sensitivity.Serial("Ser. no 0412");
  WriteTextToFile((folder / "S2.txt").string(), sensitivity.Build());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <samples folder>\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path root(argv[1]);
    WriteSample(root / "ten-channels", true, "R1001.DAT");
    WriteSample(root / "six-channels", false, "R0601.DAT");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
