#include "recording/file_descriptor.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

FileDescriptor::FileDescriptor(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) openError_ = errno;
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}
