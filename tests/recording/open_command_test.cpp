#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "recording/recording_format.h"
#include "support/recording_builder.h"
#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"

namespace {

constexpr std::uint32_t ZeroLevel = 0x800000;
constexpr float DefaultSensitivity = 660.0f;
// 14:30:00 in 1/600 s.
constexpr std::uint32_t HalfPastTwo = 14 * 2160000u + 30 * 36000u;

RecordingBuilder TenChannelRecording(int blocks) {
  RecordingBuilder builder(true);
  builder.Blocks(blocks).TimeOfDay(HalfPastTwo).Speed(123);
  // One impact of 55 m/s² on Hull Z, well inside the recording.
  builder.Pulse(2, 1000, 55.0, DefaultSensitivity, ZeroLevel);
  return builder;
}

RecordingBuilder SixChannelRecording(int blocks) {
  RecordingBuilder builder(false);
  builder.Blocks(blocks).TimeOfDay(HalfPastTwo);
  builder.Pulse(4, 700, 35.0, DefaultSensitivity, ZeroLevel);
  return builder;
}

class OpenCommand : public WindowTest {
 protected:
  std::string WriteTen(int blocks = 3, const std::string& name = "R0412.DAT") {
    return WriteRecordingFolder(folder, TenChannelRecording(blocks),
                                SensitivityTextBuilder(true).Serial("Ser. no 1234").Build(), name);
  }
  std::string WriteSix(int blocks = 3, const std::string& name = "S0001.DAT") {
    return WriteRecordingFolder(folder, SixChannelRecording(blocks),
                                SensitivityTextBuilder(false).Build(), name);
  }

  TempFolder folder;
};

void ExpectEveryBoxUnticked(const TForm1& w) {
  EXPECT_FALSE(w.CBSpeed->Checked());
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_FALSE(w.ChannelBox(slot)->Checked()) << slot;
    EXPECT_FALSE(w.InvertBox(slot)->Checked()) << slot;
  }
}

