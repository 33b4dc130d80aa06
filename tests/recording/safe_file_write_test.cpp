#include "recording/safe_file_write.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>

#include "recording/recording_error.h"
#include "support/recording_builder.h"
#include "support/temp_folder.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

class SafeFileWrite : public ::testing::Test {
 protected:
  void SetUp() override { oldMask_ = ::umask(022); }
  void TearDown() override { ::umask(oldMask_); }

  TempFolder folder;

 private:
  mode_t oldMask_ = 0;
};

TEST_F(SafeFileWrite, ANewFileGetsTheUsualPermissions) {
  const std::string path = folder.File("positions");
  WriteFileSafely(path, "59.250000,10.500000\r\n");
  EXPECT_EQ(ReadText(path), "59.250000,10.500000\r\n");
  EXPECT_EQ(ModeOf(path), 0644u);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"positions"});
}

TEST_F(SafeFileWrite, AReplacedFileKeepsItsPermissions) {
  const std::string path = folder.File("R0412.DAT");
  WriteTextToFile(path, "the recording, longer than what replaces it");
  ::chmod(path.c_str(), 0640);
  WriteFileSafely(path, "copy");
  EXPECT_EQ(ReadText(path), "copy");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"R0412.DAT"});
}

TEST_F(SafeFileWrite, WritesThroughALinkAndKeepsIt) {
  std::filesystem::create_directory(folder.File("trips"));
  const std::string target = folder.File("trips/R0412.DAT");
  WriteTextToFile(target, "old");
  std::filesystem::create_symlink("trips/R0412.DAT", folder.File("latest.DAT"));
  WriteFileSafely(folder.File("latest.DAT"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("latest.DAT")));
  EXPECT_EQ(ReadText(target), "new");
  EXPECT_EQ(NamesIn(folder.File("trips")), std::set<std::string>{"R0412.DAT"});
}

TEST_F(SafeFileWrite, ATargetItCannotTakeIsReportedAndLeftAsItWas) {
  std::filesystem::create_directory(folder.File("trip.DAT"));
  const std::string fifo = folder.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::set<std::string> before = NamesIn(folder.Path());
  const struct {
    std::string Path;
    std::string Reason;
  } cases[] = {
      {folder.File("missing/copy.DAT"), "cannot be created: No such file or directory"},
      {folder.File("trip.DAT"), "is a folder, not a file"},
      {fifo, "is not a regular file"},
  };
  for (const auto& c : cases) {
    try {
      WriteFileSafely(c.Path, "copy");
      ADD_FAILURE() << c.Path;
    } catch (const RecordingError& error) {
      EXPECT_EQ(error.Message(), "\"" + c.Path + "\" " + c.Reason);
    }
  }
  EXPECT_EQ(NamesIn(folder.Path()), before);
  EXPECT_TRUE(std::filesystem::is_empty(folder.File("trip.DAT")));
}

// A file size limit makes the write fail part-way, as a full disk does.
TEST_F(SafeFileWrite, AWriteThatFailsPartWayLeavesTheOldFileWhole) {
  const std::string path = folder.File("R0412.DAT");
  const std::vector<std::uint8_t> recording = RecordingBuilder(true).Blocks(2).Build();
  WriteBytesToFile(path, recording);
  const std::vector<std::uint8_t> larger = RecordingBuilder(true).Blocks(3).Build();

  rlimit oldLimit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = oldLimit;
  limit.rlim_cur = 60000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  std::string message;
  try {
    WriteFileSafely(path, larger.data(), larger.size());
  } catch (const RecordingError& error) {
    message = error.Message();
  }
  ::setrlimit(RLIMIT_FSIZE, &oldLimit);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(message, "\"" + path + "\" cannot be written: File too large");
  const std::string kept = ReadText(path);
  EXPECT_EQ(std::vector<std::uint8_t>(kept.begin(), kept.end()), recording);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"R0412.DAT"});
}

}  // namespace
