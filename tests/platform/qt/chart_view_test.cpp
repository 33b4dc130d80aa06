#include <qwt_scale_draw.h>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "platform/exception.h"
#include "platform/qt/array_series_data.h"
#include "platform/qt/chart_view.h"
#include "platform/qt/depth_bar_chart.h"
#include "platform/qt/reduced_curve.h"
#include "qt_window_fixture.h"

namespace {

QByteArray ReadAll(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace

using ChartViewTest = QtWindowTest;

TEST_F(ChartViewTest, ALoadThatChangesEverySeriesIsDrawnOnce) {
  auto* plot = WidgetOf<ChartView>(Window().Chart1);
  QApplication::processEvents();
  const int before = plot->ReplotCount();
  OpenRecording();  // dozens of model changes, then one turn of the event loop
  EXPECT_EQ(plot->ReplotCount(), before + 1);
  EXPECT_FALSE(plot->ReplotPending());
}

// An "Invert" box rewrites the trace in the very array the curve already holds, so only the
// modified mark tells the view that its min/max tables no longer fit the trace.
TEST_F(ChartViewTest, AnInversionRedrawsTheTrace) {
  OpenRecording();
  Window().CBHullX->UserClick();
  auto* plot = WidgetOf<ChartView>(Window().Chart1);
  plot->FlushReplot();
  const ReducedCurve* hullX = plot->Curves()[0];
  const ValueRange loaded = hullX->Data()->Detail().Whole();
  ASSERT_GT(loaded.Max, 200.0);  // the impacts point up
  ASSERT_GE(plot->axisInterval(QwtPlot::yLeft).maxValue(), loaded.Max);

  Window().CheckBox1->UserClick();
  plot->FlushReplot();
  const ValueRange inverted = hullX->Data()->Detail().Whole();
  EXPECT_EQ(inverted.Min, -loaded.Max);
  EXPECT_EQ(inverted.Max, -loaded.Min);
  // The left axis follows: the impacts now point down, and the axis no longer reaches up to
  // where they were.
  const QwtInterval axis = plot->axisInterval(QwtPlot::yLeft);
  EXPECT_LE(axis.minValue(), -loaded.Max);
  EXPECT_LT(axis.maxValue(), loaded.Max);

  Window().CheckBox1->UserClick();
  plot->FlushReplot();
  const ValueRange restored = hullX->Data()->Detail().Whole();
  EXPECT_EQ(restored.Min, loaded.Min);
  EXPECT_EQ(restored.Max, loaded.Max);
  EXPECT_GE(plot->axisInterval(QwtPlot::yLeft).maxValue(), loaded.Max);
}

TEST_F(ChartViewTest, SaveToBitmapWritesTheChartOnWhiteWithItsTraces) {
  OpenRecording();
  Window().CBHullX->UserClick();
  auto* plot = WidgetOf<ChartView>(Window().Chart1);
  const QString fileName = QString::fromStdString(folder.File("chart"));  // no extension added
  QFile::remove(fileName);
  desktop.Answers.push_back(fileName.toStdString());
  Window().SaveBmp1->UserClick();
  ASSERT_TRUE(desktop.Messages.empty()) << desktop.Messages.front();

  EXPECT_TRUE(ReadAll(fileName).startsWith("BM"));
  QImage image(fileName, "BMP");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), plot->size());
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), QColor(Qt::white));
  int red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      red += image.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
  }
  EXPECT_GT(red, 100);  // Hull X is drawn in red
}

TEST_F(ChartViewTest, ABitmapThatCannotBeWrittenIsReportedWithItsName) {
  OpenRecording();
  const std::string fileName = folder.File("no-such-folder/chart.bmp");
  EXPECT_THROW(
      {
        try {
          desktop.SaveChartToBitmap(*Window().Chart1, fileName);
        } catch (const Exception& error) {
          EXPECT_NE(error.Message().find(fileName), std::string::npos) << error.Message();
          throw;
        }
      },
      Exception);
}

