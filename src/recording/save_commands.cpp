#include <string>
#include <utility>

#include "app/main_window.h"
#include "platform/application.h"
#include "platform/available_memory.h"
#include "recording/file_bytes.h"
#include "recording/position_text.h"
#include "recording/recording_decoder.h"
#include "recording/recording_error.h"
#include "recording/recording_format.h"
#include "recording/route_free_copy.h"
#include "recording/safe_file_write.h"

namespace {

// One of the files derived from the recording's bytes.
struct DerivedFile {
  const char* Filter;
  // What the refusal says cannot be done, e.g. "cannot be saved without route data".
  const char* CannotBeDone;
  // The memory the file's making holds at once besides the recording's bytes.
  std::uint64_t (*MemoryBesidesRecording)(std::uint64_t recordingSize, bool tenChannels);
  // Writes the file under the confirmed name.
  void (*Write)(FileBytes recording, const std::string& fileName);
};

// The copy is made in the recording's own bytes.
std::uint64_t NothingBesides(std::uint64_t /*recordingSize*/, bool /*tenChannels*/) {
  return 0;
}

void WriteRouteFreeCopy(FileBytes recording, const std::string& fileName) {
  const FileBytes copy = RouteFreeCopy(std::move(recording));
  WriteFileSafely(fileName, copy.data(), copy.Size(), ActionProgress());
}

void WritePositionText(FileBytes recording, const std::string& fileName) {
  WriteFileSafely(fileName, PositionText(recording), ActionProgress());
}

constexpr DerivedFile RouteFreeCopyFile{"*.DAT|*.DAT", "cannot be saved without route data",
                                        NothingBesides, WriteRouteFreeCopy};
constexpr DerivedFile PositionTextFile{"*.txt|*.txt", "cannot be saved with GPS map data",
                                       PositionTextBound, WritePositionText};

// The recording is read whole into storage never written: one that cannot fit beside the
// loaded recording is refused here instead of being killed part-way through the read.
void CheckMemoryForSave(const FileToRead& source, const DerivedFile& file) {
  const FileBytes start = source.ReadStart(MinimumRecordingSize);
  CheckRecordingSize(start, source.Path());
  const std::uint64_t needed =
      source.Size() +
      file.MemoryBesidesRecording(source.Size(), ProbeTenChannels(start.data(), start.Size()));
  const MemoryCheck memory = CheckMemory(needed, 0);
  if (!memory.Fits) {
    throw RecordingError(source.Path(), std::string(file.CannotBeDone) + ": it " + memory.Shortage);
  }
}

// Both save commands work on the recording as it is on disk now, not on what the window
// shows: they read it again, whole, before they ask for the name, so the recording's own name
// may be chosen. A recording that cannot be read, is too short for the layout probe or does
// not fit into memory is told before the dialog opens; a write that fails is told too and
// leaves the target as it was.
void SaveDerivedFile(const std::string& recordingName, TForm1& form, const DerivedFile& file) {
  try {
    const FileToRead source(recordingName);
    CheckMemoryForSave(source, file);
    // The read and, after the dialog, the write each fill the bar.
    FileBytes recording = source.ReadWhole(ActionProgress());
    form.PrepareSaveDialog(file.Filter);
    if (!form.SaveFileDialog->Execute()) return;
    file.Write(std::move(recording), form.SaveFileDialog->FileName);
  } catch (const RecordingError& error) {
    CurrentDesktop().ShowMessage(error.Message(), "Error");
  }
}

}  // namespace

void TForm1::SavenoGPS1Click(Component* /*Sender*/) {
  SaveDerivedFile(OpenedFileName, *Form1, RouteFreeCopyFile);
}

void TForm1::SaveGPSdata1Click(Component* /*Sender*/) {
  SaveDerivedFile(OpenedFileName, *Form1, PositionTextFile);
}
