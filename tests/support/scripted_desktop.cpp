#include "support/scripted_desktop.h"

#include <stdexcept>

#include "platform/dialogs.h"

void ScriptedDesktop::ShowMessage(const std::string& text, const std::string& caption) {
  Messages.push_back({text, caption, false, busy_});
  if (WhileMessageShown) WhileMessageShown(text);
}

void ScriptedDesktop::ShowError(const std::string& text, const std::string& caption) {
  Messages.push_back({text, caption, true, busy_});
  if (WhileMessageShown) WhileMessageShown(text);
}

bool ScriptedDesktop::ExecuteFileDialog(FileDialog& dialog) {
  Dialogs.push_back({dialog.Kind() == FileDialogKind::Save, dialog.Filter, dialog.FilterIndex,
                     dialog.FileName, dialog.InitialDir, busy_});
  if (answers_.empty()) throw std::logic_error("test did not script an answer for a file dialog");
  std::optional<std::string> answer = answers_.front();
  answers_.pop_front();
  if (!answer) return false;
  dialog.FileName = *answer;
  return true;
}

void ScriptedDesktop::SaveChartToBitmap(const Chart&, const std::string& fileName) {
  SavedBitmaps.push_back(fileName);
}

void ScriptedDesktop::PrintChartLandscape(const Chart&, const std::string&) {
  ++PrintCount;
}

void ScriptedDesktop::RunMessageLoop(Form&) {
  ++LoopRuns;
  if (Session) Session();
}

void ScriptedDesktop::ShowProgress(double fractionDone) {
  Progress.push_back({fractionDone, busy_});
  if (WhileProgressShown) WhileProgressShown(fractionDone);
}

void ScriptedDesktop::ShowBusy(bool busy) {
  busy_ = busy;
  if (busy) return;
  for (const std::optional<std::string>& answer : answers_)
    UnusedAnswers.push_back(answer.value_or(""));
  answers_.clear();
}
