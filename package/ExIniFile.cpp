#include "package/ExIniFile.h"

#include <algorithm>

#include "package/ExIniFileBackend.h"
#include "package/RegistryStore.h"
#include "package/SettingsFileStore.h"
#include "package/UnitVersion.h"
#include "toolkit/model/ClassBuilder.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ExIniFile.cpp 1.0");

}  // namespace

TClass TExIniFile::StaticClass() {
  return DefineClass<TExIniFile>("TExIniFile", [](ClassBuilder<TExIniFile>&) {});
}

TExIniFile::TExIniFile(const std::string& FileName, bool MustExist)
    : TExIniFile(std::make_unique<SettingsFileStore>(FileName, MustExist)) {}

TExIniFile::TExIniFile(std::unique_ptr<Backend> Store) : backend_(std::move(Store)) {}

TExIniFile* TExIniFile::CreateInRegistry(TRegistryKey Root, const std::string& Path,
                                         bool ForSaving) {
  return new TExIniFile(std::make_unique<RegistryStore>(Root, Path, ForSaving));
}

TExIniFile::~TExIniFile() = default;

std::string TExIniFile::ReadString(const std::string& Section, const std::string& Name,
                                   const std::string& Default) {
  return backend_->Read(Section, Name).value_or(Default);
}

void TExIniFile::WriteString(const std::string& Section, const std::string& Name,
                             const std::string& Value) {
  backend_->Write({Section, Name, Value, std::nullopt});
}

void TExIniFile::WriteStringEx(const std::string& Section, const std::string& Name,
                               const std::string& Value, const std::string& TypeDescription) {
  std::optional<SettingsHint> hint;
  if (hintsEnabled_ && !TypeDescription.empty())
    hint = SettingsHint{TypeDescription, hintPosition_};
  backend_->Write({Section, Name, Value, std::move(hint)});
}

void TExIniFile::UpdateFile() {
  backend_->Update(createFolders_);
}

const std::string& TExIniFile::StoreName() const {
  return backend_->Name();
}

// The writes collected for both stores.

bool TExIniFile::Backend::Matches(const SettingsWrite& Write, const std::string& Section,
                                  const std::string& Name) const {
  return SameName(Write.section, Section) && SameName(Write.name, Name);
}

std::optional<std::string> TExIniFile::Backend::Read(const std::string& Section,
                                                     const std::string& Name) const {
  const auto write = std::find_if(pending_.begin(), pending_.end(), [&](const SettingsWrite& w) {
    return Matches(w, Section, Name);
  });
  if (write != pending_.end()) return write->value;
  return Stored(Section, Name);
}

void TExIniFile::Backend::Write(SettingsWrite Write) {
  Check(Write);
  const auto earlier = std::find_if(pending_.begin(), pending_.end(), [&](const SettingsWrite& w) {
    return Matches(w, Write.section, Write.name);
  });
  if (earlier == pending_.end()) {
    pending_.push_back(std::move(Write));
    return;
  }
  earlier->value = std::move(Write.value);
  earlier->hint = std::move(Write.hint);
}

void TExIniFile::Backend::Update(bool CreateFolders) {
  Apply(pending_, CreateFolders);
  pending_.clear();
}

void TExIniFile::Backend::Fail(const std::string& What, const std::string& Reason) const {
  throw EExIniFileError("The settings " + Where() + " cannot " + What + ": " + Reason);
}