TEST_F(OpenCommand, TenChannelLoadLeavesTheWindowInTheLoadedState) {
  const std::string name = WriteTen(3);
  OpenThroughMenu(name);
  const TForm1& w = Window();

  EXPECT_TRUE(desktop.Messages.empty());
  EXPECT_EQ(w.OpenedFileName, name);
  EXPECT_EQ(w.DataFileName, name);
  EXPECT_TRUE(w.TenChannels);
  EXPECT_EQ(w.SampleCount, 1200u);
  EXPECT_EQ(w.PlotCount, 1200u);
  EXPECT_EQ(w.SerialText, "Ser. no 1234");

  const std::string title = name + " (10 channels) Ser. no 1234 Sample start time 14:30:00";
  for (const Chart* chart : {w.Chart1, w.Chart2}) {
    ASSERT_EQ(chart->TitleLines().size(), 1u);
    EXPECT_EQ(chart->TitleLines()[0], title);
  }
  for (int index = 0; index <= 20; ++index) EXPECT_FALSE(w.Chart1->GetSeries(index)->Active());
  for (int index = 0; index < 10; ++index) EXPECT_FALSE(w.Chart2->GetSeries(index)->Active());

  const char* rawTitles[] = {"Hull X", "Hull Y", "Hull Z", "", "", "", "", "", "", "", "Speed"};
  for (int index = 0; index <= 10; ++index) {
    EXPECT_EQ(w.Chart1->GetSeries(index)->Title(), rawTitles[index]) << index;
  }
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_EQ(w.Chart1->GetSeries(11 + slot)->Title(), SlotTitle(slot, true));
    EXPECT_EQ(w.Chart2->GetSeries(slot)->Title(), SlotTitle(slot, true));
    EXPECT_EQ(w.ChannelBox(slot)->Caption(), SlotTitle(slot, true));
    EXPECT_TRUE(w.ChannelBox(slot)->Enabled());
    EXPECT_TRUE(w.ChannelBox(slot)->Visible());
    EXPECT_FALSE(w.InvertBox(slot)->Enabled());
    EXPECT_TRUE(w.InvertBox(slot)->Visible());
    EXPECT_EQ(w.InvertBox(slot)->Caption(), "");

    const LineSeries* raw = w.Chart1->GetLineSeries(slot);
    EXPECT_EQ(raw->XValues.Count, 1200u);
    EXPECT_EQ(raw->YValues.Count, 1200u);
    EXPECT_TRUE(raw->XValues.Value.SharesStorageWith(w.SampleIndex));
    EXPECT_TRUE(raw->YValues.Value.SharesStorageWith(w.Acceleration[slot]));
    EXPECT_TRUE(raw->XValues.Modified && raw->YValues.Modified);
    EXPECT_EQ(w.Chart1->GetLineSeries(11 + slot)->XValues.Count, 0u);
  }
  const LineSeries* speed = w.Chart1->GetLineSeries(10);
  ASSERT_EQ(speed->XValues.Count, 2u);
  EXPECT_EQ(speed->XValues.Value[1], 600.0);
  EXPECT_EQ(speed->YValues.Value[0], 12.3);
  EXPECT_TRUE(w.SpeedValues.Empty());
  EXPECT_TRUE(w.SpeedPositions.Empty());
  EXPECT_EQ(speed->YValues.Value.UseCount(), 1);

  EXPECT_EQ(w.PageControl1->ActivePage(), w.TabSheet1);
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
  EXPECT_TRUE(w.CBSpeed->Enabled());
  ExpectEveryBoxUnticked(w);
  EXPECT_TRUE(w.Chart1->LeftAxis().Automatic());
  EXPECT_TRUE(w.Chart1->BottomAxis().Automatic());
  EXPECT_EQ(w.Chart1->LeftAxis().Title(), "Acceleration [m/s2]");
  for (const MenuItem* item : {w.SaveGPSdata1, w.SavenoGPS1, w.SaveBmp1, w.Print}) {
    EXPECT_TRUE(item->UsableByUser()) << item->Name();
  }

  // The impact of Hull Z peaks in (50, 60]; no other row counts anything.
  for (int row = 0; row <= SlotCount; ++row) {
    for (int band = 0; band < ImpactBandCount; ++band) {
      const double expected = (row == 3 && band == 3) ? 1.0 : 0.0;
      EXPECT_EQ(w.ImpactCounts[row][band], expected) << row << "," << band;
    }
  }
}

TEST_F(OpenCommand, SixChannelLoadAfterATenChannelLoad) {
  OpenThroughMenu(WriteTen(4));
  const TForm1& w = Window();
  const DynArray<double> tenChannelSpare = w.Acceleration[9];
  const float tenChannelSensitivity = w.Sensitivity[7];
  Window().CBNavigatorY->UserClick();
  ASSERT_TRUE(w.CBNavigatorY->Checked());

  const std::string six = WriteSix(3);
  OpenThroughMenu(six);

  EXPECT_FALSE(w.TenChannels);
  EXPECT_EQ(w.SampleCount, 1200u);
  EXPECT_EQ(w.Chart1->TitleLines()[0], six + " (6 channels) Sample start time 14:30:00");
  EXPECT_EQ(w.SerialText, "Ser. no 1234");
  const char* captions[] = {"Hull X", "Hull Y", "Hull Z", "Spare", "Pilot Z", "Nav. z"};
  for (int slot = 0; slot < 6; ++slot) {
    EXPECT_EQ(w.ChannelBox(slot)->Caption(), captions[slot]);
    EXPECT_EQ(w.Chart1->GetSeries(11 + slot)->Title(), captions[slot]);
    EXPECT_EQ(w.Chart2->GetSeries(slot)->Title(), captions[slot]);
  }
  for (int slot = 6; slot < SlotCount; ++slot) {
    EXPECT_FALSE(w.ChannelBox(slot)->Visible()) << slot;
    EXPECT_TRUE(w.ChannelBox(slot)->Enabled()) << slot;
    EXPECT_FALSE(w.InvertBox(slot)->Visible()) << slot;
    EXPECT_FALSE(w.InvertBox(slot)->Enabled()) << slot;
    EXPECT_EQ(w.ChannelOffset[slot], 0.0);
    EXPECT_EQ(w.Chart1->GetSeries(11 + slot)->Title(), SlotTitle(slot, true));
    for (int band = 0; band < ImpactBandCount; ++band)
      EXPECT_EQ(w.ImpactCounts[slot + 1][band], 0.0);
  }
  ExpectEveryBoxUnticked(w);
  // Slots 6 to 9 keep what the ten-channel recording left.
  EXPECT_TRUE(w.Acceleration[9].SharesStorageWith(tenChannelSpare));
  EXPECT_EQ(w.Sensitivity[7], tenChannelSensitivity);
  // The Pilot Z pulse of 35 m/s² (slot 4) lands in (30, 40].
  EXPECT_EQ(w.ImpactCounts[5][1], 1.0);

  // A ten-channel recording shows slots 6 to 9 and the ten-channel captions again.
  OpenThroughMenu(WriteTen(3, "R0413.DAT"));
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_TRUE(w.ChannelBox(slot)->Visible());
    EXPECT_TRUE(w.InvertBox(slot)->Visible());
    EXPECT_EQ(w.ChannelBox(slot)->Caption(), SlotTitle(slot, true));
  }
  EXPECT_EQ(w.CBPilotX->Caption(), "Pilot X");
}

