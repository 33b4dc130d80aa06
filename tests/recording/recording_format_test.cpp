#include "recording/recording_format.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/recording_builder.h"

namespace {

TEST(RecordingFormat, LittleEndianFieldsWhateverTheHost) {
  const std::uint8_t bytes[] = {0x34, 0x12, 0x00, 0x00, 0x34, 0x43};
  EXPECT_EQ(ReadU16LE(bytes), 0x1234);
  EXPECT_EQ(ReadU32LE(bytes), 0x1234u);
  EXPECT_EQ(ReadU32LE(bytes + 2), 0x43340000u);
  EXPECT_EQ(ReadF32LE(bytes + 2), 180.0f);

  std::uint8_t written[6] = {};
  WriteU16LE(written, 0x1234);
  WriteF32LE(written + 2, 180.0f);
  EXPECT_EQ(std::vector<std::uint8_t>(written, written + 6),
            std::vector<std::uint8_t>(bytes, bytes + 6));
}

struct ProbeCase {
  const char* Name;
  RecordingBuilder Recording;
  bool TenChannels;
};

TEST(RecordingFormat, ProbeByteTellsTheLayout) {
  // Frame 399 of block 1 in the six-channel layout holds the probe byte in its Hull Z count.
  constexpr std::int64_t ProbeSample = 600 + 399;
  const auto hullZAtProbe = [](std::uint32_t count) {
    return [count](std::int64_t sample) { return sample == ProbeSample ? count : 1000u; };
  };
  const ProbeCase cases[] = {
      {"ten channels", RecordingBuilder(true).Blocks(2), true},
      {"ten channels, block 1 longitude +0.0",
       RecordingBuilder(true).Blocks(2).Position(1, 0.0f, 1), false},
      {"ten channels, block 1 longitude -0.0",
       RecordingBuilder(true).Blocks(2).Position(1, -0.0f, 1), true},
      {"six channels", RecordingBuilder(false).Blocks(2), false},
      {"six channels, Hull Z count 2^24 - 1",
       RecordingBuilder(false).Blocks(2).Counts(2, hullZAtProbe((1u << 24) - 1)), false},
      {"six channels, Hull Z count 2^24",
       RecordingBuilder(false).Blocks(2).Counts(2, hullZAtProbe(1u << 24)), true},
  };
  for (const auto& c : cases) {
    const auto bytes = c.Recording.Build();
    EXPECT_EQ(ProbeTenChannels(bytes.data(), bytes.size()), c.TenChannels) << c.Name;
  }
}

TEST(RecordingFormat, FileWithoutProbeByteReadsAsSixChannelsWithoutReadingPastItsEnd) {
  const std::vector<std::uint8_t> bytes(LayoutProbeOffset, 0xFF);
  EXPECT_FALSE(ProbeTenChannels(bytes.data(), bytes.size()));
  EXPECT_FALSE(ProbeTenChannels(nullptr, 0));
}

TEST(RecordingFormat, SlotTitlesOfBothLayouts) {
  const char* const ten[] = {"Hull X",  "Hull Y", "Hull Z", "Pilot X", "Pilot Y",
                             "Pilot Z", "Nav. x", "Nav. y", "Nav. z",  "Spare"};
  const char* const six[] = {"Hull X", "Hull Y", "Hull Z", "Spare",  "Pilot Z",
                             "Nav. z", "Nav. x", "Nav. y", "Nav. z", "Spare"};
  for (int slot = 0; slot < 10; ++slot) {
    EXPECT_STREQ(SlotTitle(slot, true), ten[slot]) << slot;
    EXPECT_STREQ(SlotTitle(slot, false), six[slot]) << slot;
  }
  EXPECT_THROW(SlotTitle(10, true), std::out_of_range);
}

}  // namespace
