// A hive file's changes kept in memory (Writes::KeptInOverlay): each is checked as saving it
// would be, applied to the cached hive, and never written. No lock is taken, since nothing
// on disk changes, and nothing of another process's is waited for.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/ReplacementFile.h"
#include "platform/WineServer.h"
#include "platform/hive/OnDisk.h"

namespace platform {

namespace {

// 0, or the error creating a name in the host folder `folder` would meet. A folder that does
// not exist yet is one the save would create, and so may write in.
int ChangeInFolderError(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return 0;
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// What creating the prefix's folder with every missing level above it would meet, with the
// messages the save gives.
Status CheckFoldersCreatable(const std::string& dir) {
  if (dir.empty() || dir == "/") return Status::Ok();
  struct stat info {};
  if (::stat(dir.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return Status::Ok();
    return {ErrorCode::PathNotFound, dir + " is not a folder"};
  }
  if (Status parent = CheckFoldersCreatable(FolderOf(dir)); !parent) return parent;
  if (const int error = ChangeInFolderError(FolderOf(dir))) {
    return {ErrorCodeFromErrno(error),
            "cannot create the folder " + dir + ": " + std::strerror(error)};
  }
  return Status::Ok();
}

}  // namespace

Status HiveFile::KeepChange(const std::function<Result<bool>(Hive&)>& change) {
  if (Status s = RefuseWhileWineServerRuns(prefixDir_); !s) return s;
  if (Status s = CheckFoldersCreatable(prefixDir_); !s) return s;
  const std::string target = WriteTarget(path_);
  if (const int error = ChangeInFolderError(FolderOf(target))) {
    return {ErrorCodeFromErrno(error),
            "cannot save " + target +
                ": creating a temporary file beside the target: " + std::strerror(error)};
  }
  if (Status s = LoadIfChanged(); !s) return s;
  if (!hive_->writable()) {
    return {ErrorCode::BadFormat,
            "the registry file " + path_ +
                " is not in a form this program can safely rewrite: " + hive_->refusal()};
  }
  // A change that fails may have done part of its work: the hive goes back to what it was,
  // which only the kept text knows once the overlay holds changes of its own.
  const std::string before = kept_ ? hive_->Render() : std::string();
  Result<bool> changed = change(*hive_);
  if (!changed) {
    if (kept_) {
      hive_ = std::make_unique<Hive>(Hive::Parse(before));
    } else {
      Forget();
    }
    return changed.status();
  }
  if (changed.value()) kept_ = true;
  return Status::Ok();
}

}  // namespace platform
