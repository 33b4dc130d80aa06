#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
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
       "Hull Y"},
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

// The load unticks the boxes in its own order, and each handler runs at that moment on the
// previous recording's arrays with the new recording's sensitivities.
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
    OpenThroughMenu(
        WriteRecordingFolder(first, TenChannelRecording(3), SensitivityTextBuilder(true).Build()));
    TForm1& w = Window();
    const std::array<CheckBox*, 5> boxes = {w.CBSpeed, w.CBHullX, w.CBNavigatorY, w.CheckBox1,
                                            w.CheckBox8};
    for (CheckBox* box : boxes) {
      box->UserClick();
      ASSERT_TRUE(box->Checked()) << box->Name();
    }
    const DynArray<double> previousHullX = w.Acceleration[0];
    const DynArray<std::uint32_t> previousCounts = w.RawSamples[0];
    const double previousOffset = w.ChannelOffset[0];

    std::vector<std::string> unticked;
    std::vector<int> ids;
    for (CheckBox* box : boxes) {
      ids.push_back(box->Subscribe([box, &unticked, wasChecked = true]() mutable {
        if (wasChecked && !box->Checked()) unticked.push_back(box->Name());
        wasChecked = box->Checked();
      }));
    }
    // The next recording gives Hull X half the sensitivity: 330 counts per m/s².
    const RecordingBuilder next =
        c.nextTenChannels ? TenChannelRecording(3) : SixChannelRecording(3);
    OpenThroughMenu(WriteRecordingFolder(
        second, next, SensitivityTextBuilder(c.nextTenChannels).Code(0, 3300).Build()));
    EXPECT_EQ(unticked, c.order);

    // CheckBox1's handler rewrote the previous array, uninverted, with the new sensitivity.
    for (std::uint32_t n = 0; n < 1200; n += 97) {
      const double expected = (previousOffset - previousCounts[n]) / 330.0;
      EXPECT_EQ(previousHullX[n], expected > 250.0 || expected < -250.0 ? 0.0 : expected) << n;
    }
    EXPECT_EQ(w.Chart1->LeftAxis().Title(), "Acceleration [m/s2]");
    EXPECT_FALSE(w.Chart1->GetSeries(10)->Active());
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->Unsubscribe(ids[i]);
  }
}

}  // namespace
