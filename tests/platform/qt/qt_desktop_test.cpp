#include "platform/qt/qt_desktop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/qt/long_work.h"
#include "progress_bar_probe.h"
#include "support/temp_folder.h"

namespace {

// Acts on the modal windows as a person does: each step waits for a shown modal window of its
// kind and then acts on it. A step may open a window that the next step answers.
class ModalSteps {
 public:
  ModalSteps() : state_(std::make_shared<State>()) { state_->clock.start(); }
  ~ModalSteps() { state_->done = true; }

  template <typename W>
  ModalSteps& On(std::function<void(W&)> act) {
    state_->steps.push_back({[](QWidget* modal) { return qobject_cast<W*>(modal) != nullptr; },
                             [act](QWidget* modal) { act(*qobject_cast<W*>(modal)); }});
    if (state_->steps.size() == 1) Poll(state_);
    return *this;
  }
  bool AllTaken() const { return state_->steps.empty(); }

 private:
  struct Step {
    std::function<bool(QWidget*)> IsItsWindow;
    std::function<void(QWidget*)> Act;
  };
  struct State {
    std::deque<Step> steps;
    QElapsedTimer clock;
    bool done = false;
  };

  static void Poll(const std::shared_ptr<State>& state) {
    QTimer::singleShot(10, [state] {
      if (state->done || state->steps.empty()) return;
      QWidget* modal = QApplication::activeModalWidget();
      if (state->clock.elapsed() > 10000) {
        ADD_FAILURE() << "no modal window for the next step";
        state->steps.clear();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return;
      }
      // The next look is due before the step acts: it may wait in a window it opens.
      Poll(state);
      if (modal == nullptr || !modal->isVisible() || !state->steps.front().IsItsWindow(modal)) {
        return;
      }
      const Step step = state->steps.front();
      state->steps.pop_front();
      step.Act(modal);
    });
  }

  std::shared_ptr<State> state_;
};

class QtDesktopTest : public ::testing::Test {
 protected:
  QtDesktopTest() : application(desktop, "tavro-x") {}

