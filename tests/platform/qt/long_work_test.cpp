#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <functional>
#include <memory>

#include "platform/parallel_passes.h"
#include "platform/qt/chart_view.h"
#include "platform/qt/long_work.h"
#include "progress_bar_probe.h"
#include "qt_window_fixture.h"

namespace {

// Runs `look` at every turn of the event loop until the timer goes.
class LoopTurns {
 public:
  explicit LoopTurns(std::function<void()> look) : look_(std::move(look)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      ++count;
      look_();
    });
    timer_.start(0);
  }
  int count = 0;

 private:
  std::function<void()> look_;
  QTimer timer_;
};

// Counts the events of one type that reach a widget.
class Arrivals : public QObject {
 public:
  Arrivals(QWidget& target, QEvent::Type type) : type_(type) { target.installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type_) ++count;
    return false;
  }

 private:
  QEvent::Type type_;
};

}  // namespace

// Long work is cut finer than usual here, so that a few seconds of recording are split, and
// every action's work counts as long.
class LongWorkTest : public QtWindowTest {
 protected:
  void SetUp() override {
    QtWindowTest::SetUp();
    SetSliceSamples({600});
    LongWork::SetTurnInterval(0);
  }
  void TearDown() override {
    LongWork::SetTurnInterval(-1);
    SetSliceSamples({});
    QtWindowTest::TearDown();
  }

  QCheckBox& Box(const Control* control) { return *WidgetOf<QCheckBox>(control); }
  ChartView& Graph() { return *WidgetOf<ChartView>(Window().Chart1); }
};

TEST_F(LongWorkTest, TheLoopTurnsDuringALoadAndInputMeanwhileReachesNoControl) {
  OpenRecording();
  Window().CBHullX->UserClick();
  QApplication::processEvents();
  ASSERT_TRUE(Window().CBHullX->Checked());

  int busyTurns = 0;
  LoopTurns turns([&] {
    if (!Window().Open1->Enabled() || Window().SampleCount != 0) return;
    // Between the release of the previous recording and the end of the load.
    ++busyTurns;
    QTest::mouseClick(&Box(Window().CBHullY), Qt::LeftButton);
    QTest::keyClick(&Box(Window().CBHullZ), Qt::Key_Space);
    QCoreApplication::postEvent(
        &Box(Window().CBPilotX),
        new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
    QCoreApplication::postEvent(
        &Box(Window().CBPilotX),
        new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " "));
  });
  OpenRecording();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();

  EXPECT_GT(busyTurns, 0);
  for (const CheckBox* box : {Window().CBHullY, Window().CBHullZ, Window().CBPilotX}) {
    EXPECT_FALSE(box->Checked()) << box->Name();
  }
  EXPECT_TRUE(desktop.Messages.empty());
  EXPECT_GT(Window().SampleCount, 0u);
}

TEST_F(LongWorkTest, AChartKeepsItsPictureWhileAFilterRewritesItsTraceAndDrawsTheNewOneAfter) {
  OpenRecording();
  Window().CBHullX->UserClick();
  Window().RadioGroup1->UserChoose(0);
  QApplication::processEvents();
  Graph().FlushReplot();
  QApplication::processEvents();
  const QImage before = Graph().canvas()->grab().toImage();
  const int replots = Graph().ReplotCount();

  int frozenTurns = 0;
  LoopTurns turns([&] {
    if (!Graph().Frozen()) return;
    ++frozenTurns;
    EXPECT_EQ(Graph().ReplotCount(), replots);
    EXPECT_EQ(Graph().canvas()->grab().toImage(), before);
  });
  Window().RadioGroup1->UserChoose(4);
  EXPECT_GT(frozenTurns, 0);
  EXPECT_FALSE(Graph().Frozen());
  QApplication::processEvents();
  EXPECT_GT(Graph().ReplotCount(), replots);
  EXPECT_NE(Graph().canvas()->grab().toImage(), before);
}

TEST_F(LongWorkTest, AWindowClosedDuringALoadClosesOnceTheLoadHasEnded) {
  // The program ends with its window; the test goes on.
  QApplication::setQuitOnLastWindowClosed(false);
  bool closedDuringLoad = false;
  LoopTurns turns([&] {
    if (Window().Open1->Enabled() && Window().SampleCount == 0 && View().isVisible()) {
      View().close();
      closedDuringLoad = !View().isVisible();
    }
  });
  OpenRecording();
  EXPECT_FALSE(closedDuringLoad);
  EXPECT_GT(Window().SampleCount, 0u);
  QApplication::processEvents();
  EXPECT_FALSE(View().isVisible());
  QApplication::setQuitOnLastWindowClosed(true);
}

