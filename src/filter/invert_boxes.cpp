#include <cstdint>

#include "app/main_window.h"
#include "platform/application.h"
#include "recording/recording_decoder.h"

// Recomputes the slot's whole trace from its raw counts rather than negating it in place, so
// any number of clicks never drifts from what the load computed.
void TForm1::InvertBoxClick(int slot) {
  const bool inverted = InvertBox(slot)->Checked();
  const DynArray<std::uint32_t>& raw = RawSamples.at(slot);
  const DynArray<double>& acceleration = Acceleration.at(slot);
  raw.CheckRange(0, SampleCount);
  acceleration.CheckRange(0, SampleCount);
  ConvertCounts(raw.data(), SampleCount, ChannelOffset.at(slot), Sensitivity.at(slot), inverted,
                acceleration.data(), ActionProgress());

  // The trace changed in place; the series keeps its x values and only learns that its y
  // values changed.
  LineSeries* series = Chart1->GetLineSeries(slot);
  series->XValues.Count = SampleCount;
  series->YValues.Value = acceleration;
  series->YValues.Modified = true;
  series->Repaint();
}
