#pragma once

#include <string>

// An open file of the operating system for reading, closed when the object goes. Opening never
// waits: a named pipe or a device that would block opens at once and reads as it can.
class FileDescriptor {
 public:
  explicit FileDescriptor(const std::string& path);
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;

  bool IsOpen() const { return fd_ >= 0; }
  int OpenError() const { return openError_; }  // errno of a failed open
  int Get() const { return fd_; }

 private:
  int fd_ = -1;
  int openError_ = 0;
};
