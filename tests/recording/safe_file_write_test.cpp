#include "recording/safe_file_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

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

// How the system answers for a file without a name: `Refusal` 0 takes the file system's answer,
// else the error of a file system that refuses it; `WithoutProc` stands in for a system that
// gives the file but has no /proc to name it through. Every promise must survive each.
struct UnnamedFiles {
  const char* Name;
  int Refusal;
  bool WithoutProc;
};

// Gives the cases' listing a readable name in place of the bytes of the object.
void PrintTo(const UnnamedFiles& files, std::ostream* out) {
  *out << files.Name;
}

// A write with a progress report runs on a thread of its own; one without runs on the caller's.
class SafeFileWrite : public ::testing::TestWithParam<std::tuple<UnnamedFiles, bool>> {
 protected:
  void SetUp() override {
    oldMask_ = ::umask(022);
    const int refusal = Files().Refusal;
    if (refusal != 0) {
      SetUnnamedFileOpener([refusal](const std::string&, mode_t) {
        errno = refusal;
        return -1;
      });
    }
    if (Files().WithoutProc) SetDescriptorLinkFolder(folder.File("no-proc/self/fd"));
  }
  void TearDown() override {
    SetDiskWaitHook({});
    SetDescriptorLinkFolder({});
    SetUnnamedFileOpener({});
    ::umask(oldMask_);
  }

  const UnnamedFiles& Files() const { return std::get<0>(GetParam()); }
  // Whether the new file has a hidden name while it is written.
  bool NamedWhileWritten() const { return Files().Refusal != 0 || Files().WithoutProc; }

  void Write(const std::string& path, const std::uint8_t* bytes, std::size_t size) const {
    const bool reported = std::get<1>(GetParam());
    WriteFileSafely(path, bytes, size, reported ? WorkProgress([](double) {}) : WorkProgress());
  }
  void Write(const std::string& path, const std::string& text) const {
    Write(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  }

  TempFolder folder;

 private:
  mode_t oldMask_ = 0;
};

const auto WaysOfUnnamedFiles = ::testing::Values(
    UnnamedFiles{"Allowed", 0, false}, UnnamedFiles{"NotSupported", EOPNOTSUPP, false},
    UnnamedFiles{"OldKernel", EISDIR, false}, UnnamedFiles{"Invalid", EINVAL, false},
    UnnamedFiles{"WithoutProc", 0, true});

std::string CaseName(const ::testing::TestParamInfo<std::tuple<UnnamedFiles, bool>>& info) {
  return std::string(std::get<0>(info.param).Name) +
         (std::get<1>(info.param) ? "Reported" : "Unreported");
}

INSTANTIATE_TEST_SUITE_P(, SafeFileWrite, ::testing::Combine(WaysOfUnnamedFiles, ::testing::Bool()),
                         CaseName);

// What only a write that reports its progress does.
class ReportedSafeFileWrite : public SafeFileWrite {};

INSTANTIATE_TEST_SUITE_P(, ReportedSafeFileWrite,
                         ::testing::Combine(WaysOfUnnamedFiles, ::testing::Values(true)), CaseName);

TEST_P(SafeFileWrite, ANewFileGetsTheUsualPermissions) {
  const std::string path = folder.File("positions");
  Write(path, "59.250000,10.500000\r\n");
  EXPECT_EQ(ReadText(path), "59.250000,10.500000\r\n");
  EXPECT_EQ(ModeOf(path), 0644u);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"positions"});
}

TEST_P(SafeFileWrite, AReplacedFileKeepsItsPermissions) {
  const std::string path = folder.File("R0412.DAT");
  WriteTextToFile(path, "the recording, longer than what replaces it");
  ::chmod(path.c_str(), 0640);
  Write(path, "copy");
  EXPECT_EQ(ReadText(path), "copy");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"R0412.DAT"});
}

