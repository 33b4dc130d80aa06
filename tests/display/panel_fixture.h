#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/recording_builder.h"
#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"

// A main window driven from its left panel and page control, as a person drives it, over
// small recordings whose impacts are known in advance.
namespace panel {

constexpr std::uint32_t ZeroLevel = RecordingBuilder::DefaultCount;
constexpr double Sensitivity = 660.0;  // the default code 6600
constexpr int Blocks = 3;              // 1200 samples are used, 1800 frames exist
constexpr std::uint32_t Samples = 1200;

// Slot k holds one impact: PulseHeight[k] m/s² for 60 samples from PulseStart, so its peak
// falls into band PulseBand[k]. A dip of the same area later keeps the channel's mean at the
// zero level exactly, so the pulse converts to its height exactly.
constexpr std::array<double, 10> PulseHeight{25, 35, 45, 55, 65, 75, 85, 95, 105, 250};
constexpr std::array<int, 10> PulseBand{0, 1, 2, 3, 4, 5, 6, 7, 8, 22};
constexpr std::int64_t PulseStart = 600;
constexpr std::int64_t PulseLength = 60;
constexpr std::int64_t DipStart = 700;
constexpr std::int64_t DipLength = 400;

inline RecordingBuilder::CountFunction PulseCounts(double height) {
  const auto pulseCounts = static_cast<std::uint32_t>(height * Sensitivity);
  const std::uint32_t dipCounts = pulseCounts * PulseLength / DipLength;
  return [pulseCounts, dipCounts](std::int64_t sample) {
    if (sample >= PulseStart && sample < PulseStart + PulseLength) return ZeroLevel - pulseCounts;
    if (sample >= DipStart && sample < DipStart + DipLength) return ZeroLevel + dipCounts;
    return ZeroLevel;
  };
}

inline RecordingBuilder PulseRecording(bool tenChannels) {
  RecordingBuilder builder(tenChannels);
  builder.Blocks(Blocks).Speed(55);
  for (int slot = 0; slot < (tenChannels ? 10 : 6); ++slot) {
    builder.Counts(slot, PulseCounts(PulseHeight[slot]));
  }
  return builder;
}

// Its helpers are public so that tables of cases can drive the window through them.
class PanelTest : public WindowTest {
 public:
  using WindowTest::Window;

  void Open(const RecordingBuilder& recording, const std::string& name = "R0412.DAT") {
    OpenThroughMenu(WriteRecordingFolder(
        folder, recording, SensitivityTextBuilder(recording.TenChannels()).Build(), name));
  }
  void OpenPulses(bool tenChannels) { Open(PulseRecording(tenChannels)); }

  void ShowImpacts() { Window().PageControl1->UserSelect(Window().TabSheet2); }
  void ShowGraph() { Window().PageControl1->UserSelect(Window().TabSheet1); }
  // "ICI" and straight back, which is what makes boxes usable before any load.
  void VisitImpacts() {
    ShowImpacts();
    ShowGraph();
  }

  LineSeries& Raw(int slot) { return *Window().Chart1->GetLineSeries(slot); }
  LineSeries& Filtered(int slot) { return *Window().Chart1->GetLineSeries(11 + slot); }
  BarSeries& Bars(int slot) { return *Window().Chart2->GetBarSeries(slot); }
  const std::string& LeftAxisTitle() { return Window().Chart1->LeftAxis().Title(); }

  TempFolder folder;
};

}  // namespace panel
