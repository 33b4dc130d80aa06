#include <qwt_scale_draw.h>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPrinter>
#include <QRegularExpression>
#include <QRubberBand>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>

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

QPointF CanvasCentre(const ChartView& plot) {
  return QPointF(plot.canvas()->width() / 2.0, plot.canvas()->height() / 2.0);
}

// Turns the mouse wheel over a point of the canvas: forward (positive) zooms in.
void SendWheel(QWidget* canvas, int notches, const QPointF& at) {
  QWheelEvent wheel(at, QPointF(canvas->mapToGlobal(at.toPoint())), QPoint(),
                    QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(canvas, &wheel);
}

void TurnWheel(ChartView& plot, int notches, const QPointF& at) {
  SendWheel(plot.canvas(), notches, at);
  plot.FlushReplot();
}

void TurnWheel(ChartView& plot, int notches) {
  TurnWheel(plot, notches, CanvasCentre(plot));
}

void SendMouse(QWidget* canvas, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               const QPoint& at) {
  QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(canvas, &event);
}

// Presses a button over the canvas, moves to `to` in a few steps holding it, and lets go.
void SendDrag(QWidget* canvas, Qt::MouseButton button, const QPoint& from, const QPoint& to) {
  SendMouse(canvas, QEvent::MouseButtonPress, button, button, from);
  constexpr int Steps = 5;
  for (int step = 1; step <= Steps; ++step) {
    SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, button, from + (to - from) * step / Steps);
  }
  SendMouse(canvas, QEvent::MouseButtonRelease, button, Qt::NoButton, to);
}

void Drag(ChartView& plot, Qt::MouseButton button, const QPoint& from, const QPoint& to) {
  SendDrag(plot.canvas(), button, from, to);
  plot.FlushReplot();
}

// The values at a canvas pixel as the plot shows them now.
QPointF ValueAt(const ChartView& plot, const QPointF& pixel) {
  return {plot.canvasMap(QwtPlot::xBottom).invTransform(pixel.x()),
          plot.canvasMap(QwtPlot::yLeft).invTransform(pixel.y())};
}

QPointF PixelOf(const ChartView& plot, const QPointF& value) {
  return {plot.canvasMap(QwtPlot::xBottom).transform(value.x()),
          plot.canvasMap(QwtPlot::yLeft).transform(value.y())};
}

// A thousandth of a pixel: the view's values come from the pixels the mouse gives.
constexpr double PixelTolerance = 1e-3;

void ExpectAtPixel(const ChartView& plot, const QPointF& value, const QPointF& pixel) {
  const QPointF shownAt = PixelOf(plot, value);
  EXPECT_NEAR(shownAt.x(), pixel.x(), PixelTolerance);
  EXPECT_NEAR(shownAt.y(), pixel.y(), PixelTolerance);
}

}  // namespace

class ChartViewTest : public QtWindowTest {
 protected:
  // The chart of the page "Graph" with Hull X of a loaded recording shown, drawn.
  ChartView& ShowHullX() {
    OpenRecording();
    Window().CBHullX->UserClick();
    auto* plot = WidgetOf<ChartView>(Window().Chart1);
    plot->FlushReplot();
    return *plot;
  }
};

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

// The bitmap keeps the chart's size on screen in logical pixels, on a scaled screen too: the
// same recording gives the same picture whatever the desktop's scale.
TEST_F(ChartViewTest, SaveToBitmapWritesTheChartOnWhiteWithItsTraces) {
  OpenRecording();
  Window().CBHullX->UserClick();
  auto* plot = WidgetOf<ChartView>(Window().Chart1);
  const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
  EXPECT_EQ(plot->devicePixelRatioF(), scale.isEmpty() ? 1.0 : scale.toDouble());
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
  // A folder of this process's own: the tests of one fixture run side by side.
  static QString PdfName() {
    static const TempFolder pdfFolder;
    return QString::fromStdString(pdfFolder.File("print.pdf"));
  }

  // The PDF of "&Print" with Hull X shown, read whole.
  QByteArray PrintHullX() {
    QFile::remove(PdfName());
    OpenRecording();
    Window().CBHullX->UserClick();
    Window().Print->UserClick();
    EXPECT_TRUE(desktop.Messages.empty()) << desktop.Messages.front();
    const QByteArray bytes = ReadAll(PdfName());
    QFile::remove(PdfName());
    return bytes;
  }
};

