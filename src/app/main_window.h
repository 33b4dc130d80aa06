#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "filter/lowpass_filter.h"
#include "impacts/impact_counter.h"
#include "platform/chart.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/menu.h"
#include "platform/work_progress.h"
#include "recording/recording_state.h"

// Rows of the impact tables: row slot + 1 holds a slot's counts; row 0 is not used.
using ImpactTable = std::array<ImpactRow, SlotCount + 1>;

// The main window: every control, chart and dialog of the form description, the loaded
// recording (the RecordingState members), the impact tables, the filter's working state,
// and every event handler. Each subsystem defines its handlers in its own folder.
class TForm1 : public Form, public RecordingState {
 public:
  TForm1();
  ~TForm1() override;

  // Components, in the order of the form description (their ComponentIndex).
  ::StatusBar* StatusBar;
  PageControl* PageControl1;
  TabSheet* TabSheet1;
  Chart* Chart1;
  std::array<LineSeries*, 11> Series1To11;   // Series1 .. Series11
  std::array<LineSeries*, 10> Series22To31;  // Series22 .. Series31
  TabSheet* TabSheet2;
  Chart* Chart2;
  std::array<BarSeries*, 10> Series12To21;  // Series12 .. Series21
  Panel* Panel1;
  Label* Label5;
  CheckBox* CBSpeed;
  CheckBox* CBHullX;
  CheckBox* CBHullY;
  CheckBox* CBHullZ;
  CheckBox* CBPilotX;
  CheckBox* CBPilotY;
  CheckBox* CBPilotZ;
  CheckBox* CBNavigatorX;
  CheckBox* CBNavigatorY;
  CheckBox* CBNavigatorZ;
  CheckBox* CBSpare;
  Button* Button1;
  RadioGroup* RadioGroup1;
  CheckBox* CheckBox1;
  CheckBox* CheckBox2;
  CheckBox* CheckBox3;
  CheckBox* CheckBox4;
  StaticText* StaticText1;
  CheckBox* CheckBox5;
  CheckBox* CheckBox6;
  CheckBox* CheckBox7;
  CheckBox* CheckBox8;
  CheckBox* CheckBox9;
  CheckBox* CheckBox10;
  Panel* Panel2;
  ::MainMenu* MainMenu;
  MenuItem* File;
  MenuItem* Open1;
  MenuItem* SaveGPSdata1;
  MenuItem* SavenoGPS1;
  MenuItem* SaveBmp1;
  MenuItem* Print;
  MenuItem* N1;
  MenuItem* Exit2;
  MenuItem* Help;
  MenuItem* About;
  OpenDialog* OpenFileDialog;
  SaveDialog* SaveFileDialog;

  // The per-slot controls, slot 0 to 9.
  CheckBox* ChannelBox(int slot) const { return channelBoxes_.at(slot); }
  CheckBox* InvertBox(int slot) const { return invertBoxes_.at(slot); }

  // Impact statistics.
  ImpactRow ImpactLimits{};
  ImpactTable ImpactCounts{};
  ImpactTable FilteredImpactCounts{};
  // The filter's working state, shared by every run.
  ::FilterState FilterState{};

