#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "display/panel_fixture.h"
#include "filter/lowpass_filter.h"
#include "platform/parallel_passes.h"

namespace panel {
namespace {

using RoadOfOneUse = PanelTest;

TEST_F(RoadOfOneUse, OpenTickFilterVisitImpactsAndReturn) {
  OpenPulses(true);
  TForm1& w = Window();

  w.CBHullX->UserClick();
  EXPECT_TRUE(Raw(0).Active());
  EXPECT_TRUE(w.CheckBox1->UsableByUser());

  w.RadioGroup1->UserChoose(1);  // "100 Hz"
  EXPECT_EQ(w.RadioGroup1->ItemIndex(), 1);
  EXPECT_FALSE(Raw(0).Active());
  EXPECT_TRUE(Filtered(0).Active());
  EXPECT_EQ(Filtered(0).YValues.Count, Samples);
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_FALSE(w.InvertBox(slot)->Enabled());

  ShowImpacts();
  const Control* const panelControls[] = {w.Panel1, w.RadioGroup1, w.Button1, w.CBSpeed, w.CBHullX};
  for (const Control* control : panelControls) {
    EXPECT_FALSE(control->UsableByUser()) << control->Name();
  }
  EXPECT_FALSE(w.Open1->UsableByUser());
  EXPECT_TRUE(w.About->UsableByUser());
  ASSERT_EQ(Bars(0).Points().size(), 24u);
  EXPECT_TRUE(Bars(0).Active());
  EXPECT_EQ(Bars(0).Title(), "Hull X");
  // The 25 m/s² impact of Hull X, filtered at 100 Hz, still peaks in the first band.
  EXPECT_EQ(Bars(0).Points()[0].Y, 1.0);
  EXPECT_EQ(w.FilteredImpactCounts[1][0], 1.0);
  for (int slot = 1; slot < SlotCount; ++slot) EXPECT_FALSE(Bars(slot).Active()) << slot;

  ShowGraph();
  EXPECT_TRUE(w.CBHullX->UsableByUser());
  EXPECT_TRUE(w.RadioGroup1->UsableByUser());
  EXPECT_TRUE(w.Open1->UsableByUser());
  EXPECT_TRUE(Filtered(0).Active());
  EXPECT_FALSE(Raw(0).Active());
  // The "Invert" boxes stay disabled as long as a filter is selected.
  for (int slot = 0; slot < SlotCount; ++slot) EXPECT_FALSE(w.InvertBox(slot)->Enabled());
  EXPECT_TRUE(desktop.Messages.empty());
}

// Opening a recording unticks every box that is in use; their handlers run inside the load,
// over the previous recording, and the load still ends in the state of a fresh load.
TEST_F(RoadOfOneUse, LoadWhileEverythingIsInUseEndsInTheLoadedState) {
  OpenPulses(true);
  TForm1& w = Window();
  w.CBSpeed->UserClick();
  w.CBHullX->UserClick();
  w.CBNavigatorY->UserClick();
  w.CheckBox1->UserClick();
  w.CheckBox8->UserClick();
  w.RadioGroup1->UserChoose(3);
  ASSERT_EQ(LeftAxisTitle(), "Acceleration [m/s2] + The blue line is speed in knots");

  struct Case {
    const char* Name;
    bool TenChannels;
  };
  for (const Case& next : {Case{"S0001.DAT", false}, Case{"R0413.DAT", true}}) {
    SCOPED_TRACE(next.Name);
    Open(PulseRecording(next.TenChannels), next.Name);
    EXPECT_TRUE(desktop.Messages.empty());
    EXPECT_EQ(w.DataFileName, folder.File(next.Name));
    EXPECT_EQ(w.TenChannels, next.TenChannels);
    EXPECT_EQ(w.RadioGroup1->ItemIndex(), -1);
    EXPECT_EQ(LeftAxisTitle(), "Acceleration [m/s2]");
    EXPECT_FALSE(w.CBSpeed->Checked());
    for (int index = 0; index <= 20; ++index) EXPECT_FALSE(w.Chart1->GetSeries(index)->Active());
    for (int slot = 0; slot < SlotCount; ++slot) {
      EXPECT_FALSE(w.ChannelBox(slot)->Checked()) << slot;
      EXPECT_FALSE(w.InvertBox(slot)->Checked()) << slot;
      EXPECT_FALSE(w.InvertBox(slot)->Enabled()) << slot;
    }
    for (int slot = 0; slot < w.LayoutSlotCount(); ++slot) {
      // The new recording carries the load's sign.
      EXPECT_EQ(w.Acceleration[slot][PulseStart], PulseHeight[slot]) << slot;
      EXPECT_TRUE(Raw(slot).YValues.Value.SharesStorageWith(w.Acceleration[slot]));
      EXPECT_EQ(Raw(slot).XValues.Count, Samples);
    }
    // Tick the boxes again for the next load.
    w.CBSpeed->UserClick();
    w.CBHullX->UserClick();
    w.CheckBox1->UserClick();
    w.RadioGroup1->UserChoose(0);
  }
}

// Long enough for every pass over it to run on every core, split between threads at odd
// places: noise of about ±6 m/s² and an impact of each slot's own height every 1300 samples,
// those of Spare beyond the clipping limit; the last block is partial.
RecordingBuilder BusyRecording(bool tenChannels) {
  RecordingBuilder builder(tenChannels);
  builder.Blocks(131).PartialBlockBytes(1000).Speed(123);
  for (int slot = 0; slot < (tenChannels ? 10 : 6); ++slot) {
    builder.Counts(slot, [slot](std::int64_t sample) {
      const double noise = static_cast<double>(sample * (slot + 7) * 7919 % 8001 - 4000);
      const std::int64_t phase = sample % 1300;
      const double pulse =
          phase < 40 ? (30.0 + 25.0 * slot) * std::sin(3.14159265358979 * phase / 40) : 0.0;
      return static_cast<std::uint32_t>(ZeroLevel + noise - pulse * Sensitivity);
    });
  }
  return builder;
}

// A digest of the bits of `count` values: two runs that differ in any bit differ here.
template <typename T>
std::size_t Bits(const T* values, std::size_t count) {
  return std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(values), count * sizeof(T)));
}

