#pragma once

#include <string>

class Chart;
class FileDialog;
class Form;

// Everything the program asks of the desktop it runs on. The Qt front-end implements it;
// tests use a scripted double.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // A modal box with the text, the caption and one OK button, owned by no window; returns
  // when it has been closed.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // As ShowMessage, with the error icon.
  virtual void ShowError(const std::string& text, const std::string& caption) = 0;
  // Shows the dialog; on a confirmed name stores it in the dialog's FileName and returns true.
  // A save dialog asks before it confirms the name of a file that exists: a person who says
  // no is back in the dialog.
  virtual bool ExecuteFileDialog(FileDialog& dialog) = 0;
  // Told by the dispatch when it starts and when it ends handling a person's action. While it
  // is busy, the desktop shows so, except while a message box or a dialog waits for the person.
  // A request to close the window that comes in while it is busy, at any point of the action,
  // closes the window once the action has ended.
  virtual void ShowBusy(bool busy) = 0;
  // Told by long work, between its slices, how much of the current action is done (0 to 1).
  // Here the desktop may show the progress and let the window answer: it repaints and answers
  // the desktop's own messages, while every input of the person is dropped until the action
  // ends. The charts keep showing what they showed before the action.
  virtual void ShowProgress(double fractionDone) = 0;
  // Writes the chart, at its size on screen and on a white background, as a Windows bitmap.
  virtual void SaveChartToBitmap(const Chart& chart, const std::string& fileName) = 0;
  // Prints the chart as one landscape page on the current printer, inside its print margins,
  // as a job that a print queue lists under the name of `documentFile`.
  virtual void PrintChartLandscape(const Chart& chart, const std::string& documentFile) = 0;
  // Shows the main window and handles the user's actions until EndMessageLoop.
  virtual void RunMessageLoop(Form& mainForm) = 0;
  // Lets the message loop finish once the current action has been handled.
  virtual void EndMessageLoop() = 0;
};
