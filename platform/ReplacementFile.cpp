#include "platform/ReplacementFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/FileDescriptor.h"
#include "platform/RunningProgram.h"

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

// Removes the files of `folder` whose names `abandoned` picks. A folder that cannot be read
// is left to the operation on it, which says what is wrong.
template <typename Picks>
void RemoveTemporaries(const std::string& folder, Picks abandoned) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (abandoned(std::string_view(entry->d_name))) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// Every save in a folder runs under the folder's lock and removes or places its temporary
// before it lets go, so a temporary found while we hold the lock was left by a crash.
void RemoveCrashedSaves(const std::string& folder) {
  RemoveTemporaries(folder, [](std::string_view name) {
    return StartsWith(name, kSavePrefix) && EndsWith(name, kSuffix);
  });
}

// The process id in the name of a copy temporary (".~copy-<pid>-<n>.tmp"); 0 for any other name.
pid_t CopyWriter(std::string_view name) {
  if (!StartsWith(name, kCopyPrefix) || !EndsWith(name, kSuffix)) return 0;
  name.remove_prefix(kCopyPrefix.size());
  const size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos) return 0;
  pid_t pid = 0;
  for (const char c : name.substr(0, dash)) {
    if (c < '0' || c > '9' || pid > 100000000) return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

// The file name of a process's program; empty when the system does not tell us.
std::string ProgramName(const Result<std::string>& program) {
  return program ? std::filesystem::path(*program).filename().string() : std::string();
}

// Whether the writer of a copy temporary may still be writing it. A process id outlives its
// process: once the writer is gone the id can be given to any new process, so a live id alone
// proves nothing. A live process counts as another program only when its executable's link
// says so, which needs no clock (a start time would be compared with the file system's wall
// clock, which can be set back) and cannot be wrong in the direction that matters: a name we
// cannot read (another user's process, a zombie) or a program of ours under the reused id (our
// own executable, or another copy of it, the same name) keeps the temporary, which the next
// run after that process removes. Only a dead id or a program of another name lets it go.
bool WriterMayBeRunning(pid_t pid) {
  if (pid == ::getpid()) return true;  // a copy of ours under way, or just failed and cleaning
  if (::kill(pid, 0) != 0 && errno == ESRCH) return false;
  const std::string theirs = ProgramName(ProgramPath(pid));
  return theirs.empty() || theirs == ProgramName(ProgramPath());
}

}  // namespace

bool IsAbandonedCopy(std::string_view name) {
  const pid_t writer = CopyWriter(name);
  return writer > 0 && !WriterMayBeRunning(writer);
}

void RemoveAbandonedCopies(const std::string& folder) {
  RemoveTemporaries(folder, IsAbandonedCopy);
}

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const std::string& target,
                                                                 Purpose purpose, mode_t mode) {
  // The window's module counts with a counter of its own (it holds its own copy of the
  // platform) under the same process id, so both may draw one name: O_EXCL refuses a name
  // that is taken, and the next attempt draws the next number.
  static std::atomic<unsigned> counter{0};
  const std::string_view prefix = purpose == Purpose::Save ? kSavePrefix : kCopyPrefix;
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = folder + "/" + std::string(prefix) + std::to_string(::getpid()) + "-" +
                             std::to_string(counter++) + std::string(kSuffix);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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
  // A device, a pipe or a socket is never replaced by a file: the callers' checks say so
  // first; this is the last word, also on what took the target's place meanwhile.
  struct stat there {};
  if (::lstat(target_.c_str(), &there) == 0 && !S_ISREG(there.st_mode) && !S_ISLNK(there.st_mode)) {
    return {ErrorCode::AccessDenied, "replacing the target: it is not a regular file"};
  }
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
