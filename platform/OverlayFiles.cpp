#include "platform/OverlayFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include "platform/FileDescriptor.h"
#include "platform/FileInternals.h"
#include "platform/FolderLevels.h"
#include "platform/ReplacementFile.h"

namespace platform {

using namespace file_internals;

namespace {

std::string Key(const std::string& host) {
  std::string key = host;
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

bool IsReadOnly(mode_t mode) {
  return (mode & S_IWUSR) == 0;
}

std::string Identity(const struct stat& info) {
  return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

// How the real copy and save fail when they cannot put their temporary beside the target.
Status TemporaryRefused(int error, const std::string& action) {
  return SystemError(error, action, "creating a temporary file beside the target");
}

// The bytes of a host file, as FileSystem::ReadFile reads them.
Result<std::string> ReadHost(const std::string& host, const std::string& action) {
  FileDescriptor file(::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.fd < 0) return SystemError(errno, action);
  std::string content;
  if (const int error = ReadAll(file.fd, content)) return SystemError(error, action, "reading");
  return content;
}

// A file's mode as a new file gets it from the umask. Only the owner's write bit counts for
// what the overlay tells (the read-only attribute), and no umask takes that away in practice.
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kNewFolderMode = 0777;

timespec Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

}  // namespace

// The folders one ForceDirectories call puts into the overlay, taken out again unless the
// call succeeds, as the real call removes the levels it created.
class OverlayFiles::NewFolders {
 public:
  explicit NewFolders(OverlayFiles& files) : files_(files) {}
  ~NewFolders() {
    if (kept_) return;
    for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
      if (made->second) {
        files_.entries_[made->first] = *made->second;
      } else {
        files_.entries_.erase(made->first);
      }
    }
  }
  NewFolders(const NewFolders&) = delete;
  NewFolders& operator=(const NewFolders&) = delete;

  // 0, EEXIST when the name is taken, or the error mkdir would give.
  int Create(const std::string& host) {
    Node node;
    if (files_.Look(host, node, false) == 0) return EEXIST;
    if (!files_.IsFolder(ParentOf(host))) return ENOENT;
    if (const int error = files_.ChangeInFolderError(ParentOf(host))) return error;
    const std::string key = Key(host);
    const auto before = files_.entries_.find(key);
    made_.emplace_back(
        key, before == files_.entries_.end() ? std::nullopt : std::optional<Entry>(before->second));
    files_.Put(host, {.kind = Entry::Kind::Folder, .mode = kNewFolderMode, .mtime = Now()});
    return 0;
  }
  void Keep() { kept_ = true; }
  // The overlay's folders as the shared walks ask for them, made through this object.
  FolderMaker Maker() {
    return {.exists = [this](const std::string& host) { return files_.IsFolder(host); },
            .create = [this](const std::string& host) { return Create(host); }};
  }

 private:
  OverlayFiles& files_;
  std::vector<std::pair<std::string, std::optional<Entry>>> made_;
  bool kept_ = false;
};

OverlayFiles::OverlayFiles(WinePrefix prefix) : prefix_(prefix), disk_(std::move(prefix)) {}

const OverlayFiles::Entry* OverlayFiles::Find(const std::string& host) const {
  const auto found = entries_.find(Key(host));
  return found == entries_.end() ? nullptr : &found->second;
}

void OverlayFiles::Put(const std::string& host, Entry entry) {
  entries_[Key(host)] = std::move(entry);
}

int OverlayFiles::Look(const std::string& host, Node& node, bool follow) const {
  const Entry* entry = Find(host);
  std::string at = host;
  if (entry == nullptr && follow) {
    // A change made through a link is kept at the link's target.
    at = WriteTarget(host);
    if (at != host) entry = Find(at);
  }
  if (entry != nullptr) {
    if (entry->kind == Entry::Kind::Gone) return ENOENT;
    node = {.folder = entry->kind == Entry::Kind::Folder,
            .regular = entry->kind == Entry::Kind::File,
            .mode = entry->mode,
            .mtime = entry->mtime,
            .identity = "overlay:" + Key(at),
            .origin = entry->origin,
            .content = entry->content};
    return 0;
  }
  // Below a folder the overlay removed, or a file it put in a folder's place, nothing is.
  for (std::string up = ParentOf(host); !up.empty(); up = ParentOf(up)) {
    if (const Entry* above = Find(up)) {
      if (above->kind == Entry::Kind::Gone) return ENOENT;
      if (above->kind == Entry::Kind::File) return ENOTDIR;
      break;  // a folder of the overlay's: what lies below it is on disk or in the overlay
    }
    if (up == "/") break;
  }
  struct stat info {};
  if ((follow ? ::stat(host.c_str(), &info) : ::lstat(host.c_str(), &info)) != 0) return errno;
  node = {.folder = S_ISDIR(info.st_mode),
          .regular = S_ISREG(info.st_mode),
          .link = S_ISLNK(info.st_mode),
          .mode = static_cast<mode_t>(info.st_mode & 07777),
          .mtime = info.st_mtim,
          .identity = Identity(info),
          .origin = host};
  return 0;
}

bool OverlayFiles::IsFolder(const std::string& host) const {
  Node node;
  return Look(host, node) == 0 && node.folder;
}

bool OverlayFiles::IsEmpty(const std::string& host) const {
  const std::string below = Key(host) + "/";
  for (auto entry = entries_.lower_bound(below);
       entry != entries_.end() && entry->first.starts_with(below); ++entry) {
    const bool child = entry->first.find('/', below.size()) == std::string::npos;
    if (child && entry->second.kind != Entry::Kind::Gone) return false;
  }
  DIR* dir = ::opendir(host.c_str());
  if (dir == nullptr) return true;  // a folder only the overlay holds
  bool empty = true;
  while (const dirent* item = ::readdir(dir)) {
    const std::string_view name = item->d_name;
    // What killed copies left there the real removal takes away first.
    if (name == "." || name == ".." || IsAbandonedCopy(name)) continue;
    Node node;
    if (Look(host + "/" + std::string(name), node, false) == 0) {
      empty = false;
      break;
    }
  }
  ::closedir(dir);
  return empty;
}

int OverlayFiles::ChangeInFolderError(const std::string& folder) const {
  struct stat info {};
  // A folder that is only in the overlay was made by this process, which may write there.
  if (::stat(folder.c_str(), &info) != 0) return 0;
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

Status OverlayFiles::Missing(const std::string& host, const WinPath& path,
                             const std::string& action, const char* what) const {
  if (IsFolder(ParentOf(host))) {
    return Fail(ErrorCode::NotFound, action, std::string("the ") + what + " does not exist");
  }
  return Fail(ErrorCode::PathNotFound, action,
              "the folder " + path.Parent().ToString() + " does not exist");
}

bool OverlayFiles::FileExists(std::string_view path) const {
  const Result<Location> at = Locate(prefix_, path);
  Node node;
  return at && Look(at->host, node) == 0 && node.regular;
}

bool OverlayFiles::DirectoryExists(std::string_view path) const {
  const Result<Location> at = Locate(prefix_, path);
  return at && IsFolder(at->host);
}

bool OverlayFiles::SameFile(std::string_view a, std::string_view b) const {
  const Result<Location> first = Locate(prefix_, a);
  const Result<Location> second = Locate(prefix_, b);
  Node one;
  Node two;
  return first && second && Look(first->host, one) == 0 && Look(second->host, two) == 0 &&
         one.identity == two.identity;
}

Result<std::uint32_t> OverlayFiles::GetAttributes(std::string_view path) const {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot read the attributes of " + at->path.ToString();
  Node node;
  if (const int error = Look(at->host, node)) {
    return error == ENOENT ? Missing(at->host, at->path, action, "file or folder")
                           : SystemError(error, action);
  }
  std::uint32_t attributes = node.folder ? faDirectory : faArchive;
  if (IsReadOnly(node.mode)) attributes |= faReadOnly;
  return attributes;
}

Status OverlayFiles::SetAttributes(std::string_view path, std::uint32_t attributes) {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot set the attributes of " + at->path.ToString();
  Node node;
  if (const int error = Look(at->host, node)) {
    return error == ENOENT ? Missing(at->host, at->path, action, "file or folder")
                           : SystemError(error, action);
  }
  const mode_t wanted =
      (attributes & faReadOnly) != 0 ? (node.mode & ~mode_t{0222}) : (node.mode | S_IWUSR);
  if (wanted == node.mode) return Status::Ok();
  // Only the owner (or root) may change the mode of a file on disk.
  struct stat info {};
  if (::stat(at->host.c_str(), &info) == 0 && node.identity == Identity(info) && ::geteuid() != 0 &&
      info.st_uid != ::geteuid()) {
    return SystemError(EPERM, action);
  }
  Entry changed{.kind = node.folder ? Entry::Kind::Folder : Entry::Kind::File,
                .mode = wanted,
                .mtime = node.mtime,
                .origin = node.origin,
                .content = node.content};
  Put(WriteTarget(at->host), std::move(changed));
  return Status::Ok();
}

Status OverlayFiles::CopyFile(std::string_view source, std::string_view target, bool overwrite) {
  const Result<Location> from = Locate(prefix_, source);
  if (!from) return from.status();
  const Result<Location> to = Locate(prefix_, target);
  if (!to) return to.status();
  const std::string action = "Cannot copy " + from->path.ToString() + " to " + to->path.ToString();

  Node origin;
  if (const int error = Look(from->host, origin)) {
    return error == ENOENT ? Missing(from->host, from->path, action, "source file")
                           : SystemError(error, action);
  }
  if (origin.folder) return Fail(ErrorCode::AccessDenied, action, "the source is a folder");
  if (!origin.regular) {
    return Fail(ErrorCode::AccessDenied, action, "the source is not a regular file");
  }
  if (!IsFolder(ParentOf(to->host))) {
    return Fail(ErrorCode::PathNotFound, action,
                "the folder " + to->path.Parent().ToString() + " does not exist");
  }

  const std::string writeTo = WriteTarget(to->host);
  std::optional<mode_t> keptMode;
  Node existing;
  if (const int error = Look(writeTo, existing); error == 0) {
    if (existing.folder) return Fail(ErrorCode::AccessDenied, action, "the target is a folder");
    if (existing.identity == origin.identity) {
      return Fail(ErrorCode::AccessDenied, action, "source and target are the same file");
    }
    if (!overwrite) return Fail(ErrorCode::AlreadyExists, action, "the target exists");
    if (IsReadOnly(existing.mode)) {
      return Fail(ErrorCode::AccessDenied, action, "the target is read-only");
    }
    keptMode = existing.mode;
  } else if (error != ENOENT) {
    return SystemError(error, action);
  }
  // What writing the copy would meet: a source it may not open, a folder it may not write in.
  if (!origin.content && ::faccessat(AT_FDCWD, origin.origin.c_str(), R_OK, AT_EACCESS) != 0) {
    return SystemError(errno, action, "opening the source");
  }
  if (const int error = ChangeInFolderError(FolderOf(writeTo))) {
    return TemporaryRefused(error, action);
  }
  Put(writeTo, {.kind = Entry::Kind::File,
                .mode = CopyMode(origin.mode, keptMode, kNewFileMode),
                .mtime = origin.mtime,  // Windows keeps the source's time on a copy
                .origin = origin.origin,
                .content = origin.content});
  return Status::Ok();
}

Status OverlayFiles::DeleteFile(std::string_view path) {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot delete " + at->path.ToString();
  Node node;
  if (const int error = Look(at->host, node, false)) {
    return error == ENOENT ? Missing(at->host, at->path, action, "file")
                           : SystemError(error, action);
  }
  if (node.folder) return Fail(ErrorCode::AccessDenied, action, "it is a folder, not a file");
  if (!node.link && IsReadOnly(node.mode)) {
    return Fail(ErrorCode::AccessDenied, action, "the file is read-only");
  }
  if (const int error = ChangeInFolderError(ParentOf(at->host))) {
    return SystemError(error, action);
  }
  Put(at->host, {.kind = Entry::Kind::Gone});
  return Status::Ok();
}

Result<std::string> OverlayFiles::ReadFile(std::string_view path) const {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot read " + at->path.ToString();
  Node node;
  if (const int error = Look(at->host, node)) {
    if (error == ENOENT || error == ENOTDIR) return Missing(at->host, at->path, action, "file");
    return SystemError(error, action);
  }
  if (node.content) return *node.content;
  // A file the overlay left alone reads as the disk has it, with the disk's own answers.
  if (node.origin == at->host) return disk_.ReadFile(path);
  if (node.folder) return Fail(ErrorCode::AccessDenied, action, "it is a folder, not a file");
  return ReadHost(node.origin, action);
}

Status OverlayFiles::RewriteFile(std::string_view path, const FileSystem::FileChange& change) {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot save " + at->path.ToString();
  if (!IsFolder(ParentOf(at->host))) {
    return Fail(ErrorCode::PathNotFound, action,
                "the folder " + at->path.Parent().ToString() + " does not exist");
  }
  const std::string target = WriteTarget(at->host);
  std::optional<std::string> current;
  Node node;
  const int error = Look(target, node);
  if (error == 0) {
    if (node.folder) return Fail(ErrorCode::AccessDenied, action, "it is a folder, not a file");
    if (!node.regular) return Fail(ErrorCode::AccessDenied, action, "it is not a plain file");
    Result<std::string> content =
        node.content ? Result<std::string>(*node.content) : ReadHost(node.origin, action);
    if (!content) return content.status();
    if (IsReadOnly(node.mode))
      return Fail(ErrorCode::AccessDenied, action, "the file is read-only");
    current = std::move(content).value();
  } else if (error != ENOENT && error != ENOTDIR) {
    return SystemError(error, action);
  }
  const Result<std::string> next = change(current);
  if (!next) return next.status();
  if (current == *next) return Status::Ok();
  if (const int refused = ChangeInFolderError(FolderOf(target))) {
    return TemporaryRefused(refused, action);
  }
  Put(target, {.kind = Entry::Kind::File,
               .mode = current ? node.mode : kNewFileMode,
               .mtime = Now(),
               .content = *next});
  return Status::Ok();
}

Status OverlayFiles::CreateDirectory(std::string_view path) {
  NewFolders created(*this);
  created.Keep();  // one level: a failed call made nothing
  return CreateOneFolder(prefix_, path, created.Maker());
}

Status OverlayFiles::ForceDirectories(std::string_view path) {
  NewFolders created(*this);
  const Status made = CreateFolderLevels(prefix_, path, created.Maker());
  if (made) created.Keep();
  return made;
}

Status OverlayFiles::RemoveDirectory(std::string_view path) {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot remove the folder " + at->path.ToString();
  if (at->path.IsDriveRoot()) return Fail(ErrorCode::AccessDenied, action, "it is a drive root");
  Node node;
  if (const int error = Look(at->host, node, false)) {
    return error == ENOENT ? Missing(at->host, at->path, action, "folder")
                           : SystemError(error, action);
  }
  if (!node.folder) return Fail(ErrorCode::InvalidName, action, "it is not a folder");
  if (const int error = ChangeInFolderError(ParentOf(at->host))) {
    return SystemError(error, action);
  }
  if (!IsEmpty(at->host)) return Fail(ErrorCode::NotEmpty, action, "the folder is not empty");
  Put(at->host, {.kind = Entry::Kind::Gone});
  return Status::Ok();
}

}  // namespace platform
