#include "platform/ChangeRules.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/ReplacementFile.h"

namespace platform::file_internals {

namespace {

class Disk final : public FileFacts {
 public:
  int Look(const std::string& host, Found& found, bool follow) const override {
    struct stat info {};
    if ((follow ? ::stat(host.c_str(), &info) : ::lstat(host.c_str(), &info)) != 0) return errno;
    found = FoundOf(info);
    return 0;
  }
  int ChangeInFolderError(const std::string& folder) const override {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
  }
  int ReadError(const std::string& host) const override {
    return ::faccessat(AT_FDCWD, host.c_str(), R_OK, AT_EACCESS) == 0 ? 0 : errno;
  }
};

std::string LastName(const std::string& host) {
  const size_t slash = host.rfind('/');
  return slash == std::string::npos ? host : host.substr(slash + 1);
}

// The longest name the file system holding `host` takes: that of the nearest folder above it
// that exists on disk, as a folder the overlay made would be made there.
long NameLimit(const std::string& host) {
  for (std::string folder = ParentOf(host); !folder.empty(); folder = ParentOf(folder)) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
      const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
      return limit > 0 ? limit : NAME_MAX;
    }
    if (folder == "/") break;
  }
  return NAME_MAX;
}

}  // namespace

Found FoundOf(const struct stat& info) {
  Found found;
  found.kind = S_ISDIR(info.st_mode)   ? Found::Kind::Folder
               : S_ISREG(info.st_mode) ? Found::Kind::File
                                       : Found::Kind::Other;
  found.link = S_ISLNK(info.st_mode);
  found.mode = static_cast<mode_t>(info.st_mode & 07777);
  found.size = info.st_size;
  found.mtime = info.st_mtim;
  found.identity = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  return found;
}

bool FileFacts::IsFolder(const std::string& host) const {
  Found found;
  return Look(host, found) == 0 && found.folder();
}

const FileFacts& TheDisk() {
  static const Disk disk;
  return disk;
}

int NewNameError(const std::string& host) {
  if (host.size() >= PATH_MAX) return ENAMETOOLONG;
  // Every Linux file system takes names of NAME_MAX bytes: only a longer name costs a question.
  const size_t name = LastName(host).size();
  if (name > NAME_MAX && name > static_cast<size_t>(NameLimit(host))) return ENAMETOOLONG;
  return 0;
}

int TemporaryNameError(const std::string& folder) {
  return folder.size() + 1 + kLongestTemporaryName >= PATH_MAX ? ENAMETOOLONG : 0;
}

int FileSizeError(off_t size) {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 0;
  return static_cast<rlim_t>(size) > limit.rlim_cur ? EFBIG : 0;
}

Status Missing(const FileFacts& files, const Location& at, const std::string& action,
               const char* what) {
  if (files.IsFolder(ParentOf(at.host))) {
    return Fail(ErrorCode::NotFound, action, std::string("the ") + what + " does not exist");
  }
  return Fail(ErrorCode::PathNotFound, action,
              "the folder " + at.path.Parent().ToString() + " does not exist");
}

namespace {

Status FolderMissing(const Location& at, const std::string& action) {
  return Fail(ErrorCode::PathNotFound, action,
              "the folder " + at.path.Parent().ToString() + " does not exist");
}

// What putting a new file in `folder` through a temporary beside it meets.
Status TemporaryRefused(const FileFacts& files, const std::string& folder,
                        const std::string& action) {
  int error = files.ChangeInFolderError(folder);
  if (error == 0) error = TemporaryNameError(folder);
  if (error == 0) return Status::Ok();
  return SystemError(error, action, "creating a temporary file beside the target");
}

}  // namespace

Status MayCopy(const FileFacts& files, const Location& from, const Location& to, bool overwrite,
               CopyCheck& check) {
  check.action = "Cannot copy " + from.path.ToString() + " to " + to.path.ToString();
  const std::string& action = check.action;
  if (const int error = files.Look(from.host, check.source)) {
    return error == ENOENT ? Missing(files, from, action, "source file")
                           : SystemError(error, action);
  }
  if (check.source.folder()) return Fail(ErrorCode::AccessDenied, action, "the source is a folder");
  if (!check.source.regular()) {
    return Fail(ErrorCode::AccessDenied, action, "the source is not a regular file");
  }
  if (!files.IsFolder(ParentOf(to.host))) return FolderMissing(to, action);

  check.writeTo = WriteTarget(to.host);
  if (const int error = NewNameError(check.writeTo)) return SystemError(error, action);
  Found target;
  if (const int error = files.Look(check.writeTo, target); error == 0) {
    if (target.folder()) return Fail(ErrorCode::AccessDenied, action, "the target is a folder");
    // A device, a pipe or a socket in the target's place is never replaced or written into.
    if (!target.regular()) {
      return Fail(ErrorCode::AccessDenied, action, "the target is not a regular file");
    }
    if (target.identity == check.source.identity) {
      return Fail(ErrorCode::AccessDenied, action, "source and target are the same file");
    }
    if (!overwrite) return Fail(ErrorCode::AlreadyExists, action, "the target exists");
    if (target.readOnly()) return Fail(ErrorCode::AccessDenied, action, "the target is read-only");
    check.target = std::move(target);
  } else if (error != ENOENT) {
    return SystemError(error, action);
  }
  if (const int error = FileSizeError(check.source.size)) {
    return SystemError(error, action, "writing the copy");
  }
  if (const int error = files.ReadError(from.host)) {
    return SystemError(error, action, "opening the source");
  }
  return TemporaryRefused(files, FolderOf(check.writeTo), action);
}

