#pragma once

// What the setup program finds on the machine before a run: whether the distribution holds a
// version's design package, where that Delphi version is installed, and whether our package
// is entered in its package lists. The window's start-up and --detect both ask here.

#include <string>
#include <string_view>
#include <vector>

#include "installer/DelphiVersions.h"

class TRegistry;

struct TDelphiFound {
  bool Installed = false;
  std::string Program{};    // the program file the version records, as a Windows path
  std::string BinFolder{};  // the folder of that program: where the Bin files go
};

// The distribution folder holds the version's design package.
bool DesignPackagePresent(const TDelphiVersion& Version);

// Where the version is installed, as it records itself below HKEY_LOCAL_MACHINE. A value that
// is not text names no program: that version counts as not installed.
TDelphiFound FindDelphi(TRegistry& Registry, const TDelphiVersion& Version);

// Whether the package list entry Name names the file PackagePath, our design package in a
// version's Bin folder, as the machine resolves the name: `$(DELPHI)` at its start, in any case,
// stands for the version's folder (the Bin folder's parent), as Delphi writes its own entries;
// another case, other separators and Wine's short names lead where Wine would open.
bool EntryNamesPackage(std::string_view Name, const std::string& PackagePath);

// The entries of the list Registry has open that name PackagePath, in the list's order.
std::vector<std::string> EntriesNaming(TRegistry& Registry, const std::string& PackagePath);

// The package's entries below HKEY_CURRENT_USER, for a package registered from PackagePath:
// any entry that names that file counts.
struct TPackageEntries {
  bool Registered = false;  // in the version's list of known packages
  bool Disabled = false;    // in its list of disabled packages
};
TPackageEntries FindPackageEntries(TRegistry& Registry, const TDelphiVersion& Version,
                                   const std::string& PackagePath);
