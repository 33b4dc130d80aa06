#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest/QTest>

#include <qwt_abstract_legend.h>
#include <qwt_legend.h>

#include "platform/qt/chart_view.h"
#include "platform/qt/reduced_curve.h"
#include "qt_window_fixture.h"

namespace {

QList<QRadioButton*> RadioButtons(QWidget* group) {
  return group->findChildren<QRadioButton*>();
}

void ClickTab(QTabWidget* tabs, int index) {
  QTabBar* bar = tabs->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

}  // namespace

using FormViewTest = QtWindowTest;

TEST_F(FormViewTest, ShowsTheFormDescriptionAtItsPlaces) {
  EXPECT_EQ(View().windowTitle(), "Tavro X Data Analysis");
  EXPECT_EQ(View().centralWidget()->size(), QSize(1168, 639));
  EXPECT_EQ(WidgetOf<QWidget>(Window().Panel1)->geometry(), QRect(0, 0, 145, 639 - 37));
  EXPECT_EQ(WidgetOf<QWidget>(Window().Panel2)->geometry(), QRect(0, 639 - 37, 1168, 37));
  EXPECT_EQ(WidgetOf<QWidget>(Window().PageControl1)->geometry(),
            QRect(145, 0, 1168 - 145, 639 - 37));
  EXPECT_EQ(WidgetOf<QWidget>(Window().CBSpare)->geometry(), QRect(20, 291, 80, 17));
  EXPECT_EQ(WidgetOf<QWidget>(Window().CheckBox10)->geometry(), QRect(112, 291, 17, 17));
  EXPECT_EQ(WidgetOf<QGroupBox>(Window().RadioGroup1)->title(), "Filter channels");
  EXPECT_EQ(RadioButtons(WidgetOf<QWidget>(Window().RadioGroup1)).size(), 5);
  auto* tabs = WidgetOf<QTabWidget>(Window().PageControl1);
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), "Graph");
  EXPECT_EQ(tabs->tabText(1), "ICI");

  QStringList menu;
  for (QAction* top : View().menuBar()->actions()) {
    menu << top->text();
    for (QAction* item : top->menu()->actions()) menu << (item->isSeparator() ? "-" : item->text());
  }
  EXPECT_EQ(menu, QStringList({"&File", "&Open...", "Save file with GPS map data",
                               "Save file without route data", "Save to a .bmp file", "&Print", "-",
                               "&Exit", "&Help", "A&bout..."}));
  EXPECT_FALSE(MenuAction("&Print")->isEnabled());
  EXPECT_TRUE(MenuAction("&Exit")->isEnabled());
}

TEST_F(FormViewTest, ModelChangesShowAtOnceWithoutRunningHandlers) {
  auto* speed = WidgetOf<QCheckBox>(Window().CBSpeed);
  const auto radios = RadioButtons(WidgetOf<QWidget>(Window().RadioGroup1));
  auto* tabs = WidgetOf<QTabWidget>(Window().PageControl1);

  Window().CBSpeed->SetEnabled(true);
  Window().CBSpeed->SetCaption("Knots");
  Window().RadioGroup1->SetItemIndex(3);
  Window().SaveBmp1->SetEnabled(true);
  Window().CBNavigatorX->SetVisible(false);
  Window().Chart1->ClearTitle();
  Window().Chart1->AddTitleLine("R1001.DAT");
  Window().Chart1->AddTitleLine("10 channels");
  Window().PageControl1->SetActivePage(Window().TabSheet2);

  EXPECT_TRUE(speed->isEnabled());
  EXPECT_EQ(speed->text(), "Knots");
  EXPECT_TRUE(radios[3]->isChecked());
  EXPECT_TRUE(MenuAction("Save to a .bmp file")->isEnabled());
  EXPECT_TRUE(WidgetOf<QWidget>(Window().CBNavigatorX)->isHidden());
  EXPECT_EQ(WidgetOf<ChartView>(Window().Chart1)->title().text(), "R1001.DAT\n10 channels");
  EXPECT_EQ(tabs->currentIndex(), 1);
  // Setting the page from code raises no OnChange: the File menu stays usable.
  EXPECT_TRUE(Window().File->Enabled());

  Window().RadioGroup1->SetItemIndex(-1);
  for (QRadioButton* radio : radios) EXPECT_FALSE(radio->isChecked());
  EXPECT_TRUE(desktop.Messages.empty());
}

TEST_F(FormViewTest, ClicksRunTheHandlers) {
  QTest::mouseClick(WidgetOf<QPushButton>(Window().Button1), Qt::LeftButton);
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_TRUE(Window().InvertBox(slot)->Enabled());
    EXPECT_TRUE(WidgetOf<QCheckBox>(Window().InvertBox(slot))->isEnabled());
  }

  auto* tabs = WidgetOf<QTabWidget>(Window().PageControl1);
  ClickTab(tabs, 1);
  EXPECT_EQ(Window().PageControl1->ActivePage(), Window().TabSheet2);
  EXPECT_FALSE(MenuAction("&File")->isEnabled());
  EXPECT_FALSE(WidgetOf<QWidget>(Window().Panel1)->isEnabled());
  ClickTab(tabs, 0);
  EXPECT_EQ(Window().PageControl1->ActivePage(), Window().TabSheet1);
  EXPECT_TRUE(MenuAction("&File")->isEnabled());

  // No channel is ticked: the filter's handler clears the choice again and says so, and the
  // group shows no choice.
  QRadioButton* radio = RadioButtons(WidgetOf<QWidget>(Window().RadioGroup1))[1];
  QTest::mouseClick(radio, Qt::LeftButton);
  EXPECT_EQ(Window().RadioGroup1->ItemIndex(), -1);
  EXPECT_FALSE(radio->isChecked());
  EXPECT_EQ(desktop.Messages, std::vector<std::string>{"Error: Set channel"});

  MenuAction("A&bout...")->trigger();
  EXPECT_EQ(desktop.Messages.back(), "Tavro: SW 01.03.00.");
}

