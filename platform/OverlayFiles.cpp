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
using file_internals::Found;

namespace {

std::string Key(const std::string& host) {
  std::string key = host;
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
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
    if (const int error = files_.LookNode(host, node, false); error != ENOENT) {
      return error == 0 ? EEXIST : error;
    }
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

int OverlayFiles::LookNode(const std::string& host, Node& node, bool follow) const {
  // What the kernel answers before it looks at anything, the overlay answers too.
  if (host.size() >= PATH_MAX) return ENAMETOOLONG;
  const Entry* entry = Find(host);
  std::string at = host;
  if (entry == nullptr && follow) {
    // A change made through a link is kept at the link's target.
    at = WriteTarget(host);
    if (at != host) entry = Find(at);
  }
  if (entry != nullptr) {
    // A name taken away answers as the folders above it now are: a file put in one's place
    // makes it "not a folder", as the disk says.
    if (entry->kind == Entry::Kind::Gone) return AboveError(host) == ENOTDIR ? ENOTDIR : ENOENT;
    node = {};
    node.kind = entry->kind == Entry::Kind::Folder ? Found::Kind::Folder : Found::Kind::File;
    node.mode = entry->mode;
    node.size = entry->content ? static_cast<off_t>(entry->content->size()) : entry->size;
    node.mtime = entry->mtime;
    node.identity = "overlay:" + Key(at);
    node.origin = entry->origin;
    node.content = entry->content;
    return 0;
  }
  if (const int error = AboveError(host)) return error;
  struct stat info {};
  if ((follow ? ::stat(host.c_str(), &info) : ::lstat(host.c_str(), &info)) != 0) {
    return errno == ENOENT ? MissingName(host) : errno;
  }
  static_cast<Found&>(node) = FoundOf(info);
  node.origin = host;
  node.content.reset();
  return 0;
}

int OverlayFiles::AboveError(const std::string& host) const {
  // Below a folder the overlay removed, or a file it put in a folder's place, nothing is.
  for (std::string up = ParentOf(host); !up.empty(); up = ParentOf(up)) {
    if (const Entry* above = Find(up)) {
      if (above->kind == Entry::Kind::Gone) return ENOENT;
      if (above->kind == Entry::Kind::File) return ENOTDIR;
      return 0;  // a folder of the overlay's: what lies below it is on disk or in the overlay
    }
    if (up == "/") break;
  }
  return 0;
}

int OverlayFiles::MissingName(const std::string& host) const {
  return NewNameError(host) != 0 && IsFolder(ParentOf(host)) ? ENAMETOOLONG : ENOENT;
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
    if (LookNode(host + "/" + std::string(name), node, false) == 0) {
      empty = false;
      break;
    }
  }
  ::closedir(dir);
  return empty;
}

int OverlayFiles::Look(const std::string& host, Found& found, bool follow) const {
  Node node;
  const int error = LookNode(host, node, follow);
  if (error == 0) found = node;
  return error;
}

int OverlayFiles::ChangeInFolderError(const std::string& folder) const {
  struct stat info {};
  // A folder that is only in the overlay was made by this process, which may write there.
  if (::stat(folder.c_str(), &info) != 0) return 0;
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

int OverlayFiles::ReadError(const std::string& host) const {
  Node node;
  if (const int error = LookNode(host, node)) return error;
  // Bytes the overlay holds itself are its to read.
  if (node.content) return 0;
  return ::faccessat(AT_FDCWD, node.origin.c_str(), R_OK, AT_EACCESS) == 0 ? 0 : errno;
}

bool OverlayFiles::FileExists(std::string_view path) const {
  const Result<Location> at = Locate(prefix_, path);
  Node node;
  return at && LookNode(at->host, node) == 0 && node.regular();
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
  return first && second && LookNode(first->host, one) == 0 && LookNode(second->host, two) == 0 &&
         one.identity == two.identity;
}

Result<std::uint32_t> OverlayFiles::GetAttributes(std::string_view path) const {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot read the attributes of " + at->path.ToString();
  Node node;
  if (const int error = LookNode(at->host, node)) {
    return error == ENOENT ? file_internals::Missing(*this, *at, action, "file or folder")
                           : SystemError(error, action);
  }
  std::uint32_t attributes = node.folder() ? faDirectory : faArchive;
  if (node.readOnly()) attributes |= faReadOnly;
  return attributes;
}

Status OverlayFiles::SetAttributes(std::string_view path, std::uint32_t attributes) {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot set the attributes of " + at->path.ToString();
  Node node;
  if (const int error = LookNode(at->host, node)) {
    return error == ENOENT ? file_internals::Missing(*this, *at, action, "file or folder")
                           : SystemError(error, action);
  }
  const mode_t wanted =
      (attributes & faReadOnly) != 0 ? (node.mode & ~mode_t{0222}) : (node.mode | S_IWUSR);
  if (wanted == node.mode) return Status::Ok();
  // Only the owner (or root) may change the mode of a file on disk.
  struct stat info {};
  if (::stat(at->host.c_str(), &info) == 0 && node.identity == FoundOf(info).identity &&
      ::geteuid() != 0 && info.st_uid != ::geteuid()) {
    return SystemError(EPERM, action);
  }
  Entry changed{.kind = node.folder() ? Entry::Kind::Folder : Entry::Kind::File,
                .mode = wanted,
                .size = node.size,
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
  CopyCheck check;
  if (Status allowed = MayCopy(*this, *from, *to, overwrite, check); !allowed) return allowed;
  Node origin;
  if (const int error = LookNode(from->host, origin)) return SystemError(error, check.action);
  std::optional<mode_t> keptMode;
  if (check.target) keptMode = check.target->mode;
  Put(check.writeTo, {.kind = Entry::Kind::File,
                      .mode = CopyMode(origin.mode, keptMode, kNewFileMode),
                      .size = origin.size,
                      .mtime = origin.mtime,  // Windows keeps the source's time on a copy
                      .origin = origin.origin,
                      .content = origin.content});
  return Status::Ok();
}

Status OverlayFiles::DeleteFile(std::string_view path) {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  std::string action;
  if (Status allowed = MayDelete(*this, *at, action); !allowed) return allowed;
  Put(at->host, {.kind = Entry::Kind::Gone});
  return Status::Ok();
}

Result<std::string> OverlayFiles::ReadFile(std::string_view path) const {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  const std::string action = "Cannot read " + at->path.ToString();
  Node node;
  if (const int error = LookNode(at->host, node)) {
    if (error == ENOENT || error == ENOTDIR) {
      return file_internals::Missing(*this, *at, action, "file");
    }
    return SystemError(error, action);
  }
  if (node.content) return *node.content;
  // A file the overlay left alone reads as the disk has it, with the disk's own answers.
  if (node.origin == at->host) return disk_.ReadFile(path);
  if (node.folder()) return Fail(ErrorCode::AccessDenied, action, "it is a folder, not a file");
  return ReadHost(node.origin, action);
}

Status OverlayFiles::RewriteFile(std::string_view path, const FileSystem::FileChange& change) {
  const Result<Location> at = Locate(prefix_, path);
  if (!at) return at.status();
  RewriteCheck check;
  if (Status allowed = MayRewrite(*this, *at, check); !allowed) return allowed;
  std::optional<std::string> current;
  Node node;
  if (check.exists) {
    if (const int error = LookNode(check.target, node)) return SystemError(error, check.action);
    Result<std::string> content =
        node.content ? Result<std::string>(*node.content) : ReadHost(node.origin, check.action);
    if (!content) return content.status();
    current = std::move(content).value();
  }
  const Result<std::string> next = change(current);
  if (!next) return next.status();
  if (current == *next) return Status::Ok();
  if (Status allowed = MayReplace(*this, check, static_cast<off_t>(next->size())); !allowed) {
    return allowed;
  }
  Put(check.target, {.kind = Entry::Kind::File,
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
  std::string action;
  if (Status allowed = MayRemoveFolder(*this, *at, action); !allowed) return allowed;
  if (!IsEmpty(at->host)) return Fail(ErrorCode::NotEmpty, action, "the folder is not empty");
  Put(at->host, {.kind = Entry::Kind::Gone});
  return Status::Ok();
}

}  // namespace platform
