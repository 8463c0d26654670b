#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/ChangeRules.h"
#include "platform/FileDescriptor.h"
#include "platform/FileInternals.h"
#include "platform/FolderLevels.h"
#include "platform/FolderLock.h"
#include "platform/OverlayFiles.h"
#include "platform/ReplacementFile.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

using namespace file_internals;

// 0 or the error number, so that callers can tell "missing" from other failures.
int StatOf(const std::string& host, struct stat* info) {
  return ::stat(host.c_str(), info) == 0 ? 0 : errno;
}

bool IsFolder(const std::string& host) {
  return TheDisk().IsFolder(host);
}

int CopyByReading(int from, int to, const char** stage) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      *stage = "reading the source";
      return errno;
    }
    if (const int error = WriteAll(to, std::string_view(buffer.data(), static_cast<size_t>(got)))) {
      *stage = "writing the copy";
      return error;
    }
  }
}

// Whether copy_file_range cannot copy between these two files at all (another file system,
// one that does not offer it, an older kernel), so that reading and writing must.
bool KernelCopyUnavailable(int error) {
  return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
         error == EBADF || error == EPERM;
}

// Copies `from`, of `size` bytes, into `to`. The kernel copies where it can, as cp does: the
// bytes never pass through this process, and a file system that shares extents may not copy
// them at all. It stops at `size` rather than asking for more: asked at the file size limit,
// the kernel refuses even when nothing is left to copy.
int CopyContent(int from, int to, off_t size, const char** stage) {
  constexpr size_t kChunk = size_t{1} << 30;
  off_t copied = 0;
  for (;;) {
    if (copied > 0 && copied >= size) return 0;
    const ssize_t done = ::copy_file_range(from, nullptr, to, nullptr, kChunk, 0);
    const bool started = copied > 0;  // some bytes are copied
    if (done > 0) {
      copied += done;
      continue;
    }
    if (done == 0) {
      // Some file systems (procfs and the like) report an end at once although the file
      // has bytes; reading finds them, and finds a file that is really empty at once.
      return started ? 0 : CopyByReading(from, to, stage);
    }
    if (errno == EINTR) continue;
    if (!started && KernelCopyUnavailable(errno)) return CopyByReading(from, to, stage);
    const bool full = errno == ENOSPC || errno == EDQUOT || errno == EFBIG;
    *stage = full ? "writing the copy" : "copying the content";
    return errno;
  }
}

// Writes the content of `source` beside `target` and renames it over `target`.
// `keptMode`: the permission bits of the file being replaced, if any.
Status WriteCopy(const std::string& source, const Found& sourceInfo, const std::string& target,
                 std::optional<mode_t> keptMode, bool overwrite, const std::string& action) {
  FileDescriptor in;
  in.fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in.fd < 0) return SystemError(errno, action, "opening the source");

  // Created with the source's bits, so that the umask has its say and the content is never
  // readable by more than the source's readers, not even while it is written.
  Result<std::unique_ptr<ReplacementFile>> copy = ReplacementFile::Create(
      target, ReplacementFile::Purpose::Copy, sourceInfo.mode & keptMode.value_or(0777) & 0777);
  if (!copy) return Fail(copy.status().code(), action, copy.status().message());
  const int fd = copy.value()->fd();
  const char* stage = "";
  if (const int error = CopyContent(in.fd, fd, sourceInfo.size, &stage)) {
    return SystemError(error, action, stage);
  }

  struct stat tempInfo {};
  if (::fstat(fd, &tempInfo) != 0) return SystemError(errno, action, "writing the copy");
  const mode_t mode = CopyMode(sourceInfo.mode, keptMode, tempInfo.st_mode);
  if (::fchmod(fd, mode) != 0) return SystemError(errno, action, "setting attributes");
  // Windows keeps the source's modification time on a copy.
  const timespec times[2] = {{0, UTIME_OMIT}, sourceInfo.mtime};
  if (::futimens(fd, times) != 0) return SystemError(errno, action, "setting the time");

  // A file that replaces another is on disk before it takes the other's place, so that a
  // crash cannot leave an empty file where a good one was. A new file puts nothing at risk
  // (the distribution still holds it); flushing it too would make a run several times
  // slower than cp, which flushes nothing.
  const bool replacing = keptMode.has_value();
  if (Status placed = copy.value()->Place(overwrite, replacing); !placed) {
    return Fail(placed.code(), action, placed.message());
  }
  return Status::Ok();
}

