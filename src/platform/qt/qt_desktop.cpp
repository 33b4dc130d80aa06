#include "platform/qt/qt_desktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStringList>

#include "platform/chart.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "platform/qt/chart_view.h"
#include "platform/qt/dialog_filter.h"
#include "platform/qt/form_view.h"
#include "platform/qt/held_close.h"
#include "platform/qt/long_work.h"
#include "platform/qt/qt_text.h"

namespace {

// The width a window needs to show `caption` whole in its title bar. The window manager draws
// the title in a font of its own, often bold and larger, beside the window's icon and its
// buttons; a box as wide as its text alone would cut a caption such as "Tavro" to "T...".
int TitleBarWidth(const QString& caption) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.25);
  const QFontMetrics metrics(font);
  // The icon and up to three buttons, each about as wide as the bar is high.
  const int iconAndButtons = 4 * 2 * metrics.height();
  return metrics.horizontalAdvance(caption) + iconAndButtons;
}

// While a box or a dialog waits for the person, the cursor is the normal one and the input is
// theirs; the busy cursor is back when the program goes on with the action.
// The action's own time starts again after the wait.
class WaitingForPerson {
 public:
  WaitingForPerson(bool busy, LongWork* work, QElapsedTimer& actionTime)
      : busy_(busy), work_(work), actionTime_(actionTime) {
    if (busy_) QApplication::restoreOverrideCursor();
    if (work_ != nullptr) work_->Pause();
  }
  ~WaitingForPerson() {
    if (work_ != nullptr) work_->Resume();
    if (busy_) QApplication::setOverrideCursor(Qt::WaitCursor);
    actionTime_.restart();
  }
  WaitingForPerson(const WaitingForPerson&) = delete;
  WaitingForPerson& operator=(const WaitingForPerson&) = delete;

 private:
  bool busy_;
  LongWork* work_;
  QElapsedTimer& actionTime_;
};

void ShowBox(QMessageBox::Icon icon, const std::string& text, const std::string& caption, bool busy,
             LongWork* work, QElapsedTimer& actionTime) {
  // No owner window, as the program's boxes have none.
  QMessageBox box(icon, ToQString(caption), ToQString(text), QMessageBox::Ok);
  // The box sizes itself to its layout, so the room for the caption goes into the layout.
  if (auto* layout = qobject_cast<QGridLayout*>(box.layout())) {
    layout->addItem(new QSpacerItem(TitleBarWidth(box.windowTitle()), 0, QSizePolicy::Minimum),
                    layout->rowCount(), 0, 1, layout->columnCount());
  }
  const WaitingForPerson waiting(busy, work, actionTime);
  box.exec();
}

}  // namespace

void FollowDesktopScale() {
  QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
  QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
}

QtDesktop::QtDesktop(PrintTarget printTarget) : printTarget_(std::move(printTarget)) {}

QtDesktop::~QtDesktop() = default;

void QtDesktop::ShowMessage(const std::string& text, const std::string& caption) {
  ShowBox(QMessageBox::NoIcon, text, caption, busy_, work_.get(), actionTime_);
}

void QtDesktop::ShowError(const std::string& text, const std::string& caption) {
  ShowBox(QMessageBox::Critical, text, caption, busy_, work_.get(), actionTime_);
}

bool QtDesktop::ExecuteFileDialog(FileDialog& dialog) {
  const bool save = dialog.Kind() == FileDialogKind::Save;
  QFileDialog box(nullptr);
  box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Typed names are taken as they are, also the name of a file that does not exist: the
  // open command itself tells what such a name means.
  box.setFileMode(QFileDialog::AnyFile);
  // A save dialog offers the name chosen last under any filter, so replacing a file takes
  // the dialog's own confirmation. The program adds no extension of its own.
  box.setOption(QFileDialog::DontConfirmOverwrite, false);
  box.setDefaultSuffix(QString());
  QStringList filters;
  for (const std::string& filter : QtNameFilters(dialog.Filter)) filters << ToQString(filter);
  if (!filters.isEmpty()) {
    box.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size()) {
      box.selectNameFilter(filters[dialog.FilterIndex - 1]);
    }
  }
  // A dialog that holds no name yet starts in InitialDir; the name chosen last is offered
  // again, in its own folder.
  if (!dialog.InitialDir.empty()) box.setDirectory(ToQString(dialog.InitialDir));
  if (!dialog.FileName.empty()) box.selectFile(ToQString(dialog.FileName));
  int result = QDialog::Rejected;
  {
    const WaitingForPerson waiting(busy_, work_.get(), actionTime_);
    result = box.exec();
  }
  if (result != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
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

void QtDesktop::ShowBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    heldClose_ = std::make_unique<HeldClose>(view_.get());
    actionTime_.start();
    return;
  }
  // The long work's last turn of the loop may still bring a close, which the holder keeps.
  work_.reset();
  heldClose_.reset();
  QApplication::restoreOverrideCursor();
}

void QtDesktop::ShowProgress(double fractionDone) {
  // Work outside an action has no end to wait for, so it does not answer in between. A short
  // action ends before the loop would turn: what the person typed meanwhile comes after it,
  // as it always does.
  if (!busy_) return;
  if (work_ == nullptr) {
    if (actionTime_.elapsed() < LongWork::TurnIntervalMs()) return;
    work_ = std::make_unique<LongWork>(view_.get());
  }
  work_->Report(fractionDone);
}

void QtDesktop::EndMessageLoop() {
  // The loop finishes the event it is handling, then returns.
  QCoreApplication::exit(0);
}
