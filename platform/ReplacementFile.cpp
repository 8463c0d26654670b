#include "platform/ReplacementFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "platform/FileDescriptor.h"

namespace platform {

namespace {

// Hidden, and short so that a target with a name of the longest length still has room.
constexpr std::string_view kCopyPrefix = ".~copy-";
constexpr std::string_view kSavePrefix = ".~save-";
constexpr std::string_view kSuffix = ".tmp";

Status StageError(const char* stage, int error) {
  return {ErrorCodeFromErrno(error),
          std::string(stage) + ": " + std::generic_category().message(error)};
}

// Makes a rename durable; a folder that cannot be flushed leaves the new file in place anyway.
void FlushFolder(const std::string& folder) {
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.fd >= 0) static_cast<void>(::fsync(dir.fd));  // see above
}

int Rename(const std::string& from, const std::string& to, bool overwrite) {
  if (overwrite) return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system that cannot rename without replacing: check, then rename.
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Every save in a folder runs under the folder's lock and removes or places its temporary
// before it lets go, so a temporary found while we hold the lock was left by a crash.
void RemoveCrashedSaves(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;  // creating the new temporary will say what is wrong
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (StartsWith(name, kSavePrefix) && EndsWith(name, kSuffix)) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const std::string& target,
                                                                 Purpose purpose) {
  static std::atomic<unsigned> counter{0};
  const std::string_view prefix = purpose == Purpose::Save ? kSavePrefix : kCopyPrefix;
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = folder + "/" + std::string(prefix) + std::to_string(::getpid()) + "-" +
                             std::to_string(counter++) + std::string(kSuffix);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return std::unique_ptr<ReplacementFile>(new ReplacementFile(path, target, fd));
    if (errno != EEXIST) return StageError("creating a temporary file beside the target", errno);
  }
  return StageError("creating a temporary file beside the target", EEXIST);
}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!placed_) ::unlink(path_.c_str());
}

Status ReplacementFile::Place(bool overwrite, bool durable) {
  if (durable && ::fsync(fd_) != 0) return StageError("flushing the new file", errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return StageError("flushing the new file", errno);
  if (const int error = Rename(path_, target_, overwrite)) {
    if (error == EEXIST) return {ErrorCode::AlreadyExists, "the target exists"};
    return StageError("replacing the target", error);
  }
  placed_ = true;
  if (durable) FlushFolder(FolderOf(target_));
  return Status::Ok();
}

std::string WriteTarget(const std::string& path) {
  struct stat info {};
  char resolved[PATH_MAX];
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
      ::realpath(path.c_str(), resolved) != nullptr) {
    return resolved;
  }
  return path;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

Status ReplaceFileContents(const FolderLock& lock, const std::string& target,
                           std::string_view contents) {
  const std::string folder = FolderOf(target);
  if (!lock.Covers(folder)) {
    return {ErrorCode::AccessDenied,
            "replacing " + target + " needs the lock of its folder, not of " + lock.folder()};
  }
  RemoveCrashedSaves(folder);

  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  Result<std::unique_ptr<ReplacementFile>> file =
      ReplacementFile::Create(target, ReplacementFile::Purpose::Save);
  if (!file) return file.status();
  const int fd = file.value()->fd();
  if (existed) {
    // The file keeps its mode exactly, and its owner where we may set it.
    if (::fchmod(fd, old.st_mode & 07777) != 0) return StageError("setting the mode", errno);
    if (::geteuid() == 0) static_cast<void>(::fchown(fd, old.st_uid, old.st_gid));  // see above
  }
  if (const int error = WriteAll(fd, contents)) return StageError("writing the new file", error);
  return file.value()->Place();
}

}  // namespace platform
