#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, ComponentListFollowsTheFormDescription) {
  const TForm1& w = Window();
  struct Case {
    int index;
    const char* name;
  };
  for (const Case& c :
       {Case{0, "StatusBar"},       Case{1, "PageControl1"},   Case{2, "TabSheet1"},
        Case{3, "Chart1"},          Case{4, "Series1"},        Case{14, "Series11"},
        Case{15, "Series22"},       Case{24, "Series31"},      Case{25, "TabSheet2"},
        Case{26, "Chart2"},         Case{27, "Series12"},      Case{36, "Series21"},
        Case{37, "Panel1"},         Case{38, "Label5"},        Case{39, "CBSpeed"},
        Case{40, "CBHullX"},        Case{49, "CBSpare"},       Case{50, "Button1"},
        Case{51, "RadioGroup1"},    Case{52, "CheckBox1"},     Case{55, "CheckBox4"},
        Case{56, "StaticText1"},    Case{57, "CheckBox5"},     Case{62, "CheckBox10"},
        Case{63, "Panel2"},         Case{64, "MainMenu"},      Case{65, "File"},
        Case{66, "Open1"},          Case{70, "Print"},         Case{71, "N1"},
        Case{72, "Exit2"},          Case{73, "Help"},          Case{74, "About"},
        Case{75, "OpenFileDialog"}, Case{76, "SaveFileDialog"}}) {
    EXPECT_EQ(w.Components(c.index)->Name(), c.name) << c.index;
  }
  EXPECT_EQ(w.ComponentCount(), 77);
  EXPECT_EQ(w.TabSheet1->ComponentIndex(), 2);
  EXPECT_EQ(w.TabSheet2->ComponentIndex(), 25);
}

TEST_F(MainWindowTest, InitialStateBeforeAnyLoad) {
  const TForm1& w = Window();
  EXPECT_EQ(w.Caption(), "Tavro X Data Analysis");
  EXPECT_EQ(w.ClientWidth, 1168);
  EXPECT_EQ(w.ClientHeight, 639);
  EXPECT_EQ(w.Panel1->Width, 145);
  EXPECT_EQ(w.Panel2->Height, 37);
  EXPECT_EQ(w.PageControl1->ActivePage(), w.TabSheet1);

  for (const Chart* chart : {w.Chart1, w.Chart2}) {
    ASSERT_EQ(chart->TitleLines().size(), 1u);
    EXPECT_EQ(chart->TitleLines()[0], "TChart");
  }
  EXPECT_EQ(w.Chart1->BottomAxis().Title(), "Time (Sampels 600/second)");
  EXPECT_EQ(w.Chart1->LeftAxis().Title(), "Acceleration [m/s2]");
  EXPECT_EQ(w.Chart2->BottomAxis().Title(), "Acceleration [m/s2]");
  EXPECT_EQ(w.Chart2->LeftAxis().Title(), "Number of impacts");

  for (int index = 0; index <= 10; ++index) {
    EXPECT_FALSE(w.Chart1->GetSeries(index)->Active()) << index;
    EXPECT_FALSE(w.Chart1->GetLineSeries(index)->DrawAllPoints) << index;
  }
  for (int index = 11; index <= 20; ++index) {
    const LineSeries* series = w.Chart1->GetLineSeries(index);
    EXPECT_TRUE(series->Active()) << index;
    EXPECT_TRUE(series->DrawAllPoints) << index;
    EXPECT_EQ(series->XValues.Count, 0u);
  }
  for (int index = 0; index < 10; ++index) EXPECT_TRUE(w.Chart2->GetSeries(index)->Active());

  EXPECT_FALSE(w.CBSpeed->Enabled());
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_FALSE(w.ChannelBox(slot)->Enabled()) << slot;
    EXPECT_FALSE(w.ChannelBox(slot)->Checked()) << slot;
    EXPECT_FALSE(w.InvertBox(slot)->Enabled()) << slot;
    EXPECT_FALSE(w.InvertBox(slot)->Checked()) << slot;
    EXPECT_EQ(w.InvertBox(slot)->Top, 84 + 23 * slot);
    EXPECT_EQ(w.ChannelBox(slot)->Top, 84 + 23 * slot);
  }
  EXPECT_EQ(w.CBHullX->Caption(), "Hull x");
  EXPECT_EQ(w.CBNavigatorZ->Caption(), "Nav. z");
  EXPECT_TRUE(w.RadioGroup1->Enabled());
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
  EXPECT_TRUE(w.Button1->Enabled());

  EXPECT_TRUE(w.Open1->UsableByUser());
  EXPECT_TRUE(w.Exit2->UsableByUser());
  EXPECT_TRUE(w.About->UsableByUser());
  for (const MenuItem* item : {w.SaveGPSdata1, w.SavenoGPS1, w.SaveBmp1, w.Print}) {
    EXPECT_FALSE(item->UsableByUser()) << item->Name();
  }
  EXPECT_EQ(w.OpenFileDialog->Filter, "*.DAT|*.DAT");
  EXPECT_EQ(w.SaveFileDialog->Filter, "*.bmp|*.bmp");
  EXPECT_EQ(w.SaveFileDialog->FilterIndex, 1);
}

