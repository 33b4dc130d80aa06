#include <sys/stat.h>

#include <array>
#include <numeric>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "display/channel_display.h"
#include "platform/application.h"
#include "platform/available_memory.h"
#include "recording/file_bytes.h"
#include "recording/recording_decoder.h"
#include "recording/recording_error.h"
#include "recording/recording_format.h"
#include "recording/recording_memory.h"
#include "recording/sensitivity_file.h"

namespace {

// A name the dialog confirmed names something to load when it exists and is no folder
// (a link counts when its target exists).
bool NamesExistingFile(const std::string& name) {
  struct stat status {};
  return ::stat(name.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

// Everything a load needs, read and checked before the window or the loaded recording
// change, so that a recording we cannot use leaves both as they were. Only the start of the
// file is read here: the previous recording is still resident, and the whole file is read
// once the load has let go of it.
struct PendingLoad {
  explicit PendingLoad(const std::string& fileName) : File(fileName) {}

  FileToRead File;
  std::string StartTime;
  bool TenChannels = false;
  bool SensitivityFileMissing = false;
  std::array<std::uint32_t, SlotCount> SensitivityCode{};
  std::array<float, SlotCount> Sensitivity{};
  std::string SerialText;
  RecordingGeometry Geometry{};
  RecordingArrays Arrays;
};

// New storage costs nothing until it is written, so a load that cannot fit would only be
// killed part-way through the decode: it is refused here instead.
void CheckMemoryForLoad(const RecordingState& current, const PendingLoad& load) {
  const MemoryCheck memory =
      CheckMemory(ResidentBytesOfLoad(load.File.Size(), load.Geometry.BlocksUsed, load.TenChannels),
                  ResidentBytesReplacedByLoad(current, load.TenChannels));
  if (!memory.Fits) {
    throw RecordingError(load.File.Path(), "cannot be loaded: it " + memory.Shortage);
  }
}

PendingLoad ReadPendingLoad(const RecordingState& current, const std::string& fileName) {
  PendingLoad load(fileName);
  // A file shorter than the probe byte is read whole here, and the size check names its size.
  const FileBytes start = load.File.ReadStart(MinimumRecordingSize);
  CheckRecordingSize(start, fileName);
  load.StartTime = StartTimeText(start);
  load.TenChannels = ProbeTenChannels(start.data(), start.Size());
  load.Geometry = ComputeGeometry(static_cast<std::int64_t>(load.File.Size()), load.TenChannels);
  CheckMemoryForLoad(current, load);

  const std::string sensitivityPath = SensitivityFilePath(fileName);
  const SensitivityReading reading = ReadSensitivityText(sensitivityPath, load.TenChannels);
  load.SensitivityFileMissing = reading.FileMissing;
  if (reading.FileMissing) {
    CurrentDesktop().ShowMessage("S2.txt file is missing. Default valus are used.", "Get data");
  }
  // Slots outside the layout keep their codes, sensitivities and (six channels) the serial text.
  load.SensitivityCode = current.SensitivityCode;
  load.Sensitivity = current.Sensitivity;
  load.SerialText = current.SerialText;
  ParseSensitivityText(reading.Text, load.TenChannels, load.SensitivityCode, load.SerialText);
  for (int slot = 0; slot < ChannelCount(load.TenChannels); ++slot) {
    load.Sensitivity[slot] = SensitivityFromCode(load.SensitivityCode[slot]);
  }
  CheckSensitivities(load.Sensitivity, load.TenChannels, sensitivityPath);

  load.Arrays = AllocateRecordingArrays(load.Geometry, load.TenChannels, fileName);
  return load;
}

}  // namespace

void TForm1::Open1Click(Component* /*Sender*/) {
  if (!OpenFileDialog->Execute()) return;
  const std::string chosenName = OpenFileDialog->FileName;
  if (!NamesExistingFile(chosenName)) {
    OpenedFileName = chosenName;
    FinishOpen();
    return;
  }

  std::optional<PendingLoad> load;
  try {
    load = ReadPendingLoad(*this, chosenName);
  } catch (const RecordingError& error) {
    // A refused recording changes nothing, so the save commands go on with the one shown.
    CurrentDesktop().ShowMessage(error.Message(), "Error");
    return;
  }

  OpenedFileName = chosenName;
  DataFileName = OpenedFileName;
  DataFileSize = static_cast<std::int64_t>(load->File.Size());
  TenChannels = load->TenChannels;
  SensitivityCode = load->SensitivityCode;
  SerialText = load->SerialText;
  Sensitivity = load->Sensitivity;

  ResetWindowForLoad(load->TenChannels);
  TitleChartsForLoad(load->StartTime, load->TenChannels && !load->SensitivityFileMissing);
  ReleasePreviousRecording(load->TenChannels);

  // The shares of the bar follow what each step costs on a long recording.
  const WorkProgress progress = ActionProgress();
  FileBytes bytes;
  try {
    bytes = load->File.ReadWhole(ProgressPart(progress, 0.0, 0.4));
  } catch (const RecordingError& error) {
    // The file changed or failed since it was checked. The window is reset and holds no
    // recording: every count is 0, so every command goes on over no samples.
    CurrentDesktop().ShowMessage(error.Message(), "Error");
    FinishOpen();
    return;
  }
  DecodeRecording(*this, bytes, load->Geometry, std::move(load->Arrays),
                  ProgressPart(progress, 0.4, 0.8));
  for (int slot = 0; slot < LayoutSlotCount(); ++slot) SamplesWritten[slot] = SampleCount;
  BindRecordingSeries(static_cast<std::uint32_t>(load->Geometry.BlocksUsed),
                      ProgressPart(progress, 0.8, 0.9));

  std::vector<int> layoutSlots(LayoutSlotCount());
  std::iota(layoutSlots.begin(), layoutSlots.end(), 0);
  CountImpactsOfSlots(layoutSlots, false, SampleCount, ProgressPart(progress, 0.9, 1.0));

  FinishOpen();
}

// Hides and retitles every series, clears the filter selection and sets up the channel
// panel for the layout. Unticking a ticked box runs its handler right here, while the
// previous recording's arrays and counts are still in place.
void TForm1::ResetWindowForLoad(bool tenChannels) {
  for (int index = 0; index <= 10; ++index) {
    Chart1->GetSeries(index)->SetActive(false);
    Chart1->GetSeries(index)->SetTitle("");
  }
  for (int index = 0; index < SlotCount; ++index) {
    Chart2->GetSeries(index)->SetActive(false);
    Chart2->GetSeries(index)->SetTitle("");
  }
  for (int index = 11; index <= 20; ++index) Chart1->GetSeries(index)->SetActive(false);

  ImpactCounts = ImpactTable{};
  for (int slot = 0; slot < SlotCount; ++slot) ChannelBox(slot)->SetEnabled(false);
  PageControl1->SetActivePage(TabSheet1);
  SaveGPSdata1->SetEnabled(true);
  SavenoGPS1->SetEnabled(true);
  SaveBmp1->SetEnabled(true);
  Print->SetEnabled(true);
  Chart1->LeftAxis().SetAutomatic(true);
  Chart1->BottomAxis().SetAutomatic(true);

  for (int slot = 0; slot < 3; ++slot) Chart1->GetSeries(slot)->SetTitle(SlotTitle(slot, true));
  Chart1->GetSeries(10)->SetTitle("Speed");
  for (int slot = 0; slot < SlotCount; ++slot) {
    // The filtered series of slots 6 to 9 take their ten-channel names in both layouts.
    Chart1->GetSeries(11 + slot)->SetTitle(SlotTitle(slot, tenChannels || slot >= 6));
    Chart2->GetSeries(slot)->SetTitle(SlotTitle(slot, tenChannels || slot >= 6));
  }
  RadioGroup1->SetItemIndex(-1);

  CBSpeed->SetEnabled(true);
  CBSpeed->SetChecked(false);

  const auto resetChannelBox = [this](int slot, bool tenChannelLayout) {
    CheckBox* box = ChannelBox(slot);
    box->SetEnabled(true);
    if (slot >= 6) box->SetVisible(true);
    box->SetChecked(false);
    box->SetCaption(SlotTitle(slot, tenChannelLayout));
  };
  const auto resetInvertBox = [this](int slot) {
    CheckBox* box = InvertBox(slot);
    box->SetEnabled(false);
    if (slot >= 6) box->SetVisible(true);
    box->SetChecked(false);
    box->SetCaption("");
  };
  const auto hideSlot = [](CheckBox* box) {
    box->SetEnabled(false);
    box->SetVisible(false);
    box->SetChecked(false);
  };
  if (tenChannels) {
    for (int slot = 0; slot < SlotCount; ++slot) resetChannelBox(slot, true);
    for (int slot = 0; slot < SlotCount; ++slot) resetInvertBox(slot);
  } else {
    for (int slot = 0; slot < 6; ++slot) resetChannelBox(slot, false);
    for (int slot = 0; slot < 6; ++slot) resetInvertBox(slot);
    for (int slot = 6; slot < SlotCount; ++slot) hideSlot(ChannelBox(slot));
    for (int slot = 6; slot < SlotCount; ++slot) hideSlot(InvertBox(slot));
  }
}

// Lets go of the previous recording before the next file is read and decoded, so that two
// are never resident at once. The reset's handlers have run on it by now and every series is
// hidden. Of the line series, the load binds the raw series of its layout and the speed series
// again; every other one is bound anew before it can be shown (the filter binds what it
// writes), so none keeps an array of the previous recording. A six-channel load keeps the
// arrays of slots 6 to 9.
void TForm1::ReleasePreviousRecording(bool tenChannels) {
  for (int slot = 0; slot < ChannelCount(tenChannels); ++slot) {
    RawSamples[slot].Release();
    Acceleration[slot].Release();
    FilteredAcceleration[slot].Release();
    SamplesWritten[slot] = 0;
    FilteredSamplesWritten[slot] = 0;
  }
  SampleIndex.Release();
  SpeedValues.Release();
  SpeedPositions.Release();
  SampleCount = 0;
  PlotCount = 0;
  FrameCount = 0;
  for (int index = 0; index <= 20; ++index) ReleaseLineSeries(*Chart1->GetLineSeries(index));
}

void TForm1::TitleChartsForLoad(const std::string& startTimeText, bool showSerialText) {
  std::string title = DataFileName;
  if (!TenChannels) {
    title += " (6 channels)";
  } else if (showSerialText) {
    title += " (10 channels) " + SerialText;
  } else {
    title += " (10 channels)";
  }
  title += startTimeText;
  for (Chart* chart : {Chart1, Chart2}) {
    chart->ClearTitle();
    chart->AddTitleLine(title);
  }
}

// The value lists take the very arrays of the recording: nothing is copied. A view may take a
// while over each series it is given (a long trace's tables), so the window answers in
// between.
void TForm1::BindRecordingSeries(std::uint32_t speedPoints, const WorkProgress& progress) {
  BindLineSeries(*Chart1->GetLineSeries(10), SpeedPositions, SpeedValues, speedPoints);

  const int slots = LayoutSlotCount();
  for (int slot = 0; slot < slots; ++slot) {
    LineSeries* raw = Chart1->GetLineSeries(slot);
    raw->XValues.Count = SampleCount;
    raw->XValues.Value = SampleIndex;
    raw->XValues.Modified = true;
    raw->YValues.Count = SampleCount;
  }
  PlotCount = SampleCount;
  for (int slot = 0; slot < slots; ++slot)
    Chart1->GetLineSeries(slot)->YValues.Value = Acceleration[slot];
  for (int slot = 0; slot < slots; ++slot) {
    LineSeries* raw = Chart1->GetLineSeries(slot);
    raw->YValues.Modified = true;
    raw->Repaint();
    if (progress) progress((slot + 1.0) / slots);
  }
}

// The end of every confirmed Open, also of one whose name named no file.
void TForm1::FinishOpen() {
  SpeedPositions.Release();
  SpeedValues.Release();
  CBSpeed->SetEnabled(true);
  for (int slot = 0; slot < SlotCount; ++slot) ChannelBox(slot)->SetEnabled(true);
}
