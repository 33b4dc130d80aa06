#include "recording/file_bytes.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/zeroed_storage.h"
#include "recording/file_descriptor.h"
#include "recording/recording_error.h"

FileBytes::FileBytes(std::size_t size)
    // One byte keeps data() valid for an empty file.
    : bytes_(AllocateZeroed(size > 0 ? size : 1)), size_(size) {
  // Every byte of the copy is written at once: in huge pages, a tenth of a second of page
  // faults for a one-hour recording goes away.
  AdviseHugePages(bytes_.get(), size);
}

namespace {

// Reads exactly `size` bytes from the file's start, however the system splits the request,
// telling `progress` between requests. Returns an empty text on success, else why it stopped
// (an error, or the file shrank since it opened).
std::string ReadFully(int fd, std::uint8_t* out, std::size_t size, const WorkProgress& progress) {
  // A request this long takes a few milliseconds from the page cache and a few tens from a
  // disk, so the window answers between two of them.
  constexpr std::size_t LargestRequest = std::size_t{1} << 24;
  std::size_t done = 0;
  while (done < size) {
    if (done > 0 && progress) progress(static_cast<double>(done) / static_cast<double>(size));
    const std::size_t wanted = size - done < LargestRequest ? size - done : LargestRequest;
    const ssize_t got = ::pread(fd, out + done, wanted, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::strerror(errno);
    if (got == 0) {
      return "it ended after " + std::to_string(done) + " of " + std::to_string(size) + " bytes";
    }
    done += static_cast<std::size_t>(got);
  }
  return {};
}

}  // namespace

FileToRead::FileToRead(const std::string& path) : path_(path), file_(path) {
  if (!file_.IsOpen()) {
    throw RecordingError(path,
                         std::string("cannot be opened: ") + std::strerror(file_.OpenError()));
  }
  struct stat status {};
  if (::fstat(file_.Get(), &status) != 0) {
    throw RecordingError(path, std::string("cannot be read: ") + std::strerror(errno));
  }
  if (S_ISDIR(status.st_mode)) throw RecordingError(path, "is a folder, not a file");
  if (!S_ISREG(status.st_mode)) throw RecordingError(path, "is not a regular file");
  const auto size = static_cast<std::uint64_t>(status.st_size);
  if (size > std::numeric_limits<std::size_t>::max()) {
    throw RecordingError(path, "is too large to load into memory");
  }
  size_ = static_cast<std::size_t>(size);
}

FileBytes FileToRead::ReadStart(std::size_t count) const {
  FileBytes bytes(count < size_ ? count : size_);
  const std::string failure = ReadFully(file_.Get(), bytes.data(), bytes.Size(), {});
  if (!failure.empty()) throw RecordingError(path_, "cannot be read: " + failure);
  return bytes;
}

FileBytes FileToRead::ReadWhole(const WorkProgress& progress) const {
  FileBytes bytes;
  try {
    bytes = FileBytes(size_);
  } catch (const std::bad_alloc&) {
    throw RecordingError(path_, "cannot be loaded: there is not enough memory for its " +
                                    std::to_string(size_) + " bytes");
  }
  const std::string failure = ReadFully(file_.Get(), bytes.data(), bytes.Size(), progress);
  if (!failure.empty()) throw RecordingError(path_, "cannot be read in full: " + failure);
  return bytes;
}

FileBytes ReadWholeFile(const std::string& path, const WorkProgress& progress) {
  return FileToRead(path).ReadWhole(progress);
}