// The page descriptions of a PDF, unpacked.
QByteArray PageContents(const QByteArray& pdf) {
  QByteArray contents;
  for (int at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
    at += 7;
    const int end = pdf.indexOf("endstream", at);
    if (end < 0) break;
    // qUncompress wants the size in front; with 0 it finds the size itself.
    contents += qUncompress(QByteArray(4, '\0') + pdf.mid(at, end - at));
  }
  return contents;
}

TEST_F(PrintToPdfTest, PrintGivesOneLandscapePage) {
  const QByteArray bytes = PrintHullX();
  const QString pdf = QString::fromLatin1(bytes.constData(), bytes.size());
  EXPECT_EQ(pdf.count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
  const QRegularExpressionMatch box =
      QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)").match(pdf);
  ASSERT_TRUE(box.hasMatch());
  EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble());
}

TEST_F(PrintToPdfTest, TheJobIsNamedAfterTheRecordingAndItsLinesKeepTheirWeight) {
  const QByteArray pdf = PrintHullX();
  // The document's title, as a queue lists the job, in the PDF's UTF-16.
  const QString name = QFileInfo(QString::fromStdString(Window().DataFileName)).fileName();
  QByteArray title("\xfe\xff", 2);
  for (const QChar c : name) {
    title += char(c.unicode() >> 8);
    title += char(c.unicode() & 0xff);
  }
  EXPECT_TRUE(pdf.contains("/Title (" + title + ")")) << name.toStdString();

  // Hull X is stroked in red; its width in printer dots is a screen pixel at the printer's
  // resolution, not a hairline of one dot.
  const QByteArray contents = PageContents(pdf);
  const QRegularExpressionMatch red =
      QRegularExpression("([0-9.]+) 0 0 ([0-9.]+) \\S+ \\S+ cm\\n1 0 0 SCN\\n([0-9.]+) w")
          .match(QString::fromLatin1(contents));
  ASSERT_TRUE(red.hasMatch());
  const double dots = red.captured(1).toDouble() * red.captured(3).toDouble();
  const double screenPixel =
      QPrinter(QPrinter::HighResolution).resolution() /
      static_cast<double>(WidgetOf<ChartView>(Window().Chart1)->logicalDpiX());
  EXPECT_NEAR(dots, screenPixel, 0.01);
  EXPECT_GT(dots, 5.0);
}

class PrintIntoAMissingFolderTest : public QtWindowTest {
 protected:
  PrintIntoAMissingFolderTest()
      : QtWindowTest(PrintTarget{QDir::temp().filePath("tavro-no-such-folder/print.pdf")}) {}
};

TEST_F(PrintIntoAMissingFolderTest, APrintThatFailsIsReported) {
  OpenRecording();
  Window().Print->UserClick();
  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_NE(desktop.Messages.front().find("Printing failed"), std::string::npos)
      << desktop.Messages.front();
}

