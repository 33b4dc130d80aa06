#include "recording/safe_file_write.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

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

// The new file beside the target; removed when it goes unless it took the target's name.
class PartFile {
 public:
  PartFile(const std::string& folder, const std::string& target) {
    static unsigned serial = 0;
    const std::string stem = folder + "/.tavro-" + std::to_string(::getpid()) + "-";
    // 0666 lets the umask and the folder's default rights decide, as for any new file.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      path_ = stem + std::to_string(serial++) + ".part";
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) throw RecordingError(target, Because("cannot be created", errno));
  }
  ~PartFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  int Get() const { return fd_; }
  const std::string& Path() const { return path_; }
  // Closes the file; true when everything written reached it.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  // It now has the target's name: nothing is left to remove.
  void Keep() { path_.clear(); }

 private:
  int fd_ = -1;
  std::string path_;
};

// Writes all bytes, however the system splits the request; false with errno set on failure.
bool WriteFully(int fd, const std::uint8_t* bytes, std::size_t size) {
  constexpr std::size_t LargestRequest = std::size_t{1} << 30;
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size < LargestRequest ? size : LargestRequest);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    if (written == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
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

}  // namespace

void WriteFileSafely(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
  const std::string target = FileBehind(path);
  struct stat existing {};
  const bool replacing = ::stat(target.c_str(), &existing) == 0;
  if (!replacing && errno != ENOENT)
    throw RecordingError(path, Because("cannot be created", errno));
  if (replacing && S_ISDIR(existing.st_mode)) throw RecordingError(path, "is a folder, not a file");
  if (replacing && !S_ISREG(existing.st_mode)) throw RecordingError(path, "is not a regular file");

  const std::string folder = FolderOf(target);
  PartFile part(folder, path);
  if (replacing && ::fchmod(part.Get(), existing.st_mode & 07777) != 0) {
    throw RecordingError(path, Because("cannot be created", errno));
  }
  if (!WriteFully(part.Get(), bytes, size) || ::fsync(part.Get()) != 0 || !part.Close()) {
    throw RecordingError(path, Because("cannot be written", errno));
  }
  if (::rename(part.Path().c_str(), target.c_str()) != 0) {
    throw RecordingError(path, Because("cannot be replaced", errno));
  }
  part.Keep();
  FlushFolder(folder);
}

void WriteFileSafely(const std::string& path, const std::string& text) {
  WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}
