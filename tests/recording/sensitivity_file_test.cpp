#include "recording/sensitivity_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/recording_builder.h"
#include "support/sensitivity_text_builder.h"
#include "support/temp_folder.h"

namespace {

using Codes = std::array<std::uint32_t, SlotCount>;

struct Parsed {
  Codes Code{};
  std::string Serial;
};

Parsed Parse(const std::string& text, bool tenChannels, Parsed before = {}) {
  ParseSensitivityText(text, tenChannels, before.Code, before.Serial);
  return before;
}

TEST(SensitivityFile, PathIsBesideTheRecording) {
  EXPECT_EQ(SensitivityFilePath("/trips/R0412.DAT"), "/trips/S2.txt");
  EXPECT_EQ(SensitivityFilePath("/R0412.DAT"), "/S2.txt");
  EXPECT_EQ(SensitivityFilePath("R0412.DAT"), "S2.txt");
  EXPECT_EQ(SensitivityFilePath("trips/2024/"), "trips/2024/S2.txt");
}

TEST(SensitivityFile, DefaultTextsGiveTheFactorySettings) {
  EXPECT_EQ(DefaultSensitivityText(true),
            "6600,6600,6600\n6600,6600,6600\n6600,6600,6600,6600\nSer. no 9999");
  EXPECT_EQ(DefaultSensitivityText(false), "6600,6600,6600\n6600,6600,6600\n");
  const Parsed ten = Parse(DefaultSensitivityText(true), true);
  for (std::uint32_t code : ten.Code) EXPECT_EQ(code, 6600u);
  EXPECT_EQ(ten.Serial, "Ser. no 9999");
  EXPECT_EQ(SensitivityFromCode(6600), 660.0f);
}

TEST(SensitivityFile, CodesAreWeightedCharacterValuesModulo2To32) {
  const struct {
    std::string Code;
    std::uint32_t Value;
    float Sensitivity;
  } cases[] = {
      {"0660", 660, 66.0f},
      {"9999", 9999, 999.9f},
      {"0000", 0, 0.0f},
      // A blank adds (32 - 48) x 1000 and wraps below zero.
      {" 660", static_cast<std::uint32_t>(-16000 + 660), static_cast<float>(4294951956.0 / 10.0)},
      {"6a00", 6000 + (97 - 48) * 100, 1090.0f},
  };
  for (const auto& c : cases) {
    const auto text = SensitivityTextBuilder(true).Code(4, c.Code).Build();
    const Parsed parsed = Parse(text, true);
    EXPECT_EQ(parsed.Code[4], c.Value) << c.Code;
    EXPECT_EQ(parsed.Code[3], 6600u) << c.Code;
    EXPECT_EQ(SensitivityFromCode(parsed.Code[4]), c.Sensitivity) << c.Code;
  }
}

TEST(SensitivityFile, SeparatorsAreNeverExamined) {
  SensitivityTextBuilder text(true);
  for (int slot = 0; slot < 10; ++slot) text.Code(slot, 1000 + slot).Separator(slot, '7');
  const Parsed parsed = Parse(text.Build(), true);
  for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(parsed.Code[slot], 1000u + slot);
}

TEST(SensitivityFile, SerialTextEndsAtItsFirstNul) {
  const std::string serial("Ser. \0o 1234", 12);
  EXPECT_EQ(Parse(SensitivityTextBuilder(true).Serial(serial).Build(), true).Serial, "Ser. ");
  EXPECT_EQ(Parse(SensitivityTextBuilder(true).Serial("AB-123456789").Build(), true).Serial,
            "AB-123456789");
}

TEST(SensitivityFile, SixChannelsTakeTheFirstSixCodesOnly) {
  Parsed before;
  before.Code.fill(77);
  before.Serial = "kept";
  SensitivityTextBuilder text(true);
  for (int slot = 0; slot < 10; ++slot) text.Code(slot, 100 * (slot + 1));
  const Parsed parsed = Parse(text.Build(), false, before);
  for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(parsed.Code[slot], 100u * (slot + 1));
  for (int slot = 6; slot < 10; ++slot) EXPECT_EQ(parsed.Code[slot], 77u);
  EXPECT_EQ(parsed.Serial, "kept");
}

TEST(SensitivityFile, ShortTextReadsAsTheDefaultsBeyondItsEnd) {
  const Parsed parsed = Parse("1234,", true);
  EXPECT_EQ(parsed.Code[0], 1234u);
  EXPECT_EQ(parsed.Code[1], 6600u);
  EXPECT_EQ(parsed.Serial, "Ser. no 9999");
}

class SensitivityFileReading : public ::testing::Test {
 protected:
  SensitivityReading Read(const std::string& content, bool tenChannels = true) {
    WriteTextToFile(folder_.File("S2.txt"), content);
    return ReadSensitivityText(folder_.File("S2.txt"), tenChannels);
  }
  TempFolder folder_;
};

TEST_F(SensitivityFileReading, CrLfReadsLikeLf) {
  SensitivityTextBuilder text(true);
  for (int slot = 0; slot < 10; ++slot) text.Code(slot, 6000 + slot);
  text.Serial("SN 000123456");
  const SensitivityReading lf = Read(text.Build());
  const SensitivityReading crLf = Read(text.CrLf().Build() + "\r\n");
  EXPECT_FALSE(crLf.FileMissing);
  EXPECT_EQ(crLf.Text, lf.Text);
  EXPECT_EQ(lf.Text, text.CrLf(false).Build());
}

TEST_F(SensitivityFileReading, TextModeDropsEveryCrAndEndsAtCtrlZ) {
  EXPECT_EQ(Read("66\r00,\r\r1").Text, "6600,1" + DefaultSensitivityText(true).substr(6));
  const SensitivityReading ended = Read("1111,2222\x1A,3333,4444");
  EXPECT_EQ(ended.Text, "1111,2222" + DefaultSensitivityText(true).substr(9));
  EXPECT_FALSE(ended.FileMissing);
}

TEST_F(SensitivityFileReading, ShortFileKeepsTheDefaultsAndLongFileIsCut) {
  const std::string twoLines = "1111,2222,3333\n4444,5555,6666\n";
  EXPECT_EQ(Read(twoLines).Text, twoLines + DefaultSensitivityText(true).substr(30));
  const std::string full = SensitivityTextBuilder(true).Code(0, 1234).Build();
  EXPECT_EQ(Read(full + "\nmore text after the serial").Text, full);
  EXPECT_EQ(Read(full, false).Text, full.substr(0, 30));
}

TEST_F(SensitivityFileReading, MissingOrFolderGivesTheDefaults) {
  const SensitivityReading missing = ReadSensitivityText(folder_.File("S2.txt"), true);
  EXPECT_TRUE(missing.FileMissing);
  EXPECT_EQ(missing.Text, DefaultSensitivityText(true));

  std::filesystem::create_directory(folder_.File("S2.txt"));
  const SensitivityReading folder = ReadSensitivityText(folder_.File("S2.txt"), false);
  EXPECT_TRUE(folder.FileMissing);
  EXPECT_EQ(folder.Text, DefaultSensitivityText(false));
}

// A read that fails after part of the text has arrived: a pipe whose writer has sent the
// first code and then nothing more, read without blocking.
TEST(SensitivityFile, AReadThatFailsPartWayGivesTheDefaultsWhole) {
  TempFolder folder;
  const std::string path = folder.File("S2.txt");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const int writer = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::write(writer, "0660,", 5), 5);

  const SensitivityReading reading = ReadSensitivityText(path, true);
  ::close(writer);
  EXPECT_TRUE(reading.FileMissing);
  EXPECT_EQ(reading.Text, DefaultSensitivityText(true));
}

}  // namespace
