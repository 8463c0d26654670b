#include "platform/FileApi.h"

#include "platform/Machine.h"

namespace platform {

namespace {

FileSystem& Files() {
  return Machine::Current().files();
}

}  // namespace

Status CopyFileA(std::string_view ExistingFileName, std::string_view NewFileName,
                 bool FailIfExists) {
  return Files().CopyFile(ExistingFileName, NewFileName, !FailIfExists);
}

Status CopyFileA(std::string_view ExistingFileName, std::string_view NewFileName, bool FailIfExists,
                 FileSystem::CopyReport& Report) {
  return Files().CopyFile(ExistingFileName, NewFileName, !FailIfExists, Report);
}

Status SetFileAttributesA(std::string_view FileName, std::uint32_t Attributes) {
  return Files().SetAttributes(FileName, Attributes);
}

Status DeleteFile(std::string_view FileName) {
  return Files().DeleteFile(FileName);
}

Status RemoveDir(std::string_view Dir) {
  return Files().RemoveDirectory(Dir);
}

Status ForceDirectories(std::string_view Dir) {
  return Files().ForceDirectories(Dir);
}

Result<std::string> ReadFile(std::string_view FileName) {
  return Files().ReadFile(FileName);
}

Status RewriteFile(std::string_view FileName, const FileSystem::FileChange& Change) {
  return Files().RewriteFile(FileName, Change);
}

bool FileExists(std::string_view FileName) {
  return Files().FileExists(FileName);
}

bool DirectoryExists(std::string_view Dir) {
  return Files().DirectoryExists(Dir);
}

bool SameFile(std::string_view A, std::string_view B) {
  return Files().SameFile(A, B);
}

}  // namespace platform