// The content of the plain file at `host`; nothing when there is none.
Result<std::optional<std::string>> ReadIfPresent(const std::string& host,
                                                 const std::string& action) {
  // Not blocking, so that a pipe in the file's place is refused rather than waited on.
  FileDescriptor file(::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::optional<std::string>();
    return SystemError(errno, action);
  }
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return SystemError(errno, action);
  if (S_ISDIR(info.st_mode))
    return Fail(ErrorCode::AccessDenied, action, "it is a folder, not a file");
  if (!S_ISREG(info.st_mode)) {
    return Fail(ErrorCode::AccessDenied, action, "it is not a plain file");
  }
  std::string content;
  if (const int error = ReadAll(file.fd, content)) return SystemError(error, action, "reading");
  return std::optional<std::string>(std::move(content));
}

// Fills `buffer` from the file, short only at its end: the bytes read, or -1 with errno set.
ssize_t ReadPiece(int fd, std::vector<char>& buffer) {
  size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(filled);
}

// Whether two open files hold the same bytes from where they stand: 0 with `same` set, or the
// error number of a read that failed. A megabyte at a time: a large file is never held whole,
// and a difference ends the reading.
int CompareOpenFiles(int a, int b, bool& same) {
  std::vector<char> x(size_t{1} << 20);
  std::vector<char> y(x.size());
  for (;;) {
    const ssize_t got = ReadPiece(a, x);
    if (got < 0) return errno;
    const ssize_t other = ReadPiece(b, y);
    if (other < 0) return errno;
    if (got != other || std::memcmp(x.data(), y.data(), static_cast<size_t>(got)) != 0) {
      same = false;
      return 0;
    }
    if (got < static_cast<ssize_t>(x.size())) {
      same = true;
      return 0;
    }
  }
}