// A screen reader turns a box or a radio item without a click; the model hears of it as of a
// click, and the handlers run.
TEST_F(FormViewTest, ABoxOrAnItemTurnedWithoutAClickGoesToTheModel) {
  OpenRecording();
  auto* box = WidgetOf<QCheckBox>(Window().CBHullX);
  box->toggle();
  EXPECT_TRUE(Window().CBHullX->Checked());
  EXPECT_TRUE(Window().Chart1->GetSeries(0)->Active());

  QRadioButton* radio = RadioButtons(WidgetOf<QWidget>(Window().RadioGroup1))[1];
  radio->setChecked(true);
  EXPECT_EQ(Window().RadioGroup1->ItemIndex(), 1);
  EXPECT_TRUE(Window().Chart1->GetSeries(11)->Active());

  box->toggle();
  EXPECT_FALSE(Window().CBHullX->Checked());
  EXPECT_FALSE(Window().Chart1->GetSeries(11)->Active());
  EXPECT_TRUE(desktop.Messages.empty());
}

TEST_F(FormViewTest, ControlsThePersonCannotReachStayAsTheModelSays) {
  OpenRecording();
  const struct {
    const char* Case;
    int Slot;
    void (*Prepare)(TForm1&, CheckBox*);
  } cases[] = {
      {"disabled", 0, [](TForm1&, CheckBox* box) { box->SetEnabled(false); }},
      {"hidden", 1, [](TForm1&, CheckBox* box) { box->SetVisible(false); }},
      {"in a disabled panel", 2,
       [](TForm1& window, CheckBox*) { window.Panel1->SetEnabled(false); }},
  };
  for (const auto& c : cases) {
    CheckBox* box = Window().ChannelBox(c.Slot);
    ASSERT_TRUE(box->UsableByUser()) << c.Case;
    c.Prepare(Window(), box);
    auto* widget = WidgetOf<QCheckBox>(box);
    // A click that still reaches the widget (as QTest's does, even on a hidden one) is
    // refused by the model, and the widget shows the model's state again.
    widget->click();
    EXPECT_FALSE(box->Checked()) << c.Case;
    EXPECT_FALSE(widget->isChecked()) << c.Case;
    EXPECT_FALSE(Window().Chart1->GetSeries(c.Slot)->Active()) << c.Case;
  }
}

TEST_F(FormViewTest, TickingAChannelShowsItsTraceAndItsLegendEntryOnly) {
  OpenRecording();
  QTest::mouseClick(WidgetOf<QCheckBox>(Window().CBHullX), Qt::LeftButton);
  EXPECT_TRUE(Window().CBHullX->Checked());
  QApplication::processEvents();
  auto* plot = WidgetOf<ChartView>(Window().Chart1);
  auto* legendWidget = qobject_cast<QwtLegend*>(plot->legend());
  QStringList legend;
  for (QwtPlotItem* item : plot->itemList()) {
    if (!legendWidget->legendWidgets(plot->itemToInfo(item)).isEmpty())
      legend << item->title().text();
  }
  EXPECT_EQ(legend, QStringList({"Hull X"}));
  EXPECT_EQ(plot->Curves()[0]->dataSize(), Window().SampleCount);
}

TEST_F(FormViewTest, TheWindowNeverHidesAControlOfThePanelNorShrinksTheChartPastReading) {
  QWidget* client = View().centralWidget();
  QWidget* panel2 = WidgetOf<QWidget>(Window().Panel2);
  auto* plot = WidgetOf<ChartView>(Window().Chart1);
  for (const QSize asked : {QSize(900, 560), QSize(640, 400), QSize(1, 1)}) {
    View().resize(asked);
    QApplication::processEvents();
    for (Control* control :
         {static_cast<Control*>(Window().Button1), static_cast<Control*>(Window().RadioGroup1),
          static_cast<Control*>(Window().CheckBox10)}) {
      QWidget* widget = WidgetOf<QWidget>(control);
      const QRect shown(widget->mapTo(client, QPoint(0, 0)), widget->size());
      EXPECT_EQ(shown.size(), QSize(control->Width, control->Height)) << control->Name();
      // Above Panel2, inside the window.
      EXPECT_LE(shown.bottom(), panel2->geometry().top() - 1) << control->Name() << asked.height();
      EXPECT_LE(shown.right(), client->width() - 1) << control->Name();
    }
    EXPECT_GE(plot->width(), 480) << asked.width();
    EXPECT_GE(plot->height(), 300) << asked.height();
  }
}
