#include <array>
#include <string>

#include "app/main_window.h"

namespace {

struct LineSeriesLook {
  const char* Name;
  const char* Title;
  Color SeriesColor;
};

// Chart1: the raw series of slots 0 to 9, the speed series, the filtered series of slots 0 to 9.
constexpr std::array<LineSeriesLook, 11> RawAndSpeedSeries{{
    {"Series1", "Hull X", clRed},
    {"Series2", "Hull Y", clGreen},
    {"Series3", "Hull Z", Color{8404992}},
    {"Series4", "Pilot X", Color{47545}},
    {"Series5", "Pilot Y", Color{4210816}},
    {"Series6", "Pilot Z", clBlack},
    {"Series7", "Navigator X", Color{4227327}},
    {"Series8", "Navigator Y", Color{16711808}},
    {"Series9", "Navigator Z", clGray},
    {"Series10", "Spare", Color{12615935}},
    {"Series11", "Speed", clBlue},
}};

constexpr std::array<LineSeriesLook, 10> FilteredSeries{{
    {"Series22", "Hull X", clRed},
    {"Series23", "Hull Y", clGreen},
    {"Series24", "Hull Z", Color{8404992}},
    {"Series25", "Pilot X", Color{48573}},
    {"Series26", "Pilot Y", Color{4210816}},
    {"Series27", "Pilot Z", clBlack},
    {"Series28", "Navigator X", Color{4227327}},
    {"Series29", "Navigator Y", Color{16711808}},
    {"Series30", "Navigator Z", clGray},
    {"Series31", "Spare", Color{12615935}},
}};

struct BarSeriesLook {
  const char* Name;
  const char* Title;
  Color SeriesColor;
  int BarWidthPercent;
};

constexpr int DefaultBarWidthPercent = 70;

constexpr std::array<BarSeriesLook, 10> ImpactSeries{{
    {"Series12", "Hull X", clRed, 100},
    {"Series13", "Hull Y", clGreen, 100},
    {"Series14", "Hull Z", Color{8404992}, DefaultBarWidthPercent},
    {"Series15", "", Color{52942}, DefaultBarWidthPercent},
    {"Series16", "", Color{4210816}, DefaultBarWidthPercent},
    {"Series17", "", clBlack, DefaultBarWidthPercent},
    {"Series18", "", Color{4227327}, DefaultBarWidthPercent},
    {"Series19", "", Color{16711808}, DefaultBarWidthPercent},
    {"Series20", "", clGray, DefaultBarWidthPercent},
    {"Series21", "", Color{12615935}, DefaultBarWidthPercent},
}};

struct ChannelRow {
  const char* BoxName;
  const char* Caption;
};

constexpr std::array<ChannelRow, SlotCount> ChannelRows{{
    {"CBHullX", "Hull x"},
    {"CBHullY", "Hull y"},
    {"CBHullZ", "Hull z"},
    {"CBPilotX", "Pilot x"},
    {"CBPilotY", "Pilot y"},
    {"CBPilotZ", "Pilot z"},
    {"CBNavigatorX", "Nav. x"},
    {"CBNavigatorY", "Nav. y"},
    {"CBNavigatorZ", "Nav. z"},
    {"CBSpare", "Spare"},
}};

constexpr int FirstChannelRowTop = 84;
constexpr int ChannelRowPitch = 23;

template <typename T>
T* Place(T* control, Control* parent, int left, int top, int width, int height) {
  control->SetParent(parent);
  control->Left = left;
  control->Top = top;
  control->Width = width;
  control->Height = height;
  return control;
}

}  // namespace

