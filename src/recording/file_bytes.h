#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/work_progress.h"
#include "recording/file_descriptor.h"

// The whole of a file in memory. It lives only while the command that read it runs.
class FileBytes {
 public:
  FileBytes() = default;
  // Storage of `size` bytes, zeroed; throws std::bad_alloc when it cannot be had.
  explicit FileBytes(std::size_t size);
  FileBytes(FileBytes&&) = default;
  FileBytes& operator=(FileBytes&&) = default;

  std::uint8_t* data() { return static_cast<std::uint8_t*>(bytes_.get()); }
  const std::uint8_t* data() const { return static_cast<const std::uint8_t*>(bytes_.get()); }
  std::size_t Size() const { return size_; }

 private:
  std::shared_ptr<void> bytes_;
  std::size_t size_ = 0;
};

// A regular file open for binary reading, with its size as it was when it opened. A command
// can look at the start of the file first and read the whole of it later, once it has made
// room: the file stays open in between, so renaming or deleting it meanwhile changes nothing.
class FileToRead {
 public:
  // Throws RecordingError naming the file when it cannot be opened, is a folder or no regular
  // file, or is too large for this machine's address space.
  explicit FileToRead(const std::string& path);

  const std::string& Path() const { return path_; }
  std::size_t Size() const { return size_; }

  // The first min(count, Size()) bytes.
  FileBytes ReadStart(std::size_t count) const;
  // All Size() bytes into one block of memory, in reads that report to `progress` between
  // them. Throws RecordingError when the file no longer holds them or cannot be read, or the
  // memory cannot be had.
  FileBytes ReadWhole(const WorkProgress& progress = {}) const;

 private:
  std::string path_;
  FileDescriptor file_;
  std::size_t size_ = 0;
};

// Reads the file at `path` whole, in binary; throws RecordingError as FileToRead does.
FileBytes ReadWholeFile(const std::string& path, const WorkProgress& progress = {});