TEST_F(ChartViewTest, AWheelZoomHoldsUntilTheNextLoadScalesAutomaticallyAgain) {
  ChartView* plot = &ShowHullX();
  const QwtInterval whole = plot->axisInterval(QwtPlot::xBottom);

  TurnWheel(*plot, 1);
  EXPECT_LT(plot->axisInterval(QwtPlot::xBottom).width(), whole.width());
  EXPECT_FALSE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_FALSE(Window().Chart1->LeftAxis().Automatic());

  ShowHullX();
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

TEST_F(ChartViewTest, ZoomingOutEndsAtTheWholeDataAndTheAxesFollowTheDataAgain) {
  ChartView* plot = &ShowHullX();
  const QwtInterval wholeX = plot->axisInterval(QwtPlot::xBottom);
  const QwtInterval wholeY = plot->axisInterval(QwtPlot::yLeft);

  TurnWheel(*plot, 3);
  ASSERT_LT(plot->axisInterval(QwtPlot::xBottom).width(), wholeX.width());
  for (int notch = 0; notch < 6; ++notch) {
    TurnWheel(*plot, -1);
    // Never past the data: no sample number below the first.
    EXPECT_GE(plot->axisInterval(QwtPlot::xBottom).minValue(), wholeX.minValue()) << notch;
    EXPECT_LE(plot->axisInterval(QwtPlot::xBottom).maxValue(), wholeX.maxValue()) << notch;
  }
  EXPECT_TRUE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_TRUE(Window().Chart1->LeftAxis().Automatic());
  EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), wholeX);

  // Inverting turns the trace upside down, and the left axis follows it.
  Window().CheckBox1->UserClick();
  plot->FlushReplot();
  const QwtInterval inverted = plot->axisInterval(QwtPlot::yLeft);
  EXPECT_NEAR(inverted.minValue(), -wholeY.maxValue(), 1e-9);
  EXPECT_NEAR(inverted.maxValue(), -wholeY.minValue(), 1e-9);
}

TEST_F(ChartViewTest, ADoubleClickShowsTheWholeAtOnce) {
  ChartView* plot = &ShowHullX();
  const QwtInterval wholeX = plot->axisInterval(QwtPlot::xBottom);
  TurnWheel(*plot, 5);
  ASSERT_FALSE(Window().Chart1->BottomAxis().Automatic());

  QTest::mouseDClick(plot->canvas(), Qt::LeftButton);
  plot->FlushReplot();
  EXPECT_TRUE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_TRUE(Window().Chart1->LeftAxis().Automatic());
  EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), wholeX);
}

TEST_F(ChartViewTest, AutomaticAxesEndAtTheDataAndLabelWithoutExponents) {
  ChartView* plot = &ShowHullX();
  Window().CBSpeed->UserClick();
  plot->FlushReplot();
  // From the first sample to the last one, and from the lowest value of Hull X and the speed
  // to the highest.
  EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), QwtInterval(0, Window().SampleCount - 1));
  double lowest = std::numeric_limits<double>::infinity();
  double highest = -lowest;
  for (const int index : {0, 10}) {
    const LineSeries& series = *Window().Chart1->GetLineSeries(index);
    for (std::size_t i = 0; i < series.YValues.Count; ++i) {
      lowest = std::min(lowest, series.YValues.Value[i]);
      highest = std::max(highest, series.YValues.Value[i]);
    }
  }
  EXPECT_NEAR(plot->axisInterval(QwtPlot::yLeft).minValue(), lowest, 1e-9);
  EXPECT_NEAR(plot->axisInterval(QwtPlot::yLeft).maxValue(), highest, 1e-9);
  for (const double tick : plot->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick)) {
    EXPECT_EQ(std::fmod(tick, 500.0), 0.0) << tick;  // round ticks inside the data
  }
  const QwtScaleDraw* time = plot->axisScaleDraw(QwtPlot::xBottom);
  EXPECT_EQ(time->label(51840000).text(), "51,840,000");
  EXPECT_EQ(time->label(1.5e7).text(), "15,000,000");
  EXPECT_EQ(plot->axisScaleDraw(QwtPlot::yLeft)->label(-12.5).text(), "-12.5");
}

