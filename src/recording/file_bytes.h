#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

// The whole of a file in memory. It lives only while the command that read it runs.
class FileBytes {
 public:
  FileBytes() = default;
  // Uninitialised storage of `size` bytes; throws std::bad_alloc when it cannot be had.
  explicit FileBytes(std::size_t size);
  FileBytes(FileBytes&&) = default;
  FileBytes& operator=(FileBytes&&) = default;

  std::uint8_t* data() { return bytes_.get(); }
  const std::uint8_t* data() const { return bytes_.get(); }
  std::size_t Size() const { return size_; }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t, Free> bytes_;
  std::size_t size_ = 0;
};

// Reads the file at `path` whole, in binary. Throws RecordingError naming the file when it
// cannot be opened, is a folder or no regular file, cannot be read in full, or needs more
// memory than can be had.
FileBytes ReadWholeFile(const std::string& path);
