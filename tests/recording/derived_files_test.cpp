#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "recording/position_text.h"
#include "recording/recording_format.h"
#include "recording/route_free_copy.h"
#include "support/recording_builder.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::uint8_t> ToVector(const FileBytes& bytes) {
  return std::vector<std::uint8_t>(bytes.data(), bytes.data() + bytes.Size());
}

std::vector<std::uint8_t> CopyOf(const std::vector<std::uint8_t>& recording) {
  return ToVector(RouteFreeCopy(ToFileBytes(recording)));
}

std::string PositionTextOf(const std::vector<std::uint8_t>& recording) {
  return PositionText(ToFileBytes(recording));
}

// Every block gets its own position, speed, route word and time, so that a byte written to
// the wrong place or left out shows.
RecordingBuilder VariedRecording(bool tenChannels, int wholeBlocks, std::size_t partialBytes) {
  RecordingBuilder builder(tenChannels);
  builder.Blocks(wholeBlocks).PartialBlockBytes(partialBytes).TimeOfDay(7 * 2160000u);
  for (int block = 0; block <= wholeBlocks; ++block) {
    builder.Position(block, 10.5f + block, 59.25f - block)
        .Speed(block, static_cast<std::uint16_t>(100 + block))
        .RouteWord(block, static_cast<std::uint16_t>(0xBEEF + block));
  }
  for (int slot = 0; slot < ChannelCount(tenChannels); ++slot) {
    builder.Counts(slot, [slot](std::int64_t sample) {
      return static_cast<std::uint32_t>(0x7F0000 + sample * 13 + slot);
    });
  }
  return builder;
}

struct Layout {
  const char* Name;
  bool TenChannelBuild;
  int ProbeByte;  // -1: as built
  std::size_t ProbedBlockSize;
};

const Layout Layouts[] = {
    {"ten channels", true, -1, TenChannelBlockSize},
    {"six channels", false, -1, SixChannelBlockSize},
    // The writers go by the probe, not by how the file came about.
    {"ten channels probing as six", true, 0, SixChannelBlockSize},
    {"six channels probing as ten", false, 1, TenChannelBlockSize},
};

// Partial last blocks around the header sizes: none, too short for the positions, just the
// positions, too short for the header, just the header, most of a block.
const std::size_t PartialSizes[] = {0, 7, 8, 15, 16, 5000};

std::vector<std::uint8_t> Build(const Layout& layout, std::size_t partialBytes) {
  RecordingBuilder builder = VariedRecording(layout.TenChannelBuild, 3, partialBytes);
  if (layout.ProbeByte >= 0) builder.ProbeByte(static_cast<std::uint8_t>(layout.ProbeByte));
  return builder.Build();
}

TEST(RouteFreeCopy, RewritesEveryHeaderThatFitsAndNothingElse) {
  const std::uint8_t routeFreeHeader[] = {0x00, 0x00, 0x34, 0x43, 0x00, 0x00, 0xB4, 0x42};
  for (const Layout& layout : Layouts) {
    for (std::size_t partial : PartialSizes) {
      SCOPED_TRACE(std::string(layout.Name) + ", partial block of " + std::to_string(partial));
      const std::vector<std::uint8_t> recording = Build(layout, partial);
      std::vector<std::uint8_t> expected = recording;
      for (std::size_t start = 0; start + 16 <= expected.size(); start += layout.ProbedBlockSize) {
        std::memcpy(&expected[start], routeFreeHeader, sizeof routeFreeHeader);
        expected[start + 10] = expected[start + 11] = 0;
      }
      const std::vector<std::uint8_t> copy = CopyOf(recording);
      EXPECT_EQ(copy, expected);
      EXPECT_EQ(CopyOf(copy), copy) << "a copy of a copy";
    }
  }
}

TEST(RouteFreeCopy, TheHeaderOfAPartialLastBlockIsRewrittenToo) {
  const std::vector<std::uint8_t> copy = CopyOf(VariedRecording(false, 3, 16).Build());
  const std::uint8_t* last = copy.data() + 3 * SixChannelBlockSize;
  EXPECT_EQ(ReadF32LE(last + LongitudeOffset), 180.0f);
  EXPECT_EQ(ReadF32LE(last + LatitudeOffset), 90.0f);
  EXPECT_EQ(ReadU16LE(last + SpeedOffset), 103);
  EXPECT_EQ(ReadU16LE(last + RouteWordOffset), 0);
  EXPECT_EQ(ReadU32LE(last + TimeOfDayOffset), 7 * 2160000u + 3 * 600);
}

