#include "installer/Detection.h"

#include "package/PathOps.h"
#include "package/UnitVersion.h"
#include "platform/FileNames.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Registry.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("Detection.cpp 1.0");

bool HasEntry(TRegistry& Registry, const char* Key, const std::string& Name) {
  Registry.CloseKey();
  Registry.SetRootKey(HKEY_CURRENT_USER);
  if (!Registry.OpenKey(Key, false)) return false;
  const ScopeExit closeKey([&Registry] { Registry.CloseKey(); });
  return Registry.ValueExists(Name);
}

}  // namespace

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
