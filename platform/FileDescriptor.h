#pragma once

// A file descriptor closed when it goes out of scope, and whole reads and writes through one.

#include <unistd.h>

#include <string>
#include <string_view>

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

// Everything from the descriptor's position to the end, appended to `out`. 0, or the error
// number of the read that failed (interrupted reads are repeated).
int ReadAll(int fd, std::string& out);
// All of `data`, however many writes that takes. 0, or the error number.
int WriteAll(int fd, std::string_view data);

}  // namespace platform
