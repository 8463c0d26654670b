#include "package/PathOps.h"

#include <filesystem>

#include "package/Errors.h"
#include "package/UnitVersion.h"
#include "platform/FileApi.h"
#include "platform/Machine.h"
#include "platform/RunningProgram.h"
#include "platform/WinPath.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PathOps.cpp 1.0");

std::string WithBackslash(std::string Dir) {
  if (Dir.empty() || Dir.back() != '\\') Dir += '\\';
  return Dir;
}

}  // namespace

std::string GetApplicationDir() {
  const platform::Result<std::string> dir = platform::Machine::Current().ApplicationDir();
  if (!dir) {
    throw ECriticalError("The program's own folder cannot be named on this machine: " +
                         dir.status().message());
  }
  return WithBackslash(*dir);
}

std::string GetApplicationFileName() {
  const platform::Result<std::string> program = platform::ProgramPath();
  return program ? std::filesystem::path(*program).filename().string() : std::string();
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
  return platform::FileExists(FileName);
}

bool DirExist(std::string_view Dir) {
  return platform::DirectoryExists(Dir);
}

bool CreateDirRecurse(std::string_view Dir) {
  return platform::ForceDirectories(Dir).ok();
}