TEST_F(OpenCommand, CancelChangesNothing) {
  const std::string name = WriteTen();
  OpenThroughMenu(name);
  desktop.AnswerCancel();
  Window().Open1->UserClick();
  EXPECT_EQ(Window().OpenedFileName, name);
  EXPECT_EQ(Window().SampleCount, 1200u);
  EXPECT_TRUE(desktop.Messages.empty());
  ASSERT_EQ(desktop.Dialogs.size(), 2u);
  EXPECT_EQ(desktop.Dialogs[1].Filter, "*.DAT|*.DAT");
  EXPECT_EQ(desktop.Dialogs[1].OfferedName, name);
}

TEST_F(OpenCommand, ATypedNameOfAMissingFileOnlyTakesTheNameAndEnablesTheBoxes) {
  const std::string missing = folder.File("nothing.DAT");
  OpenThroughMenu(missing);
  const TForm1& w = Window();
  EXPECT_EQ(w.OpenedFileName, missing);
  EXPECT_TRUE(w.DataFileName.empty());
  EXPECT_EQ(w.Chart1->TitleLines()[0], "TChart");
  EXPECT_TRUE(desktop.Messages.empty());
  EXPECT_TRUE(w.CBSpeed->Enabled());
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_TRUE(w.ChannelBox(slot)->Enabled());
  EXPECT_FALSE(w.SavenoGPS1->Enabled());
}

TEST_F(OpenCommand, MissingSensitivityFileIsReportedBeforeAnyControlChanges) {
  const std::string name = WriteRecordingFolder(folder, TenChannelRecording(3), std::nullopt);
  std::string titleWhileShown;
  bool boxesEnabledWhileShown = true;
  desktop.WhileMessageShown = [&](const std::string&) {
    titleWhileShown = Window().Chart1->TitleLines()[0];
    boxesEnabledWhileShown = Window().CBHullX->Enabled();
  };
  OpenThroughMenu(name);

  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_EQ(desktop.Messages[0].Text, "S2.txt file is missing. Default valus are used.");
  EXPECT_EQ(desktop.Messages[0].Caption, "Get data");
  EXPECT_EQ(titleWhileShown, "TChart");
  EXPECT_FALSE(boxesEnabledWhileShown);
  // The default serial text is parsed but not shown.
  EXPECT_EQ(Window().SerialText, "Ser. no 9999");
  EXPECT_EQ(Window().Chart1->TitleLines()[0], name + " (10 channels) Sample start time 14:30:00");
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_EQ(Window().SensitivityCode[slot], 6600u);
}

