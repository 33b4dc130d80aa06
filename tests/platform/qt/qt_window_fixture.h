#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/qt/form_view.h"
#include "platform/qt/scripted_qt_desktop.h"
#include "support/recording_builder.h"
#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"

// The main window on the Qt desktop, shown offscreen, as the program makes it.
class QtWindowTest : public ::testing::Test {
 protected:
  explicit QtWindowTest(PrintTarget printTarget = {}) : desktop(std::move(printTarget)) {}

  void SetUp() override {
    application_ = std::make_unique<Application>(desktop, "tavro-x");
    application_->CreateForm(Form1);
    view_ = &desktop.ShowForm(*Form1);
    QApplication::processEvents();
  }
  void TearDown() override {
    desktop.CloseForm();
    application_.reset();
    Form1 = nullptr;
  }

  TForm1& Window() { return *Form1; }
  FormView& View() { return *view_; }
  template <typename W>
  W* WidgetOf(const Control* control) {
    return dynamic_cast<W*>(view_->WidgetOf(*control));
  }

  // A ten-channel recording of a few seconds with impacts on every slot, opened through the
  // menu; returns its file name.
  std::string OpenRecording() {
    RecordingBuilder recording(true);
    recording.Blocks(6);
    for (int slot = 0; slot < SlotCount; ++slot) {
      for (int impact = 0; impact < 20; ++impact) {
        recording.Pulse(slot, 100 + impact * 150, 25.0 + 10.0 * impact, 660.0F,
                        RecordingBuilder::DefaultCount);
      }
    }
    const std::string name =
        WriteRecordingFolder(folder, recording, SensitivityTextBuilder(true).Build());
    desktop.Answers.push_back(name);
    Window().Open1->UserClick();
    QApplication::processEvents();
    return name;
  }

  // The menu bar's action with the text, on the bar or in one of its menus.
  QAction* MenuAction(const QString& text) {
    for (QAction* action : view_->menuBar()->actions()) {
      if (action->text() == text) return action;
      if (action->menu() == nullptr) continue;
      for (QAction* item : action->menu()->actions()) {
        if (item->text() == text) return item;
      }
    }
    return nullptr;
  }

  ScriptedQtDesktop desktop;
  TempFolder folder;

 private:
  std::unique_ptr<Application> application_;
  FormView* view_ = nullptr;
};