TEST_F(ChartViewTest, TheImpactCountAxisStepsByWholeNumbers) {
  // One impact of each band at most: left alone, the scale would step by halves.
  RecordingBuilder recording(true);
  recording.Blocks(3).Pulse(0, 700, 45.0, 660.0F, RecordingBuilder::DefaultCount);
  desktop.Answers.push_back(
      WriteRecordingFolder(folder, recording, SensitivityTextBuilder(true).Build()));
  Window().Open1->UserClick();
  Window().CBHullX->UserClick();
  Window().PageControl1->UserSelect(Window().TabSheet2);
  auto* plot = WidgetOf<ChartView>(Window().Chart2);
  plot->FlushReplot();
  const QwtScaleDiv& scale = plot->axisScaleDiv(QwtPlot::yLeft);
  ASSERT_FALSE(scale.ticks(QwtScaleDiv::MajorTick).isEmpty());
  for (const auto type :
       {QwtScaleDiv::MajorTick, QwtScaleDiv::MediumTick, QwtScaleDiv::MinorTick}) {
    for (const double tick : scale.ticks(type)) EXPECT_EQ(tick, std::round(tick)) << tick;
  }
}

TEST_F(ChartViewTest, ALeftDragShowsItsRectangleAndADragBackUpAndLeftShowsTheWhole) {
  ChartView* plot = &ShowHullX();
  const QwtInterval wholeX = plot->axisInterval(QwtPlot::xBottom);
  const QwtInterval wholeY = plot->axisInterval(QwtPlot::yLeft);
  const QPoint topLeft(plot->canvas()->width() / 5, plot->canvas()->height() / 4);
  const QPoint bottomRight(plot->canvas()->width() / 2, plot->canvas()->height() * 3 / 4);
  const QPointF first = ValueAt(*plot, topLeft);
  const QPointF last = ValueAt(*plot, bottomRight);

  Drag(*plot, Qt::LeftButton, topLeft, bottomRight);
  EXPECT_FALSE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_FALSE(Window().Chart1->LeftAxis().Automatic());
  const double width = wholeX.width();
  EXPECT_NEAR(plot->axisInterval(QwtPlot::xBottom).minValue(), first.x(), width * 1e-12);
  EXPECT_NEAR(plot->axisInterval(QwtPlot::xBottom).maxValue(), last.x(), width * 1e-12);
  EXPECT_NEAR(plot->axisInterval(QwtPlot::yLeft).minValue(), last.y(), wholeY.width() * 1e-12);
  EXPECT_NEAR(plot->axisInterval(QwtPlot::yLeft).maxValue(), first.y(), wholeY.width() * 1e-12);

  // A click, or a drag of a pixel or two, is no rectangle.
  const QwtInterval zoomed = plot->axisInterval(QwtPlot::xBottom);
  for (const QPoint& by : {QPoint(0, 0), QPoint(2, 40), QPoint(40, -3), QPoint(-3, -3)}) {
    Drag(*plot, Qt::LeftButton, topLeft, topLeft + by);
    EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), zoomed) << by.x() << "," << by.y();
  }

  Drag(*plot, Qt::LeftButton, bottomRight, topLeft);
  EXPECT_TRUE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_TRUE(Window().Chart1->LeftAxis().Automatic());
  EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), wholeX);
  EXPECT_EQ(plot->axisInterval(QwtPlot::yLeft), wholeY);
}

