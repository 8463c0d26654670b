#include "platform/WinRegistry.h"

#include <algorithm>
#include <array>

#include "platform/Unicode.h"
#include "platform/WineServer.h"
#include "platform/hive/HiveFile.h"

namespace platform {

namespace {

enum HiveIndex { kMachineHive = 0, kUserHive = 1, kDefaultUserHive = 2, kHiveCount = 3 };

// Wine gives the one user of a prefix this fixed security id.
constexpr std::string_view kUserSid = "S-1-5-21-0-0-0-1000";
constexpr std::string_view kDefaultUser = ".Default";
constexpr std::string_view kWow6432Node = "Wow6432Node";
constexpr std::string_view kLinkValue = "SymbolicLinkValue";
// Links may point at links; a cycle must not hang us.
constexpr int kMaxLinkDepth = 16;
// Windows limits: 255 characters for a key name, 16383 for a value name.
constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxValueName = 16383;

struct HiveSpec {
  const char* file;
  const char* relativeTo;
};
constexpr std::array<HiveSpec, kHiveCount> kHives = {{
    {"system.reg", "REGISTRY\\Machine"},
    {"user.reg", "REGISTRY\\User\\S-1-5-21-0-0-0-1000"},
    {"userdef.reg", "REGISTRY\\User\\.Default"},
}};

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

Status CheckKeyNames(const std::vector<std::string>& names, std::string_view whole) {
  for (const std::string& n : names) {
    if (Utf8ToUtf16(n).size() > kMaxKeyName) {
      return {ErrorCode::InvalidName, "the registry key name \"" + n + "\" in \"" +
                                          std::string(whole) + "\" is longer than " +
                                          std::to_string(kMaxKeyName) + " characters"};
    }
  }
  return Status::Ok();
}

Status CheckValueName(std::string_view name) {
  if (Utf8ToUtf16(name).size() > kMaxValueName) {
    return {ErrorCode::InvalidName, "the registry value name is longer than " +
                                        std::to_string(kMaxValueName) + " characters"};
  }
  return Status::Ok();
}

// "\Registry\Machine\Software\Classes" -> the machine hive and {Software, Classes}.
bool ParseNtPath(std::string_view ntPath, int& hive, std::vector<std::string>& path) {
  std::vector<std::string> parts = SplitKeyPath(ntPath);
  if (ntPath.empty() || ntPath[0] != '\\' || parts.size() < 2 ||
      !EqualNoCase(parts[0], "Registry")) {
    return false;
  }
  size_t skip = 2;
  if (EqualNoCase(parts[1], "Machine")) {
    hive = kMachineHive;
  } else if (EqualNoCase(parts[1], "User") && parts.size() >= 3 &&
             EqualNoCase(parts[2], kUserSid)) {
    hive = kUserHive, skip = 3;
  } else if (EqualNoCase(parts[1], "User") && parts.size() >= 3 &&
             EqualNoCase(parts[2], kDefaultUser)) {
    hive = kDefaultUserHive, skip = 3;
  } else {
    return false;
  }
  path.assign(parts.begin() + static_cast<long>(skip), parts.end());
  return true;
}

// Follows names down from the hive's root: the key they lead to, or nothing when one on the
// way is missing. Stored, when given, receives the names as the hive spells them.
std::optional<Hive::KeyId> FindPath(const Hive& hive, const std::vector<std::string>& names,
                                    std::vector<std::string>* stored = nullptr) {
  Hive::KeyId cur = Hive::kRoot;
  for (const std::string& n : names) {
    const auto c = hive.FindChild(cur, n);
    if (!c) return std::nullopt;
    cur = *c;
    if (stored != nullptr) stored->push_back(hive.KeyName(cur));
  }
  return cur;
}

// Walks `existing` and then `missing` down from the hive's root under a change's lock,
// creating what is missing now: the file may have changed since the names were looked up.
Hive::KeyId CreatePath(Hive& hive, const std::vector<std::string>& existing,
                       const std::vector<std::string>& missing, FileTime now, bool& created) {
  Hive::KeyId cur = Hive::kRoot;
  auto step = [&](const std::string& name) {
    if (auto c = hive.FindChild(cur, name)) {
      cur = *c;
    } else {
      cur = hive.CreateChild(cur, name, now);
      created = true;
    }
  };
  for (const std::string& n : existing)
    step(n);
  for (const std::string& n : missing)
    step(n);
  return cur;
}

std::optional<std::string> LinkTarget(const Hive& hive, Hive::KeyId key) {
  const RegValue* v = hive.FindValue(key, kLinkValue);
  if (v == nullptr || v->type != REG_LINK || v->data.size() % 2 != 0) return std::nullopt;
  std::u16string units;
  for (size_t i = 0; i + 1 < v->data.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(v->data[i]) |
                                   (static_cast<unsigned char>(v->data[i + 1]) << 8));
  }
  while (!units.empty() && units.back() == 0)
    units.pop_back();
  return Utf16ToUtf8(units);
}

std::string KeyDisplayName(RootKey root, std::string_view subKey) {
  return std::string(RootKeyName(root)) + (subKey.empty() ? "" : "\\") + std::string(subKey);
}

}  // namespace

