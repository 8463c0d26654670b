#include "platform/FolderLevels.h"

#include <cerrno>
#include <vector>

#include "platform/ChangeRules.h"
#include "platform/FileInternals.h"
#include "platform/WinPath.h"

namespace platform::file_internals {

Status CreateOneFolder(const WinePrefix& prefix, std::string_view path,
                       const FolderMaker& folders) {
  const Result<Location> at = Locate(prefix, path);
  if (!at) return at.status();
  const std::string action = "Cannot create the folder " + at->path.ToString();
  if (at->path.IsDriveRoot()) {
    if (folders.exists(at->host))
      return Fail(ErrorCode::AlreadyExists, action, "it is a drive root");
    return Fail(ErrorCode::PathNotFound, action,
                "the drive's folder " + at->host + " does not exist");
  }
  if (!folders.exists(ParentOf(at->host))) {
    return Fail(ErrorCode::PathNotFound, action,
                "the folder " + at->path.Parent().ToString() + " does not exist");
  }
  if (const int error = NewNameError(at->host)) return SystemError(error, action);
  if (const int error = folders.create(at->host)) {
    if (error == EEXIST) return Fail(ErrorCode::AlreadyExists, action, "the name is taken");
    return SystemError(error, action);
  }
  return Status::Ok();
}

Status CreateFolderLevels(const WinePrefix& prefix, std::string_view path,
                          const FolderMaker& folders) {
  const Result<WinPath> parsed = WinPath::Parse(path);
  if (!parsed) return parsed.status();
  const std::string action = "Cannot create the folder " + parsed->ToString();
  // Another process may make a level at the same moment: a folder there is as good as ours.
  const auto make = [&](const std::string& host) {
    const int error = folders.create(host);
    return error == EEXIST && folders.exists(host) ? 0 : error;
  };

  const Result<std::string> root = prefix.DriveRoot(parsed->drive());
  if (!root) return Fail(root.status().code(), action, root.status().message());
  if (!folders.exists(*root)) {
    // A new prefix gets its drive_c; a drive elsewhere on the host is not ours to create.
    if (!IsInside(*root, prefix.folder())) {
      return Fail(ErrorCode::PathNotFound, action,
                  "the drive's folder " + *root + " does not exist");
    }
    std::vector<std::string> missing;
    for (std::string level = *root; !level.empty() && !folders.exists(level);
         level = ParentOf(level)) {
      missing.push_back(level);
    }
    for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
      if (const int error = make(*level)) return SystemError(error, action);
    }
  }

  std::vector<WinPath> levels;
  for (WinPath level = *parsed; !level.IsDriveRoot(); level = level.Parent())
    levels.push_back(level);
  for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
    const Result<std::string> host = prefix.ToHostPath(*level);
    if (!host) return Fail(host.status().code(), action, host.status().message());
    if (folders.exists(*host)) continue;
    // Only the last name of the path was checked for a device, and Windows creates none.
    if (Status name = CheckFileName(level->components().back()); !name) {
      return Fail(ErrorCode::InvalidName, action, name.message());
    }
    if (const int error = NewNameError(*host)) return SystemError(error, action);
    const int error = make(*host);
    if (error == 0) continue;
    if (error != EEXIST) return SystemError(error, action);
    const std::string reason = level->ToString() + " is taken by a file";
    // A file in the way of the last level is "already exists"; higher up the path is not found.
    const bool last = level == levels.rend() - 1;
    return Fail(last ? ErrorCode::AlreadyExists : ErrorCode::PathNotFound, action, reason);
  }
  return Status::Ok();
}

}  // namespace platform::file_internals
