#include "toolkit/model/Registry.h"

#include "platform/Machine.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Strings.h"

namespace {

platform::Registry& MachineRegistry() {
  return platform::Machine::Current().registry();
}

std::string JoinKey(const std::string& base, const std::string& key) {
  if (base.empty()) return key;
  if (key.empty()) return base;
  return base + "\\" + key;
}

std::string TrimBackslashes(std::string key) {
  while (!key.empty() && key.front() == '\\')
    key.erase(key.begin());
  while (!key.empty() && key.back() == '\\')
    key.pop_back();
  return key;
}

platform::Status NoKeyOpen(const std::string& Name) {
  // A mistake of the caller, not a key that is not there.
  return {platform::ErrorCode::IoError, "No registry key is open to access '" + Name + "'"};
}

}  // namespace

TClass TRegistry::StaticClass() {
  return DefineClass<TRegistry>("TRegistry", [](ClassBuilder<TRegistry>&) {});
}

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == rootKey_) return;
  CloseKey();
  rootKey_ = Value;
}

std::string TRegistry::Resolve(const std::string& Key) const {
  if (!Key.empty() && Key.front() == '\\') return TrimBackslashes(Key);
  return TrimBackslashes(JoinKey(currentPath_, Key));
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  const std::string path = Resolve(Key);
  auto key = MachineRegistry().OpenKey(rootKey_, path, CanCreate);
  lastError_ = key.status();
  if (!key) return false;
  current_ = std::move(key.value());
  currentPath_ = path;
  readOnly_ = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key) {
  if (!OpenKey(Key, false)) return false;
  readOnly_ = true;
  return true;
}

void TRegistry::CloseKey() {
  current_.reset();
  currentPath_.clear();
  readOnly_ = false;
}

bool TRegistry::KeyExists(const std::string& Key) {
  lastError_ = MachineRegistry().OpenKey(rootKey_, Resolve(Key), false).status();
  return lastError_.ok();
}

const platform::RegistryKey& TRegistry::RequireKey(const std::string& Name) const {
  if (!current_) throw ERegistryException(NoKeyOpen(Name).message());
  return *current_;
}

bool TRegistry::ValueExists(const std::string& Name) {
  if (!current_) {
    lastError_ = NoKeyOpen(Name);
    return false;
  }
  lastError_ = MachineRegistry().ReadValue(*current_, Name).status();
  return lastError_.ok();
}

std::string TRegistry::ReadString(const std::string& Name) {
  auto value = MachineRegistry().ReadValue(RequireKey(Name), Name);
  if (!value) {
    if (value.status().code() == platform::ErrorCode::NotFound) return {};
    throw ERegistryException("Failed to get data for '" + Name + "': " + value.status().message());
  }
  auto text = value->AsString();
  if (!text) throw ERegistryException("Invalid data type for '" + Name + "'");
  return *text;
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) {
  const platform::RegistryKey& key = RequireKey(Name);
  if (readOnly_) throw ERegistryException("Failed to set data for '" + Name + "': read-only key");
  const platform::Status status = MachineRegistry().WriteString(key, Name, Value);
  if (!status)
    throw ERegistryException("Failed to set data for '" + Name + "': " + status.message());
}

std::int32_t TRegistry::ReadInteger(const std::string& Name) {
  auto value = MachineRegistry().ReadValue(RequireKey(Name), Name);
  if (!value) {
    throw ERegistryException("Failed to get data for '" + Name + "': " + value.status().message());
  }
  if (value->type != platform::REG_DWORD || value->data.size() != 4) {
    throw ERegistryException("Invalid data type for '" + Name + "'");
  }
  std::uint32_t n = 0;
  for (int i = 3; i >= 0; --i)
    n = (n << 8) | static_cast<unsigned char>(value->data[size_t(i)]);
  return static_cast<std::int32_t>(n);
}

void TRegistry::WriteInteger(const std::string& Name, std::int32_t Value) {
  const platform::RegistryKey& key = RequireKey(Name);
  if (readOnly_) throw ERegistryException("Failed to set data for '" + Name + "': read-only key");
  const platform::Status status = MachineRegistry().WriteValue(
      key, platform::RegValue::Dword(Name, static_cast<std::uint32_t>(Value)));
  if (!status)
    throw ERegistryException("Failed to set data for '" + Name + "': " + status.message());
}

bool TRegistry::DeleteValue(const std::string& Name) {
  if (!current_) {
    lastError_ = NoKeyOpen(Name);
  } else if (readOnly_) {
    lastError_ = {platform::ErrorCode::AccessDenied, "the key of '" + Name + "' is read-only"};
  } else {
    lastError_ = MachineRegistry().DeleteValue(*current_, Name);
  }
  return lastError_.ok();
}

void TRegistry::GetValueNames(TStrings* Strings) {
  Strings->Clear();
  if (!current_) return;
  auto values = MachineRegistry().Values(*current_);
  if (!values) return;
  for (const platform::RegValue& v : *values)
    Strings->Add(v.name);
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  Strings->Clear();
  if (!current_) return;
  auto names = MachineRegistry().SubKeyNames(*current_);
  if (!names) return;
  for (const std::string& n : *names)
    Strings->Add(n);
}