Status MayDelete(const FileFacts& files, const Location& at, std::string& action) {
  action = "Cannot delete " + at.path.ToString();
  Found found;
  if (const int error = files.Look(at.host, found, false)) {
    return error == ENOENT ? Missing(files, at, action, "file") : SystemError(error, action);
  }
  if (found.folder()) return Fail(ErrorCode::AccessDenied, action, "it is a folder, not a file");
  // A link goes, whatever it leads to; a device, a pipe or a socket is not ours to remove.
  if (!found.link) {
    if (!found.regular()) return Fail(ErrorCode::AccessDenied, action, "it is not a plain file");
    if (found.readOnly()) return Fail(ErrorCode::AccessDenied, action, "the file is read-only");
  }
  if (const int error = files.ChangeInFolderError(ParentOf(at.host))) {
    return SystemError(error, action);
  }
  return Status::Ok();
}

Status MayRemoveFolder(const FileFacts& files, const Location& at, std::string& action) {
  action = "Cannot remove the folder " + at.path.ToString();
  if (at.path.IsDriveRoot()) return Fail(ErrorCode::AccessDenied, action, "it is a drive root");
  Found found;
  if (const int error = files.Look(at.host, found, false)) {
    return error == ENOENT ? Missing(files, at, action, "folder") : SystemError(error, action);
  }
  // Windows answers "the directory name is invalid" here.
  if (!found.folder()) return Fail(ErrorCode::InvalidName, action, "it is not a folder");
  if (const int error = files.ChangeInFolderError(ParentOf(at.host))) {
    return SystemError(error, action);
  }
  return Status::Ok();
}

Status MayRewrite(const FileFacts& files, const Location& at, RewriteCheck& check) {
  check.action = "Cannot save " + at.path.ToString();
  const std::string& action = check.action;
  if (!files.IsFolder(ParentOf(at.host))) return FolderMissing(at, action);
  check.target = WriteTarget(at.host);
  if (const int error = NewNameError(check.target)) return SystemError(error, action);
  const int error = files.Look(check.target, check.found);
  if (error == ENOENT || error == ENOTDIR) return Status::Ok();
  if (error != 0) return SystemError(error, action);
  if (check.found.folder()) {
    return Fail(ErrorCode::AccessDenied, action, "it is a folder, not a file");
  }
  if (!check.found.regular())
    return Fail(ErrorCode::AccessDenied, action, "it is not a plain file");
  if (check.found.readOnly()) return Fail(ErrorCode::AccessDenied, action, "the file is read-only");
  check.exists = true;
  return Status::Ok();
}

Status MayReplace(const FileFacts& files, const RewriteCheck& check, off_t size) {
  if (Status refused = TemporaryRefused(files, FolderOf(check.target), check.action); !refused) {
    return refused;
  }
  if (const int error = FileSizeError(size)) {
    return SystemError(error, check.action, "writing the new file");
  }
  return Status::Ok();
}

namespace {

Status HiveSaveError(const std::string& target, const char* stage, int error) {
  return {ErrorCodeFromErrno(error),
          "cannot save " + target + ": " + stage + ": " + std::strerror(error)};
}

// What creating the prefix folder `dir` with every missing level above it would meet.
Status FoldersCreatable(const FileFacts& files, const std::string& dir) {
  if (dir.empty() || dir == "/") return Status::Ok();
  Found found;
  if (files.Look(dir, found) == 0) {
    if (found.folder()) return Status::Ok();
    return {ErrorCode::PathNotFound, dir + " is not a folder"};
  }
  if (Status parent = FoldersCreatable(files, FolderOf(dir)); !parent) return parent;
  int error = NewNameError(dir);
  // A folder the save itself would make may be written in; one on disk is asked.
  Found parent;
  if (error == 0 && files.Look(FolderOf(dir), parent) == 0) {
    error = files.ChangeInFolderError(FolderOf(dir));
  }
  if (error != 0) {
    return {ErrorCodeFromErrno(error),
            "cannot create the folder " + dir + ": " + std::strerror(error)};
  }
  return Status::Ok();
}

}  // namespace

Status MaySaveHive(const FileFacts& files, const std::string& prefixDir,
                   const std::string& target) {
  if (Status s = FoldersCreatable(files, prefixDir); !s) return s;
  Found found;
  const int error = files.Look(target, found);
  // A folder in the hive's place is left to the read, which says so as for any reader.
  if (error == 0 && !found.regular() && !found.folder()) {
    return {ErrorCode::AccessDenied, "cannot save " + target + ": it is not a regular file"};
  }
  if (error != 0 && error != ENOENT) return HiveSaveError(target, "examining the file", error);
  // A prefix folder still to be made is one the save makes, and so may write in.
  const std::string folder = FolderOf(target);
  int refused = 0;
  Found there;
  if (files.Look(folder, there) == 0) refused = files.ChangeInFolderError(folder);
  if (refused == 0) refused = TemporaryNameError(folder);
  if (refused != 0) {
    return HiveSaveError(target, "creating a temporary file beside the target", refused);
  }
  return Status::Ok();
}

Status MayWriteHive(const std::string& target, off_t size) {
  if (const int error = FileSizeError(size)) {
    return HiveSaveError(target, "writing the new file", error);
  }
  return Status::Ok();
}

}  // namespace platform::file_internals
