#include "platform/FileDescriptor.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform {

int ReadAll(int fd, std::string& out) {
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0) {
    out.reserve(out.size() + static_cast<size_t>(info.st_size));
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    out.append(buffer, static_cast<size_t>(got));
  }
}

int WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

}  // namespace platform
