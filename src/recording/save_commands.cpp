#include <string>
#include <utility>

#include "app/main_window.h"
#include "platform/application.h"
#include "recording/file_bytes.h"
#include "recording/position_text.h"
#include "recording/recording_decoder.h"
#include "recording/recording_error.h"
#include "recording/route_free_copy.h"
#include "recording/safe_file_write.h"

namespace {

// Writes the file derived from the recording's bytes under the confirmed name.
using DerivedFileWriter = void (*)(FileBytes recording, const std::string& fileName);

void WriteRouteFreeCopy(FileBytes recording, const std::string& fileName) {
  const FileBytes copy = RouteFreeCopy(std::move(recording));
  WriteFileSafely(fileName, copy.data(), copy.Size());
}

void WritePositionText(FileBytes recording, const std::string& fileName) {
  WriteFileSafely(fileName, PositionText(recording));
}

// Both save commands work on the recording as it is on disk now, not on what the window
// shows: they read it again, whole, before they ask for the name, so the recording's own name
// may be chosen. A recording that cannot be read or is too short for the layout probe is told
// before the dialog opens; a write that fails is told too and leaves the target as it was.
void SaveDerivedFile(const std::string& recordingName, TForm1& form, const char* filter,
                     DerivedFileWriter write) {
  try {
    FileBytes recording = ReadWholeFile(recordingName);
    CheckRecordingSize(recording, recordingName);
    form.PrepareSaveDialog(filter);
    if (!form.SaveFileDialog->Execute()) return;
    write(std::move(recording), form.SaveFileDialog->FileName);
  } catch (const RecordingError& error) {
    CurrentDesktop().ShowMessage(error.Message(), "Error");
  }
}

}  // namespace

void TForm1::SavenoGPS1Click(Component* /*Sender*/) {
  SaveDerivedFile(OpenedFileName, *Form1, "*.DAT|*.DAT", WriteRouteFreeCopy);
}

void TForm1::SaveGPSdata1Click(Component* /*Sender*/) {
  SaveDerivedFile(OpenedFileName, *Form1, "*.txt|*.txt", WritePositionText);
}
