#include "app/main_window.h"
#include "display/channel_display.h"
#include "filter/filter_cutoff.h"
#include "recording/recording_format.h"

// Back from the filtered traces to the raw ones. No data changes: the raw traces that come
// back are the current accelerations, inversions included.
void TForm1::Button1Click(Component* /*Sender*/) {
  for (int slot = 0; slot < SlotCount; ++slot) InvertBox(slot)->SetEnabled(true);
  RadioGroup1->SetItemIndex(NoFilterSelected);
  for (int slot : TickedLayoutSlots(*this)) {
    ChartSeries* raw = Chart1->GetSeries(slot);
    raw->SetTitle(SlotTitle(slot, TenChannels));
    raw->SetActive(true);
  }
  for (int slot = 0; slot < SlotCount; ++slot) Chart1->GetSeries(11 + slot)->SetActive(false);
}
