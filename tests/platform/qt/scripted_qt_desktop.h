#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/qt/qt_desktop.h"

// The Qt desktop with its modal parts scripted: messages are recorded, file dialogs answer
// from a queue. Charts, printing and the window are the real ones.
class ScriptedQtDesktop : public QtDesktop {
 public:
  using QtDesktop::QtDesktop;

  void ShowMessage(const std::string& text, const std::string& caption) override {
    Messages.push_back(caption + ": " + text);
  }
  void ShowError(const std::string& text, const std::string& caption) override {
    Messages.push_back(caption + ": " + text);
  }
  bool ExecuteFileDialog(FileDialog& dialog) override {
    if (Answers.empty()) return false;
    dialog.FileName = Answers.front();
    Answers.pop_front();
    return true;
  }

  std::vector<std::string> Messages;
  std::deque<std::string> Answers;
};
