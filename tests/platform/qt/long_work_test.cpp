#include <QCheckBox>
#include <QImage>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "platform/parallel_passes.h"
#include "platform/qt/chart_view.h"
#include "platform/qt/long_work.h"
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
