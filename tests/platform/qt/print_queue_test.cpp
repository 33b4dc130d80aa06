#include "platform/qt/print_queue.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinterInfo>
#include <string>
#include <vector>

#include "qt_window_fixture.h"

namespace {

// The print system says what a test sets for as long as the object lives.
class PrintSystemSays {
 public:
  explicit PrintSystemSays(PrintQueueSource source) { SetPrintQueueSource(std::move(source)); }
  ~PrintSystemSays() { SetPrintQueueSource({}); }
};

DefaultPrinterAnswer NoDefaultPrinterAskedFor() {
  ADD_FAILURE() << "a print-out to a file asked for the default printer";
  return DefaultPrinterAnswer::Found;
}

std::string NoJobExpected() {
  ADD_FAILURE() << "a job went to the queue";
  return {};
}

// The print-out goes to a file so that the job is really printed; the queue's answer is the
// one a test sets.
class PrintQueueTest : public QtWindowTest {
 protected:
  PrintQueueTest() : QtWindowTest(PrintTarget{PdfName()}) {}
  // A folder of this process's own: the tests of one fixture run side by side.
  static QString PdfName() {
    static const TempFolder pdfFolder;
    return QString::fromStdString(pdfFolder.File("print.pdf"));
  }

  // Each box the program showed, as "caption: text".
  std::vector<std::string> PrintHullX() {
    QFile::remove(PdfName());
    OpenRecording();
    Window().CBHullX->UserClick();
    Window().Print->UserClick();
    return desktop.Messages;
  }
};

// The box a print command shows for the print system's `text`.
std::string PrintError(const std::string& text) {
  return "tavro-x: " + text;
}

TEST_F(PrintQueueTest, AJobTheQueueRefusesIsReportedWithTheQueuesReason) {
  int asked = 0;
  const PrintSystemSays refusing({NoDefaultPrinterAskedFor, [&] {
                                    ++asked;
                                    return std::string(
                                        "Destination \"Office\" is not accepting jobs.");
                                  }});
  EXPECT_EQ(PrintHullX(), std::vector<std::string>{PrintError(
                              "Printing failed: Destination \"Office\" is not accepting jobs.")});
  // The queue was asked about a job that was printed whole.
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(QFile::exists(PdfName()));
}

TEST_F(PrintQueueTest, AJobTheQueueTakesIsNotReported) {
  const PrintSystemSays taking({NoDefaultPrinterAskedFor, [] { return std::string(); }});
  EXPECT_TRUE(PrintHullX().empty());
}

// Printing to the default printer when there is none: the box tells a printer that is not
// chosen from a print system that is not there, and no job is begun.
class NoDefaultPrinterTest : public QtWindowTest {};

TEST_F(NoDefaultPrinterTest, TheBoxSaysWhyThereIsNoPrinter) {
  const struct {
    DefaultPrinterAnswer Answer;
    const char* Message;
  } cases[] = {
      {DefaultPrinterAnswer::NoneSelected, "There is no default printer currently selected."},
      {DefaultPrinterAnswer::NotRunning, "Printing failed: the print system is not running."},
  };
  OpenRecording();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    desktop.Messages.clear();
    const PrintSystemSays noPrinter({[&] { return c.Answer; }, NoJobExpected});
    Window().Print->UserClick();
    EXPECT_EQ(desktop.Messages, std::vector<std::string>{PrintError(c.Message)});
  }
}

// The real print system, with the scheduler's address pointing where none listens.
TEST(PrintSystemTest, ASchedulerThatDoesNotAnswerIsAPrintSystemNotRunning) {
  cupsSetServer("/nonexistent/tavro-print-test/cups.sock");
  if (!QPrinterInfo::defaultPrinter().isNull()) {
    cupsSetServer(nullptr);
    GTEST_SKIP() << "this system names a default printer without asking its scheduler";
  }
  const DefaultPrinterAnswer answer = AskDefaultPrinter();
  cupsSetServer(nullptr);
  EXPECT_EQ(answer, DefaultPrinterAnswer::NotRunning);
}

}  // namespace
