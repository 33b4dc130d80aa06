// The two save commands on the one-hour ten-channel recording, each reading the recording
// and writing its file safely, beside writing the recording's bytes once to a file in the
// same folder, in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "app/main_window.h"
#include "platform/application.h"
#include "recording/recording_format.h"
#include "support/recording_builder.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

constexpr int OneHourBlocks = 3601;
constexpr std::int64_t OneHourBytes = std::int64_t{OneHourBlocks} * TenChannelBlockSize;

struct OneHour {
  TempFolder Folder;
  std::vector<std::uint8_t> Bytes;
  std::string Name;
};

const OneHour& OneHourRecording() {
  static const OneHour* recording = [] {
    auto* made = new OneHour;
    RecordingBuilder builder(true);
    builder.Blocks(OneHourBlocks).Speed(250).Position(10.5f, 59.9f).RouteWord(7);
    for (int slot = 0; slot < SlotCount; ++slot) {
      builder.Counts(slot, [slot](std::int64_t sample) {
        return static_cast<std::uint32_t>(0x800000 + ((sample * (slot + 7)) % 4001) - 2000);
      });
    }
    made->Bytes = builder.Build();
    made->Name = made->Folder.File("R0412.DAT");
    WriteBytesToFile(made->Name, made->Bytes);
    return made;
  }();
  return *recording;
}

// What the writers are measured against: the bytes written once with plain system calls,
// optionally flushed to the disk as the safe write does.
void WriteOnce(const std::string& path, const std::vector<std::uint8_t>& bytes, bool flush) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  const std::uint8_t* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written <= 0) break;
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  if (flush) ::fsync(fd);
  ::close(fd);
}

void PlainWrite(benchmark::State& state) {
  const OneHour& recording = OneHourRecording();
  const std::string target = recording.Folder.File("plain.DAT");
  const bool flush = state.range(0) != 0;
  for (auto _ : state) WriteOnce(target, recording.Bytes, flush);
  state.SetBytesProcessed(state.iterations() * OneHourBytes);
}

// The menu command's handler as the menu runs it, with the dialog confirming a name.
void SaveCommand(benchmark::State& state, void (TForm1::*command)(Component*),
                 const char* targetName) {
  const OneHour& recording = OneHourRecording();
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  application.CreateForm(Form1);
  Form1->OpenedFileName = recording.Name;
  const std::string target = recording.Folder.File(targetName);
  for (auto _ : state) {
    desktop.AnswerWith(target);
    (Form1->*command)(nullptr);
  }
  if (!desktop.Messages.empty()) state.SkipWithError(desktop.Messages.front().Text.c_str());
  state.SetBytesProcessed(state.iterations() * OneHourBytes);
  Form1 = nullptr;
}

void RouteFreeCopyCommand(benchmark::State& state) {
  SaveCommand(state, &TForm1::SavenoGPS1Click, "copy.DAT");
}

void PositionTextCommand(benchmark::State& state) {
  SaveCommand(state, &TForm1::SaveGPSdata1Click, "positions.txt");
}

BENCHMARK(PlainWrite)
    ->ArgName("flush")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(RouteFreeCopyCommand)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PositionTextCommand)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