TEST_F(ChartViewTest, ARightDragMovesTheShownValuesWithThePointerAsFarAsTheData) {
  ChartView* plot = &ShowHullX();
  const QwtInterval wholeX = plot->axisInterval(QwtPlot::xBottom);
  const QwtInterval wholeY = plot->axisInterval(QwtPlot::yLeft);
  const int w = plot->canvas()->width();
  const int h = plot->canvas()->height();

  // At the whole view there is nothing to move.
  Drag(*plot, Qt::RightButton, QPoint(w / 2, h / 2), QPoint(w / 4, h / 3));
  EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), wholeX);
  EXPECT_EQ(plot->axisInterval(QwtPlot::yLeft), wholeY);

  Drag(*plot, Qt::LeftButton, QPoint(w * 2 / 5, h / 3), QPoint(w * 3 / 5, h * 2 / 3));
  const QwtInterval zoomedX = plot->axisInterval(QwtPlot::xBottom);
  const QPoint grab(w / 2, h / 2);
  const QPoint to = grab + QPoint(-w / 10, h / 8);
  const QPointF grabbed = ValueAt(*plot, grab);
  Drag(*plot, Qt::RightButton, grab, to);
  ExpectAtPixel(*plot, grabbed, to);
  EXPECT_NEAR(plot->axisInterval(QwtPlot::xBottom).width(), zoomedX.width(), 1e-9);

  // Far past the first sample and the highest value: the view stops at them.
  Drag(*plot, Qt::RightButton, grab, QPoint(w * 10, h * 10));
  EXPECT_DOUBLE_EQ(plot->axisInterval(QwtPlot::xBottom).minValue(), wholeX.minValue());
  EXPECT_DOUBLE_EQ(plot->axisInterval(QwtPlot::yLeft).maxValue(), wholeY.maxValue());
  EXPECT_NEAR(plot->axisInterval(QwtPlot::xBottom).width(), zoomedX.width(), 1e-9);
  Drag(*plot, Qt::RightButton, grab, QPoint(-w * 10, -h * 10));
  EXPECT_DOUBLE_EQ(plot->axisInterval(QwtPlot::xBottom).maxValue(), wholeX.maxValue());
  EXPECT_DOUBLE_EQ(plot->axisInterval(QwtPlot::yLeft).minValue(), wholeY.minValue());
}

TEST_F(ChartViewTest, TheWheelZoomsAboutThePointer) {
  ChartView* plot = &ShowHullX();
  const QwtInterval wholeX = plot->axisInterval(QwtPlot::xBottom);
  const QPointF at(plot->canvas()->width() * 0.15, plot->canvas()->height() * 0.7);
  const QPointF pointed = ValueAt(*plot, at);

  TurnWheel(*plot, 3, at);
  EXPECT_NEAR(plot->axisInterval(QwtPlot::xBottom).width(), wholeX.width() * std::pow(0.9, 3),
              1e-9 * wholeX.width());
  ExpectAtPixel(*plot, pointed, at);
  TurnWheel(*plot, -1, at);
  ExpectAtPixel(*plot, pointed, at);

  // Out again, as far as the whole and no further.
  TurnWheel(*plot, -5, at);
  EXPECT_TRUE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), wholeX);
}

TEST_F(ChartViewTest, AZoomHoldsThroughTickingInvertingACutOffAndClearFilter) {
  ChartView* plot = &ShowHullX();
  const QPoint topLeft(plot->canvas()->width() / 3, plot->canvas()->height() / 3);
  Drag(*plot, Qt::LeftButton, topLeft, topLeft * 2);
  const QwtInterval zoomedX = plot->axisInterval(QwtPlot::xBottom);
  const QwtInterval zoomedY = plot->axisInterval(QwtPlot::yLeft);

  TForm1& w = Window();
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"ticking", [&w] { w.CBHullY->UserClick(); }},
      {"inverting", [&w] { w.CheckBox1->UserClick(); }},
      {"a cut-off", [&w] { w.RadioGroup1->UserChoose(2); }},
      {"Clear filter", [&w] { w.Button1->UserClick(); }},
  };
  for (const auto& [name, step] : steps) {
    step();
    QApplication::processEvents();
    plot->FlushReplot();
    EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), zoomedX) << name;
    EXPECT_EQ(plot->axisInterval(QwtPlot::yLeft), zoomedY) << name;
  }
  ASSERT_TRUE(desktop.Messages.empty()) << desktop.Messages.front();
}

