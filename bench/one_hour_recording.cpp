#include "one_hour_recording.h"

#include <cmath>

#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"

namespace {

constexpr std::int64_t ImpactSpacing = 1800;
constexpr int PulseLength = 30;

std::uint32_t CountOf(int slot, std::int64_t sample) {
  const double noise = static_cast<double>((sample * (slot + 7)) % 4001 - 2000);
  const std::int64_t phase = sample % ImpactSpacing;
  const double pulse = phase < PulseLength
                           ? (40.0 + 15.0 * slot) * std::sin(3.14159265358979 * phase / PulseLength)
                           : 0.0;
  return static_cast<std::uint32_t>(RecordingBuilder::DefaultCount + noise -
                                    pulse * OneHourSensitivity);
}

}  // namespace

RecordingBuilder OneHourRecording() {
  RecordingBuilder builder(true);
  builder.Blocks(OneHourBlocks).Speed(250).Position(10.5f, 59.9f).RouteWord(7);
  for (int slot = 0; slot < 10; ++slot) {
    builder.Counts(slot, [slot](std::int64_t sample) { return CountOf(slot, sample); });
  }
  return builder;
}

const std::vector<std::uint8_t>& OneHourBytes() {
  static const std::vector<std::uint8_t> bytes = OneHourRecording().Build();
  return bytes;
}

const OneHourFile& OneHourRecordingFile() {
  static TempFolder folder;
  static const OneHourFile file = [] {
    OneHourFile made{folder.Path(), folder.File("R0412.DAT")};
    WriteBytesToFile(made.Name, OneHourBytes());
    WriteTextToFile(folder.File("S2.txt"), SensitivityTextBuilder(true).Build());
    return made;
  }();
  return file;
}
