#include "platform/FileApi.h"

#include "platform/Machine.h"

namespace platform {

namespace {

Status& LastError() {
  thread_local Status last;
  return last;
}

bool Report(Status status) {
  LastError() = std::move(status);
  return LastError().ok();
}

FileSystem& Files() {
  return Machine::Current().files();
}

}  // namespace

bool CopyFileA(std::string_view ExistingFileName, std::string_view NewFileName, bool FailIfExists) {
  return Report(Files().CopyFile(ExistingFileName, NewFileName, !FailIfExists));
}

bool SetFileAttributesA(std::string_view FileName, std::uint32_t Attributes) {
  return Report(Files().SetAttributes(FileName, Attributes));
}

bool DeleteFile(std::string_view FileName) {
  return Report(Files().DeleteFile(FileName));
}

bool RemoveDir(std::string_view Dir) {
  return Report(Files().RemoveDirectory(Dir));
}

bool ForceDirectories(std::string_view Dir) {
  return Report(Files().ForceDirectories(Dir));
}

bool SameFile(std::string_view A, std::string_view B) {
  return Files().SameFile(A, B);
}

const Status& LastFileError() {
  return LastError();
}

}  // namespace platform
