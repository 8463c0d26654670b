#pragma once

// The Windows registry of a Wine prefix, as a Windows program sees it.
//
// The five roots are laid onto the prefix's hive files as Wine lays them:
// HKEY_LOCAL_MACHINE is system.reg, HKEY_CURRENT_USER is user.reg,
// HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes, HKEY_USERS holds the
// current user and ".Default" (userdef.reg), HKEY_CURRENT_CONFIG is
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current.
//
// In the 32-bit view (the default: the development environments we serve are
// 32-bit programs) a path below a machine key that has a "Wow6432Node" child
// lands in that child, exactly where "wine reg add ... /reg:32" puts it, and
// link keys are followed. HKEY_CURRENT_USER is never redirected.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegValue.h"
#include "platform/Status.h"
#include "platform/Writes.h"
#include "platform/hive/Hive.h"

namespace platform {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
enum class RegistryView { Win32, Win64 };

// "HKEY_CURRENT_USER" and so on.
const char* RootKeyName(RootKey root);

// An open key: where it lives, re-found by name on every use, so that a key
// stays usable while the hive file is replaced underneath.
struct RegistryKey {
  int hive = -1;                  // which hive file; -1 for the HKEY_USERS root itself
  std::vector<std::string> path;  // names from the hive's root, as stored
  std::string name;               // as the caller named it, for messages
};

// One value for Registry::WriteValues: the key it goes into, below the root, and the value.
struct RegistryWrite {
  std::string subKey;
  RegValue value;
  // Takes the value of value.name away instead; one that is not there is no failure.
  bool remove = false;
};

class Registry {
 public:
  // `prefixDir` is the prefix's host folder (it need not exist yet). With
  // Writes::KeptInOverlay every change is checked as saving it would be (a Wine server on the
  // prefix, a hive we do not understand, a folder we may not write in) and then kept in
  // memory: it reads back, and the hive files are never written.
  explicit Registry(std::string prefixDir, RegistryView view = RegistryView::Win32,
                    Writes writes = Writes::ToDisk);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  RegistryView view() const { return view_; }
  const std::string& prefixDir() const { return prefixDir_; }

  // Opens `subKey` (names separated by backslashes) below `root`; with `create`,
  // every missing level is created. Without it, a missing key is NotFound; a hive file that
  // cannot be read, or is no hive we understand, is another error (never NotFound).
  Result<RegistryKey> OpenKey(RootKey root, std::string_view subKey, bool create);

  Result<RegValue> ReadValue(const RegistryKey& key, std::string_view name);
  // Writing a value that already holds the same data changes nothing on disk.
  Status WriteValue(const RegistryKey& key, const RegValue& value);
  Status WriteString(const RegistryKey& key, std::string_view name, std::string_view text);
  Status DeleteValue(const RegistryKey& key, std::string_view name);

  // Writes (or takes away) several values in keys of one hive file as one change: all of them
  // reach the file or none does (a refused or failed save leaves the file as it was). With
  // `create`, missing keys are created; without, a missing key fails the whole change (NotFound).
  // Keys that lie in different hive files cannot change as one and are refused (InvalidName).
  Status WriteValues(RootKey root, const std::vector<RegistryWrite>& writes, bool create);

  // Whether a change could be written now: AccessDenied, saying why, while a Wine server owns
  // the prefix's registry. Changes ask again when they are made.
  Status CheckWritable() const;

  Result<std::vector<std::string>> SubKeyNames(const RegistryKey& key);
  Result<std::vector<RegValue>> Values(const RegistryKey& key);

  // Starts reading the machine's hive (the large one, which the installed programs are found
  // in) on another thread while the caller does other work; the first lookup takes it.
  // With `machineKeys` (paths below HKEY_LOCAL_MACHINE), only what lookups of those keys and
  // the keys below them meet is read, when the file allows it (platform/hive/Slicing.h); any
  // other use of the machine's hive, and every change, reads the whole file then.
  void ReadAhead(const std::vector<std::string>& machineKeys = {});
  // Frees the hives read so far (a new prefix's machine hive holds some megabytes); the next
  // lookup reads them again.
  void Release();

  // What the hive loader could not understand in the hives read so far, one
  // line each ("user.reg:12: ...").
  std::vector<std::string> Problems();

 private:
  struct Location;
  class HiveSet;
  // A hive for a lookup: a file that cannot be read or is not a hive we understand is an
  // error, never an empty hive, so that NotFound always means "not there".
  // `slice`: the lookup stays below the keys read ahead, so a slice of the file will do.
  Result<const Hive*> ReadHive(int index, bool slice = false);
  // Whether a lookup of this machine key may use the slice read ahead: `names` as the caller
  // gives them, or a key's path as stored.
  bool SliceServes(const std::vector<std::string>& names) const;
  bool SliceServesStored(const RegistryKey& key) const;
  Result<Location> Locate(RootKey root, std::string_view subKey);
  Result<Hive::KeyId> Find(const Hive& hive, const RegistryKey& key);
  Status Change(const RegistryKey& key, const std::function<Result<bool>(Hive&, Hive::KeyId)>& f);

  std::string prefixDir_;
  RegistryView view_;
  std::unique_ptr<HiveSet> hives_;
  std::vector<std::vector<std::string>> sliceKeys_;    // the keys read ahead, as named
  std::vector<std::vector<std::string>> sliceStored_;  // ...and where the 32-bit view finds them
};

}  // namespace platform