template <typename T>
std::size_t Bits(const T& value) {
  return Bits(&value, 1);
}

// The entries a pass writes.
template <typename T>
std::size_t Bits(const DynArray<T>& array, std::size_t count) {
  array.CheckRange(0, count);
  return Bits(array.data(), count);
}

void ExpectSameBits(const std::map<std::string, std::size_t>& outputs,
                    const std::map<std::string, std::size_t>& expected) {
  ASSERT_EQ(outputs.size(), expected.size());
  for (const auto& [name, bits] : expected) EXPECT_EQ(outputs.at(name), bits) << name;
}

class RoadOnEveryCore : public PanelTest, public ::testing::WithParamInterface<bool> {
 protected:
  void TearDown() override {
    omp_set_num_threads(defaultThreads_);
    SetSliceSamples({});
    PanelTest::TearDown();
  }

  // The road of one use with every channel ticked and Hull Z inverted, through every cut-off
  // and a visit to "ICI" after each: everything the passes compute on the way, by name.
  std::map<std::string, std::size_t> RoadOnThreads(int threads) {
    omp_set_num_threads(threads);
    TForm1& w = Window();
    Open(BusyRecording(GetParam()));
    std::map<std::string, std::size_t> outputs;
    outputs["ChannelSum"] = Bits(w.ChannelSum);
    outputs["ChannelOffset"] = Bits(w.ChannelOffset);
    const std::uint32_t n = w.SampleCount;
    outputs["SampleIndex"] = Bits(w.SampleIndex, n);
    outputs["SpeedPositions"] = Bits(Raw(10).XValues.Value, Raw(10).XValues.Count);
    outputs["SpeedValues"] = Bits(Raw(10).YValues.Value, Raw(10).YValues.Count);
    outputs["ImpactCounts after the load"] = Bits(w.ImpactCounts);
    for (int slot = 0; slot < w.LayoutSlotCount(); ++slot) {
      outputs["RawSamples " + std::to_string(slot)] = Bits(w.RawSamples[slot], n);
      outputs["Acceleration " + std::to_string(slot)] = Bits(w.Acceleration[slot], n);
      w.ChannelBox(slot)->UserClick();
    }
    w.CheckBox3->UserClick();
    outputs["Acceleration 2 inverted"] = Bits(w.Acceleration[2], n);

    for (int item = 0; item < 5; ++item) {
      const std::string cutoff = " at item " + std::to_string(item);
      w.RadioGroup1->UserChoose(item);
      for (int slot = 0; slot < w.LayoutSlotCount(); ++slot) {
        outputs["FilteredAcceleration " + std::to_string(slot) + cutoff] =
            Bits(w.FilteredAcceleration[slot], n);
      }
      outputs["FilterState" + cutoff] = Bits(w.FilterState);
      VisitImpacts();
      outputs["ImpactCounts" + cutoff] = Bits(w.ImpactCounts);
      outputs["FilteredImpactCounts" + cutoff] = Bits(w.FilteredImpactCounts);
    }
    EXPECT_TRUE(desktop.Messages.empty());
    return outputs;
  }

