#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// What the file system and its overlay share, so that both name a path and fail alike.

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/Status.h"
#include "platform/WinPath.h"
#include "platform/WinePrefix.h"

namespace platform::file_internals {

// A Windows path and the host path it stands for.
struct Location {
  WinPath path;
  std::string host;
};

inline Result<Location> Locate(const WinePrefix& prefix, std::string_view path) {
  Result<WinPath> parsed = WinPath::Parse(path);
  if (!parsed) return parsed.status();
  Result<std::string> host = prefix.ToHostPath(*parsed);
  if (!host) return host.status();
  return Location{std::move(parsed).value(), std::move(host).value()};
}

inline Status Fail(ErrorCode code, const std::string& action, const std::string& reason) {
  return {code, action + ": " + reason};
}

inline Status SystemError(int error, const std::string& action, const char* stage = nullptr) {
  const std::string reason = std::generic_category().message(error);
  if (stage == nullptr) return Fail(ErrorCodeFromErrno(error), action, reason);
  return Fail(ErrorCodeFromErrno(error), action, stage + (": " + reason));
}

// The permission bits of a copy of a file with `sourceMode`, given those of the file it
// replaces (`keptMode`) or the umask's say for a new one (`newMode`). Never wider than the
// source, as cp makes a new file: a private source stays private. A replaced file takes the
// narrower of its own bits and the source's, because cp's rule (the target keeps its own)
// would leave a private file of a new version readable by everyone where an older copy was,
// while a target the user narrowed stays as narrow.
inline mode_t CopyMode(mode_t sourceMode, std::optional<mode_t> keptMode, mode_t newMode) {
  mode_t mode = (keptMode ? *keptMode : newMode) & sourceMode & 0777;
  if ((sourceMode & S_IWUSR) == 0) mode &= ~mode_t{0222};  // read-only stays read-only
  return mode;
}

// Whether `path` lies below `folder` (host paths).
inline bool IsInside(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

// The host folder holding `host`.
inline std::string ParentOf(const std::string& host) {
  const size_t slash = host.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : host.substr(0, slash);
}

}  // namespace platform::file_internals