  // Event handlers.
  void FormCreate(Component* Sender);
  void Open1Click(Component* Sender);
  void SavenoGPS1Click(Component* Sender);
  void SaveGPSdata1Click(Component* Sender);
  void SaveBmp1Click(Component* Sender);
  void PrintClick(Component* Sender);
  void Exit2Click(Component* Sender);
  void AboutClick(Component* Sender);
  void CBSpeedClick(Component* Sender);
  void CBHullXClick(Component* /*Sender*/) { ChannelBoxClick(0); }
  void CBHullYClick(Component* /*Sender*/) { ChannelBoxClick(1); }
  void CBHullZClick(Component* /*Sender*/) { ChannelBoxClick(2); }
  void CBPilotXClick(Component* /*Sender*/) { ChannelBoxClick(3); }
  void CBPilotYClick(Component* /*Sender*/) { ChannelBoxClick(4); }
  void CBPilotZClick(Component* /*Sender*/) { ChannelBoxClick(5); }
  void CBNavigatorXClick(Component* /*Sender*/) { ChannelBoxClick(6); }
  void CBNavigatorYClick(Component* /*Sender*/) { ChannelBoxClick(7); }
  void CBNavigatorZClick(Component* /*Sender*/) { ChannelBoxClick(8); }
  void CBSpareClick(Component* /*Sender*/) { ChannelBoxClick(9); }
  void RadioGroup1Click(Component* Sender);
  void Button1Click(Component* Sender);
  void CheckBox1Click(Component* /*Sender*/) { InvertBoxClick(0); }
  void CheckBox2Click(Component* /*Sender*/) { InvertBoxClick(1); }
  void CheckBox3Click(Component* /*Sender*/) { InvertBoxClick(2); }
  void CheckBox4Click(Component* /*Sender*/) { InvertBoxClick(3); }
  void CheckBox5Click(Component* /*Sender*/) { InvertBoxClick(4); }
  void CheckBox6Click(Component* /*Sender*/) { InvertBoxClick(5); }
  void CheckBox7Click(Component* /*Sender*/) { InvertBoxClick(6); }
  void CheckBox8Click(Component* /*Sender*/) { InvertBoxClick(7); }
  void CheckBox9Click(Component* /*Sender*/) { InvertBoxClick(8); }
  void CheckBox10Click(Component* /*Sender*/) { InvertBoxClick(9); }
  void PageControl1Change(Component* Sender);

  // Routines the handlers share.
  void ShowFilteredSeries(int seriesNumber, int channelNumber);
  void UpdateSpeedAxisTitle();
  void FilterChannel(int slot, double cutoff, std::uint32_t count);
  bool ReserveFilteredArrays(const std::vector<int>& slots, const std::function<void()>& refuse);
  // Sets up the shared save dialog for one save command: its filter and first filter entry,
  // and the loaded recording's folder to start in while the dialog holds no name.
  void PrepareSaveDialog(const char* filter);
  // FilterChannel for each of `slots` at once, the channels spread over the cores, reporting
  // to `progress` as it goes.
  void FilterChannels(const std::vector<int>& slots, double cutoff, std::uint32_t count,
                      const WorkProgress& progress = {});
  // The impacts among the first n samples of Acceleration[slot], added to row slot + 1 of
  // ImpactCounts; CountFilteredImpacts does the same from FilteredAcceleration[slot] into
  // FilteredImpactCounts. The counters only add: the caller zeroes the row.
  void CountImpacts(int slot, std::uint32_t n);
  void CountFilteredImpacts(int slot, std::uint32_t n);
  // CountImpacts for each of `slots` (each slot once) and, when `filtered`,
  // CountFilteredImpacts too, all at once over the cores, reporting to `progress` as they go.
  void CountImpactsOfSlots(const std::vector<int>& slots, bool filtered, std::uint32_t n,
                           const WorkProgress& progress = {});

  // The per-slot operations behind the ten channel boxes and the ten "Invert" boxes.
  void ChannelBoxClick(int slot);
  void InvertBoxClick(int slot);

 private:
  void BuildFormDescription();
  void ResetWindowForLoad(bool tenChannels);
  void TitleChartsForLoad(const std::string& startTimeText, bool showSerialText);
  void ReleasePreviousRecording(bool tenChannels);
  void BindRecordingSeries(std::uint32_t speedPoints, const WorkProgress& progress);
  void FinishOpen();

  std::array<CheckBox*, SlotCount> channelBoxes_{};
  std::array<CheckBox*, SlotCount> invertBoxes_{};
};

// The one main window of the process; it holds the instance before its constructor runs.
extern TForm1* Form1;