  QtDesktop desktop;
  Application application;
  TempFolder folder;
};

Qt::CursorShape OverrideCursor() {
  return QApplication::overrideCursor() == nullptr ? Qt::ArrowCursor
                                                   : QApplication::overrideCursor()->shape();
}

void WriteFile(const std::string& name, const char* content) {
  QFile file(QString::fromStdString(name));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

// The dialog's own confirmation, as the Save button or the Enter key gives it.
void ConfirmName(QFileDialog& box) {
  QMetaObject::invokeMethod(&box, "accept", Qt::DirectConnection);
}

std::string ReadFile(const std::string& name) {
  QFile file(QString::fromStdString(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The captions must fit a title bar drawn in a bold font beside an icon and a close button.
TEST_F(QtDesktopTest, AMessageBoxIsWideEnoughForItsCaption) {
  const struct {
    const char* Text;
    const char* Caption;
  } boxes[] = {
      {"SW 01.03.00.", "Tavro"},
      {"Set channel", "Error"},
      {"S2.txt file is missing. Default valus are used.", "Get data"},
  };
  for (const auto& b : boxes) {
    int width = 0;
    QString title;
    ModalSteps steps;
    steps.On<QMessageBox>([&](QMessageBox& box) {
      width = box.width();
      title = box.windowTitle();
      box.button(QMessageBox::Ok)->click();
    });
    desktop.ShowMessage(b.Text, b.Caption);
    EXPECT_TRUE(steps.AllTaken());
    EXPECT_EQ(title.toStdString(), b.Caption);
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(b.Caption) + 100) << b.Caption;
  }
}

// The busy cursor is up while an action is handled, except while a box or a dialog waits for
// the person; the handler goes on under the busy cursor.
TEST_F(QtDesktopTest, TheCursorIsBusyDuringAnActionAndNormalWhileThePersonIsAsked) {
  std::vector<Qt::CursorShape> seen;
  ModalSteps steps;
  steps
      .On<QMessageBox>([&](QMessageBox& box) {
        seen.push_back(OverrideCursor());
        box.button(QMessageBox::Ok)->click();
      })
      .On<QFileDialog>([&](QFileDialog& dialog) {
        seen.push_back(OverrideCursor());
        dialog.reject();
      })
      .On<QMessageBox>([&](QMessageBox& box) {
        seen.push_back(OverrideCursor());
        box.button(QMessageBox::Ok)->click();
      });
  SaveDialog dialog("SaveFileDialog");
  application.Dispatch([&] {
    seen.push_back(OverrideCursor());
    desktop.ShowMessage("S2.txt file is missing. Default valus are used.", "Get data");
    seen.push_back(OverrideCursor());
    dialog.Execute();
    seen.push_back(OverrideCursor());
    throw Exception("failed");
  });
  EXPECT_TRUE(steps.AllTaken());
  EXPECT_EQ(seen, (std::vector<Qt::CursorShape>{Qt::WaitCursor, Qt::ArrowCursor, Qt::WaitCursor,
                                                Qt::ArrowCursor, Qt::WaitCursor, Qt::ArrowCursor}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Long work that asks the person something: no progress bar shows beside the box, also once
// the work has lasted past the bar's delay, nor right after it; the bar comes back once the
// work has run another half second.
TEST_F(QtDesktopTest, NoProgressBarShowsBesideABoxAndItComesBackHalfASecondAfterIt) {
  LongWork::SetTurnInterval(0);
  bool barBesideBox = true;
  QElapsedTimer sinceBox;
  ModalSteps steps;
  steps.On<QMessageBox>([&](QMessageBox& box) {
    QTimer::singleShot(700, &box, [&] {
      barBesideBox = VisibleProgressBar() != nullptr;
      sinceBox.start();
      box.button(QMessageBox::Ok)->click();
    });
  });
  bool barRightAfterBox = true;
  qint64 barBackAfter = -1;
  application.Dispatch([&] {
    desktop.ShowProgress(0.1);
    desktop.ShowMessage("S2.txt file is missing. Default valus are used.", "Get data");
    desktop.ShowProgress(0.2);
    barRightAfterBox = VisibleProgressBar() != nullptr;
    while (barBackAfter < 0 && sinceBox.elapsed() < 5000) {
      desktop.ShowProgress(0.3);
      if (VisibleProgressBar() != nullptr) barBackAfter = sinceBox.elapsed();
    }
  });
  LongWork::SetTurnInterval(-1);
  EXPECT_TRUE(steps.AllTaken());
  EXPECT_FALSE(barBesideBox);
  EXPECT_FALSE(barRightAfterBox);
  EXPECT_GE(barBackAfter, 500);
  EXPECT_EQ(VisibleProgressBar(), nullptr);
}

// A save dialog without a name starts in the folder it is given; once a name is chosen it
// offers that name in its folder, under the filter set, with no extension of its own.
TEST_F(QtDesktopTest, ASaveDialogStartsInItsFolderAndThenOffersTheLastName) {
  SaveDialog dialog("SaveFileDialog");
  dialog.Filter = "*.txt|*.txt";
  dialog.InitialDir = folder.Path() + "/";
  const std::string chosen = folder.File("trip");
  std::string startFolder, offeredFolder, offeredName, filter;
  ModalSteps steps;
  steps.On<QFileDialog>([&](QFileDialog& box) {
    startFolder = box.directory().absolutePath().toStdString();
    EXPECT_FALSE(box.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_TRUE(box.defaultSuffix().isEmpty());
    box.selectFile(QString::fromStdString(chosen));
    ConfirmName(box);
  });
  ASSERT_TRUE(desktop.ExecuteFileDialog(dialog));
  EXPECT_EQ(startFolder, folder.Path());
  EXPECT_EQ(dialog.FileName, chosen);

  dialog.InitialDir = "/";
  dialog.Filter = "*.DAT|*.DAT";
  steps.On<QFileDialog>([&](QFileDialog& box) {
    offeredFolder = box.directory().absolutePath().toStdString();
    offeredName = box.findChild<QLineEdit*>("fileNameEdit")->text().toStdString();
    filter = box.selectedNameFilter().toStdString();
    box.reject();
  });
  EXPECT_FALSE(desktop.ExecuteFileDialog(dialog));
  EXPECT_EQ(offeredFolder, folder.Path());
  EXPECT_EQ(offeredName, "trip");
  EXPECT_EQ(filter, "*.DAT (*.DAT *.dat)");
}

// Confirming the name of a file that exists asks first: No goes back to the dialog, Yes
// confirms the name.
TEST_F(QtDesktopTest, ASaveDialogAsksBeforeItConfirmsAnExistingFile) {
  const std::string existing = folder.File("copy.DAT");
  WriteFile(existing, "recording");
  SaveDialog dialog("SaveFileDialog");
  dialog.Filter = "*.txt|*.txt";
  dialog.FileName = existing;
  int questions = 0;
  bool dialogShownAfterNo = false;
  const auto answer = [&](QMessageBox::StandardButton button) {
    return [&questions, button](QMessageBox& box) {
      ++questions;
      EXPECT_NE(box.text().indexOf("copy.DAT"), -1) << box.text().toStdString();
      box.button(button)->click();
    };
  };
  ModalSteps steps;
  steps.On<QFileDialog>(ConfirmName)
      .On<QMessageBox>(answer(QMessageBox::No))
      .On<QFileDialog>([&](QFileDialog& box) {
        dialogShownAfterNo = box.isVisible();
        ConfirmName(box);
      })
      .On<QMessageBox>(answer(QMessageBox::Yes));
  ASSERT_TRUE(desktop.ExecuteFileDialog(dialog));
  EXPECT_TRUE(steps.AllTaken());
  EXPECT_EQ(questions, 2);
  EXPECT_TRUE(dialogShownAfterNo);
  EXPECT_EQ(dialog.FileName, existing);
  // The dialog only asks; the file is written by the command that asked for the name.
  EXPECT_EQ(ReadFile(existing), "recording");
}

}  // namespace
