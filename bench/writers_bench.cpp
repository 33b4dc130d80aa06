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
#include "one_hour_recording.h"
#include "platform/application.h"
#include "recording/recording_format.h"
#include "support/scripted_desktop.h"

namespace {

constexpr std::int64_t OneHourSize = std::int64_t{OneHourBlocks} * TenChannelBlockSize;

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
  const std::string target = OneHourRecordingFile().Folder + "/plain.DAT";
  const bool flush = state.range(0) != 0;
  for (auto _ : state) WriteOnce(target, OneHourBytes(), flush);
  state.SetBytesProcessed(state.iterations() * OneHourSize);
}

// The menu command's handler as the menu runs it, with the dialog confirming a name.
void SaveCommand(benchmark::State& state, void (TForm1::*command)(Component*),
                 const char* targetName) {
  const OneHourFile& recording = OneHourRecordingFile();
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  application.CreateForm(Form1);
  Form1->OpenedFileName = recording.Name;
  const std::string target = recording.Folder + "/" + targetName;
  for (auto _ : state) {
    desktop.AnswerWith(target);
    (Form1->*command)(nullptr);
  }
  if (!desktop.Messages.empty()) state.SkipWithError(desktop.Messages.front().Text.c_str());
  state.SetBytesProcessed(state.iterations() * OneHourSize);
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