TEST_F(OpenCommand, ARejectedRecordingIsReportedAndLeavesTheLoadedOneAsItWas) {
  const std::string good = WriteTen(3);
  OpenThroughMenu(good);
  const TForm1& w = Window();
  const DynArray<double> hullX = w.Acceleration[0];

  TempFolder other;
  struct Case {
    std::string name;
    std::string reasonPart;
  };
  RecordingBuilder shortFile(true);
  shortFile.PartialBlockBytes(1000);
  const Case cases[] = {
      {WriteRecordingFolder(other, shortFile, SensitivityTextBuilder(true).Build(), "short.DAT"),
       "1000 bytes"},
      {WriteRecordingFolder(other, TenChannelRecording(4),
                            SensitivityTextBuilder(true).Code(1, 0).Build(), "zero.DAT"),
       "\"" + other.File("S2.txt") +
           "\" gives channel \"Hull Y\" a sensitivity of 0, so the recording was not opened"},
  };
  for (const Case& c : cases) {
    desktop.Messages.clear();
    OpenThroughMenu(c.name);
    ASSERT_EQ(desktop.Messages.size(), 1u) << c.name;
    EXPECT_EQ(desktop.Messages[0].Caption, "Error");
    EXPECT_NE(desktop.Messages[0].Text.find(c.reasonPart), std::string::npos)
        << desktop.Messages[0].Text;
    EXPECT_EQ(w.OpenedFileName, good);
    EXPECT_EQ(w.DataFileName, good);
    // The save commands go on with the recording shown, not with the refused one.
    const std::string copy = other.File("copy.DAT");
    desktop.AnswerWith(copy);
    w.SavenoGPS1->UserClick();
    EXPECT_EQ(desktop.Messages.size(), 1u) << desktop.Messages.back().Text;
    EXPECT_EQ(std::filesystem::file_size(copy), std::filesystem::file_size(good));
    EXPECT_EQ(w.Chart1->TitleLines()[0].rfind(good, 0), 0u);
    EXPECT_EQ(w.SampleCount, 1200u);
    EXPECT_TRUE(w.Acceleration[0].SharesStorageWith(hullX));
    EXPECT_TRUE(w.Chart1->GetLineSeries(0)->YValues.Value.SharesStorageWith(hullX));
  }
}

TEST_F(OpenCommand, LoadingTheSameFileTwiceGivesTheSameState) {
  const std::string name = WriteTen(5);
  OpenThroughMenu(name);
  const TForm1& w = Window();
  const std::vector<double> first(w.Acceleration[2].data(),
                                  w.Acceleration[2].data() + w.SampleCount);
  const ImpactTable counts = w.ImpactCounts;
  const std::string title = w.Chart1->TitleLines()[0];

  OpenThroughMenu(name);
  EXPECT_EQ(std::vector<double>(w.Acceleration[2].data(), w.Acceleration[2].data() + w.SampleCount),
            first);
  EXPECT_EQ(w.ImpactCounts, counts);
  EXPECT_EQ(w.Chart1->TitleLines()[0], title);
  EXPECT_EQ(w.SampleCount, 2400u);
}

// The bits of a value, so that -0.0 and +0.0 differ.
std::uint64_t Bits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Counts 20 and 10 m/s² either side of the zero level and on it, in a pattern whose mean over
// whole blocks is the zero level itself: every sample's sign shows, and some sit on the zero
// level, where only the sign bit tells an inverted sample from an uninverted one.
std::uint32_t CountsAroundTheZeroLevel(std::int64_t sample) {
  return static_cast<std::uint32_t>(ZeroLevel + (sample % 5 - 2) * 10 * 660);
}