TEST_F(ChartViewTest, TheImpactChartZoomsByBarGroupsAndKeepsTheirLabels) {
  OpenRecording();
  Window().CBHullX->UserClick();
  Window().PageControl1->UserSelect(Window().TabSheet2);
  auto* plot = WidgetOf<ChartView>(Window().Chart2);
  plot->FlushReplot();
  const QwtInterval whole = plot->axisInterval(QwtPlot::xBottom);
  const QList<double> allBars = plot->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick);
  ASSERT_EQ(allBars.size(), 24);

  const int w = plot->canvas()->width();
  const int h = plot->canvas()->height();
  Drag(*plot, Qt::LeftButton, QPoint(w / 4, h / 4), QPoint(w / 2, h - 2));
  const QList<double> shown = plot->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick);
  EXPECT_GT(shown.size(), 0);
  EXPECT_LT(shown.size(), allBars.size());
  for (const double bar : shown) {
    EXPECT_TRUE(allBars.contains(bar)) << bar;
    EXPECT_FALSE(plot->axisScaleDraw(QwtPlot::xBottom)->label(bar).isEmpty()) << bar;
  }

  QTest::mouseDClick(plot->canvas(), Qt::LeftButton);
  plot->FlushReplot();
  EXPECT_EQ(plot->axisInterval(QwtPlot::xBottom), whole);
  EXPECT_EQ(plot->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick), allBars);
}

TEST_F(ChartViewTest, AFrozenChartDrawsNothingForAGestureAndZoomsNothing) {
  ChartView* plot = &ShowHullX();
  QWidget* canvas = plot->canvas();
  const int w = canvas->width();
  const int h = canvas->height();
  // Zoomed, so that every gesture below would change what is shown.
  Drag(*plot, Qt::LeftButton, QPoint(w / 4, h / 4), QPoint(w * 3 / 4, h * 3 / 4));
  const ChartAxis& time = Window().Chart1->BottomAxis();
  const ChartAxis& values = Window().Chart1->LeftAxis();
  const AxisRange zoomedX{time.Minimum(), time.Maximum()};
  const AxisRange zoomedY{values.Minimum(), values.Maximum()};

  plot->SetFrozen(true);
  // A redraw is due, as when an action changes the chart while its arrays are being written.
  Window().Chart1->Changed();
  QApplication::processEvents();
  const int replots = plot->ReplotCount();
  const QPoint centre(w / 2, h / 2);
  const std::pair<const char*, std::function<void()>> gestures[] = {
      {"left drag", [&] { SendDrag(canvas, Qt::LeftButton, centre, centre + QPoint(40, 40)); }},
      {"right drag", [&] { SendDrag(canvas, Qt::RightButton, centre, centre + QPoint(40, 40)); }},
      {"wheel", [&] { SendWheel(canvas, 2, centre); }},
      {"double-click", [&] { QTest::mouseDClick(canvas, Qt::LeftButton); }},
  };
  for (const auto& [name, gesture] : gestures) {
    gesture();
    EXPECT_EQ(plot->ReplotCount(), replots) << name;
    EXPECT_FALSE(time.Automatic()) << name;
    EXPECT_FALSE(values.Automatic()) << name;
    EXPECT_EQ(time.Minimum(), zoomedX.Min) << name;
    EXPECT_EQ(time.Maximum(), zoomedX.Max) << name;
    EXPECT_EQ(values.Minimum(), zoomedY.Min) << name;
    EXPECT_EQ(values.Maximum(), zoomedY.Max) << name;
  }
  plot->SetFrozen(false);
}

// The release of a drag cut short by long work never reaches the chart: the next plain click
// must not zoom from where the drag began.
TEST_F(ChartViewTest, ADragCutShortByFreezingEndsThere) {
  ChartView* plot = &ShowHullX();
  QWidget* canvas = plot->canvas();
  const QPoint from(canvas->width() / 4, canvas->height() / 4);
  const QPoint to = from * 2;
  SendMouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
  SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
  auto* band = canvas->findChild<QRubberBand*>();
  ASSERT_NE(band, nullptr);
  ASSERT_TRUE(band->isVisible());

  plot->SetFrozen(true);
  EXPECT_FALSE(band->isVisible());
  SendMouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
  plot->SetFrozen(false);

  const QPoint click = to + from;
  SendMouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, click);
  SendMouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, click);
  EXPECT_TRUE(Window().Chart1->BottomAxis().Automatic());
  EXPECT_TRUE(Window().Chart1->LeftAxis().Automatic());
}
