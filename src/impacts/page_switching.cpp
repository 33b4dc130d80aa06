#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "display/channel_display.h"
#include "filter/filter_cutoff.h"
#include "platform/application.h"
#include "recording/recording_format.h"

namespace {

// The channel boxes that follow the page: every slot's with ten channels; in the six-channel
// layout (and before any load) slots 0 to 5 and also CBNavigatorX, which is hidden once a
// six-channel recording is loaded, so the extra box changes nothing visible.
int PagedChannelBoxCount(const TForm1& window) {
  return window.TenChannels ? SlotCount : 7;
}

// The bar's label: the band's lower limit in the general number format, at most 15
// significant digits ("20" ... "250").
std::string BandLabel(double limit) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", limit);
  return text;
}

// While "ICI" is shown nothing on the left panel and nothing in the File menu may change what
// the bars describe.
void SetPanelAndFileMenuEnabled(TForm1& window, bool enabled) {
  window.RadioGroup1->SetEnabled(enabled);
  window.Panel1->SetEnabled(enabled);
  window.CBSpeed->SetEnabled(enabled);
  window.Button1->SetEnabled(enabled);
  window.File->SetEnabled(enabled);
}

void SetPagedChannelBoxesEnabled(TForm1& window, bool enabled) {
  for (int slot = 0; slot < PagedChannelBoxCount(window); ++slot) {
    window.ChannelBox(slot)->SetEnabled(enabled);
  }
}

// The bars of one slot from the counts just taken: the filtered ones when a filter is
// selected, else the raw ones.
void BuildImpactBars(TForm1& window, int slot, bool filterSelected) {
  BarSeries* bars = window.Chart2->GetBarSeries(slot);
  if (!window.ChannelBox(slot)->Checked()) {
    bars->SetActive(false);
    return;
  }
  bars->SetTitle(SlotTitle(slot, window.TenChannels));
  bars->SetActive(true);
  bars->Clear();
  const ImpactRow& counts =
      filterSelected ? window.FilteredImpactCounts.at(slot + 1) : window.ImpactCounts.at(slot + 1);
  for (int band = 0; band < ImpactBandCount; ++band) {
    bars->AddXY(band + 1, counts[band], BandLabel(window.ImpactLimits[band]), bars->SeriesColor());
  }
}

// Every ticked slot is counted again from the data it shows now: its raw trace always (an
// inversion since the load changes it), its filtered trace when a filter is selected. The
// counts touch no control, so all of them run first, at once, and the bars follow slot by
// slot.
void CountTickedSlots(TForm1& window, bool filterSelected) {
  const std::vector<int> ticked = TickedLayoutSlots(window);
  for (int slot : ticked) {
    window.ImpactCounts.at(slot + 1) = ImpactRow{};
    if (filterSelected) window.FilteredImpactCounts.at(slot + 1) = ImpactRow{};
  }
  window.CountImpactsOfSlots(ticked, filterSelected, window.SampleCount, ActionProgress());
}

void EnterImpactPage(TForm1& window) {
  SetPanelAndFileMenuEnabled(window, false);
  for (int slot = 0; slot < window.LayoutSlotCount(); ++slot) {
    window.InvertBox(slot)->SetEnabled(false);
  }
  SetPagedChannelBoxesEnabled(window, false);
  const bool filterSelected = window.RadioGroup1->ItemIndex() != NoFilterSelected;
  CountTickedSlots(window, filterSelected);
  for (int slot = 0; slot < window.LayoutSlotCount(); ++slot) {
    BuildImpactBars(window, slot, filterSelected);
  }
}

// Back on "Graph" the line series follow the boxes and the filter selection again; nothing
// is filtered or counted anew.
void ReturnToGraphPage(TForm1& window) {
  SetPanelAndFileMenuEnabled(window, true);
  const bool filterSelected = window.RadioGroup1->ItemIndex() != NoFilterSelected;
  for (int slot = 0; slot < window.LayoutSlotCount(); ++slot) {
    window.InvertBox(slot)->SetEnabled(!filterSelected);
  }
  SetPagedChannelBoxesEnabled(window, true);
  for (int slot = 0; slot < window.LayoutSlotCount(); ++slot) {
    const bool ticked = window.ChannelBox(slot)->Checked();
    window.Chart1->GetSeries(filterSelected ? 11 + slot : slot)->SetActive(ticked);
    if (ticked && slot >= 3) {
      window.Chart1->GetSeries(slot)->SetTitle(SlotTitle(slot, window.TenChannels));
    }
  }
}

}  // namespace

void TForm1::PageControl1Change(Component* /*Sender*/) {
  const int page = PageControl1->ActivePage()->ComponentIndex();
  if (page == TabSheet2->ComponentIndex()) {
    EnterImpactPage(*this);
  } else if (page == TabSheet1->ComponentIndex()) {
    ReturnToGraphPage(*this);
  }
}
