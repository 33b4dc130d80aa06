#pragma once

#include <QElapsedTimer>
#include <memory>

#include "platform/desktop.h"
#include "platform/qt/chart_output.h"

class ChartView;
class FormView;
class HeldClose;
class LongWork;

// Lets the window, its controls, the charts and their fonts follow the desktop's scale
// together: the form's positions are logical pixels, which a screen of finer pixels scales.
// Must run before the QApplication is made.
void FollowDesktopScale();

// The desktop on Qt: message boxes, file dialogs, the chart's bitmap and print-out, and the
// message loop showing the main form's window. Needs a QApplication.
class QtDesktop : public Desktop {
 public:
  explicit QtDesktop(PrintTarget printTarget = {});
  ~QtDesktop() override;

  void ShowMessage(const std::string& text, const std::string& caption) override;
  void ShowError(const std::string& text, const std::string& caption) override;
  bool ExecuteFileDialog(FileDialog& dialog) override;
  void SaveChartToBitmap(const Chart& chart, const std::string& fileName) override;
  void PrintChartLandscape(const Chart& chart, const std::string& documentFile) override;
  // Shows the form's window (made by ShowForm, or now) and runs the Qt loop until
  // EndMessageLoop or the window is closed; the window goes with the loop's end.
  void RunMessageLoop(Form& mainForm) override;
  void EndMessageLoop() override;
  // The wait cursor over every window of the program; a close of the window waits for the
  // action's end.
  void ShowBusy(bool busy) override;
  // The window answers between slices of long work; see LongWork.
  void ShowProgress(double fractionDone) override;

  // Makes the window of the form and shows it, without running the loop. The form must
  // outlive the window (CloseForm ends it early).
  FormView& ShowForm(Form& form);
  void CloseForm();
  FormView* View() const { return view_.get(); }

 private:
  ChartView& ViewOf(const Chart& chart) const;

  PrintTarget printTarget_;
  bool busy_ = false;
  std::unique_ptr<FormView> view_;
  // The time the current action has run since it started or a person answered it, and its
  // long part, from the first report of progress after that time grew long.
  QElapsedTimer actionTime_;
  std::unique_ptr<LongWork> work_;
  std::unique_ptr<HeldClose> heldClose_;
};
