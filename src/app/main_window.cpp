#include "app/main_window.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() : Form("Form1") {
  BuildFormDescription();

  SampleCount = 0;
  OpenedFileName.clear();
  SerialText.clear();
  DataFileName.clear();
  SpeedValues.Release();
  SpeedPositions.Release();
  SampleIndex.Release();
  for (int slot = 0; slot < SlotCount; ++slot) {
    RawSamples[slot].Release();
    Acceleration[slot].Release();
    FilteredAcceleration[slot].Release();
  }
  ImpactLimits = MakeImpactLimits();
}

TForm1::~TForm1() {
  OpenedFileName.clear();
  for (int slot = SlotCount - 1; slot >= 0; --slot) {
    FilteredAcceleration[slot].Release();
    Acceleration[slot].Release();
    RawSamples[slot].Release();
  }
  SampleIndex.Release();
  SpeedPositions.Release();
  SpeedValues.Release();
  SerialText.clear();
  DataFileName.clear();
}

void TForm1::FormCreate(Component* /*Sender*/) {
  Form1->SaveFileDialog->Filter = "*.bmp|*.bmp";
  Form1->SaveFileDialog->FilterIndex = 1;
  for (int index = 0; index <= 10; ++index) Chart1->GetSeries(index)->SetActive(false);
  CBSpeed->SetEnabled(false);
  for (int slot = 0; slot < SlotCount; ++slot) ChannelBox(slot)->SetEnabled(false);
  SaveGPSdata1->SetEnabled(false);
  SavenoGPS1->SetEnabled(false);
  SaveBmp1->SetEnabled(false);
  Print->SetEnabled(false);
}
