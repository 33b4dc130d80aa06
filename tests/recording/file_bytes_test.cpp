#include "recording/file_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "recording/recording_error.h"
#include "support/recording_builder.h"
#include "support/temp_folder.h"

namespace {

TEST(ReadWholeFile, ReadsEveryByte) {
  TempFolder folder;
  const auto recording = RecordingBuilder(true).Blocks(2).PartialBlockBytes(123).Build();
  WriteBytesToFile(folder.File("R.DAT"), recording);
  WriteBytesToFile(folder.File("empty"), {});

  const FileBytes bytes = ReadWholeFile(folder.File("R.DAT"));
  ASSERT_EQ(bytes.Size(), recording.size());
  EXPECT_EQ(std::memcmp(bytes.data(), recording.data(), recording.size()), 0);
  EXPECT_EQ(ReadWholeFile(folder.File("empty")).Size(), 0u);
}

TEST(ReadWholeFile, NamesTheFileAndTheReason) {
  TempFolder folder;
  std::filesystem::create_directory(folder.File("trip.DAT"));
  const struct {
    std::string Path;
    std::string Reason;
  } cases[] = {
      {folder.File("missing.DAT"), "cannot be opened: No such file or directory"},
      {folder.File("trip.DAT"), "is a folder, not a file"},
      {"/dev/null", "is not a regular file"},
  };
  for (const auto& c : cases) {
    try {
      ReadWholeFile(c.Path);
      ADD_FAILURE() << c.Path;
    } catch (const RecordingError& error) {
      EXPECT_EQ(error.Message(), "\"" + c.Path + "\" " + c.Reason);
    }
  }
}

// Sizes travel as 64-bit counts: a file past 2 GiB loads whole.
TEST(ReadWholeFile, LoadsAFileOfMoreThanTwoGibibytes) {
  TempFolder folder;
  const std::string path = folder.File("long.DAT");
  const std::uint64_t size = (std::uint64_t{1} << 31) + 24020;
  {
    std::ofstream out(path, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(size - 1));
    out.put('\x5A');
  }
  const FileBytes bytes = ReadWholeFile(path);
  ASSERT_EQ(bytes.Size(), size);
  EXPECT_EQ(bytes.data()[size - 1], 0x5A);
  EXPECT_EQ(bytes.data()[0], 0);
}

// The start first, the whole later: the file stays open in between, so a rename or a delete
// meanwhile changes nothing, while a file that shrank is told as such.
TEST(FileToRead, ReadsTheStartAndLaterTheWholeOfTheFileItOpened) {
  TempFolder folder;
  const auto recording = RecordingBuilder(true).Blocks(2).Build();
  const std::string path = folder.File("R.DAT");
  WriteBytesToFile(path, recording);

  const FileToRead file(path);
  EXPECT_EQ(file.Size(), recording.size());
  const FileBytes start = file.ReadStart(100);
  ASSERT_EQ(start.Size(), 100u);
  EXPECT_EQ(std::memcmp(start.data(), recording.data(), 100), 0);
  EXPECT_EQ(file.ReadStart(recording.size() + 1).Size(), recording.size());

  std::filesystem::remove(path);
  const FileBytes whole = file.ReadWhole();
  ASSERT_EQ(whole.Size(), recording.size());
  EXPECT_EQ(std::memcmp(whole.data(), recording.data(), recording.size()), 0);

  WriteBytesToFile(path, recording);
  const FileToRead shrinking(path);
  std::filesystem::resize_file(path, 1000);
  try {
    shrinking.ReadWhole();
    ADD_FAILURE();
  } catch (const RecordingError& error) {
    EXPECT_EQ(error.Message(), "\"" + path + "\" cannot be read in full: it ended after 1000 of " +
                                   std::to_string(recording.size()) + " bytes");
  }
}

}  // namespace
