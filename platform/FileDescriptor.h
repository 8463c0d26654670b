#pragma once

// A file descriptor closed when it goes out of scope.

#include <unistd.h>

namespace platform {

struct FileDescriptor {
  int fd = -1;

  FileDescriptor() = default;
  explicit FileDescriptor(int f) : fd(f) {}
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
};

}  // namespace platform
