#include "app/program_start.h"

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "platform/application.h"
#include "support/scripted_desktop.h"

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

}  // namespace
