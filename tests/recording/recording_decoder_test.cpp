#include "recording/recording_decoder.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "recording/recording_error.h"
#include "recording/recording_format.h"
#include "support/recording_builder.h"

namespace {

// The data steps of a load, in the open command's order, on bytes built in memory.
void Load(RecordingState& state, const RecordingBuilder& recording, float sensitivity = 660.0f) {
  const FileBytes bytes = ToFileBytes(recording.Build());
  CheckRecordingSize(bytes, "R.DAT");
  state.TenChannels = ProbeTenChannels(bytes.data(), bytes.Size());
  for (int slot = 0; slot < state.LayoutSlotCount(); ++slot) state.Sensitivity[slot] = sensitivity;
  CheckSensitivities(state.Sensitivity, state.TenChannels, "S2.txt");
  const RecordingGeometry geometry =
      ComputeGeometry(static_cast<std::int64_t>(bytes.Size()), state.TenChannels);
  DecodeRecording(state, bytes, geometry,
                  AllocateRecordingArrays(geometry, state.TenChannels, "R.DAT"));
}

RecordingState Loaded(const RecordingBuilder& recording, float sensitivity = 660.0f) {
  RecordingState state;
  Load(state, recording, sensitivity);
  return state;
}

template <typename T>
bool AllZeroFrom(const DynArray<T>& array, std::size_t first) {
  for (std::size_t n = first; n < array.Length(); ++n) {
    if (array.data()[n] != T{}) return false;
  }
  return true;
}

TEST(StartTimeText, HoursMinutesSecondsTruncatedAndHoursNotWrapped) {
  const struct {
    std::uint32_t TimeOfDay;
    const char* Text;
  } cases[] = {
      {0, "00:00:00"},        {19621800, "09:05:03"},   {28079999, "12:59:59"},
      {54000000, "25:00:00"}, {216000000, "100:00:00"}, {4294967295u, "1988:24:38"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StartTimeText(c.TimeOfDay), std::string(" Sample start time ") + c.Text);
    const FileBytes bytes =
        ToFileBytes(RecordingBuilder(true).Blocks(2).TimeOfDay(c.TimeOfDay).Build());
    EXPECT_EQ(StartTimeText(bytes), StartTimeText(c.TimeOfDay));
  }
}

TEST(ComputeGeometry, LastBlockIsNeverUsed) {
  const struct {
    std::int64_t Size;
    bool TenChannels;
    double BlockCount;
    std::int64_t FrameCount, ChannelCapacity, BlocksUsed;
  } cases[] = {
      {72048, true, 3.0, 1800, 7200, 2},
      {60040, true, 2.5, 1500, 6000, 2},
      {24020, false, 24020.0 / 14416, 999, 3998, 1},
      {24020, true, 24020.0 / 24016, 600, 2400, 1},
      {3 * 14416, false, 3.0, 1800, 7200, 2},
  };
  for (const auto& c : cases) {
    const RecordingGeometry g = ComputeGeometry(c.Size, c.TenChannels);
    EXPECT_EQ(g.BlockCount, c.BlockCount) << c.Size;
    EXPECT_EQ(g.FrameCount, c.FrameCount) << c.Size;
    EXPECT_EQ(g.ChannelCapacity, c.ChannelCapacity) << c.Size;
    EXPECT_EQ(g.BlocksUsed, c.BlocksUsed) << c.Size;
  }
}

TEST(DecodeRecording, TwoAndAHalfBlocksSizeEveryArrayAndFillOnlyTheSamplesUsed) {
  const auto count = [](int slot) {
    return [slot](std::int64_t sample) { return static_cast<std::uint32_t>(7 * sample + slot); };
  };
  RecordingBuilder recording(true);
  recording.Blocks(2).PartialBlockBytes(60040 - 2 * 24016).Speed(0, 123).Speed(1, 5);
  for (int slot = 0; slot < 10; ++slot) recording.Counts(slot, count(slot));
  const RecordingState state = Loaded(recording);

  EXPECT_EQ(state.SampleCount, 1200u);
  EXPECT_EQ(state.FrameCount, 1500);
  EXPECT_EQ(state.ChannelCapacity, 6000);
  EXPECT_EQ(state.BlockCount, 2.5);
  ASSERT_EQ(state.SpeedValues.Length(), 4u);
  EXPECT_EQ(state.SpeedValues[0], 12.3);
  EXPECT_EQ(state.SpeedValues[1], 0.5);
  EXPECT_EQ(state.SpeedPositions[1], 600.0);
  EXPECT_TRUE(AllZeroFrom(state.SpeedValues, 2) && AllZeroFrom(state.SpeedPositions, 2));
  ASSERT_EQ(state.SampleIndex.Length(), 1508u);
  for (std::uint32_t n = 0; n < state.SampleCount; ++n) ASSERT_EQ(state.SampleIndex[n], n);
  EXPECT_TRUE(AllZeroFrom(state.SampleIndex, state.SampleCount));
  for (int slot = 0; slot < 10; ++slot) {
    ASSERT_EQ(state.RawSamples[slot].Length(), 6004u);
    ASSERT_EQ(state.Acceleration[slot].Length(), 6004u);
    ASSERT_EQ(state.FilteredAcceleration[slot].Length(), 6004u);
    for (std::uint32_t n = 0; n < state.SampleCount; ++n) {
      ASSERT_EQ(state.RawSamples[slot][n], 7 * n + slot) << slot << " " << n;
    }
    // Sum of 7n + slot over 1200 samples, divided by 1200 and truncated.
    const std::uint64_t sum = 7ull * 1199 * 1200 / 2 + 1200ull * slot;
    EXPECT_EQ(state.ChannelSum[slot], sum);
    EXPECT_EQ(state.ChannelOffset[slot], static_cast<double>(sum / 1200));
    EXPECT_TRUE(AllZeroFrom(state.RawSamples[slot], state.SampleCount));
    EXPECT_TRUE(AllZeroFrom(state.Acceleration[slot], state.SampleCount));
    EXPECT_TRUE(AllZeroFrom(state.FilteredAcceleration[slot], 0));
  }
}

TEST(DecodeRecording, SmallestSixChannelFileUsesOneBlock) {
  const RecordingState state =
      Loaded(RecordingBuilder(false).Blocks(1).PartialBlockBytes(24020 - 14416));
  EXPECT_FALSE(state.TenChannels);
  EXPECT_EQ(state.SampleCount, 600u);
  EXPECT_EQ(state.FrameCount, 999);
  for (int slot = 6; slot < 10; ++slot) EXPECT_EQ(state.RawSamples[slot].Length(), 0u);
}

TEST(DecodeRecording, ZeroLevelIsTheTruncatedMean) {
  const RecordingState state = Loaded(RecordingBuilder(true).Blocks(2).Counts(
      0, [](std::int64_t sample) { return sample < 300 ? 1u : 2u; }));
  EXPECT_EQ(state.ChannelOffset[0], 1.0);
  EXPECT_EQ(state.Acceleration[0][0], 0.0);
  EXPECT_EQ(state.Acceleration[0][599], -1.0 / 660.0);
}

TEST(DecodeRecording, CountAboveTheZeroLevelIsNegative) {
  RecordingBuilder recording(true);
  recording.Blocks(2)
      .Counts(3, 1000)
      .Pulse(3, 10, 1.0, 660.0f, 1000.0)
      .Pulse(3, 20, -1.0, 660.0f, 1000.0);
  const RecordingState state = Loaded(recording);
  EXPECT_EQ(state.RawSamples[3][10], 340u);
  EXPECT_EQ(state.RawSamples[3][20], 1660u);
  EXPECT_EQ(state.ChannelOffset[3], 1000.0);
  EXPECT_EQ(state.Acceleration[3][10], 1.0);
  EXPECT_EQ(state.Acceleration[3][20], -1.0);
  EXPECT_EQ(state.Acceleration[3][11], 0.0);
}

// With sensitivity 2 and zero level 1000, counts 1500/500 give -250/+250, and one count
// further gives -250.5/+250.5; each pair keeps the mean at 1000.
TEST(DecodeRecording, ValuesBeyond250AreStoredAsZeroInEverySlot) {
  const struct {
    std::int64_t Sample;
    std::uint32_t Count;
    double Acceleration;
  } cases[] = {
      {10, 1500, -250.0}, {11, 500, 250.0}, {12, 1501, 0.0}, {13, 499, 0.0}, {14, 1499, -249.5}};
  for (bool tenChannels : {true, false}) {
    RecordingBuilder recording(tenChannels);
    recording.Blocks(2);
    for (int slot = 0; slot < ChannelCount(tenChannels); ++slot) {
      recording.Counts(slot, [&cases](std::int64_t sample) {
        for (const auto& c : cases) {
          if (c.Sample == sample) return c.Count;
        }
        return sample == 15 ? 501u : 1000u;
      });
    }
    const RecordingState state = Loaded(recording, 2.0f);
    for (int slot = 0; slot < ChannelCount(tenChannels); ++slot) {
      ASSERT_EQ(state.ChannelOffset[slot], 1000.0);
      for (const auto& c : cases) {
        EXPECT_EQ(state.Acceleration[slot][c.Sample], c.Acceleration)
            << tenChannels << " slot " << slot << " count " << c.Count;
      }
    }
  }
}

TEST(DecodeRecording, ReloadGivesNewZeroedStorageAndSixChannelsKeepSlotsSixToNine) {
  RecordingState state;
  Load(state, RecordingBuilder(true).Blocks(4).Counts(7, 12345));
  const DynArray<double> shownBefore = state.Acceleration[0];
  const DynArray<std::uint32_t> slot7 = state.RawSamples[7];
  state.FilteredAcceleration[0][0] = 99.0;

  Load(state, RecordingBuilder(false).Blocks(3).Counts(0, 5));
  EXPECT_EQ(state.SampleCount, 1200u);
  EXPECT_FALSE(state.Acceleration[0].SharesStorageWith(shownBefore));
  EXPECT_EQ(shownBefore.Length(), 4 * 2400u + 4);
  EXPECT_EQ(state.FilteredAcceleration[0][0], 0.0);
  EXPECT_TRUE(AllZeroFrom(state.RawSamples[0], state.SampleCount));
  EXPECT_TRUE(state.RawSamples[7].SharesStorageWith(slot7));
  EXPECT_EQ(state.RawSamples[7][1799], 12345u);
  for (int slot = 6; slot < 10; ++slot) EXPECT_EQ(state.ChannelOffset[slot], 0.0);
}

TEST(DecodeRecording, RejectsBytesThatDoNotHoldTheGeometry) {
  const FileBytes bytes = ToFileBytes(RecordingBuilder(true).Blocks(2).Build());
  const RecordingGeometry geometry = ComputeGeometry(4 * 24016, true);
  RecordingState state;
  state.TenChannels = true;
  EXPECT_THROW(
      DecodeRecording(state, bytes, geometry, AllocateRecordingArrays(geometry, true, "R.DAT")),
      std::invalid_argument);
  EXPECT_EQ(state.SampleCount, 0u);
  EXPECT_TRUE(state.SampleIndex.Empty());
}

TEST(RecordingChecks, ShortFileIsRejectedWithItsSize) {
  for (std::size_t size : {0u, 16u, 24019u}) {
    try {
      CheckRecordingSize(FileBytes(size), "/trips/R.DAT");
      ADD_FAILURE() << size;
    } catch (const RecordingError& error) {
      EXPECT_EQ(error.Message(), "\"/trips/R.DAT\" is " + std::to_string(size) +
                                     " bytes long; a recording needs at least 24020 bytes");
    }
  }
  EXPECT_NO_THROW(CheckRecordingSize(FileBytes(24020), "/trips/R.DAT"));
}

TEST(RecordingChecks, ZeroSensitivityIsNamedByTheChannelOfTheLayout) {
  const struct {
    bool TenChannels;
    int Slot;
    const char* Channel;  // null: the slot is outside the layout
  } cases[] = {{true, 1, "Hull Y"}, {true, 9, "Spare"}, {false, 3, "Spare"}, {false, 7, nullptr}};
  for (const auto& c : cases) {
    std::array<float, SlotCount> sensitivity;
    sensitivity.fill(660.0f);
    sensitivity[c.Slot] = 0.0f;
    if (!c.Channel) {
      EXPECT_NO_THROW(CheckSensitivities(sensitivity, c.TenChannels, "/trips/S2.txt"));
      continue;
    }
    try {
      CheckSensitivities(sensitivity, c.TenChannels, "/trips/S2.txt");
      ADD_FAILURE() << c.Slot;
    } catch (const RecordingError& error) {
      EXPECT_EQ(error.Message(), std::string("\"/trips/S2.txt\" gives channel \"") + c.Channel +
                                     "\" a sensitivity of 0, so the recording was not opened");
    }
  }
}

TEST(RecordingChecks, ArraysBeyondMemoryOrTheSampleCountAreRefused) {
  RecordingGeometry huge;
  huge.BlockCount = 1000.0;
  huge.BlocksUsed = 999;
  huge.FrameCount = 600000;
  // More entries than an address can count: refused before any allocator is asked.
  huge.ChannelCapacity = std::int64_t{1} << 62;
  EXPECT_THROW(AllocateRecordingArrays(huge, true, "R.DAT"), RecordingError);

  const RecordingGeometry tooLong = ComputeGeometry(std::int64_t{24016} * 8000000, true);
  try {
    AllocateRecordingArrays(tooLong, true, "R.DAT");
    ADD_FAILURE();
  } catch (const RecordingError& error) {
    EXPECT_EQ(error.Reason,
              "is too long to load: it holds more than 4294967295 samples per channel");
  }
}

}  // namespace
