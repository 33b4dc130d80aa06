#include "app/main_window.h"
#include "display/channel_display.h"

bool AnyLayoutChannelTicked(const TForm1& window) {
  return !TickedLayoutSlots(window).empty();
}

void TForm1::UpdateSpeedAxisTitle() {
  Chart1->LeftAxis().SetTitle(AnyLayoutChannelTicked(*this) ? AccelerationAndSpeedAxisTitle
                                                            : SpeedAxisTitle);
}

void TForm1::CBSpeedClick(Component* /*Sender*/) {
  if (CBSpeed->Checked()) {
    UpdateSpeedAxisTitle();
    Chart1->GetSeries(10)->SetActive(true);
  } else {
    Chart1->LeftAxis().SetTitle(AccelerationAxisTitle);
    Chart1->GetSeries(10)->SetActive(false);
  }
}
