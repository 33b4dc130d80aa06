#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

// A desktop for tests: file dialogs answer from a queue, and everything the program shows
// or asks for is recorded. The answers belong to the person's next action: those it leaves
// unused go with its end into UnusedAnswers, so that they cannot answer a later dialog.
class ScriptedDesktop : public Desktop {
 public:
  struct Message {
    std::string Text;
    std::string Caption;
    bool IsError = false;
    bool WhileBusy = false;
  };
  struct DialogCall {
    bool IsSave = false;
    std::string Filter;
    int FilterIndex = 0;
    std::string OfferedName;
    std::string InitialDir;
    bool WhileBusy = false;
  };

  // The next file dialog confirms this name.
  void AnswerWith(const std::string& fileName) { answers_.push_back(fileName); }
  // The next file dialog is cancelled.
  void AnswerCancel() { answers_.push_back(std::nullopt); }
  // Answers that the action they were given for never asked for ("" for a cancel).
  std::vector<std::string> UnusedAnswers;
  // What the message loop does once it runs (the user's actions); it then returns.
  std::function<void()> Session;
  // Runs while a message box is open, to look at the program's state at that moment.
  std::function<void(const std::string& text)> WhileMessageShown;
  // Runs at every report of long work, to look at the program's state between two slices.
  std::function<void(double fractionDone)> WhileProgressShown;

  std::vector<Message> Messages;
  std::vector<DialogCall> Dialogs;
  std::vector<std::string> SavedBitmaps;
  // Every report of long work, each with whether an action was running.
  struct ProgressReport {
    double FractionDone = 0.0;
    bool WhileBusy = false;
  };
  std::vector<ProgressReport> Progress;
  int PrintCount = 0;
  int EndLoopCount = 0;
  int LoopRuns = 0;

  void ShowMessage(const std::string& text, const std::string& caption) override;
  void ShowError(const std::string& text, const std::string& caption) override;
  bool ExecuteFileDialog(FileDialog& dialog) override;
  void SaveChartToBitmap(const Chart& chart, const std::string& fileName) override;
  void PrintChartLandscape(const Chart& chart, const std::string& documentFile) override;
  void RunMessageLoop(Form& mainForm) override;
  void EndMessageLoop() override { ++EndLoopCount; }
  void ShowBusy(bool busy) override;
  void ShowProgress(double fractionDone) override;
  bool Busy() const { return busy_; }

 private:
  std::deque<std::optional<std::string>> answers_;
  bool busy_ = false;
};