// Builds every component in the order of the form description, so that ComponentIndex
// follows that order, and binds the events to their handlers.
void TForm1::BuildFormDescription() {
  SetCaption("Tavro X Data Analysis");
  ClientWidth = 1168;
  ClientHeight = 639;

  StatusBar = Create<::StatusBar>("StatusBar");
  StatusBar->SetParent(this);
  StatusBar->Alignment = Align::Bottom;
  StatusBar->Height = 0;

  PageControl1 = Create<PageControl>("PageControl1");
  PageControl1->SetParent(this);
  PageControl1->Alignment = Align::Client;
  PageControl1->OnChange = [this](Component* sender) { PageControl1Change(sender); };

  TabSheet1 = Create<TabSheet>("TabSheet1");
  TabSheet1->SetParent(PageControl1);
  TabSheet1->SetCaption("Graph");
  PageControl1->Pages.push_back(TabSheet1);

  Chart1 = Create<Chart>("Chart1");
  Chart1->SetParent(TabSheet1);
  Chart1->Alignment = Align::Client;
  Chart1->AddTitleLine("TChart");
  Chart1->BottomAxis().SetTitle("Time (Sampels 600/second)");
  Chart1->LeftAxis().SetTitle("Acceleration [m/s2]");
  Chart1->View3D = false;
  Chart1->MouseWheelZooms = true;
  Chart1->Margins = PrintMargins{15, 21, 15, 21};
  for (std::size_t i = 0; i < RawAndSpeedSeries.size(); ++i) {
    const LineSeriesLook& look = RawAndSpeedSeries[i];
    LineSeries* series = Create<LineSeries>(look.Name);
    series->SetTitle(look.Title);
    series->SetSeriesColor(look.SeriesColor);
    series->DrawAllPoints = false;
    Chart1->AddSeries(series);
    Series1To11[i] = series;
  }
  for (std::size_t i = 0; i < FilteredSeries.size(); ++i) {
    const LineSeriesLook& look = FilteredSeries[i];
    LineSeries* series = Create<LineSeries>(look.Name);
    series->SetTitle(look.Title);
    series->SetSeriesColor(look.SeriesColor);
    Chart1->AddSeries(series);
    Series22To31[i] = series;
  }

  TabSheet2 = Create<TabSheet>("TabSheet2");
  TabSheet2->SetParent(PageControl1);
  TabSheet2->SetCaption("ICI");
  PageControl1->Pages.push_back(TabSheet2);
  PageControl1->SetActivePage(TabSheet1);

  Chart2 = Create<Chart>("Chart2");
  Chart2->SetParent(TabSheet2);
  Chart2->Alignment = Align::Client;
  Chart2->AddTitleLine("TChart");
  Chart2->BottomAxis().SetTitle("Acceleration [m/s2]");
  Chart2->LeftAxis().SetTitle("Number of impacts");
  Chart2->LeftAxis().AxisLineVisible = false;
  // Impacts are counted: the axis steps by whole numbers.
  Chart2->LeftAxis().Increment = 1.0;
  Chart2->View3D = true;
  Chart2->Depth3DPercent = 21;
  Chart2->Perspective3D = 18;
  Chart2->MarginRight = 10;
  Chart2->MarginTop = 2;
  Chart2->Margins = PrintMargins{15, 20, 15, 20};
  for (std::size_t i = 0; i < ImpactSeries.size(); ++i) {
    const BarSeriesLook& look = ImpactSeries[i];
    BarSeries* series = Create<BarSeries>(look.Name);
    series->SetTitle(look.Title);
    series->SetSeriesColor(look.SeriesColor);
    series->BarWidthPercent = look.BarWidthPercent;
    series->MarksVisible = false;
    Chart2->AddSeries(series);
    Series12To21[i] = series;
  }

  Panel1 = Place(Create<Panel>("Panel1"), this, 0, 0, 145, ClientHeight);
  Panel1->Alignment = Align::Left;

  Label5 = Place(Create<Label>("Label5"), Panel1, 8, 7, 90, 13);
  Label5->SetCaption("Channel Explorer");

  CBSpeed = Place(Create<CheckBox>("CBSpeed"), Panel1, 20, 45, 80, 17);
  CBSpeed->SetCaption("Speed");
  CBSpeed->OnClick = [this](Component* sender) { CBSpeedClick(sender); };

  for (int slot = 0; slot < SlotCount; ++slot) {
    CheckBox* box = Place(Create<CheckBox>(ChannelRows[slot].BoxName), Panel1, 20,
                          FirstChannelRowTop + ChannelRowPitch * slot, 80, 17);
    box->SetCaption(ChannelRows[slot].Caption);
    box->OnClick = [this, slot](Component*) { ChannelBoxClick(slot); };
    channelBoxes_[slot] = box;
  }
  CBHullX = channelBoxes_[0];
  CBHullY = channelBoxes_[1];
  CBHullZ = channelBoxes_[2];
  CBPilotX = channelBoxes_[3];
  CBPilotY = channelBoxes_[4];
  CBPilotZ = channelBoxes_[5];
  CBNavigatorX = channelBoxes_[6];
  CBNavigatorY = channelBoxes_[7];
  CBNavigatorZ = channelBoxes_[8];
  CBSpare = channelBoxes_[9];

  Button1 = Place(Create<Button>("Button1"), Panel1, 15, 530, 75, 25);
  Button1->SetCaption("Clear filter");
  Button1->OnClick = [this](Component* sender) { Button1Click(sender); };

  RadioGroup1 = Place(Create<RadioGroup>("RadioGroup1"), Panel1, 8, 358, 100, 147);
  RadioGroup1->SetCaption("Filter channels");
  RadioGroup1->Items = {"50 Hz", "100 Hz", "150 Hz", "200 Hz", "250 Hz"};
  RadioGroup1->OnClick = [this](Component* sender) { RadioGroup1Click(sender); };

  // The "Invert" column: the static text stands between the fourth and the fifth box in
  // the form's list.
  const auto createInvertBox = [this](int slot) {
    CheckBox* box = Place(Create<CheckBox>("CheckBox" + std::to_string(slot + 1)), Panel1, 112,
                          FirstChannelRowTop + ChannelRowPitch * slot, 17, 17);
    box->SetEnabled(false);
    box->OnClick = [this, slot](Component*) { InvertBoxClick(slot); };
    invertBoxes_[slot] = box;
  };
  for (int slot = 0; slot < 4; ++slot) createInvertBox(slot);
  StaticText1 = Place(Create<StaticText>("StaticText1"), Panel1, 105, 61, 31, 17);
  StaticText1->SetCaption("Invert");
  for (int slot = 4; slot < SlotCount; ++slot) createInvertBox(slot);
  CheckBox1 = invertBoxes_[0];
  CheckBox2 = invertBoxes_[1];
  CheckBox3 = invertBoxes_[2];
  CheckBox4 = invertBoxes_[3];
  CheckBox5 = invertBoxes_[4];
  CheckBox6 = invertBoxes_[5];
  CheckBox7 = invertBoxes_[6];
  CheckBox8 = invertBoxes_[7];
  CheckBox9 = invertBoxes_[8];
  CheckBox10 = invertBoxes_[9];

  Panel2 = Create<Panel>("Panel2");
  Panel2->SetParent(this);
  Panel2->Alignment = Align::Bottom;
  Panel2->Height = 37;
  Panel2->Bevel = false;

  MainMenu = Create<::MainMenu>("MainMenu");
  Menu = MainMenu;
  const auto createItem = [this](const char* name, const char* caption, MenuItem* parent,
                                 void (TForm1::*handler)(Component*)) {
    MenuItem* item = Create<MenuItem>(name);
    item->SetCaption(caption);
    if (parent != nullptr) parent->Add(item);
    if (handler != nullptr)
      item->OnClick = [this, handler](Component* sender) { (this->*handler)(sender); };
    return item;
  };
  File = createItem("File", "&File", nullptr, nullptr);
  Open1 = createItem("Open1", "&Open...", File, &TForm1::Open1Click);
  SaveGPSdata1 =
      createItem("SaveGPSdata1", "Save file with GPS map data", File, &TForm1::SaveGPSdata1Click);
  SavenoGPS1 =
      createItem("SavenoGPS1", "Save file without route data", File, &TForm1::SavenoGPS1Click);
  SaveBmp1 = createItem("SaveBmp1", "Save to a .bmp file", File, &TForm1::SaveBmp1Click);
  Print = createItem("Print", "&Print", File, &TForm1::PrintClick);
  N1 = createItem("N1", "-", File, nullptr);
  Exit2 = createItem("Exit2", "&Exit", File, &TForm1::Exit2Click);
  Help = createItem("Help", "&Help", nullptr, nullptr);
  About = createItem("About", "A&bout...", Help, &TForm1::AboutClick);
  MainMenu->Items = {File, Help};

  OpenFileDialog = Create<OpenDialog>("OpenFileDialog");
  OpenFileDialog->Filter = "*.DAT|*.DAT";
  SaveFileDialog = Create<SaveDialog>("SaveFileDialog");

  OnCreate = [this](Component* sender) { FormCreate(sender); };
}
