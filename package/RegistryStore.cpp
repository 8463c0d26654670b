#include "package/RegistryStore.h"

#include <algorithm>

#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "platform/Machine.h"
#include "platform/Unicode.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("RegistryStore.cpp 1.0");

platform::Registry& MachineRegistry() {
  return platform::Machine::Current().registry();
}

platform::RootKey RootOf(TRegistryKey Root) {
  switch (Root) {
    case rkClassesRoot:
      return platform::RootKey::ClassesRoot;
    case rkLocalMachine:
      return platform::RootKey::LocalMachine;
    case rkCurrentUser:
      return platform::RootKey::CurrentUser;
    case rkUsers:
      return platform::RootKey::Users;
    case rkCurrentConfig:
      return platform::RootKey::CurrentConfig;
  }
  CaseError("TExIniFile.CreateInRegistry", Root);
}

std::string WithoutOuterBackslashes(const std::string& Path) {
  const size_t begin = Path.find_first_not_of('\\');
  if (begin == std::string::npos) return {};
  return Path.substr(begin, Path.find_last_not_of('\\') - begin + 1);
}

std::string StoreNameOf(TRegistryKey Root, const std::string& Path) {
  const std::string path = WithoutOuterBackslashes(Path);
  return std::string(platform::RootKeyName(RootOf(Root))) + (path.empty() ? "" : "\\" + path);
}

bool Holdable(const std::string& Text) {
  return Text.find('\0') == std::string::npos && platform::IsValidUtf8(Text);
}

}  // namespace

RegistryStore::RegistryStore(TRegistryKey Root, const std::string& Path, bool ForSaving)
    : Backend(StoreNameOf(Root, Path)),
      root_(RootOf(Root)),
      path_(WithoutOuterBackslashes(Path)),
      forSaving_(ForSaving) {
  if (ForSaving) {
    if (const platform::Status writable = MachineRegistry().CheckWritable(); !writable)
      Fail("be saved", writable.message());
  }
  const platform::Result<platform::RegistryKey> key =
      MachineRegistry().OpenKey(root_, path_, false);
  if (!key) {
    if (key.status().code() == platform::ErrorCode::NotFound) return;  // nothing stored yet
    Fail("be read", key.status().message());
  }
  ReadSection("");
  const auto names = MachineRegistry().SubKeyNames(*key);
  if (!names) Fail("be read", names.status().message());
  for (const std::string& name : *names)
    ReadSection(name);
}

void RegistryStore::ReadSection(const std::string& Name) {
  const auto key = MachineRegistry().OpenKey(root_, KeyOf(Name), false);
  if (!key) Fail("be read", key.status().message());
  const auto values = MachineRegistry().Values(*key);
  if (!values) Fail("be read", values.status().message());
  StoredSection section{Name, {}};
  for (const platform::RegValue& value : *values)
    section.values.emplace_back(value.name, value.AsString());
  sections_.push_back(std::move(section));
}

size_t RegistryStore::FindSection(const std::string& Name) const {
  const auto found = std::find_if(sections_.begin(), sections_.end(),
                                  [&](const StoredSection& s) { return SameName(s.name, Name); });
  return static_cast<size_t>(found - sections_.begin());
}

std::optional<std::string> RegistryStore::Stored(const std::string& Section,
                                                 const std::string& Name) const {
  const size_t section = FindSection(Section);
  if (section == sections_.size()) return std::nullopt;
  for (const auto& [name, text] : sections_[section].values) {
    if (SameName(name, Name)) return text;
  }
  return std::nullopt;
}

bool RegistryStore::SameName(const std::string& A, const std::string& B) const {
  return platform::EqualNoCase(A, B);
}

void RegistryStore::Check(const SettingsWrite& Write) const {
  if (Write.section.find('\\') != std::string::npos) {
    Fail("take the section \"" + Write.section + "\"",
         "a section is one key, and a backslash would name a key below another");
  }
  for (const std::string* text : {&Write.section, &Write.name, &Write.value}) {
    if (!Holdable(*text)) {
      Fail("take the entry \"" + Write.name + "\" of section \"" + Write.section + "\"",
           "the registry holds text without NUL characters, in UTF-8");
    }
  }
}

void RegistryStore::Apply(const std::vector<SettingsWrite>& Writes, bool /*CreateFolders*/) {
  // A Wine server that started since the store was opened is refused by the hive's own safe
  // write, under the lock, with the same reason the opening gives.
  std::vector<platform::RegistryWrite> changes;
  for (const SettingsWrite& write : Writes)
    changes.push_back({KeyOf(write.section), platform::RegValue::String(write.name, write.value)});
  if (const platform::Status status = MachineRegistry().WriteValues(root_, changes, forSaving_);
      !status) {
    Fail("be saved", status.message());
  }
  for (const SettingsWrite& write : Writes) {
    const size_t index = FindSection(write.section);
    if (index == sections_.size()) sections_.push_back({write.section, {}});
    auto& values = sections_[index].values;
    const auto value = std::find_if(values.begin(), values.end(),
                                    [&](const auto& v) { return SameName(v.first, write.name); });
    if (value == values.end()) {
      values.emplace_back(write.name, write.value);
    } else {
      value->second = write.value;
    }
  }
}

std::string RegistryStore::Where() const {
  return "in " + Name();
}

std::string RegistryStore::KeyOf(const std::string& SectionName) const {
  if (SectionName.empty()) return path_;
  return path_.empty() ? SectionName : path_ + "\\" + SectionName;
}
