#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "platform/application.h"
#include "platform/available_memory.h"
#include "support/scripted_desktop.h"

// Starts the main window headless on a scripted desktop, the way the program creates it.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application_ = std::make_unique<Application>(desktop, "tavro-x");
    application_->CreateForm(Form1);
  }
  void TearDown() override {
    EXPECT_TRUE(desktop.UnusedAnswers.empty())
        << "an action ended without the file dialog its answer was scripted for, first: \""
        << desktop.UnusedAnswers.front() << "\"";
    application_.reset();
    Form1 = nullptr;
    SetAvailableMemorySource({});
  }

  TForm1& Window() { return *Form1; }
  Application& App() { return *application_; }

  // "&Open..." as a person chooses it, confirming `fileName` in the dialog.
  void OpenThroughMenu(const std::string& fileName) {
    desktop.AnswerWith(fileName);
    Window().Open1->UserClick();
  }

  // From here on the system says that `bytes` of memory are available.
  static void SetAvailableMemory(std::uint64_t bytes) {
    SetAvailableMemorySource([bytes] { return std::optional<std::uint64_t>(bytes); });
  }

  ScriptedDesktop desktop;

 private:
  std::unique_ptr<Application> application_;
};
