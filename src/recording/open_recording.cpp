#include <sys/stat.h>

#include <array>
#include <numeric>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "display/channel_display.h"
#include "platform/application.h"
#include "recording/file_bytes.h"
#include "recording/recording_decoder.h"
#include "recording/recording_error.h"
#include "recording/recording_format.h"
#include "recording/sensitivity_file.h"

namespace {

// A name the dialog confirmed names something to load when it exists and is no folder
// (a link counts when its target exists).
bool NamesExistingFile(const std::string& name) {
  struct stat status {};
  return ::stat(name.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

// Everything a load needs, read and checked before the window or the loaded recording
// change, so that a recording we cannot use leaves both as they were.
struct PendingLoad {
  FileBytes Bytes;
  std::string StartTime;
  bool TenChannels = false;
  bool SensitivityFileMissing = false;
  std::array<std::uint32_t, SlotCount> SensitivityCode{};
  std::array<float, SlotCount> Sensitivity{};
  std::string SerialText;
  RecordingGeometry Geometry{};
  RecordingArrays Arrays;
};

PendingLoad ReadPendingLoad(const RecordingState& current, const std::string& fileName) {
  PendingLoad load;
  load.Bytes = ReadWholeFile(fileName);
  CheckRecordingSize(load.Bytes, fileName);
  load.StartTime = StartTimeText(load.Bytes);
  load.TenChannels = ProbeTenChannels(load.Bytes.data(), load.Bytes.Size());

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

  load.Geometry = ComputeGeometry(static_cast<std::int64_t>(load.Bytes.Size()), load.TenChannels);
  load.Arrays = AllocateRecordingArrays(load.Geometry, load.TenChannels, fileName);
  return load;
}

}  // namespace

void TForm1::Open1Click(Component* /*Sender*/) {
  if (!OpenFileDialog->Execute()) return;
  OpenedFileName = OpenFileDialog->FileName;
  if (!NamesExistingFile(OpenedFileName)) {
    FinishOpen();
    return;
  }

  PendingLoad load;
  try {
    load = ReadPendingLoad(*this, OpenedFileName);
  } catch (const RecordingError& error) {
    CurrentDesktop().ShowMessage(error.Message(), "Error");
    return;
  }

  DataFileName = OpenedFileName;
  DataFileSize = static_cast<std::int64_t>(load.Bytes.Size());
  TenChannels = load.TenChannels;
  SensitivityCode = load.SensitivityCode;
  SerialText = load.SerialText;
  Sensitivity = load.Sensitivity;

  ResetWindowForLoad(load.TenChannels);
  TitleChartsForLoad(load.StartTime, load.TenChannels && !load.SensitivityFileMissing);

  DecodeRecording(*this, load.Bytes, load.Geometry, std::move(load.Arrays));
  BindRecordingSeries(static_cast<std::uint32_t>(load.Geometry.BlocksUsed));

  std::vector<int> layoutSlots(LayoutSlotCount());
  std::iota(layoutSlots.begin(), layoutSlots.end(), 0);
  CountImpactsOfSlots(layoutSlots, false, SampleCount);

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

// The value lists take the very arrays of the recording: nothing is copied.
void TForm1::BindRecordingSeries(std::uint32_t speedPoints) {
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
  }
}

// The end of every confirmed Open, also of one whose name named no file.
void TForm1::FinishOpen() {
  SpeedPositions.Release();
  SpeedValues.Release();
  CBSpeed->SetEnabled(true);
  for (int slot = 0; slot < SlotCount; ++slot) ChannelBox(slot)->SetEnabled(true);
}
