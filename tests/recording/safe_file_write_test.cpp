#include "recording/safe_file_write.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

// How the file system answers a request for an unnamed file: 0 takes the system's answer, else
// the error of a file system that refuses it, which every promise must survive too.
struct UnnamedFiles {
  const char* Name;
  int Refusal;
};

class SafeFileWrite : public ::testing::TestWithParam<UnnamedFiles> {
 protected:
  void SetUp() override {
    oldMask_ = ::umask(022);
    const int refusal = GetParam().Refusal;
    if (refusal != 0) {
      SetUnnamedFileOpener([refusal](const std::string&, mode_t) {
        errno = refusal;
        return -1;
      });
    }
  }
  void TearDown() override {
    SetUnnamedFileOpener({});
    ::umask(oldMask_);
  }

  bool UnnamedFilesRefused() const { return GetParam().Refusal != 0; }

  TempFolder folder;

 private:
  mode_t oldMask_ = 0;
};

INSTANTIATE_TEST_SUITE_P(, SafeFileWrite,
                         ::testing::Values(UnnamedFiles{"Allowed", 0},
                                           UnnamedFiles{"NotSupported", EOPNOTSUPP},
                                           UnnamedFiles{"OldKernel", EISDIR},
                                           UnnamedFiles{"Invalid", EINVAL}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_P(SafeFileWrite, ANewFileGetsTheUsualPermissions) {
  const std::string path = folder.File("positions");
  WriteFileSafely(path, "59.250000,10.500000\r\n");
  EXPECT_EQ(ReadText(path), "59.250000,10.500000\r\n");
  EXPECT_EQ(ModeOf(path), 0644u);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"positions"});
}

TEST_P(SafeFileWrite, AReplacedFileKeepsItsPermissions) {
  const std::string path = folder.File("R0412.DAT");
  WriteTextToFile(path, "the recording, longer than what replaces it");
  ::chmod(path.c_str(), 0640);
  WriteFileSafely(path, "copy");
  EXPECT_EQ(ReadText(path), "copy");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"R0412.DAT"});
}

TEST_P(SafeFileWrite, WritesThroughALinkAndKeepsIt) {
  std::filesystem::create_directory(folder.File("trips"));
  const std::string target = folder.File("trips/R0412.DAT");
  WriteTextToFile(target, "old");
  std::filesystem::create_symlink("trips/R0412.DAT", folder.File("latest.DAT"));
  WriteFileSafely(folder.File("latest.DAT"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("latest.DAT")));
  EXPECT_EQ(ReadText(target), "new");
  EXPECT_EQ(NamesIn(folder.File("trips")), std::set<std::string>{"R0412.DAT"});
}

TEST_P(SafeFileWrite, ATargetItCannotTakeIsReportedAndLeftAsItWas) {
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

// What the folder holds at the moment a write goes past the file size limit: the kernel signals
// SIGXFSZ from inside the write, with the bytes below the limit in the new file. Only calls
// safe in a signal handler list it.
struct FolderDuringWrite {
  static inline int Folder = -1;
  static inline char Names[8][256] = {};
  static inline int Count = -1;

  static void List(int /*signal*/) {
    if (Count >= 0) return;
    alignas(dirent64) char buffer[4096];
    ::lseek(Folder, 0, SEEK_SET);
    const ssize_t got = ::getdents64(Folder, buffer, sizeof buffer);
    Count = 0;
    for (ssize_t at = 0; at < got && Count < 8;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
      at += entry->d_reclen;
      const char* name = entry->d_name;
      if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
      std::size_t i = 0;
      for (; name[i] != 0 && i + 1 < sizeof Names[0]; ++i) Names[Count][i] = name[i];
      Names[Count++][i] = 0;
    }
  }
  static std::set<std::string> Seen() {
    std::set<std::string> names;
    for (int i = 0; i < Count; ++i) names.insert(Names[i]);
    return names;
  }
};

// A file size limit makes the write fail part-way, as a full disk does. While the bytes are
// written, the new file has no name in the folder where the file system allows it.
TEST_P(SafeFileWrite, AWriteThatFailsPartWayLeavesTheOldFileWhole) {
  const std::string path = folder.File("R0412.DAT");
  const std::vector<std::uint8_t> recording = RecordingBuilder(true).Blocks(2).Build();
  WriteBytesToFile(path, recording);
  const std::vector<std::uint8_t> larger = RecordingBuilder(true).Blocks(3).Build();

  rlimit oldLimit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
  FolderDuringWrite::Folder = ::open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(FolderDuringWrite::Folder, 0);
  FolderDuringWrite::Count = -1;
  const auto oldHandler = std::signal(SIGXFSZ, FolderDuringWrite::List);
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
  ::close(FolderDuringWrite::Folder);

  const std::set<std::string> during = FolderDuringWrite::Seen();
  ASSERT_EQ(FolderDuringWrite::Count, UnnamedFilesRefused() ? 2 : 1);
  EXPECT_EQ(during.count("R0412.DAT"), 1u);
  if (UnnamedFilesRefused()) {
    const std::string part = *during.begin();
    EXPECT_EQ(part.rfind(".tavro-", 0), 0u) << part;
    EXPECT_EQ(part.substr(part.size() - 5), ".part");
  }

  EXPECT_EQ(message, "\"" + path + "\" cannot be written: File too large");
  const std::string kept = ReadText(path);
  EXPECT_EQ(std::vector<std::uint8_t>(kept.begin(), kept.end()), recording);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"R0412.DAT"});
}

}  // namespace