TEST_P(SafeFileWrite, WritesThroughALinkAndKeepsIt) {
  std::filesystem::create_directory(folder.File("trips"));
  const std::string target = folder.File("trips/R0412.DAT");
  WriteTextToFile(target, "old");
  std::filesystem::create_symlink("trips/R0412.DAT", folder.File("latest.DAT"));
  Write(folder.File("latest.DAT"), "new");
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
      Write(c.Path, "copy");
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
    Write(path, larger.data(), larger.size());
  } catch (const RecordingError& error) {
    message = error.Message();
  }
  ::setrlimit(RLIMIT_FSIZE, &oldLimit);
  std::signal(SIGXFSZ, oldHandler);
  ::close(FolderDuringWrite::Folder);

  const std::set<std::string> during = FolderDuringWrite::Seen();
  ASSERT_EQ(FolderDuringWrite::Count, NamedWhileWritten() ? 2 : 1);
  EXPECT_EQ(during.count("R0412.DAT"), 1u);
  if (NamedWhileWritten()) {
    const std::string part = *during.begin();
    EXPECT_EQ(part.rfind(".tavro-", 0), 0u) << part;
    EXPECT_EQ(part.substr(part.size() - 5), ".part");
  }

  EXPECT_EQ(message, "\"" + path + "\" cannot be written: File too large");
  const std::string kept = ReadText(path);
  EXPECT_EQ(std::vector<std::uint8_t>(kept.begin(), kept.end()), recording);
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"R0412.DAT"});
}

// A disk that takes its time, held at each wait by the hook until the caller's thread has
// reported a few times more: the reports keep coming while the writing thread waits, and only
// ever on the caller's thread. A wait that no report frees ends after ten seconds, so a fault
// fails the test instead of hanging it.
TEST_P(ReportedSafeFileWrite, ReportsKeepComingWhileTheDiskIsWaitedOn) {
  const std::string path = folder.File("R0412.DAT");
  // Two pieces: the second waits for the first, the final flush for both.
  const std::vector<std::uint8_t> bytes((std::size_t{16} << 20) + 1, 0x5a);
  std::mutex mutex;
  std::condition_variable reported;
  bool holding = false;
  int reportsWhileHeld = 0;
  int waits = 0;
  int waitsFreedByReports = 0;
  SetDiskWaitHook([&] {
    std::unique_lock<std::mutex> lock(mutex);
    holding = true;
    reportsWhileHeld = 0;
    ++waits;
    if (reported.wait_for(lock, std::chrono::seconds(10), [&] { return reportsWhileHeld >= 3; }))
      ++waitsFreedByReports;
    holding = false;
  });
  const std::thread::id caller = std::this_thread::get_id();
  bool reportedElsewhere = false;
  std::vector<double> fractions;
  WriteFileSafely(path, bytes.data(), bytes.size(), [&](double fractionDone) {
    std::lock_guard<std::mutex> lock(mutex);
    if (std::this_thread::get_id() != caller) reportedElsewhere = true;
    fractions.push_back(fractionDone);
    if (holding) ++reportsWhileHeld;
    reported.notify_all();
  });

  EXPECT_EQ(waits, 2);
  EXPECT_EQ(waitsFreedByReports, 2);
  EXPECT_FALSE(reportedElsewhere);
  EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
  EXPECT_LE(fractions.back(), 1.0);
  const std::string written = ReadText(path);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), bytes.begin(), bytes.end()));
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"R0412.DAT"});
}

// The folder goes away while the bytes go out (a card pulled out, say), so the new file can
// never take the target's name: the message tells a file that was to be made from one that was
// to be replaced.
TEST_P(SafeFileWrite, ANameThatCannotBeTakenIsToldForANewFileAndForAReplace) {
  const std::string trip = folder.File("trip");
  const std::string path = trip + "/R0412.DAT";
  const struct {
    bool Replacing;
    std::string Reason;
  } cases[] = {
      {false, "cannot be created: No such file or directory"},
      {true, "cannot be replaced: No such file or directory"},
  };
  SetDiskWaitHook([&trip] { std::filesystem::remove_all(trip); });
  for (const auto& c : cases) {
    std::filesystem::create_directory(trip);
    if (c.Replacing) WriteTextToFile(path, "the recording");
    try {
      Write(path, "copy");
      ADD_FAILURE() << c.Reason;
    } catch (const RecordingError& error) {
      EXPECT_EQ(error.Message(), "\"" + path + "\" " + c.Reason);
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