TEST_F(ChartViewTest, TheImpactPageShowsTwentyFourLabelledBarsPerTickedChannel) {
  OpenRecording();
  Window().CBHullX->UserClick();
  Window().CBPilotZ->UserClick();
  Window().PageControl1->UserSelect(Window().TabSheet2);
  QApplication::processEvents();
  auto* plot = WidgetOf<ChartView>(Window().Chart2);
  int shown = 0;
  for (QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotBarChart)) {
    auto* bars = static_cast<DepthBarChart*>(item);
    if (!bars->isVisible()) continue;
    ++shown;
    EXPECT_EQ(bars->dataSize(), 24u);
  }
  EXPECT_EQ(shown, 2);
  const QwtScaleDraw* labels = plot->axisScaleDraw(QwtPlot::xBottom);
  EXPECT_EQ(labels->label(1).text(), "20");
  EXPECT_EQ(labels->label(24).text(), "250");
  EXPECT_FALSE(plot->axisScaleDraw(QwtPlot::yLeft)->hasComponent(QwtAbstractScaleDraw::Backbone));
}

class PrintToPdfTest : public QtWindowTest {
 protected:
  PrintToPdfTest() : QtWindowTest(PrintTarget{PdfName()}) {}
  static QString PdfName() { return QDir::temp().filePath("tavro-print-test.pdf"); }
};

TEST_F(PrintToPdfTest, PrintGivesOneLandscapePage) {
  QFile::remove(PdfName());
  OpenRecording();
  Window().CBHullX->UserClick();
  Window().Print->UserClick();
  ASSERT_TRUE(desktop.Messages.empty()) << desktop.Messages.front();
  const QByteArray bytes = ReadAll(PdfName());
  const QString pdf = QString::fromLatin1(bytes.constData(), bytes.size());
  QFile::remove(PdfName());
  EXPECT_EQ(pdf.count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
  const QRegularExpressionMatch box =
      QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)").match(pdf);
  ASSERT_TRUE(box.hasMatch());
  EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble());
}

TEST_F(ChartViewTest, AWheelZoomHoldsUntilTheNextLoadScalesAutomaticallyAgain) {
  OpenRecording();
  Window().CBHullX->UserClick();
  auto* plot = WidgetOf<ChartView>(Window().Chart1);
  plot->FlushReplot();
  const QwtInterval whole = plot->axisInterval(QwtPlot::xBottom);

  QWidget* canvas = plot->canvas();
  const QPointF centre(canvas->width() / 2.0, canvas->height() / 2.0);
  QWheelEvent forward(centre, QPointF(canvas->mapToGlobal(centre.toPoint())), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(canvas, &forward);
  plot->FlushReplot();
  const QwtInterval zoomed = plot->axisInterval(QwtPlot::xBottom);
  EXPECT_LT(zoomed.width(), whole.width());  // a forward turn zooms in
  EXPECT_FALSE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_FALSE(Window().Chart1->LeftAxis().Automatic());

  OpenRecording();
  Window().CBHullX->UserClick();
  plot->FlushReplot();
  EXPECT_TRUE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_DOUBLE_EQ(plot->axisInterval(QwtPlot::xBottom).width(), whole.width());
}

// The curves draw straight from the model's arrays and so hold them too: a reopen must leave
// them holding nothing of the previous recording, or two recordings stay resident.
TEST_F(ChartViewTest, AReopenLeavesTheCurvesHoldingNothingOfThePreviousRecording) {
  OpenRecording();
  TForm1& w = Window();
  w.CBSpeed->UserClick();
  for (int slot = 0; slot < SlotCount; ++slot) w.ChannelBox(slot)->UserClick();
  w.RadioGroup1->UserChoose(1);
  QApplication::processEvents();
  const DynArray<double> previous[] = {w.Acceleration[0], w.FilteredAcceleration[9], w.SampleIndex,
                                       w.Chart1->GetLineSeries(10)->YValues.Value};

  OpenRecording();
  ASSERT_TRUE(desktop.Messages.empty()) << desktop.Messages.front();
  for (const DynArray<double>& array : previous) EXPECT_EQ(array.UseCount(), 1);
}
