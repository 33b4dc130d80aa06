// Opening the one-hour ten-channel recording through the File menu, headless, beside
// decoding the same file without a window, in the same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/main_window.h"
#include "platform/application.h"
#include "recording/file_bytes.h"
#include "recording/recording_decoder.h"
#include "recording/recording_format.h"
#include "recording/sensitivity_file.h"
#include "support/recording_builder.h"
#include "support/scripted_desktop.h"
#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"

namespace {

constexpr int OneHourBlocks = 3601;

const std::string& OneHourRecording() {
  static TempFolder folder;
  static const std::string name = [] {
    RecordingBuilder builder(true);
    builder.Blocks(OneHourBlocks).Speed(250);
    for (int slot = 0; slot < SlotCount; ++slot) {
      builder.Counts(slot, [slot](std::int64_t sample) {
        return static_cast<std::uint32_t>(0x800000 + ((sample * (slot + 7)) % 4001) - 2000);
      });
    }
    return WriteRecordingFolder(folder, builder, SensitivityTextBuilder(true).Build());
  }();
  return name;
}

void DecodeOnly(benchmark::State& state) {
  const std::string& name = OneHourRecording();
  for (auto _ : state) {
    RecordingState recording;
    FileBytes bytes = ReadWholeFile(name);
    CheckRecordingSize(bytes, name);
    benchmark::DoNotOptimize(StartTimeText(bytes));
    recording.TenChannels = ProbeTenChannels(bytes.data(), bytes.Size());
    const SensitivityReading reading = ReadSensitivityText(SensitivityFilePath(name), true);
    ParseSensitivityText(reading.Text, true, recording.SensitivityCode, recording.SerialText);
    for (int slot = 0; slot < SlotCount; ++slot) {
      recording.Sensitivity[slot] = SensitivityFromCode(recording.SensitivityCode[slot]);
    }
    const RecordingGeometry geometry =
        ComputeGeometry(static_cast<std::int64_t>(bytes.Size()), true);
    DecodeRecording(recording, bytes, geometry, AllocateRecordingArrays(geometry, true, name));
    benchmark::DoNotOptimize(recording.Acceleration[9].data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(OneHourBlocks) *
                          static_cast<std::int64_t>(TenChannelBlockSize));
}

void OpenThroughTheMenu(benchmark::State& state) {
  const std::string& name = OneHourRecording();
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  application.CreateForm(Form1);
  for (auto _ : state) {
    desktop.AnswerWith(name);
    Form1->Open1->UserClick();
    benchmark::DoNotOptimize(Form1->SampleCount);
  }
  if (!desktop.Messages.empty()) state.SkipWithError(desktop.Messages.front().Text.c_str());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(OneHourBlocks) *
                          static_cast<std::int64_t>(TenChannelBlockSize));
  Form1 = nullptr;
}

BENCHMARK(DecodeOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(OpenThroughTheMenu)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
