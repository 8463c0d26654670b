#include "platform/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace platform {

Result<std::unique_ptr<FolderLock>> FolderLock::Acquire(std::string folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  auto failure = [&](const char* what, int error) {
    return Status(ErrorCodeFromErrno(error),
                  std::string(what) + " " + folder + ": " + std::generic_category().message(error));
  };
  if (fd < 0) return failure("cannot open the folder", errno);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    ::close(fd);
    return failure("cannot lock the folder", error);
  }
  return std::unique_ptr<FolderLock>(new FolderLock(std::move(folder), fd));
}

FolderLock::~FolderLock() {
  ::close(fd_);
}

bool FolderLock::Covers(const std::string& folder) const {
  struct stat locked {};
  struct stat other {};
  return ::fstat(fd_, &locked) == 0 && ::stat(folder.c_str(), &other) == 0 &&
         locked.st_dev == other.st_dev && locked.st_ino == other.st_ino;
}

}  // namespace platform
