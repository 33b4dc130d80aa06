#include "platform/qt/qt_desktop.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "platform/chart.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "platform/qt/chart_view.h"
#include "platform/qt/dialog_filter.h"
#include "platform/qt/form_view.h"
#include "platform/qt/qt_text.h"

namespace {

void ShowBox(QMessageBox::Icon icon, const std::string& text, const std::string& caption) {
  // No owner window, as the program's boxes have none.
  QMessageBox box(icon, ToQString(caption), ToQString(text), QMessageBox::Ok);
  box.exec();
}

}  // namespace

QtDesktop::QtDesktop(PrintTarget printTarget) : printTarget_(std::move(printTarget)) {}

QtDesktop::~QtDesktop() = default;

void QtDesktop::ShowMessage(const std::string& text, const std::string& caption) {
  ShowBox(QMessageBox::NoIcon, text, caption);
}

void QtDesktop::ShowError(const std::string& text, const std::string& caption) {
  ShowBox(QMessageBox::Critical, text, caption);
}

bool QtDesktop::ExecuteFileDialog(FileDialog& dialog) {
  const bool save = dialog.Kind() == FileDialogKind::Save;
  QFileDialog box(nullptr);
  box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Typed names are taken as they are, also the name of a file that does not exist: the
  // open command itself tells what such a name means.
  box.setFileMode(QFileDialog::AnyFile);
  // The program asks no overwrite question and adds no extension of its own.
  box.setOption(QFileDialog::DontConfirmOverwrite, true);
  box.setDefaultSuffix(QString());
  QStringList filters;
  for (const std::string& filter : QtNameFilters(dialog.Filter)) filters << ToQString(filter);
  if (!filters.isEmpty()) {
    box.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size()) {
      box.selectNameFilter(filters[dialog.FilterIndex - 1]);
    }
  }
  // The name chosen last is offered again.
  if (!dialog.FileName.empty()) box.selectFile(ToQString(dialog.FileName));
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
  dialog.FileName = ToStdString(box.selectedFiles().front());
  const int chosenFilter = filters.indexOf(box.selectedNameFilter());
  if (chosenFilter >= 0) dialog.FilterIndex = chosenFilter + 1;
  return true;
}

ChartView& QtDesktop::ViewOf(const Chart& chart) const {
  ChartView* view = view_ != nullptr ? view_->ChartViewOf(chart) : nullptr;
  if (view == nullptr) throw Exception("The chart \"" + chart.Name() + "\" is not on screen");
  view->FlushReplot();
  return *view;
}

void QtDesktop::SaveChartToBitmap(const Chart& chart, const std::string& fileName) {
  SavePlotAsBitmap(ViewOf(chart), ToQString(fileName));
}

void QtDesktop::PrintChartLandscape(const Chart& chart, const std::string& documentFile) {
  PrintPlotLandscape(ViewOf(chart), chart.Margins, printTarget_, ToQString(documentFile));
}

FormView& QtDesktop::ShowForm(Form& form) {
  if (view_ == nullptr || &view_->Model() != &form) view_ = std::make_unique<FormView>(form);
  view_->show();
  return *view_;
}

void QtDesktop::CloseForm() {
  view_.reset();
}

void QtDesktop::RunMessageLoop(Form& mainForm) {
  ShowForm(mainForm);
  QApplication::exec();
  CloseForm();
}

void QtDesktop::EndMessageLoop() {
  // The loop finishes the event it is handling, then returns.
  QCoreApplication::exit(0);
}
