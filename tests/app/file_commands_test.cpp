#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "recording/position_text.h"
#include "recording/route_free_copy.h"
#include "support/recording_builder.h"
#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"
#include "support/window_fixture.h"

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

std::string AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> RouteFreeCopyOf(const std::vector<std::uint8_t>& recording) {
  const FileBytes copy = RouteFreeCopy(ToFileBytes(recording));
  return std::vector<std::uint8_t>(copy.data(), copy.data() + copy.Size());
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

RecordingBuilder TripRecording() {
  RecordingBuilder builder(true);
  builder.Blocks(4).PartialBlockBytes(3000).Position(10.5f, 59.9f).RouteWord(0x1234).Speed(87);
  return builder;
}

class FileCommands : public WindowTest {
 protected:
  // Writes the trip recording with its "S2.txt" and loads it through the menu.
  std::string LoadTrip() {
    recording = TripRecording().Build();
    const std::string name = folder.File("R0412.DAT");
    WriteBytesToFile(name, recording);
    WriteTextToFile(folder.File("S2.txt"), SensitivityTextBuilder(true).Build());
    OpenThroughMenu(name);
    EXPECT_TRUE(desktop.Messages.empty());
    return name;
  }

  // A save command as a person chooses it, confirming `fileName` (or cancelling).
  void Save(MenuItem* command, const std::string& fileName) {
    desktop.AnswerWith(fileName);
    command->UserClick();
  }

  TempFolder folder;
  std::vector<std::uint8_t> recording;
};

TEST_F(FileCommands, HelpAndExitWorkFromTheStart) {
  Window().About->UserClick();
  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_EQ(desktop.Messages[0].Text, "SW 01.03.00.");
  EXPECT_EQ(desktop.Messages[0].Caption, "Tavro");
  EXPECT_FALSE(desktop.Messages[0].IsError);

  Window().Exit2->UserClick();
  EXPECT_EQ(desktop.EndLoopCount, 1);
  EXPECT_TRUE(App().Terminated());
}

TEST_F(FileCommands, TheGreyedCommandsDoNothingUntilALoadEnablesThem) {
  TForm1& w = Window();
  for (MenuItem* command : {w.SaveGPSdata1, w.SavenoGPS1, w.SaveBmp1, w.Print}) {
    command->UserClick();
  }
  EXPECT_TRUE(desktop.Dialogs.empty());
  EXPECT_EQ(desktop.PrintCount, 0);

  LoadTrip();
  w.Print->UserClick();
  EXPECT_EQ(desktop.PrintCount, 1);
  Save(w.SaveBmp1, folder.File("chart"));
  EXPECT_EQ(desktop.SavedBitmaps, std::vector<std::string>{folder.File("chart")});
  Save(w.SavenoGPS1, folder.File("copy"));
  Save(w.SaveGPSdata1, folder.File("positions"));
  EXPECT_EQ(NamesIn(folder.Path()),
            (std::set<std::string>{"R0412.DAT", "S2.txt", "copy", "positions"}));
  EXPECT_TRUE(desktop.Messages.empty());
}

// The three save commands share one dialog: each sets its own filter and the first filter
// entry right before the dialog opens, and the dialog offers the name chosen last. Until a name
// is chosen it starts in the recording's folder.
TEST_F(FileCommands, EachSaveCommandSetsItsFilterAndTheLastNameIsOfferedAgain) {
  TForm1& w = Window();
  LoadTrip();
  const struct {
    MenuItem* Command;
    std::string Answer;
    const char* Filter;
  } steps[] = {
      {w.SaveBmp1, folder.File("chart.bmp"), "*.bmp|*.bmp"},
      {w.SavenoGPS1, folder.File("copy.DAT"), "*.DAT|*.DAT"},
      {w.SaveGPSdata1, folder.File("trip.txt"), "*.txt|*.txt"},
      {w.SaveBmp1, folder.File("again.bmp"), "*.bmp|*.bmp"},
  };
  std::string offered = w.SaveFileDialog->FileName;
  for (const auto& step : steps) {
    w.SaveFileDialog->FilterIndex = 2;
    Save(step.Command, step.Answer);
    const ScriptedDesktop::DialogCall& call = desktop.Dialogs.back();
    EXPECT_TRUE(call.IsSave);
    EXPECT_EQ(call.Filter, step.Filter);
    EXPECT_EQ(call.FilterIndex, 1) << step.Filter;
    EXPECT_EQ(call.OfferedName, offered);
    EXPECT_EQ(call.InitialDir, folder.Path() + "/");
    EXPECT_TRUE(call.WhileBusy);
    offered = step.Answer;
  }
  EXPECT_EQ(desktop.Dialogs.size(), 1 + std::size(steps));
}

TEST_F(FileCommands, CancelWritesNothing) {
  TForm1& w = Window();
  LoadTrip();
  const std::set<std::string> before = NamesIn(folder.Path());
  for (MenuItem* command : {w.SavenoGPS1, w.SaveGPSdata1, w.SaveBmp1}) {
    desktop.AnswerCancel();
    command->UserClick();
  }
  EXPECT_EQ(NamesIn(folder.Path()), before);
  EXPECT_TRUE(desktop.SavedBitmaps.empty());
  EXPECT_TRUE(desktop.Messages.empty());
  EXPECT_EQ(desktop.Dialogs.size(), 4u);
}

TEST_F(FileCommands, BothFilesComeFromTheRecordingWithItsPartialLastBlock) {
  TForm1& w = Window();
  LoadTrip();
  Save(w.SavenoGPS1, folder.File("copy.DAT"));
  Save(w.SaveGPSdata1, folder.File("trip.txt"));

  EXPECT_EQ(ReadBytes(folder.File("copy.DAT")), RouteFreeCopyOf(recording));
  const std::string line = "59.900002,10.500000\r\n";
  const std::string positions = AsText(ReadBytes(folder.File("trip.txt")));
  std::string expected;
  for (int block = 0; block < 5; ++block) expected += line;
  EXPECT_EQ(positions, expected);
  // A load leaves the last block out; the export does not.
  EXPECT_EQ(w.Chart1->GetLineSeries(10)->XValues.Count + 1, 5u);
}

// The commands read the file again: what is on disk now counts, with its own layout, and
// the recording's own name may be chosen for the result.
TEST_F(FileCommands, TheFileOnDiskIsReadAgainAndMayBeReplaced) {
  TForm1& w = Window();
  const std::string name = LoadTrip();
  const std::vector<std::uint8_t> sixChannels =
      RecordingBuilder(false).Blocks(3).PartialBlockBytes(20).Position(-3.5f, 61.0f).Build();
  WriteBytesToFile(name, sixChannels);

  Save(w.SavenoGPS1, name);
  EXPECT_EQ(ReadBytes(name), RouteFreeCopyOf(sixChannels));
  Save(w.SaveGPSdata1, name);
  std::string expected;
  for (int block = 0; block < 4; ++block) expected += "90.000000,180.000000\r\n";
  EXPECT_EQ(AsText(ReadBytes(name)), expected);
  EXPECT_TRUE(desktop.Messages.empty());
}

// Every failure is one message naming the file and the reason, and nothing is written. A
// recording that cannot be used is told before the dialog asks for a name.
TEST_F(FileCommands, AFailureIsToldAndWritesNothing) {
  TForm1& w = Window();
  const std::string name = LoadTrip();
  const std::string missing = folder.File("R0413.DAT");
  const std::string unreachable = folder.File("gone/out");
  const struct {
    const char* What;
    std::function<void()> Arrange;
    bool AsksForName;
    std::string Message;
  } cases[] = {
      {"an Open of a name that names no file", [&] { OpenThroughMenu(missing); }, false,
       "\"" + missing + "\" cannot be opened: No such file or directory"},
      {"the recording removed since the load", [&] { std::filesystem::remove(name); }, false,
       "\"" + name + "\" cannot be opened: No such file or directory"},
      {"the recording cut short of the layout probe",
       [&] { WriteBytesToFile(name, std::vector<std::uint8_t>(24019, 1)); }, false,
       "\"" + name + "\" is 24019 bytes long; a recording needs at least 24020 bytes"},
      {"a target in a missing folder", [] {}, true,
       "\"" + unreachable + "\" cannot be created: No such file or directory"},
  };
  for (const auto& c : cases) {
    for (MenuItem* command : {w.SavenoGPS1, w.SaveGPSdata1}) {
      SCOPED_TRACE(std::string(c.What) + ", " + command->Name());
      WriteBytesToFile(name, recording);
      w.OpenedFileName = name;
      c.Arrange();
      const std::set<std::string> before = NamesIn(folder.Path());
      const std::size_t dialogs = desktop.Dialogs.size();
      desktop.Messages.clear();
      desktop.AnswerWith(unreachable);
      command->UserClick();
      EXPECT_EQ(desktop.Dialogs.size(), dialogs + (c.AsksForName ? 1 : 0));
      // A command that stops before its dialog leaves its answer to no later dialog.
      EXPECT_EQ(desktop.UnusedAnswers.size(), c.AsksForName ? 0u : 1u);
      desktop.UnusedAnswers.clear();
      ASSERT_EQ(desktop.Messages.size(), 1u);
      EXPECT_EQ(desktop.Messages[0].Text, c.Message);
      EXPECT_EQ(desktop.Messages[0].Caption, "Error");
      EXPECT_TRUE(desktop.Messages[0].WhileBusy);
      EXPECT_EQ(NamesIn(folder.Path()), before);
    }
  }
}

// Each command reads the recording whole beside the loaded one, so the memory available must
// hold its 99064 bytes, and for the position text the widest line (97 bytes) for each of its
// five blocks. Below that, one message names the recording and the figures, before the
// dialog, and nothing is written.
TEST_F(FileCommands, ASaveThatCannotFitIsRefusedBeforeTheDialog) {
  TForm1& w = Window();
  const std::string name = LoadTrip();
  const std::string target = folder.File("saved");
  const struct {
    MenuItem* Command;
    std::uint64_t Needed;
    const char* CannotBeDone;
  } commands[] = {
      {w.SavenoGPS1, 99064, "cannot be saved without route data"},
      {w.SaveGPSdata1, 99064 + 5 * 97, "cannot be saved with GPS map data"},
  };
  for (const auto& c : commands) {
    for (const std::uint64_t available : {c.Needed, c.Needed - 1}) {
      SCOPED_TRACE(c.Command->Name() + " with " + std::to_string(available) + " bytes");
      std::filesystem::remove(target);
      const std::set<std::string> before = NamesIn(folder.Path());
      const std::size_t dialogs = desktop.Dialogs.size();
      desktop.Messages.clear();
      SetAvailableMemory(available);
      desktop.AnswerWith(target);
      c.Command->UserClick();
      if (available == c.Needed) {
        EXPECT_TRUE(desktop.Messages.empty());
        EXPECT_EQ(desktop.Dialogs.size(), dialogs + 1);
        EXPECT_TRUE(std::filesystem::exists(target));
        continue;
      }
      ASSERT_EQ(desktop.Messages.size(), 1u);
      EXPECT_EQ(desktop.Messages[0].Text, "\"" + name + "\" " + c.CannotBeDone +
                                              ": it needs 1 MB of memory, and 0 MB are available");
      EXPECT_EQ(desktop.Messages[0].Caption, "Error");
      EXPECT_EQ(desktop.Dialogs.size(), dialogs);
      EXPECT_EQ(desktop.UnusedAnswers, std::vector<std::string>{target});
      desktop.UnusedAnswers.clear();
      EXPECT_EQ(NamesIn(folder.Path()), before);
    }
  }
}

// Each action takes the answers scripted for it: what a stopped command leaves is set apart, and
// the next command's dialog gets its own answer.
TEST_F(FileCommands, AStoppedCommandsAnswerIsNotGivenToTheNextDialog) {
  TForm1& w = Window();
  const std::string name = LoadTrip();
  std::filesystem::remove(name);
  Save(w.SavenoGPS1, folder.File("lost.DAT"));
  EXPECT_EQ(desktop.UnusedAnswers, std::vector<std::string>{folder.File("lost.DAT")});
  desktop.UnusedAnswers.clear();

  WriteBytesToFile(name, recording);
  Save(w.SaveGPSdata1, folder.File("trip.txt"));
  EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"R0412.DAT", "S2.txt", "trip.txt"}));
  EXPECT_TRUE(desktop.UnusedAnswers.empty());
}

}  // namespace
