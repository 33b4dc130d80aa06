#include "app/main_window.h"
#include "display/channel_display.h"
#include "filter/filter_cutoff.h"
#include "recording/recording_format.h"

void BindLineSeries(LineSeries& series, const DynArray<double>& x, const DynArray<double>& y,
                    std::uint32_t count) {
  x.CheckRange(0, count);
  y.CheckRange(0, count);
  series.XValues.Count = count;
  series.XValues.Value = x;
  series.XValues.Modified = true;
  series.YValues.Count = count;
  series.YValues.Value = y;
  series.YValues.Modified = true;
  series.Repaint();
}

void ReleaseLineSeries(LineSeries& series) {
  for (ChartValueList* list : {&series.XValues, &series.YValues}) {
    list->Count = 0;
    list->Value.Release();
    list->Modified = true;
  }
  series.Repaint();
}

std::vector<int> TickedLayoutSlots(const TForm1& window) {
  std::vector<int> slots;
  for (int slot = 0; slot < window.LayoutSlotCount(); ++slot) {
    if (window.ChannelBox(slot)->Checked()) slots.push_back(slot);
  }
  return slots;
}

void TForm1::ShowFilteredSeries(int seriesNumber, int channelNumber) {
  Chart1->GetSeries(seriesNumber - 1)->SetActive(true);
  BindLineSeries(*Chart1->GetLineSeries(seriesNumber - 1), SampleIndex,
                 FilteredAcceleration.at(channelNumber - 1), PlotCount);
}

// One operation behind the ten channel boxes. Which of the slot's two series a box shows
// follows the filter selection; a box ticked while a filter is selected filters its slot
// anew from the current accelerations, so an inversion made before always shows.
void TForm1::ChannelBoxClick(int slot) {
  ChartSeries* raw = Chart1->GetSeries(slot);
  ChartSeries* filtered = Chart1->GetSeries(11 + slot);
  const bool filterSelected = RadioGroup1->ItemIndex() != NoFilterSelected;

  if (!ChannelBox(slot)->Checked()) {
    InvertBox(slot)->SetEnabled(false);
    (filterSelected ? filtered : raw)->SetActive(false);
    if (CBSpeed->Checked()) {
      UpdateSpeedAxisTitle();
    } else {
      Chart1->LeftAxis().SetTitle(AccelerationAxisTitle);
    }
    return;
  }

  // The first filter run on a slot makes its filtered array resident; when that cannot fit,
  // the box goes back to unticked (its handler finds nothing to hide) and nothing else changes.
  if (filterSelected &&
      !ReserveFilteredArrays({slot}, [this, slot] { ChannelBox(slot)->SetChecked(false); })) {
    return;
  }

  // The load leaves the raw series of slots 3 to 9 untitled; the navigator and spare slots
  // are titled each time they are shown.
  const char* const tenChannelName = SlotTitle(slot, true);
  if (!filterSelected) {
    InvertBox(slot)->SetEnabled(true);
    if (slot >= 6) raw->SetTitle(tenChannelName);
    raw->SetActive(true);
  } else {
    InvertBox(slot)->SetEnabled(false);
    if (slot >= 6) filtered->SetTitle(tenChannelName);
    filtered->SetActive(true);
    FilterChannel(slot, CutoffOfItem(RadioGroup1->ItemIndex()), PlotCount);
    ShowFilteredSeries(slot + 12, slot + 1);
  }
  // The pilot slots carry other channels in the six-channel layout; their raw series is
  // titled by the layout's name, also while it stays hidden behind the filtered one.
  if (slot >= 3 && slot <= 5) raw->SetTitle(SlotTitle(slot, TenChannels));
  Chart1->LeftAxis().SetTitle(CBSpeed->Checked() ? AccelerationAndSpeedAxisTitle
                                                 : AccelerationAxisTitle);
}