 private:
  int defaultThreads_ = omp_get_max_threads();
};

// The passes of the load, of a cut-off choice and of a visit to "ICI" run over channels or
// block ranges on every core; what they compute is bit for bit what one thread computes in
// the serial order, however the work is split.
TEST_P(RoadOnEveryCore, GivesTheBitsOfOneThread) {
  const std::map<std::string, std::size_t> serial = RoadOnThreads(1);
  for (int threads : {3, 8}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    ExpectSameBits(RoadOnThreads(threads), serial);
  }
}

// The passes stop between slices to let the window answer; where a slice ends, inside a
// block, a filter run or an impact's window, changes no bit either, nor do slices of lengths
// that change from one to the next as slices sized by time do. At 245 samples a slice, the
// sixteenth slice ends inside a pulse, 20 samples after its start.
TEST_P(RoadOnEveryCore, GivesTheSameBitsInShortSlices) {
  const std::map<std::string, std::size_t> whole = RoadOnThreads(1);
  for (const std::vector<std::uint64_t>& lengths :
       {std::vector<std::uint64_t>{245}, std::vector<std::uint64_t>{1201, 7, 40000, 600, 70001}}) {
    SCOPED_TRACE(testing::Message() << lengths.size() << " lengths in turn");
    SetSliceSamples(lengths);
    ExpectSameBits(RoadOnThreads(3), whole);
  }
}

// The shared filter state ends as the run of the last ticked slot leaves it.
TEST_P(RoadOnEveryCore, FilterStateEndsAsTheLastSlotsRunLeavesIt) {
  omp_set_num_threads(8);
  TForm1& w = Window();
  Open(BusyRecording(GetParam()));
  w.CBHullX->UserClick();
  w.CBHullZ->UserClick();
  w.CBPilotY->UserClick();
  w.RadioGroup1->UserChoose(2);

  FilterState expected{};
  std::vector<double> output(w.PlotCount);
  LowPassFilter(expected, 150.0, w.Acceleration[4].data(), output.data(), w.PlotCount);
  EXPECT_EQ(std::memcmp(&w.FilterState, &expected, sizeof expected), 0);
}

// Every long step of the road tells the desktop how far it is, between its slices and while
// the action runs: a load, a cut-off choice and a visit to "ICI".
TEST_P(RoadOnEveryCore, LongStepsReportTheirProgressAsTheyGo) {
  SetSliceSamples({330});
  TForm1& w = Window();
  const auto expectProgress = [this](const char* step, const std::function<void()>& action) {
    SCOPED_TRACE(step);
    desktop.Progress.clear();
    action();
    ASSERT_GT(desktop.Progress.size(), 10u);
    double last = 0.0;
    for (const ScriptedDesktop::ProgressReport& report : desktop.Progress) {
      EXPECT_TRUE(report.WhileBusy);
      EXPECT_GE(report.FractionDone, last);
      EXPECT_LE(report.FractionDone, 1.0);
      last = report.FractionDone;
    }
  };
  expectProgress("load", [&] { Open(BusyRecording(GetParam())); });
  for (int slot = 0; slot < w.LayoutSlotCount(); ++slot) w.ChannelBox(slot)->UserClick();
  expectProgress("cut-off", [&] { w.RadioGroup1->UserChoose(1); });
  expectProgress("ICI", [&] { ShowImpacts(); });
  EXPECT_TRUE(desktop.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, RoadOnEveryCore, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "TenChannels" : "SixChannels";
                         });

}  // namespace
}  // namespace panel
