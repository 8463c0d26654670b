#pragma once

// TRegistry: the registry access class, over the Windows machine's registry
// (platform::Machine::Current(), read as a 32-bit program reads it).
//
// As in the classic toolkit: OpenKey returns false rather than raising when a
// key cannot be opened, and LastError says why; reading a value of the wrong type
// and a refused write raise ERegistryException, whose message carries the
// platform's reason.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/WinRegistry.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Object.h"

class TStrings;

TOOLKIT_EXCEPTION(ERegistryException, Exception);

using HKEY = platform::RootKey;
inline constexpr HKEY HKEY_CLASSES_ROOT = platform::RootKey::ClassesRoot;
inline constexpr HKEY HKEY_CURRENT_USER = platform::RootKey::CurrentUser;
inline constexpr HKEY HKEY_LOCAL_MACHINE = platform::RootKey::LocalMachine;
inline constexpr HKEY HKEY_USERS = platform::RootKey::Users;
inline constexpr HKEY HKEY_CURRENT_CONFIG = platform::RootKey::CurrentConfig;

class TRegistry : public TObject {
  TOOLKIT_CLASS(TRegistry, TObject)

  TRegistry();
  ~TRegistry() override;

  // Changing the root closes the open key.
  HKEY RootKey() const { return rootKey_; }
  void SetRootKey(HKEY Value);

  // A key starting with a backslash is taken from the root, any other from the
  // open key (or the root when none is open).
  bool OpenKey(const std::string& Key, bool CanCreate);
  bool OpenKeyReadOnly(const std::string& Key);
  void CloseKey();
  bool KeyExists(const std::string& Key);
  // The open key's path below the root; empty when none is open.
  std::string CurrentPath() const { return currentPath_; }
  bool HasCurrentKey() const { return current_.has_value(); }

  bool ValueExists(const std::string& Name);
  // An absent value reads as an empty string; a value that is not a string raises.
  std::string ReadString(const std::string& Name);
  void WriteString(const std::string& Name, const std::string& Value);
  // An absent value or one that is not a DWORD raises, as in the classic toolkit.
  std::int32_t ReadInteger(const std::string& Name);
  void WriteInteger(const std::string& Name, std::int32_t Value);
  bool ReadBool(const std::string& Name) { return ReadInteger(Name) != 0; }
  void WriteBool(const std::string& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
  bool DeleteValue(const std::string& Name);

  // Why the last OpenKey, OpenKeyReadOnly, KeyExists, ValueExists or DeleteValue answered
  // false: NotFound when the key or value is simply not there; any other code when the
  // registry could not be read or changed (a hive file that cannot be read or is no hive),
  // so that nobody knows whether it is there. None after a true answer.
  platform::ErrorCode LastError() const { return lastError_.code(); }
  const std::string& LastErrorMsg() const { return lastError_.message(); }

  void GetValueNames(TStrings* Strings);
  void GetKeyNames(TStrings* Strings);

 private:
  std::string Resolve(const std::string& Key) const;
  const platform::RegistryKey& RequireKey(const std::string& Name) const;

  HKEY rootKey_ = HKEY_CURRENT_USER;
  std::optional<platform::RegistryKey> current_;
  std::string currentPath_;
  bool readOnly_ = false;
  platform::Status lastError_;
};
