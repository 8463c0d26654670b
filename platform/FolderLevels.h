#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The walk of a ForceDirectories call, shared by the disk and the overlay so that both create
// the same levels in the same order and fail with the same words.

#include <functional>
#include <string>
#include <string_view>

#include "platform/Status.h"
#include "platform/WinePrefix.h"

namespace platform::file_internals {

// Where the levels are made: whether a host folder exists, and making one, which answers 0,
// EEXIST when the name is taken, or the error number. The caller keeps or undoes what was made.
struct FolderMaker {
  std::function<bool(const std::string& host)> exists;
  std::function<int(const std::string& host)> create;
};

// Creates the Windows folder `path`, one level: its parent must exist. PathNotFound when it
// does not (or the drive's folder is missing), AlreadyExists when the name is taken.
Status CreateOneFolder(const WinePrefix& prefix, std::string_view path, const FolderMaker& folders);

// Creates the Windows folder `path` with every missing level above it, from the top down.
Status CreateFolderLevels(const WinePrefix& prefix, std::string_view path,
                          const FolderMaker& folders);

}  // namespace platform::file_internals
