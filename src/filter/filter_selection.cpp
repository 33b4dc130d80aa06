#include <vector>

#include "app/main_window.h"
#include "display/channel_display.h"
#include "filter/filter_cutoff.h"
#include "platform/application.h"
#include "recording/recording_format.h"

// Filters every ticked channel of the layout at the chosen cut-off and shows the filtered
// traces in place of the raw ones. Inverting is only offered on raw traces, so the "Invert"
// boxes are disabled whatever follows, unless the memory for the filtered traces cannot be
// had: then the group goes back to the item it had and nothing else changes.
void TForm1::RadioGroup1Click(Component* /*Sender*/) {
  const std::vector<int> ticked = TickedLayoutSlots(*this);
  const auto restoreSelection = [this] {
    RadioGroup1->SetItemIndex(RadioGroup1->PreviousItemIndex());
  };
  if (!ReserveFilteredArrays(ticked, restoreSelection)) return;

  for (int slot = 0; slot < SlotCount; ++slot) InvertBox(slot)->SetEnabled(false);

  if (ticked.empty()) {
    // Clear the selection first, so the group shows none while the message is up.
    RadioGroup1->SetItemIndex(NoFilterSelected);
    CurrentDesktop().ShowMessage("Set channel", "Error");
    return;
  }

  const int item = RadioGroup1->ItemIndex();
  // The filter runs touch no control, so every ticked channel is filtered first, all of them
  // at once, and the series then follow slot by slot; a view may take a while over each
  // series it is given, so the window answers in between.
  const WorkProgress progress = ActionProgress();
  FilterChannels(ticked, CutoffOfItem(item), PlotCount, ProgressPart(progress, 0.0, 0.8));
  for (std::size_t shown = 0; shown < ticked.size(); ++shown) {
    const int slot = ticked[shown];
    if (progress) progress(0.8 + 0.2 * static_cast<double>(shown) / ticked.size());
    if (item == 0 && slot >= 3 && slot <= 5) {
      if (TenChannels) {
        Chart1->GetSeries(slot)->SetTitle(SlotTitle(slot, true));
      } else {
        Chart1->GetSeries(11 + slot)->SetTitle(SlotTitle(slot, false));
      }
    }
    Chart1->GetSeries(slot)->SetActive(false);
    ShowFilteredSeries(slot + 12, slot + 1);
  }
}
