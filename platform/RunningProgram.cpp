#include "platform/RunningProgram.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

namespace {

Result<std::string> LinkTarget(const std::string& link, const std::string& whose) {
  std::error_code error;
  std::string path = std::filesystem::read_symlink(link, error).string();
  if (error) return Status(ErrorCode::IoError, "Cannot find " + whose + ": " + error.message());
  // The kernel marks an executable that was deleted or replaced since the process started.
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  return path;
}

}  // namespace

Result<std::string> ProgramPath() {
  return LinkTarget("/proc/self/exe", "the running program");
}

Result<std::string> ProgramPath(pid_t pid) {
  const std::string id = std::to_string(pid);
  return LinkTarget("/proc/" + id + "/exe", "the program of process " + id);
}

}  // namespace platform