const char* RootKeyName(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case RootKey::CurrentUser:
      return "HKEY_CURRENT_USER";
    case RootKey::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RootKey::Users:
      return "HKEY_USERS";
    case RootKey::CurrentConfig:
      return "HKEY_CURRENT_CONFIG";
  }
  return "?";
}

class Registry::HiveSet {
 public:
  HiveSet(const std::string& prefixDir, Writes writes) {
    for (size_t i = 0; i < kHives.size(); ++i) {
      files_[i] =
          std::make_unique<HiveFile>(prefixDir, kHives[i].file, kHives[i].relativeTo, writes);
    }
  }
  HiveFile& operator[](int i) { return *files_[static_cast<size_t>(i)]; }

 private:
  std::array<std::unique_ptr<HiveFile>, kHiveCount> files_;
};

// Where a walk from a root ended: the deepest existing key and what is missing below it.
struct Registry::Location {
  int hive = -1;
  std::vector<std::string> path;     // existing, as stored
  std::vector<std::string> missing;  // names still to create, as the caller wrote them
};

Registry::Registry(std::string prefixDir, RegistryView view, Writes writes)
    : prefixDir_(std::move(prefixDir)),
      view_(view),
      hives_(std::make_unique<HiveSet>(prefixDir_, writes)) {}

Registry::~Registry() = default;

