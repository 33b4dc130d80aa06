#include "app/program_start.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <sys/resource.h>

#include "app/main_window.h"
#include "platform/application.h"
#include "recording/recording_error.h"
#include "recording/safe_file_write.h"
#include "support/recording_builder.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

struct ProgramRun : ::testing::Test {
  void TearDown() override { Form1 = nullptr; }
  ScriptedDesktop desktop;
};

TEST_F(ProgramRun, ShowsTheMainWindowAndEndsWithZeroOnExit) {
  Application application(desktop, "tavro-x");
  desktop.Session = [&] {
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(application.MainForm(), Form1);
    Form1->Exit2->UserClick();
  };
  EXPECT_EQ(RunProgram(application), 0);
  EXPECT_EQ(desktop.LoopRuns, 1);
  EXPECT_EQ(desktop.EndLoopCount, 1);
  EXPECT_TRUE(application.MainFormOnTaskBar);
  EXPECT_TRUE(desktop.Messages.empty());
}

TEST_F(ProgramRun, AnExceptionThatEscapesTheLoopIsShownAndTheExitCodeStaysZero) {
  struct Case {
    std::function<void()> thrower;
    const char* shown;
  };
  const Case cases[] = {
      {[] { throw Exception("Broken stream"); }, "Broken stream."},
      {[] { throw std::runtime_error("not ours"); }, ""},
      {[] { throw 7; }, ""},
  };
  for (const Case& c : cases) {
    ScriptedDesktop local;
    Application application(local, "tavro-x");
    local.Session = c.thrower;
    EXPECT_EQ(RunProgram(application), 0);
    ASSERT_EQ(local.Messages.size(), 1u);
    EXPECT_EQ(local.Messages[0].Text, c.shown);
    EXPECT_EQ(local.Messages[0].Caption, "tavro-x");
    Form1 = nullptr;
  }
}

// A save past the file size limit (ulimit -f) fails as a full disk does, and the program goes
// on: left to the kernel's signal, the write would end this whole test program.
TEST(ProgramStart, ASavePastTheFileSizeLimitFailsAndTheProgramGoesOn) {
  struct sigaction before {};
  ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &before), 0);
  LetWritesFailPastTheFileSizeLimit();
  TempFolder folder;
  const std::string path = folder.File("R0412.DAT");
  WriteTextToFile(path, "the recording");
  rlimit oldLimit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
  rlimit limit = oldLimit;
  limit.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  std::string message;
  try {
    // With progress, as a save writes: on a thread of its own.
    WriteFileSafely(path, std::string(8192, 'x'), [](double) {});
  } catch (const RecordingError& error) {
    message = error.Message();
  }
  ::setrlimit(RLIMIT_FSIZE, &oldLimit);
  ::sigaction(SIGXFSZ, &before, nullptr);

  EXPECT_EQ(message, "\"" + path + "\" cannot be written: File too large");
  EXPECT_EQ(std::filesystem::file_size(path), std::string("the recording").size());
}

}  // namespace
