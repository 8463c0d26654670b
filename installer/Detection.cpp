#include "installer/Detection.h"

#include <optional>

#include "package/PathOps.h"
#include "package/UnitVersion.h"
#include "platform/FileNames.h"
#include "platform/Machine.h"
#include "platform/ShortNames.h"
#include "platform/Unicode.h"
#include "platform/WinPath.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Registry.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/model/StringList.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("Detection.cpp 1.0");

using platform::WinPath;

// What Delphi writes for the folder it is installed in, at the start of its own entries.
constexpr std::string_view kDelphiMacro = "$(DELPHI)";

// The path an entry names, `$(DELPHI)` put in as Delphi puts it in (as text); nothing for an
// entry that names no absolute path.
std::optional<WinPath> EntryPath(std::string_view Name, const WinPath& DelphiFolder) {
  std::string path(Name);
  if (Name.size() >= kDelphiMacro.size() &&
      platform::EqualNoCase(Name.substr(0, kDelphiMacro.size()), kDelphiMacro)) {
    path = DelphiFolder.ToString() + std::string(Name.substr(kDelphiMacro.size()));
  }
  platform::Result<WinPath> parsed = WinPath::Parse(path);
  if (!parsed) return std::nullopt;
  return std::move(parsed).value();
}

// Written alike as Wine looks names up: each name of A finds the one of B in its place.
bool SpelledAlike(const WinPath& A, const WinPath& B) {
  if (A.drive() != B.drive() || A.components().size() != B.components().size()) return false;
  for (size_t i = 0; i < A.components().size(); ++i) {
    if (!platform::AnswersTo(B.components()[i], A.components()[i])) return false;
  }
  return true;
}

// Entry names Package (both long paths). Compared by the host files they lead to where they are
// there (another drive onto the folder, a link), else by folder and name as Wine finds a name,
// so that a package about to be copied, or just deleted, is named all the same: a dry run, which
// never copies, then answers as the run does.
bool SameFileAs(const WinPath& Entry, const WinPath& Package) {
  platform::FileSystem& files = platform::Machine::Current().files();
  const std::string entry = Entry.ToString();
  if (files.SameFile(entry, Package.ToString())) return true;
  // An entry that leads to something else names that.
  if (Entry.IsDriveRoot() || Package.IsDriveRoot() || files.GetAttributes(entry)) return false;
  const WinPath entryFolder = Entry.Parent();
  const WinPath packageFolder = Package.Parent();
  const bool sameFolder = files.DirectoryExists(entryFolder.ToString())
                              ? files.SameFile(entryFolder.ToString(), packageFolder.ToString())
                              : SpelledAlike(entryFolder, packageFolder);
  return sameFolder && platform::AnswersTo(Package.components().back(), Entry.components().back());
}

bool HasEntry(TRegistry& Registry, const char* Key, const std::string& PackagePath) {
  Registry.CloseKey();
  Registry.SetRootKey(HKEY_CURRENT_USER);
  if (!Registry.OpenKey(Key, false)) return false;
  const ScopeExit closeKey([&Registry] { Registry.CloseKey(); });
  return !EntriesNaming(Registry, PackagePath).empty();
}

}  // namespace

// Short names by Wine's own rule rather than by the host file alone: only so is an entry written
// with the short name of a package not yet copied (a dry run) or just deleted (an uninstall) told.
bool EntryNamesPackage(std::string_view Name, const std::string& PackagePath) {
  const platform::Result<WinPath> package = WinPath::Parse(PackagePath);
  // A version without a Bin folder has no package of ours for an entry to name.
  if (!package) return false;
  const std::optional<WinPath> entry = EntryPath(Name, package->Parent().Parent());
  if (!entry) return false;
  return SameFileAs(platform::LongPath(platform::Machine::Current().prefix(), *entry), *package);
}

std::vector<std::string> EntriesNaming(TRegistry& Registry, const std::string& PackagePath) {
  TStringList names;
  Registry.GetValueNames(&names);
  std::vector<std::string> naming;
  for (int i = 0; i < names.Count(); ++i) {
    std::string name = names.Strings(i);
    if (EntryNamesPackage(name, PackagePath)) naming.push_back(std::move(name));
  }
  return naming;
}

bool DesignPackagePresent(const TDelphiVersion& Version) {
  return FileExist(ExpandApplicationDir(Version.DesignPackage));
}

TDelphiFound FindDelphi(TRegistry& Registry, const TDelphiVersion& Version) {
  Registry.CloseKey();
  Registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!Registry.OpenKey(Version.Key, false)) return {};
  const ScopeExit closeKey([&Registry] { Registry.CloseKey(); });
  TDelphiFound found;
  try {
    found.Program = Registry.ReadString(Version.ValueName);
  } catch (const Exception&) {
    return {};
  }
  found.Installed = true;
  found.BinFolder = platform::ExtractFileDir(found.Program);
  return found;
}

TPackageEntries FindPackageEntries(TRegistry& Registry, const TDelphiVersion& Version,
                                   const std::string& PackagePath) {
  return {HasEntry(Registry, Version.KnownPackagesKey, PackagePath),
          HasEntry(Registry, Version.DisabledPackagesKey, PackagePath)};
}
