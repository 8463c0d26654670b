#include "package/PathOps.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "package/Errors.h"
#include "package/UnitVersion.h"
#include "platform/FileApi.h"
#include "platform/Machine.h"
#include "platform/WinPath.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PathOps.cpp 1.0");

// The folder put in place of the program's own; empty when none is.
std::string& ApplicationDirOverride() {
  static std::string dir;
  return dir;
}

// The program's own folder on the machine in use. It does not change while the program runs
// (Windows, too, records it once at start), so it is worked out once per prefix rather than
// for every file a run copies.
platform::Result<std::string> OwnFolder() {
  struct Known {
    std::string prefix;
    std::string dir;
  };
  static std::optional<Known> known;
  const platform::WinePrefix& prefix = platform::Machine::Current().prefix();
  if (known && known->prefix == prefix.folder()) return known->dir;
  platform::Result<std::string> dir = prefix.ApplicationDir();
  if (dir) known = Known{prefix.folder(), *dir};
  return dir;
}

std::string WithBackslash(std::string Dir) {
  if (Dir.empty() || Dir.back() != '\\') Dir += '\\';
  return Dir;
}

}  // namespace

std::string GetApplicationDir() {
  if (!ApplicationDirOverride().empty()) return WithBackslash(ApplicationDirOverride());
  const platform::Result<std::string> dir = OwnFolder();
  if (!dir) {
    throw ECriticalError("The program's own folder cannot be named on this machine: " +
                         dir.status().message());
  }
  return WithBackslash(*dir);
}

std::string GetApplicationFileName() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.filename().string();
}

std::string GetWindowsDir() {
  return platform::WinePrefix::WindowsDir();
}

std::string ExpandApplicationDir(std::string_view FileName) {
  return ExpandFileNameByDir(FileName, GetApplicationDir());
}

std::string ExpandFileNameByDir(std::string_view FileName, std::string_view Dir) {
  if (Dir.empty()) return std::string(FileName);
  if (platform::Result<std::string> path = platform::NormalizeWinPath(FileName, Dir)) {
    return std::move(path).value();
  }
  return WithBackslash(std::string(Dir)) + std::string(FileName);
}

std::string RemoveBackslash(std::string_view Path) {
  if (!Path.empty() && Path.back() == '\\') Path.remove_suffix(1);
  return std::string(Path);
}

bool FileExist(std::string_view FileName) {
  return platform::Machine::Current().files().FileExists(FileName);
}

bool DirExist(std::string_view Dir) {
  return platform::Machine::Current().files().DirectoryExists(Dir);
}

bool CreateDirRecurse(std::string_view Dir) {
  return platform::ForceDirectories(Dir);
}

ApplicationDirScope UseApplicationDir(std::string Dir) {
  std::string previous = std::move(ApplicationDirOverride());
  ApplicationDirOverride() = std::move(Dir);
  return ApplicationDirScope(std::move(previous));
}

ApplicationDirScope::ApplicationDirScope(ApplicationDirScope&& Other) noexcept
    : previous_(std::move(Other.previous_)), active_(Other.active_) {
  Other.active_ = false;
}

ApplicationDirScope::~ApplicationDirScope() {
  if (active_) ApplicationDirOverride() = std::move(previous_);
}