// The load unticks the boxes in its own order, and each handler runs at that moment on the
// previous recording's arrays with the new recording's sensitivities. The next recording is
// much longer than the previous arrays: a handler that ran with its sample count on an array
// the six-channel layout keeps (Nav. y) would stop the load.
TEST_F(OpenCommand, UntickingRunsTheHandlersInTheLoadsOrderOnThePreviousArrays) {
  struct Case {
    bool nextTenChannels;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {true, {"CBSpeed", "CBHullX", "CBNavigatorY", "CheckBox1", "CheckBox8"}},
      {false, {"CBSpeed", "CBHullX", "CheckBox1", "CBNavigatorY", "CheckBox8"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nextTenChannels);
    TempFolder first, second;
    RecordingBuilder previous = TenChannelRecording(3);
    previous.Counts(0, CountsAroundTheZeroLevel).Counts(7, CountsAroundTheZeroLevel);
    OpenThroughMenu(WriteRecordingFolder(first, previous, SensitivityTextBuilder(true).Build()));
    TForm1& w = Window();
    const std::array<CheckBox*, 5> boxes = {w.CBSpeed, w.CBHullX, w.CBNavigatorY, w.CheckBox1,
                                            w.CheckBox8};
    for (CheckBox* box : boxes) {
      box->UserClick();
      ASSERT_TRUE(box->Checked()) << box->Name();
    }
    // The next recording gives Hull X half the sensitivity, 330 counts per m/s²; Nav. y keeps
    // its 660 (a six-channel sensitivity file has no code for it).
    struct InvertedSlot {
      int slot;
      double nextSensitivity;
      DynArray<double> previousTrace;
      DynArray<std::uint32_t> previousCounts;
      double previousOffset;
    };
    std::vector<InvertedSlot> invertedSlots;
    for (const auto& [slot, sensitivity] : {std::pair(0, 330.0), std::pair(7, 660.0)}) {
      invertedSlots.push_back(
          {slot, sensitivity, w.Acceleration[slot], w.RawSamples[slot], w.ChannelOffset[slot]});
    }
    const std::uint32_t previousSampleCount = w.SampleCount;

    std::vector<std::string> unticked;
    std::vector<int> ids;
    for (CheckBox* box : boxes) {
      ids.push_back(box->Subscribe([box, &unticked, wasChecked = true]() mutable {
        if (wasChecked && !box->Checked()) unticked.push_back(box->Name());
        wasChecked = box->Checked();
      }));
    }
    const RecordingBuilder next =
        c.nextTenChannels ? TenChannelRecording(14) : SixChannelRecording(14);
    OpenThroughMenu(WriteRecordingFolder(
        second, next, SensitivityTextBuilder(c.nextTenChannels).Code(0, 3300).Build()));
    EXPECT_TRUE(desktop.Messages.empty()) << desktop.Messages.front().Text;
    EXPECT_EQ(w.SampleCount, 7800u);
    EXPECT_EQ(w.Chart1->GetLineSeries(0)->YValues.Count, 7800u);
    EXPECT_EQ(unticked, c.order);

    // The "Invert" boxes' handlers rewrote the previous arrays, uninverted.
    for (const InvertedSlot& inverted : invertedSlots) {
      for (std::uint32_t n = 0; n < previousSampleCount; ++n) {
        const double expected =
            (inverted.previousOffset - inverted.previousCounts[n]) / inverted.nextSensitivity;
        if (Bits(inverted.previousTrace[n]) == Bits(expected)) continue;
        ADD_FAILURE() << "slot " << inverted.slot << ", sample " << n << ": "
                      << inverted.previousTrace[n] << " instead of " << expected;
        break;
      }
    }
    EXPECT_EQ(w.Chart1->LeftAxis().Title(), "Acceleration [m/s2]");
    EXPECT_FALSE(w.Chart1->GetSeries(10)->Active());
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->Unsubscribe(ids[i]);
  }
}

// Every array of the recording as the window holds it, copied so that the test keeps it alive
// and can count who else still does.
struct HeldArrays {
  std::vector<DynArray<double>> Doubles;
  std::vector<DynArray<std::uint32_t>> Counts;
};

HeldArrays HoldEveryArray(const TForm1& w) {
  HeldArrays held;
  for (int slot = 0; slot < SlotCount; ++slot) {
    held.Doubles.push_back(w.Acceleration[slot]);
    held.Doubles.push_back(w.FilteredAcceleration[slot]);
    held.Counts.push_back(w.RawSamples[slot]);
  }
  held.Doubles.push_back(w.SampleIndex);
  held.Doubles.push_back(w.Chart1->GetLineSeries(10)->XValues.Value);
  held.Doubles.push_back(w.Chart1->GetLineSeries(10)->YValues.Value);
  return held;
}

// The first recording shown in full: every channel ticked and filtered, the speed shown.
void ShowEverything(TForm1& w) {
  w.CBSpeed->UserClick();
  for (int slot = 0; slot < SlotCount; ++slot) w.ChannelBox(slot)->UserClick();
  w.RadioGroup1->UserChoose(1);
}

// The window holds no array of `held` but those of the slots 6 to 9 that a six-channel load
// keeps.
void ExpectOnlyTheKeptSlotsRemain(const TForm1& w, const HeldArrays& held, bool sixChannelLoad) {
  for (int slot = 0; slot < SlotCount; ++slot) {
    SCOPED_TRACE(slot);
    const bool kept = sixChannelLoad && slot >= 6;
    const DynArray<double>& acceleration = held.Doubles[2 * slot];
    const DynArray<double>& filtered = held.Doubles[2 * slot + 1];
    // The test's copy, and the state's when the slot is kept; no series holds them.
    EXPECT_EQ(acceleration.UseCount(), kept ? 2 : 1);
    EXPECT_EQ(filtered.UseCount(), kept ? 2 : 1);
    EXPECT_EQ(held.Counts[slot].UseCount(), kept ? 2 : 1);
    EXPECT_EQ(w.Acceleration[slot].SharesStorageWith(acceleration), kept);
    EXPECT_EQ(w.FilteredAcceleration[slot].SharesStorageWith(filtered), kept);
  }
  for (std::size_t i = 2 * SlotCount; i < held.Doubles.size(); ++i) {
    EXPECT_EQ(held.Doubles[i].UseCount(), 1) << "sample index and speed arrays, " << i;
  }
}

// One recording at a time: once the reset has run, the load lets go of everything of the
// previous recording that it replaces, including what hidden series still held.
TEST_F(OpenCommand, AReopenKeepsNothingOfThePreviousRecordingButTheSlotsASixChannelLoadKeeps) {
  for (const bool nextTenChannels : {true, false}) {
    SCOPED_TRACE(nextTenChannels);
    OpenThroughMenu(WriteTen(3));
    TForm1& w = Window();
    ShowEverything(w);
    const HeldArrays held = HoldEveryArray(w);

    OpenThroughMenu(nextTenChannels ? WriteTen(4, "R0413.DAT") : WriteSix(4));
    ASSERT_TRUE(desktop.Messages.empty());
    ExpectOnlyTheKeptSlotsRemain(w, held, !nextTenChannels);

    // The series the load does not bind hold no array until they are bound again.
    for (int index = 0; index <= 20; ++index) {
      const bool boundByTheLoad = index == 10 || index < w.LayoutSlotCount();
      if (boundByTheLoad) continue;
      const LineSeries* series = w.Chart1->GetLineSeries(index);
      EXPECT_EQ(series->XValues.Count + series->YValues.Count, 0u) << index;
      EXPECT_TRUE(series->XValues.Value.Empty() && series->YValues.Value.Empty()) << index;
    }
  }
}

// Every shown line series holds the loaded recording's arrays with the bound point count.
void ExpectShownSeriesHoldTheLoadedRecording(const TForm1& w) {
  int shown = 0;
  for (int index = 0; index <= 20; ++index) {
    const LineSeries& series = *w.Chart1->GetLineSeries(index);
    if (!series.Active()) continue;
    ++shown;
    SCOPED_TRACE(index);
    if (index == 10) {
      EXPECT_EQ(series.XValues.Count, w.SampleCount / 600);
      EXPECT_GE(series.YValues.Value.Length(), series.YValues.Count);
      continue;
    }
    const int slot = index < 10 ? index : index - 11;
    const DynArray<double>& y = index < 10 ? w.Acceleration[slot] : w.FilteredAcceleration[slot];
    EXPECT_EQ(series.XValues.Count, w.PlotCount);
    EXPECT_EQ(series.YValues.Count, w.PlotCount);
    EXPECT_TRUE(series.XValues.Value.SharesStorageWith(w.SampleIndex));
    EXPECT_TRUE(series.YValues.Value.SharesStorageWith(y));
  }
  EXPECT_GT(shown, 0);
}

// Every way of showing a series after a reopen shows the new recording, never an emptied list
// nor one of the previous recording.
TEST_F(OpenCommand, EveryWayOfShowingASeriesAfterAReopenShowsTheNewRecording) {
  for (const bool nextTenChannels : {true, false}) {
    SCOPED_TRACE(nextTenChannels);
    OpenThroughMenu(WriteTen(3));
    TForm1& w = Window();
    ShowEverything(w);
    w.Button1->UserClick();
    OpenThroughMenu(nextTenChannels ? WriteTen(4, "R0413.DAT") : WriteSix(4));

    const auto visitImpacts = [&] {
      w.PageControl1->UserSelect(w.TabSheet2);
      w.PageControl1->UserSelect(w.TabSheet1);
    };
    const struct {
      const char* Name;
      std::function<void()> Act;
    } steps[] = {
        {"speed box", [&] { w.CBSpeed->UserClick(); }},
        {"channel boxes",
         [&] {
           w.CBHullX->UserClick();
           w.CBPilotZ->UserClick();
         }},
        {"invert", [&] { w.CheckBox1->UserClick(); }},
        {"cut-off", [&] { w.RadioGroup1->UserChoose(2); }},
        {"box ticked with a filter", [&] { w.CBHullY->UserClick(); }},
        {"ICI and back with a filter", visitImpacts},
        {"clear filter", [&] { w.Button1->UserClick(); }},
        {"ICI and back", visitImpacts},
    };
    for (const auto& step : steps) {
      SCOPED_TRACE(step.Name);
      step.Act();
      ExpectShownSeriesHoldTheLoadedRecording(w);
    }
    EXPECT_TRUE(desktop.Messages.empty());
  }
}

// The whole file is read only once the previous recording is gone. When it can no longer be
// read in full then, one message names the file, and the window holds no recording: the
// commands go on over no samples.
TEST_F(OpenCommand, AFileThatShrinksBeforeItIsReadLeavesAWindowWithoutARecording) {
  OpenThroughMenu(WriteTen(3));
  TForm1& w = Window();
  ShowEverything(w);
  const HeldArrays held = HoldEveryArray(w);

  TempFolder other;
  const std::string next = WriteRecordingFolder(other, TenChannelRecording(3), std::nullopt);
  desktop.WhileMessageShown = [&](const std::string&) {
    std::filesystem::resize_file(next, 30000);
  };
  OpenThroughMenu(next);
  desktop.WhileMessageShown = nullptr;

  ASSERT_EQ(desktop.Messages.size(), 2u);
  EXPECT_EQ(desktop.Messages[0].Caption, "Get data");
  EXPECT_EQ(desktop.Messages[1].Text,
            "\"" + next + "\" cannot be read in full: it ended after 30000 of 72048 bytes");
  EXPECT_EQ(desktop.Messages[1].Caption, "Error");
  ExpectOnlyTheKeptSlotsRemain(w, held, false);
  EXPECT_EQ(w.SampleCount, 0u);
  EXPECT_EQ(w.PlotCount, 0u);
  for (int index = 0; index <= 20; ++index) EXPECT_FALSE(w.Chart1->GetSeries(index)->Active());
  EXPECT_TRUE(w.CBSpeed->Enabled());
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_TRUE(w.ChannelBox(slot)->Enabled());

  desktop.Messages.clear();
  ShowEverything(w);
  w.PageControl1->UserSelect(w.TabSheet2);
  w.PageControl1->UserSelect(w.TabSheet1);
  w.Button1->UserClick();
  w.CheckBox1->UserClick();
  EXPECT_TRUE(desktop.Messages.empty());

  const std::string good = WriteTen(3, "R0413.DAT");
  OpenThroughMenu(good);
  EXPECT_EQ(w.SampleCount, 1200u);
  EXPECT_EQ(w.DataFileName, good);
}

// A load must fit into the memory available plus what the previous recording gives back:
// the file (72048 or 43248 bytes), 12 B per sample and channel, the 8 B sample index and 16 B
// per speed point; the previous recording gives back the same for each slot it replaces, with
// 8 B per filtered sample. Below that, one message and nothing changes.
TEST_F(OpenCommand, ALoadThatCannotFitIsRefusedBeforeAnythingChanges) {
  constexpr std::uint64_t Index = 1200 * 8 + 2 * 16;  // sample index and speed points
  constexpr std::uint64_t TenNeeds = 72048 + 10 * 12 * 1200 + Index;
  constexpr std::uint64_t SixNeeds = 43248 + 6 * 12 * 1200 + Index;
  // Hull X and Nav. y are filtered: a six-channel load keeps Nav. y.
  constexpr std::uint64_t TenGivesBack = 10 * 12 * 1200 + 2 * 8 * 1200 + Index;
  constexpr std::uint64_t SixGivesBack = 6 * 12 * 1200 + 8 * 1200 + Index;
  const struct {
    bool NextTenChannels;
    std::uint64_t Available;
    bool Fits;
  } cases[] = {
      {true, TenNeeds - TenGivesBack, true},
      {true, TenNeeds - TenGivesBack - 1, false},
      {false, SixNeeds - SixGivesBack, true},
      {false, SixNeeds - SixGivesBack - 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Available);
    SetAvailableMemorySource({});
    const std::string first = WriteTen(3);
    OpenThroughMenu(first);
    TForm1& w = Window();
    w.CBHullX->UserClick();
    w.CBNavigatorY->UserClick();
    w.RadioGroup1->UserChoose(1);
    const DynArray<double> hullX = w.Acceleration[0];
    desktop.Messages.clear();

    // Without its "S2.txt", so that a refusal shows before the question of the settings.
    TempFolder other;
    const std::string next = WriteRecordingFolder(
        other, c.NextTenChannels ? TenChannelRecording(3) : SixChannelRecording(3), std::nullopt);
    SetAvailableMemory(c.Available);
    OpenThroughMenu(next);

    ASSERT_EQ(desktop.Messages.size(), 1u);
    if (c.Fits) {
      EXPECT_EQ(desktop.Messages[0].Caption, "Get data");
      EXPECT_EQ(w.DataFileName, next);
      continue;
    }
    EXPECT_EQ(desktop.Messages[0].Text,
              "\"" + next + "\" cannot be loaded: it needs 1 MB of memory, and 0 MB are available");
    EXPECT_EQ(desktop.Messages[0].Caption, "Error");
    EXPECT_EQ(w.DataFileName, first);
    EXPECT_EQ(w.Chart1->TitleLines()[0].rfind(first, 0), 0u);
    EXPECT_TRUE(w.TenChannels);
    EXPECT_EQ(w.SampleCount, 1200u);
    EXPECT_TRUE(w.Acceleration[0].SharesStorageWith(hullX));
    EXPECT_TRUE(w.CBHullX->Checked() && w.CBNavigatorY->Checked());
    EXPECT_EQ(w.RadioGroup1->ItemIndex(), 1);
    EXPECT_TRUE(w.Chart1->GetSeries(11)->Active());
    EXPECT_TRUE(
        w.Chart1->GetLineSeries(11)->YValues.Value.SharesStorageWith(w.FilteredAcceleration[0]));
  }
}

}  // namespace