Result<Registry::Location> Registry::Locate(RootKey root, std::string_view subKey) {
  std::vector<std::string> names = SplitKeyPath(subKey);
  if (Status s = CheckKeyNames(names, subKey); !s) return s;

  Location loc;
  switch (root) {
    case RootKey::LocalMachine:
      loc.hive = kMachineHive;
      break;
    case RootKey::CurrentUser:
      loc.hive = kUserHive;
      break;
    case RootKey::ClassesRoot:
      loc.hive = kMachineHive;
      names.insert(names.begin(), {"Software", "Classes"});
      break;
    case RootKey::CurrentConfig:
      loc.hive = kMachineHive;
      names.insert(names.begin(), {"System", "CurrentControlSet", "Hardware Profiles", "Current"});
      break;
    case RootKey::Users:
      if (names.empty()) return loc;  // the HKEY_USERS root itself
      if (EqualNoCase(names[0], kUserSid)) {
        loc.hive = kUserHive;
      } else if (EqualNoCase(names[0], kDefaultUser)) {
        loc.hive = kDefaultUserHive;
      } else {
        return Status(ErrorCode::NotFound,
                      std::string("HKEY_USERS has no key \"") + names[0] + "\" in this prefix");
      }
      names.erase(names.begin());
      break;
  }

  // The 32-bit view descends once into the first "Wow6432Node" met on the way
  // (unless the caller names it), as Wine's own 32-bit access does.
  bool redirectPending = view_ == RegistryView::Win32 && loc.hive == kMachineHive;
  Result<const Hive*> hive = ReadHive(loc.hive, loc.hive == kMachineHive && SliceServes(names));
  if (!hive) return hive.status();
  Hive::KeyId cur = Hive::kRoot;

  auto redirect = [&](const std::string* next) {
    if (!redirectPending) return;
    if (next != nullptr && EqualNoCase(*next, kWow6432Node)) {
      redirectPending = false;  // asked for explicitly
      return;
    }
    if (auto wow = hive.value()->FindChild(cur, kWow6432Node)) {
      cur = *wow;
      loc.path.push_back(hive.value()->KeyName(*wow));
      redirectPending = false;
    }
  };

  for (size_t i = 0; i < names.size(); ++i) {
    redirect(&names[i]);
    const auto child = hive.value()->FindChild(cur, names[i]);
    if (!child) {
      loc.missing.assign(names.begin() + static_cast<long>(i), names.end());
      return loc;
    }
    cur = *child;
    loc.path.push_back(hive.value()->KeyName(cur));

    for (int depth = 0; hive.value()->IsLink(cur); ++depth) {
      const std::optional<std::string> target = LinkTarget(*hive.value(), cur);
      int targetHive = -1;
      std::vector<std::string> targetPath;
      if (depth >= kMaxLinkDepth || !target || !ParseNtPath(*target, targetHive, targetPath)) {
        return Status(ErrorCode::NotFound, "the registry link " + std::string(subKey) +
                                               " leads nowhere this program can follow");
      }
      Result<const Hive*> next = ReadHive(targetHive);
      if (!next) return next.status();
      std::vector<std::string> stored;
      const std::optional<Hive::KeyId> k = FindPath(*next.value(), targetPath, &stored);
      if (!k) {
        return Status(ErrorCode::NotFound, "the registry link " + std::string(subKey) +
                                               " points to the missing key " + *target);
      }
      loc.hive = targetHive;
      loc.path = std::move(stored);
      hive = next;
      cur = *k;
    }
  }
  redirect(nullptr);
  return loc;
}

void Registry::ReadAhead(const std::vector<std::string>& machineKeys) {
  sliceKeys_.clear();
  sliceStored_.clear();
  for (const std::string& key : machineKeys) {
    std::vector<std::string> names = SplitKeyPath(key);
    sliceStored_.push_back(names);
    // The 32-bit view may turn into a "Wow6432Node" at any level on the way.
    for (size_t at = 0; view_ == RegistryView::Win32 && at < names.size(); ++at) {
      std::vector<std::string> redirected = names;
      redirected.insert(redirected.begin() + static_cast<long>(at), std::string(kWow6432Node));
      sliceStored_.push_back(std::move(redirected));
    }
    sliceKeys_.push_back(std::move(names));
  }
  (*hives_)[kMachineHive].ReadAhead(sliceStored_);
}