TEST(RouteFreeCopy, ACopyOfATenChannelRecordingProbesAsTenChannels) {
  const std::vector<std::uint8_t> copy =
      CopyOf(RecordingBuilder(true).Blocks(2).Position(1, -0.0f, 0.0f).Build());
  EXPECT_TRUE(ProbeTenChannels(copy.data(), copy.size()));
}

// One line for every block that holds both positions.
TEST(PositionText, OneLinePerBlockLatitudeFirst) {
  for (const Layout& layout : Layouts) {
    for (std::size_t partial : PartialSizes) {
      SCOPED_TRACE(std::string(layout.Name) + ", partial block of " + std::to_string(partial));
      const std::vector<std::uint8_t> recording = Build(layout, partial);
      std::string expected;
      for (std::size_t start = 0; start + 8 <= recording.size(); start += layout.ProbedBlockSize) {
        char line[128];
        std::snprintf(line, sizeof line, "%f,%f\r\n", ReadF32LE(&recording[start + 4]),
                      ReadF32LE(&recording[start]));
        expected += line;
      }
      EXPECT_EQ(PositionTextOf(recording), expected);
    }
  }
  EXPECT_EQ(PositionTextOf(VariedRecording(true, 2, 8).Build()),
            "59.250000,10.500000\r\n58.250000,11.500000\r\n57.250000,12.500000\r\n");
}

// Each value reads as "%f" prints the float widened to double.
TEST(PositionText, PrintsValuesAsFixedWithSixDecimals) {
  const float infinity = std::numeric_limits<float>::infinity();
  const struct {
    float Value;
    const char* Text;
  } cases[] = {
      {59.9f, "59.900002"},
      {-0.5f, "-0.500000"},
      {-0.0f, "-0.000000"},
      {0.0000004f, "0.000000"},
      {0.0000006f, "0.000001"},
      {123456.789f, "123456.789062"},
      {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440.000000"},
      {-std::numeric_limits<float>::denorm_min(), "-0.000000"},
      {infinity, "inf"},
      {-infinity, "-inf"},
      {std::nanf(""), "nan"},
      {-std::nanf(""), "-nan"},
  };
  for (const auto& c : cases) {
    // The ten-channel probe lies in block 1's longitude, so the values go into latitudes.
    const auto recording = RecordingBuilder(true).Blocks(2).Position(1.0f, c.Value).Build();
    const std::string line = std::string(c.Text) + ",1.000000\r\n";
    EXPECT_EQ(PositionTextOf(recording), line + line) << c.Text;
  }
}

TEST(PositionText, ACopyWithoutRouteDataGivesTheFixedPositions) {
  for (bool tenChannels : {true, false}) {
    const std::string text = PositionTextOf(CopyOf(VariedRecording(tenChannels, 2, 100).Build()));
    EXPECT_EQ(text, "90.000000,180.000000\r\n90.000000,180.000000\r\n90.000000,180.000000\r\n");
  }
}

// Where the system has no German locale installed, compiles one into `folder` from the
// system's locale sources and points the C library there.
bool CompileGermanLocale(const TempFolder& folder) {
  const std::string command =
      "localedef -c -i de_DE -f UTF-8 '" + folder.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) == -1) return false;
  struct stat status {};
  if (::stat(folder.File("de_DE.UTF-8").c_str(), &status) != 0) return false;
  ::setenv("LOCPATH", folder.Path().c_str(), 1);
  return true;
}

// A desktop with a German locale must still get decimal points.
TEST(PositionText, UsesADecimalPointWhateverTheLocale) {
  TempFolder localeFolder;
  const char* german = nullptr;
  for (bool compiled : {false, true}) {
    if (compiled && !CompileGermanLocale(localeFolder)) break;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr) {
        german = name;
        break;
      }
    }
    if (german != nullptr) break;
  }
  if (german == nullptr) GTEST_SKIP() << "no German locale installed or compilable";
  char probe[32];
  std::snprintf(probe, sizeof probe, "%f", 0.5);
  const std::string localeText = probe;
  const std::string text = PositionTextOf(VariedRecording(true, 1, 8).Build());
  std::setlocale(LC_NUMERIC, "C");
  ::unsetenv("LOCPATH");
  ASSERT_EQ(localeText, "0,500000") << german << " should write decimal commas";
  EXPECT_EQ(text, "59.250000,10.500000\r\n58.250000,11.500000\r\n");
}

}  // namespace
