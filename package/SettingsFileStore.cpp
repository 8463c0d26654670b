#include "package/SettingsFileStore.h"

#include "package/UnitVersion.h"
#include "platform/FileApi.h"
#include "platform/StringFunctions.h"
#include "platform/WinPath.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("SettingsFileStore.cpp 1.0");

// The file system's messages name the file before their reason ("Cannot save C:\a.cfg: the
// file is read-only"); ours name it already, so only the reason is kept. A message about
// anything else (a folder on the way, say) is kept whole.
std::string ReasonOf(const platform::Status& Status, const std::string& FileName) {
  const std::string& message = Status.message();
  const platform::Result<std::string> path = platform::NormalizeWinPath(FileName);
  if (!path) return message;
  const std::string own = " " + *path + ": ";
  const size_t at = message.find(own);
  if (message.rfind("Cannot ", 0) != 0 || at == std::string::npos) return message;
  return message.substr(at + own.size());
}

}  // namespace

SettingsFileStore::SettingsFileStore(const std::string& FileName, bool MustExist)
    : Backend(FileName) {
  platform::Result<std::string> content = platform::ReadFile(FileName);
  if (content) {
    text_ = SettingsText::Parse(*content);
    return;
  }
  const platform::ErrorCode code = content.status().code();
  const bool missing =
      code == platform::ErrorCode::NotFound || code == platform::ErrorCode::PathNotFound;
  if (MustExist || !missing) Fail("be read", ReasonOf(content.status(), FileName));
}

std::optional<std::string> SettingsFileStore::Stored(const std::string& Section,
                                                     const std::string& Name) const {
  return text_.Read(Section, Name);
}

bool SettingsFileStore::SameName(const std::string& A, const std::string& B) const {
  return platform::SameText(A, B);
}

void SettingsFileStore::Apply(const std::vector<SettingsWrite>& Writes, bool CreateFolders) {
  if (Writes.empty()) return;  // nothing to save: the file is not even created
  if (CreateFolders) {
    const platform::Result<platform::WinPath> path = platform::WinPath::Parse(Name());
    const platform::Status made =
        path ? platform::ForceDirectories(path->Parent().ToString()) : path.status();
    if (!made) Fail("be saved", made.message());
  }
  SettingsText saved;
  const platform::Status status =
      platform::RewriteFile(Name(), [&](const std::optional<std::string>& current) {
        saved = SettingsText::Parse(current.value_or(""));
        for (const SettingsWrite& write : Writes)
          saved.Write(write.section, write.name, write.value, write.hint);
        return platform::Result<std::string>(saved.Render());
      });
  if (!status) Fail("be saved", ReasonOf(status, Name()));
  text_ = std::move(saved);
}

std::string SettingsFileStore::Where() const {
  return "file " + Name();
}