namespace {

bool BelowOneOf(const std::vector<std::string>& path,
                const std::vector<std::vector<std::string>>& keys) {
  for (const std::vector<std::string>& key : keys) {
    if (key.size() <= path.size() &&
        std::equal(key.begin(), key.end(), path.begin(),
                   [](const std::string& a, const std::string& b) { return EqualNoCase(a, b); })) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool Registry::SliceServes(const std::vector<std::string>& names) const {
  return BelowOneOf(names, sliceKeys_);
}

bool Registry::SliceServesStored(const RegistryKey& key) const {
  return key.hive == kMachineHive && BelowOneOf(key.path, sliceStored_);
}

void Registry::Release() {
  for (int i = 0; i < kHiveCount; ++i)
    (*hives_)[i].Release();
}

Result<const Hive*> Registry::ReadHive(int index, bool slice) {
  HiveFile& file = (*hives_)[index];
  Result<const Hive*> hive = slice ? file.ReadSlice() : file.Read();
  if (hive && !hive.value()->writable()) {
    // Whether a key is in a file we do not understand nobody can say: "not there" would be
    // a guess, and a change made on it would be refused anyway.
    return Status(ErrorCode::BadFormat,
                  "the registry file " + file.path() +
                      " is not in a form this program can read: " + hive.value()->refusal());
  }
  return hive;
}

Result<RegistryKey> Registry::OpenKey(RootKey root, std::string_view subKey, bool create) {
  const std::string display = KeyDisplayName(root, subKey);
  Result<Location> loc = Locate(root, subKey);
  if (!loc) return loc.status();
  RegistryKey key{loc->hive, loc->path, display};
  if (loc->missing.empty()) return key;
  if (!create)
    return Status(ErrorCode::NotFound, "the registry key " + display + " does not exist");

  const std::vector<std::string>& missing = loc->missing;
  Status s = (*hives_)[key.hive].Modify([&](Hive& hive) -> Result<bool> {
    bool created = false;
    CreatePath(hive, key.path, missing, FileTimeNow(), created);
    return created;
  });
  if (!s) return s;
  // Names as stored now (a key created meanwhile keeps its own spelling).
  Result<const Hive*> hive = ReadHive(key.hive);
  if (!hive) return hive.status();
  std::vector<std::string> wanted = key.path;
  wanted.insert(wanted.end(), missing.begin(), missing.end());
  std::vector<std::string> stored;
  if (!FindPath(*hive.value(), wanted, &stored)) {
    return Status(ErrorCode::IoError, "the registry key " + display + " vanished");
  }
  key.path = std::move(stored);
  return key;
}

Result<Hive::KeyId> Registry::Find(const Hive& hive, const RegistryKey& key) {
  if (const std::optional<Hive::KeyId> id = FindPath(hive, key.path)) return *id;
  return Status(ErrorCode::NotFound, "the registry key " + key.name + " no longer exists");
}

Result<RegValue> Registry::ReadValue(const RegistryKey& key, std::string_view name) {
  if (key.hive < 0) return Status(ErrorCode::NotFound, "HKEY_USERS holds no values");
  Result<const Hive*> hive = ReadHive(key.hive, SliceServesStored(key));
  if (!hive) return hive.status();
  Result<Hive::KeyId> id = Find(*hive.value(), key);
  if (!id) return id.status();
  const RegValue* v = hive.value()->FindValue(id.value(), name);
  if (v == nullptr) {
    return Status(ErrorCode::NotFound,
                  "the registry key " + key.name + " has no value \"" + std::string(name) + "\"");
  }
  return *v;
}

Status Registry::Change(const RegistryKey& key,
                        const std::function<Result<bool>(Hive&, Hive::KeyId)>& f) {
  if (key.hive < 0) return {ErrorCode::AccessDenied, "HKEY_USERS itself cannot hold values"};
  return (*hives_)[key.hive].Modify([&](Hive& hive) -> Result<bool> {
    Result<Hive::KeyId> id = Find(hive, key);
    if (!id) return id.status();
    return f(hive, id.value());
  });
}

Status Registry::WriteValue(const RegistryKey& key, const RegValue& value) {
  if (Status s = CheckValueName(value.name); !s) return s;
  return Change(key, [&](Hive& hive, Hive::KeyId id) -> Result<bool> {
    return hive.SetValue(id, value, FileTimeNow());
  });
}

Status Registry::WriteString(const RegistryKey& key, std::string_view name, std::string_view text) {
  return WriteValue(key, RegValue::String(std::string(name), text));
}

Status Registry::DeleteValue(const RegistryKey& key, std::string_view name) {
  bool found = true;
  Status s = Change(key, [&](Hive& hive, Hive::KeyId id) -> Result<bool> {
    found = hive.DeleteValue(id, name, FileTimeNow());
    return found;
  });
  if (s && !found) {
    return {ErrorCode::NotFound,
            "the registry key " + key.name + " has no value \"" + std::string(name) + "\""};
  }
  return s;
}

Status Registry::WriteValues(RootKey root, const std::vector<RegistryWrite>& writes, bool create) {
  // Where each value goes, looked up before the change and walked again under its lock.
  struct Target {
    std::string display;
    Location location;
  };
  std::vector<Target> targets;
  for (const RegistryWrite& write : writes) {
    if (Status s = CheckValueName(write.value.name); !s) return s;
    Result<Location> loc = Locate(root, write.subKey);
    if (!loc) return loc.status();
    Target target{KeyDisplayName(root, write.subKey), std::move(loc).value()};
    if (target.location.hive < 0) {
      return {ErrorCode::AccessDenied, "HKEY_USERS itself cannot hold values"};
    }
    if (!targets.empty() && target.location.hive != targets.front().location.hive) {
      return {ErrorCode::InvalidName, "the registry keys " + targets.front().display + " and " +
                                          target.display +
                                          " lie in different registry files and cannot be "
                                          "changed as one"};
    }
    if (!create && !target.location.missing.empty()) {
      return {ErrorCode::NotFound, "the registry key " + target.display + " does not exist"};
    }
    targets.push_back(std::move(target));
  }
  if (targets.empty()) return Status::Ok();

  return (*hives_)[targets.front().location.hive].Modify([&](Hive& hive) -> Result<bool> {
    const FileTime now = FileTimeNow();
    bool changed = false;
    for (size_t i = 0; i < targets.size(); ++i) {
      const Location& loc = targets[i].location;
      Hive::KeyId key = Hive::kRoot;
      if (create) {
        key = CreatePath(hive, loc.path, loc.missing, now, changed);
      } else if (const std::optional<Hive::KeyId> found = FindPath(hive, loc.path)) {
        key = *found;
      } else {
        return Status(ErrorCode::NotFound,
                      "the registry key " + targets[i].display + " no longer exists");
      }
      const RegistryWrite& write = writes[i];
      changed = (write.remove ? hive.DeleteValue(key, write.value.name, now)
                              : hive.SetValue(key, write.value, now)) ||
                changed;
    }
    return changed;
  });
}

Status Registry::CheckWritable() const {
  return RefuseWhileWineServerRuns(prefixDir_);
}

Result<std::vector<std::string>> Registry::SubKeyNames(const RegistryKey& key) {
  if (key.hive < 0)
    return std::vector<std::string>{std::string(kDefaultUser), std::string(kUserSid)};
  Result<const Hive*> hive = ReadHive(key.hive, SliceServesStored(key));
  if (!hive) return hive.status();
  Result<Hive::KeyId> id = Find(*hive.value(), key);
  if (!id) return id.status();
  return hive.value()->SubKeyNames(id.value());
}

Result<std::vector<RegValue>> Registry::Values(const RegistryKey& key) {
  if (key.hive < 0) return std::vector<RegValue>{};
  Result<const Hive*> hive = ReadHive(key.hive, SliceServesStored(key));
  if (!hive) return hive.status();
  Result<Hive::KeyId> id = Find(*hive.value(), key);
  if (!id) return id.status();
  std::vector<RegValue> values;
  for (const RegValue* v : hive.value()->Values(id.value()))
    values.push_back(*v);
  return values;
}

std::vector<std::string> Registry::Problems() {
  std::vector<std::string> lines;
  for (int i = 0; i < kHiveCount; ++i) {
    Result<const Hive*> hive = (*hives_)[i].Read();
    if (!hive) {
      lines.push_back(hive.status().message());
      continue;
    }
    if (!hive.value()->writable()) {
      lines.push_back(std::string(kHives[static_cast<size_t>(i)].file) + ": " +
                      hive.value()->refusal());
    }
    for (const HiveDiagnostic& d : hive.value()->diagnostics()) {
      lines.push_back(std::string(kHives[static_cast<size_t>(i)].file) + ":" +
                      std::to_string(d.line) + ": " + d.message);
    }
  }
  return lines;
}

}  // namespace platform