// Whether two host files hold the same bytes; false as well when either cannot be read, which
// a copy then counts as a change.
bool HoldSameBytes(const std::string& a, const std::string& b) {
  const FileDescriptor first(::open(a.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  const FileDescriptor second(::open(b.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  bool same = false;
  return first.fd >= 0 && second.fd >= 0 && CompareOpenFiles(first.fd, second.fd, same) == 0 &&
         same;
}

// Removes what copies killed in earlier runs left in `folder`: the first time this process
// copies into it or deletes from it is enough, since a copy of this process's own never
// leaves its temporary behind, and a folder is not read again for every file of a run.
// The window's module keeps a set of its own (it holds its own copy of the platform): a folder
// the program cleaned would be read once more there, which removes nothing of a live copy.
void RemoveAbandonedCopiesOnce(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> cleaned;
  const std::lock_guard<std::mutex> lock(mutex);
  if (cleaned.insert(folder).second) RemoveAbandonedCopies(folder);
}

// The folders a ForceDirectories call creates, removed again, deepest first, unless the call
// succeeds: a call that fails deep down leaves the folders as it found them.
class CreatedFolders {
 public:
  CreatedFolders() = default;
  ~CreatedFolders() {
    if (kept_) return;
    for (auto folder = created_.rbegin(); folder != created_.rend(); ++folder)
      ::rmdir(folder->c_str());
  }
  CreatedFolders(const CreatedFolders&) = delete;
  CreatedFolders& operator=(const CreatedFolders&) = delete;

  // 0, EEXIST when the name is taken, or the error number.
  int Create(const std::string& host) {
    if (::mkdir(host.c_str(), 0777) != 0) return errno;
    created_.push_back(host);
    return 0;
  }
  void Keep() { kept_ = true; }
  // The disk's folders as the shared walks ask for them, made through this object.
  FolderMaker Maker() {
    return {.exists = [](const std::string& host) { return IsFolder(host); },
            .create = [this](const std::string& host) { return Create(host); }};
  }

 private:
  std::vector<std::string> created_;
  bool kept_ = false;
};

}  // namespace

FileSystem::FileSystem(WinePrefix prefix, Writes writes)
    : prefix_(std::move(prefix)),
      overlay_(writes == Writes::KeptInOverlay ? std::make_shared<OverlayFiles>(prefix_)
                                               : nullptr) {}

bool FileSystem::FileExists(std::string_view path) const {
  if (overlay_) return overlay_->FileExists(path);
  const Result<Location> at = Locate(prefix_, path);
  struct stat info {};
  return at && StatOf(at->host, &info) == 0 && S_ISREG(info.st_mode);
}

bool FileSystem::DirectoryExists(std::string_view path) const {
  if (overlay_) return overlay_->DirectoryExists(path);
  const Result<Location> at = Locate(prefix_, path);
  return at && IsFolder(at->host);
}

bool FileSystem::SameFile(std::string_view a, std::string_view b) const {
  if (overlay_) return overlay_->SameFile(a, b);
  const Result<Location> first = Locate(prefix_, a);
  const Result<Location> second = Locate(prefix_, b);
  struct stat firstInfo {};
  struct stat secondInfo {};
  return first && second && StatOf(first->host, &firstInfo) == 0 &&
         StatOf(second->host, &secondInfo) == 0 && firstInfo.st_dev == secondInfo.st_dev &&
         firstInfo.st_ino == secondInfo.st_ino;
}

Result<std::uint32_t> FileSystem::GetAttributes(std::string_view path) const {
  if (overlay_) return overlay_->GetAttributes(path);
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot read the attributes of " + at->path.ToString();
  struct stat info {};
  if (const int error = StatOf(at->host, &info)) {
    return error == ENOENT ? Missing(TheDisk(), *at, action, "file or folder")
                           : SystemError(error, action);
  }
  std::uint32_t attributes = S_ISDIR(info.st_mode) ? faDirectory : faArchive;
  if ((info.st_mode & S_IWUSR) == 0) attributes |= faReadOnly;
  return attributes;
}

Status FileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) const {
  if (overlay_) return overlay_->SetAttributes(path, attributes);
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot set the attributes of " + at->path.ToString();
  struct stat info {};
  if (const int error = StatOf(at->host, &info)) {
    return error == ENOENT ? Missing(TheDisk(), *at, action, "file or folder")
                           : SystemError(error, action);
  }
  const mode_t mode = info.st_mode & 07777;
  const mode_t wanted = (attributes & faReadOnly) != 0 ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
  if (wanted != mode && ::chmod(at->host.c_str(), wanted) != 0) {
    return SystemError(errno, action);
  }
  return Status::Ok();
}

Status FileSystem::CopyFile(std::string_view source, std::string_view target,
                            bool overwrite) const {
  return Copy(source, target, overwrite, nullptr);
}

Status FileSystem::CopyFile(std::string_view source, std::string_view target, bool overwrite,
                            CopyReport& report) const {
  return Copy(source, target, overwrite, &report);
}

// Compares only for a caller that asked: a copy that replaces a large file would otherwise read
// both files once more.
Status FileSystem::Copy(std::string_view source, std::string_view target, bool overwrite,
                        CopyReport* report) const {
  if (overlay_) {
    if (!report) return overlay_->CopyFile(source, target, overwrite);
    // A dry run compares before its copy takes the target's place, as SameContent compares.
    const Result<bool> same = SameContent(source, target);
    const Status copied = overlay_->CopyFile(source, target, overwrite);
    if (copied) report->replacedSameBytes = same && same.value();
    return copied;
  }
  const Result<Location> from = Locate(prefix_, source);
  if (!from) return from.status();
  const Result<Location> to = Locate(prefix_, target);
  if (!to) return to.status();
  CopyCheck check;
  if (Status allowed = MayCopy(TheDisk(), *from, *to, overwrite, check); !allowed) return allowed;
  RemoveAbandonedCopiesOnce(FolderOf(check.writeTo));
  std::optional<mode_t> keptMode;
  if (check.target) keptMode = check.target->mode;
  const bool same = report && check.target && check.target->size == check.source.size &&
                    HoldSameBytes(from->host, check.writeTo);
  Status copied =
      WriteCopy(from->host, check.source, check.writeTo, keptMode, overwrite, check.action);
  if (copied && report) report->replacedSameBytes = same;
  return copied;
}

Status FileSystem::DeleteFile(std::string_view path) const {
  if (overlay_) return overlay_->DeleteFile(path);
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  RemoveAbandonedCopiesOnce(ParentOf(at->host));
  std::string action;
  if (Status allowed = MayDelete(TheDisk(), *at, action); !allowed) return allowed;
  if (::unlink(at->host.c_str()) != 0) return SystemError(errno, action);
  return Status::Ok();
}

Status FileSystem::CreateDirectory(std::string_view path) const {
  if (overlay_) return overlay_->CreateDirectory(path);
  CreatedFolders created;
  created.Keep();  // one level: a failed call made nothing
  return CreateOneFolder(prefix_, path, created.Maker());
}

Status FileSystem::ForceDirectories(std::string_view path) const {
  if (overlay_) return overlay_->ForceDirectories(path);
  CreatedFolders created;
  const Status made = CreateFolderLevels(prefix_, path, created.Maker());
  if (made) created.Keep();
  return made;
}

Status FileSystem::RemoveDirectory(std::string_view path) const {
  if (overlay_) return overlay_->RemoveDirectory(path);
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  std::string action;
  if (Status allowed = MayRemoveFolder(TheDisk(), *at, action); !allowed) return allowed;
  const auto remove = [&] { return ::rmdir(at->host.c_str()) == 0 ? 0 : errno; };
  int error = remove();
  if (error == ENOTEMPTY || error == EEXIST) {
    // What killed copies left there would keep a folder the user sees as empty.
    RemoveAbandonedCopies(at->host);
    error = remove();
  }
  if (error == ENOTEMPTY || error == EEXIST) {
    return Fail(ErrorCode::NotEmpty, action, "the folder is not empty");
  }
  if (error != 0) return SystemError(error, action);
  return Status::Ok();
}

Result<std::string> FileSystem::ReadFile(std::string_view path) const {
  if (overlay_) return overlay_->ReadFile(path);
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot read " + at->path.ToString();
  Result<std::optional<std::string>> content = ReadIfPresent(at->host, action);
  if (!content) return content.status();
  if (!content->has_value()) return Missing(TheDisk(), *at, action, "file");
  return std::move(**content);
}

Result<bool> FileSystem::SameContent(std::string_view a, std::string_view b) const {
  if (overlay_) {
    // A dry run's files may be its own, in memory; it compares them whole, as it copies none.
    const Result<std::string> first = overlay_->ReadFile(a);
    if (!first) return first.status();
    const Result<std::string> second = overlay_->ReadFile(b);
    if (!second) return second.status();
    return first.value() == second.value();
  }
  struct Opened {
    FileDescriptor file;
    struct stat info {};
  };
  const auto open = [this](std::string_view path, Opened& opened) -> Status {
    const Result<Location> at = Locate(prefix_, path);
    if (!at) return at.status();
    const std::string action = "Cannot read " + at->path.ToString();
    opened.file.fd = ::open(at->host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (opened.file.fd < 0) {
      return errno == ENOENT || errno == ENOTDIR ? Missing(TheDisk(), *at, action, "file")
                                                 : SystemError(errno, action);
    }
    if (::fstat(opened.file.fd, &opened.info) != 0) return SystemError(errno, action);
    if (!S_ISREG(opened.info.st_mode)) {
      return Fail(ErrorCode::AccessDenied, action, "it is not a plain file");
    }
    return Status::Ok();
  };
  Opened first;
  Opened second;
  if (Status s = open(a, first); !s) return s;
  if (Status s = open(b, second); !s) return s;
  if (first.info.st_size != second.info.st_size) return false;
  if (first.info.st_dev == second.info.st_dev && first.info.st_ino == second.info.st_ino)
    return true;
  bool same = false;
  if (const int error = CompareOpenFiles(first.file.fd, second.file.fd, same)) {
    return SystemError(error, "Cannot compare " + std::string(a) + " with " + std::string(b),
                       "reading");
  }
  return same;
}

Status FileSystem::RewriteFile(std::string_view path, const FileChange& change) const {
  if (overlay_) return overlay_->RewriteFile(path, change);
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  RewriteCheck check;
  if (Status allowed = MayRewrite(TheDisk(), *at, check); !allowed) return allowed;
  const std::string& action = check.action;
  const Result<std::unique_ptr<FolderLock>> lock = FolderLock::Acquire(FolderOf(check.target));
  if (!lock) return Fail(lock.status().code(), action, lock.status().message());

  // Read under the lock: what another of our processes saved meanwhile is kept.
  const Result<std::optional<std::string>> current = ReadIfPresent(check.target, action);
  if (!current) return current.status();
  const Result<std::string> next = change(*current);
  if (!next) return next.status();
  if (*current == *next) return Status::Ok();
  if (Status allowed = MayReplace(TheDisk(), check, static_cast<off_t>(next->size())); !allowed) {
    return allowed;
  }
  if (Status saved = ReplaceFileContents(*lock.value(), check.target, *next); !saved) {
    return Fail(saved.code(), action, saved.message());
  }
  return Status::Ok();
}

}  // namespace platform
