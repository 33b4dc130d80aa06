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

}  // namespace
