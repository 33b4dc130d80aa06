#include "recording/safe_file_write.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "recording/recording_error.h"

namespace {

std::string Because(const char* what, int error) {
  return std::string(what) + ": " + std::strerror(error);
}

// The file a write to `path` lands in: the target of a link to an existing file, else the
// path itself, so that replacing the file keeps the link.
std::string FileBehind(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target(resolved);
  std::free(resolved);
  return target;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::function<int(const std::string&, mode_t)>& UnnamedFileOpener() {
  static std::function<int(const std::string&, mode_t)> opener;
  return opener;
}

const char* const SystemDescriptorLinkFolder = "/proc/self/fd";

std::string& DescriptorLinkFolder() {
  static std::string folder = SystemDescriptorLinkFolder;
  return folder;
}

std::function<void()>& DiskWaitHook() {
  static std::function<void()> hook;
  return hook;
}

void BeforeDiskWait() {
  if (DiskWaitHook()) DiskWaitHook()();
}

int OpenUnnamedFile(const std::string& folder, mode_t mode) {
  if (UnnamedFileOpener()) return UnnamedFileOpener()(folder, mode);
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// The link through which the unnamed file `fd` can be given a name.
std::string DescriptorLink(int fd) {
  return DescriptorLinkFolder() + "/" + std::to_string(fd);
}

// Whether the link of `fd` leads to the very file it holds: without /proc (a container or a
// chroot that does not mount it) the unnamed file could never be named, and the whole write
// would be lost at its end.
bool CanBeNamed(int fd) {
  struct stat held {};
  struct stat linked {};
  return ::fstat(fd, &held) == 0 && ::stat(DescriptorLink(fd).c_str(), &linked) == 0 &&
         held.st_dev == linked.st_dev && held.st_ino == linked.st_ino;
}

// Makes a file under a fresh hidden name in `folder` with `make` (false with errno set when it
// cannot); the name, or empty with errno set when none could be made.
std::string MakeUnderFreshName(const std::string& folder,
                               const std::function<bool(const std::string&)>& make) {
  static std::atomic<unsigned> serial{0};
  const std::string stem = folder + "/.tavro-" + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = stem + std::to_string(serial++) + ".part";
    if (make(name)) return name;
    if (errno != EEXIST) return {};
  }
  return {};
}

// The new file beside the target. Where the file system allows, it has no name while it is
// written, so a program killed or a machine losing power meanwhile leaves nothing behind in the
// user's folder; elsewhere it is a hidden ".part" file from the start. The name it holds is
// removed when it goes unless it took the target's name.
class NewFile {
 public:
  NewFile(const std::string& folder, const std::string& target) : folder_(folder) {
    // 0666 lets the umask and the folder's default rights decide, as for any new file.
    constexpr mode_t Mode = 0666;
    fd_ = OpenUnnamedFile(folder, Mode);
    if (fd_ >= 0 && !CanBeNamed(fd_)) {
      ::close(fd_);
      fd_ = -1;
    }
    // Older kernels and some file systems refuse unnamed files (EOPNOTSUPP, EISDIR, EINVAL);
    // whatever the reason, the named file is tried, and its failure is the one told.
    if (fd_ < 0) {
      path_ = MakeUnderFreshName(folder, [this](const std::string& name) {
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Mode);
        return fd_ >= 0;
      });
    }
    if (fd_ < 0) throw RecordingError(target, Because("cannot be created", errno));
  }
  ~NewFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  int Get() const { return fd_; }
  const std::string& Path() const { return path_; }

  // Gives the complete file a hidden name beside the target, unless it has one. The link goes
  // through /proc, which needs no privilege (linking the descriptor itself needs
  // CAP_DAC_READ_SEARCH). True when it has a name; false with errno set.
  bool Name() {
    if (!path_.empty()) return true;
    const std::string self = DescriptorLink(fd_);
    path_ = MakeUnderFreshName(folder_, [&self](const std::string& name) {
      return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    });
    return !path_.empty();
  }
  // Closes the file; true when everything written reached it.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  // It now has the target's name: nothing is left to remove.
  void Keep() { path_.clear(); }

 private:
  std::string folder_;
  int fd_ = -1;
  std::string path_;
};

// Gives the complete new file the target's name, in one step that replaces an old file whole.
void GiveTargetName(NewFile& file, const std::string& target, const std::string& path,
                    bool replacing) {
  const char* refusal = replacing ? "cannot be replaced" : "cannot be created";
  if (!file.Name()) throw RecordingError(path, Because(refusal, errno));
  if (!file.Close()) throw RecordingError(path, Because("cannot be written", errno));
  if (::rename(file.Path().c_str(), target.c_str()) != 0) {
    throw RecordingError(path, Because(refusal, errno));
  }
  file.Keep();
}

// Writes all bytes, however the system splits the request, in pieces that report to
// `progress` between them; false with errno set on failure. Each piece is sent on to the disk
// once written and the one before it waited for, so the disk keeps pace with the pieces and the
// flush at the end has little left to do. On a slow disk these waits are long: this runs on a
// thread of its own, never on the window's.
bool WriteFully(int fd, const std::uint8_t* bytes, std::size_t size, const WorkProgress& progress) {
  constexpr std::size_t Piece = std::size_t{1} << 24;
  std::size_t done = 0;
  while (done < size) {
    if (done > 0 && progress) progress(static_cast<double>(done) / static_cast<double>(size));
    const std::size_t pieceEnd = size - done > Piece ? done + Piece : size;
    const std::size_t pieceStart = done;
    while (done < pieceEnd) {
      const ssize_t written = ::write(fd, bytes + done, pieceEnd - done);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) return false;
      if (written == 0) {
        errno = ENOSPC;
        return false;
      }
      done += static_cast<std::size_t>(written);
    }
    // Hints only: a file system without them is flushed whole by the fsync that follows.
    ::sync_file_range(fd, static_cast<off_t>(pieceStart), static_cast<off_t>(pieceEnd - pieceStart),
                      SYNC_FILE_RANGE_WRITE);
    if (pieceStart > 0) {
      BeforeDiskWait();
      ::sync_file_range(
          fd, static_cast<off_t>(pieceStart - Piece), static_cast<off_t>(Piece),
          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    }
  }
  return true;
}

// Makes the new name itself last across a power cut. The file is complete either way, so a
// folder that cannot be flushed is no reason to report a failure.
void FlushFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Everything of a safe write, each step of which may wait on the disk: even the opening of a
// file on a busy USB stick can take a while.
void WriteAndReplace(const std::string& path, const std::uint8_t* bytes, std::size_t size,
                     const WorkProgress& progress) {
  const std::string target = FileBehind(path);
  struct stat existing {};
  const bool replacing = ::stat(target.c_str(), &existing) == 0;
  if (!replacing && errno != ENOENT)
    throw RecordingError(path, Because("cannot be created", errno));
  if (replacing && S_ISDIR(existing.st_mode)) throw RecordingError(path, "is a folder, not a file");
  if (replacing && !S_ISREG(existing.st_mode)) throw RecordingError(path, "is not a regular file");

  const std::string folder = FolderOf(target);
  NewFile file(folder, path);
  if (replacing && ::fchmod(file.Get(), existing.st_mode & 07777) != 0) {
    throw RecordingError(path, Because("cannot be created", errno));
  }
  if (!WriteFully(file.Get(), bytes, size, progress)) {
    throw RecordingError(path, Because("cannot be written", errno));
  }
  if (progress) progress(1.0);
  BeforeDiskWait();
  if (::fsync(file.Get()) != 0) throw RecordingError(path, Because("cannot be written", errno));
  GiveTargetName(file, target, path, replacing);
  FlushFolder(folder);
}

}  // namespace

void WriteFileSafely(const std::string& path, const std::uint8_t* bytes, std::size_t size,
                     const WorkProgress& progress) {
  RunOnWorkerThread([&](const WorkProgress& report) { WriteAndReplace(path, bytes, size, report); },
                    progress);
}

void WriteFileSafely(const std::string& path, const std::string& text,
                     const WorkProgress& progress) {
  WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), progress);
}

void SetUnnamedFileOpener(std::function<int(const std::string& folder, mode_t mode)> opener) {
  UnnamedFileOpener() = std::move(opener);
}

void SetDescriptorLinkFolder(const std::string& folder) {
  DescriptorLinkFolder() = folder.empty() ? SystemDescriptorLinkFolder : folder;
}

void SetDiskWaitHook(std::function<void()> hook) {
  DiskWaitHook() = std::move(hook);
}