// Keys and the wheel act on a control as soon as they are pressed or turned, so these must be
// dropped on their own, before they reach it; afterwards they reach it again.
TEST_F(LongWorkTest, KeysAndTheWheelDuringALoadReachNoControl) {
  OpenRecording();
  const struct {
    const char* Case;
    QWidget* Target;
    std::function<std::unique_ptr<QEvent>(QWidget&)> Make;
  } cases[] = {
      {"a key pressed on a box", &Box(Window().CBHullY),
       [](QWidget&) {
         return std::unique_ptr<QEvent>(
             new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
       }},
      {"the wheel turned over a chart", Graph().canvas(),
       [](QWidget& canvas) {
         const QPointF at(canvas.width() / 2.0, canvas.height() / 2.0);
         return std::unique_ptr<QEvent>(new QWheelEvent(
             at, QPointF(canvas.mapToGlobal(at.toPoint())), QPoint(), QPoint(0, 120), Qt::NoButton,
             Qt::NoModifier, Qt::NoScrollPhase, false));
       }},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<QEvent> event = c.Make(*c.Target);
    const Arrivals arrivals(*c.Target, event->type());
    int frozenTurns = 0;
    {
      LoopTurns turns([&] {
        if (!Graph().Frozen()) return;
        ++frozenTurns;
        QApplication::sendEvent(c.Target, c.Make(*c.Target).get());
      });
      OpenRecording();
    }
    EXPECT_GT(frozenTurns, 0) << c.Case;
    EXPECT_EQ(arrivals.count, 0) << c.Case;
    QApplication::sendEvent(c.Target, event.get());
    EXPECT_EQ(arrivals.count, 1) << c.Case;
  }
  EXPECT_TRUE(Window().Chart1->BottomAxis().Automatic());
}

// A global menu bar triggers a menu item, and a screen reader clicks or toggles a box, a radio
// item or a page, without any input event. During long work nothing of it runs, then or
// afterwards, and the controls show the model's state again.
TEST_F(LongWorkTest, AnActionStartedWithoutInputDuringLongWorkChangesNothing) {
  const std::string opened = OpenRecording();
  Window().CBHullX->UserClick();
  QApplication::processEvents();
  desktop.Answers.push_back(opened);
  auto& pages = *WidgetOf<QTabWidget>(Window().PageControl1);
  QAbstractButton& firstCutOff =
      *WidgetOf<QWidget>(Window().RadioGroup1)->findChildren<QRadioButton*>()[0];
  int triggers = 0;
  {
    LoopTurns turns([&] {
      if (!Graph().Frozen()) return;
      ++triggers;
      MenuAction("&Open...")->trigger();
      pages.setCurrentIndex(1);
      firstCutOff.click();
    });
    Window().RadioGroup1->UserChoose(4);
  }
  EXPECT_GT(triggers, 0);
  EXPECT_EQ(desktop.Answers.size(), 1u);
  EXPECT_EQ(Window().RadioGroup1->ItemIndex(), 4);
  EXPECT_FALSE(firstCutOff.isChecked());
  EXPECT_EQ(Window().PageControl1->ActivePage(), Window().TabSheet1);
  EXPECT_EQ(pages.currentIndex(), 0);
  EXPECT_TRUE(Window().Chart1->GetSeries(11)->Active());
  desktop.Answers.clear();

  const struct {
    const char* Case;
    void (*Turn)(QCheckBox&);
  } turnings[] = {
      {"click", [](QCheckBox& box) { box.click(); }},
      {"toggle", [](QCheckBox& box) { box.toggle(); }},
  };
  for (const auto& t : turnings) {
    int clicks = 0;
    {
      LoopTurns turns([&] {
        if (!Graph().Frozen()) return;
        ++clicks;
        t.Turn(Box(Window().CBHullY));
      });
      OpenRecording();
    }
    EXPECT_GT(clicks, 0) << t.Case;
    EXPECT_FALSE(Window().CBHullY->Checked()) << t.Case;
    EXPECT_FALSE(Box(Window().CBHullY).isChecked()) << t.Case;
    EXPECT_FALSE(Window().Chart1->GetSeries(1)->Active()) << t.Case;
  }
  EXPECT_TRUE(desktop.Messages.empty());
}

// A close may come after the action's last report, in the loop's last turn that drops what
// came in meanwhile, or in an action that never turns the loop; each closes the window once the
// handler has returned.
TEST_F(LongWorkTest, AWindowClosedLateInAnActionClosesOnceTheHandlerHasReturned) {
  // The program ends with its window; the test goes on.
  QApplication::setQuitOnLastWindowClosed(false);
  const struct {
    const char* Case;
    std::function<void()> Close;
  } cases[] = {
      {"after the last report",
       [this] {
         desktop.ShowProgress(1.0);
         QCoreApplication::postEvent(&View(), new QCloseEvent);
       }},
      {"in an action that never reports", [this] { View().close(); }},
  };
  for (const auto& c : cases) {
    View().show();
    QApplication::processEvents();
    bool shownAtTheEnd = false;
    Application::Current()->Dispatch([&] {
      c.Close();
      shownAtTheEnd = View().isVisible();
    });
    QApplication::processEvents();
    EXPECT_TRUE(shownAtTheEnd) << c.Case;
    EXPECT_FALSE(View().isVisible()) << c.Case;
  }
  QApplication::setQuitOnLastWindowClosed(true);
}

// A box or a dialog may have covered the window: the first report after it draws the window
// again, although the loop turned only a moment before.
TEST_F(LongWorkTest, TheWindowIsDrawnAtTheFirstReportAfterABoxClosedOverIt) {
  LongWork::SetTurnInterval(60000);
  const Arrivals paints(View(), QEvent::Paint);
  LongWork work(&View());
  work.Report(0.1);
  View().update();
  work.Report(0.2);
  const int paintsBeforeBox = paints.count;
  work.Pause();
  work.Resume();
  work.Report(0.3);
  EXPECT_GT(paints.count, paintsBeforeBox);
}

// Short work shows no bar at all; the bar shows once the work has lasted half a second.
TEST_F(LongWorkTest, TheBarShowsOnceTheWorkHasLastedHalfASecond) {
  QElapsedTimer clock;
  clock.start();
  qint64 shownAfter = -1;
  {
    LongWork work(&View());
    while (shownAfter < 0 && clock.elapsed() < 5000) {
      work.Report(clock.elapsed() / 10000.0);
      if (VisibleProgressBar() != nullptr) shownAfter = clock.elapsed();
    }
  }
  EXPECT_GE(shownAfter, 500);
  EXPECT_EQ(VisibleProgressBar(), nullptr);
}