TEST_F(MainWindowTest, SeriesColoursFollowTheFormDescription) {
  const TForm1& w = Window();
  struct Case {
    const Chart* chart;
    int index;
    const char* name;
    Color colour;
  };
  const Case cases[] = {
      {w.Chart1, 0, "Series1", clRed},
      {w.Chart1, 1, "Series2", clGreen},
      {w.Chart1, 2, "Series3", Color{8404992}},
      {w.Chart1, 3, "Series4", Color{47545}},
      {w.Chart1, 4, "Series5", Color{4210816}},
      {w.Chart1, 5, "Series6", clBlack},
      {w.Chart1, 6, "Series7", Color{4227327}},
      {w.Chart1, 7, "Series8", Color{16711808}},
      {w.Chart1, 8, "Series9", clGray},
      {w.Chart1, 9, "Series10", Color{12615935}},
      {w.Chart1, 10, "Series11", clBlue},
      {w.Chart1, 11, "Series22", clRed},
      {w.Chart1, 12, "Series23", clGreen},
      {w.Chart1, 13, "Series24", Color{8404992}},
      // The filtered Pilot X is a shade lighter than the raw one.
      {w.Chart1, 14, "Series25", Color{48573}},
      {w.Chart1, 15, "Series26", Color{4210816}},
      {w.Chart1, 16, "Series27", clBlack},
      {w.Chart1, 17, "Series28", Color{4227327}},
      {w.Chart1, 18, "Series29", Color{16711808}},
      {w.Chart1, 19, "Series30", clGray},
      {w.Chart1, 20, "Series31", Color{12615935}},
      {w.Chart2, 0, "Series12", clRed},
      {w.Chart2, 1, "Series13", clGreen},
      {w.Chart2, 2, "Series14", Color{8404992}},
      // And its impact bars lighter still.
      {w.Chart2, 3, "Series15", Color{52942}},
      {w.Chart2, 4, "Series16", Color{4210816}},
      {w.Chart2, 5, "Series17", clBlack},
      {w.Chart2, 6, "Series18", Color{4227327}},
      {w.Chart2, 7, "Series19", Color{16711808}},
      {w.Chart2, 8, "Series20", clGray},
      {w.Chart2, 9, "Series21", Color{12615935}},
  };
  EXPECT_EQ(w.Chart1->SeriesCount(), 21u);
  EXPECT_EQ(w.Chart2->SeriesCount(), 10u);
  for (const Case& c : cases) {
    const ChartSeries* series = c.chart->GetSeries(c.index);
    EXPECT_EQ(series->Name(), c.name);
    EXPECT_EQ(series->SeriesColor().Value, c.colour.Value) << c.name;
  }
}

TEST_F(MainWindowTest, MembersAfterConstruction) {
  const TForm1& w = Window();
  EXPECT_EQ(w.SampleCount, 0u);
  EXPECT_EQ(w.PlotCount, 0u);
  EXPECT_EQ(w.FrameCount, 0);
  EXPECT_FALSE(w.TenChannels);
  EXPECT_TRUE(w.OpenedFileName.empty());
  EXPECT_TRUE(w.DataFileName.empty());
  EXPECT_TRUE(w.SerialText.empty());
  EXPECT_TRUE(w.SampleIndex.Empty());
  for (int slot = 0; slot < SlotCount; ++slot) {
    EXPECT_THROW(w.Acceleration[slot][0], DynArrayOutOfRange);
    EXPECT_TRUE(w.RawSamples[slot].Empty());
    EXPECT_TRUE(w.FilteredAcceleration[slot].Empty());
  }
  for (int band = 0; band < ImpactBandCount; ++band) {
    EXPECT_EQ(w.ImpactLimits[band], 20.0 + 10.0 * band);
  }
}

TEST_F(MainWindowTest, ChannelAndSpeedBoxesCannotBeClickedAtStart) {
  TForm1& w = Window();
  w.CBSpeed->UserClick();
  w.CBHullX->UserClick();
  w.CheckBox1->UserClick();
  EXPECT_FALSE(w.CBSpeed->Checked());
  EXPECT_FALSE(w.CBHullX->Checked());
  EXPECT_FALSE(w.CheckBox1->Checked());
  EXPECT_TRUE(desktop.Messages.empty());
}

}  // namespace
