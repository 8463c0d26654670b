#pragma once

// A Windows machine as the setup program meets it, made from nothing: a distribution folder
// holding the product's files, and a Wine-prefix-shaped folder in which chosen Delphi versions
// are installed. Tests build their machines with it, and the make_demo tool builds one to try
// the program by hand, so it needs platform/ only (no GTest). Every call reports failure
// instead of crashing and touches nothing outside the folders it is given.

#include <span>
#include <string>
#include <vector>

#include "platform/Status.h"

namespace testsupport {

// True for the Delphi versions the product supports: 3, 4 and 5.
bool IsDelphiVersion(int version);

// One file of the product's distribution.
struct DistributionFile {
  const char* name;
  int version;    // 3, 4 or 5; 0 for the help and extra files every distribution holds
  bool optional;  // Delphi's own runtime packages: a distribution may lack them
};

// Every file of the distribution, grouped as the setup program's file sets and in their order:
// D3VclFiles, D4VclFiles, D5VclFiles, D3PackageFiles to D5PackageFiles, D3DesignFiles to
// D5DesignFiles, HelpFiles, ExtraFiles.
std::span<const DistributionFile> DistributionFiles();

struct DistributionOptions {
  bool vclFiles = true;  // Delphi's own runtime packages (the optional files)
};

// Creates `folder` (a host folder) if needed and writes a one-line placeholder for every file
// of the chosen versions and every version-independent file. Returns the names written, in the
// order of DistributionFiles().
platform::Result<std::vector<std::string>> MakeDistribution(
    const std::string& folder, const std::vector<int>& versions,
    const DistributionOptions& options = {});

// Where a Delphi version records the full name of its program, below HKEY_LOCAL_MACHINE.
struct DelphiRegistration {
  const char* key;        // "Software\Borland\Delphi\4.0"
  const char* valueName;  // "Delphi 4"
};
// Empty names for a version the product does not support.
DelphiRegistration DelphiRegistrationOf(int version);

// "C:\Program Files\Borland\DelphiN\Bin\delphi32.exe", where Delphi's own setup puts it.
std::string DefaultDelphiProgram(int version);

// How the value naming an installed version's program looks.
enum class ProgramValue {
  Path,     // a program path: DelphiInstall::programPath, or the default
  Empty,    // empty text
  Missing,  // the key alone
  NotText,  // a DWORD
};

struct DelphiInstall {
  int version = 0;
  ProgramValue value = ProgramValue::Path;
  std::string programPath{};  // for ProgramValue::Path; empty for DefaultDelphiProgram(version)
  // Delphi has been started once, so its package lists exist below HKEY_CURRENT_USER: "Known
  // Packages" with Delphi's own standard package, and an empty "Disabled Packages".
  bool packageLists = true;
};

// Where a Delphi version keeps its package lists, below HKEY_CURRENT_USER.
std::string KnownPackagesKey(int version);
std::string DisabledPackagesKey(int version);

// Makes (or extends) a Wine prefix in the host folder `prefixDir` in which `installs` are
// installed: each version's key and value under HKEY_LOCAL_MACHINE, as a 32-bit program sees
// it, and a placeholder program in its Bin folder. The prefix gets drive_c\windows and the
// dosdevices links c: and z: where they are missing. What was there before stays.
platform::Status MakeDelphiPrefix(const std::string& prefixDir,
                                  const std::vector<DelphiInstall>& installs);

// Copies the built setup program (the file `program`) into `folder` under its own name, and
// its window's module beside it when the build made one, as a distribution holds them. The
// copies keep their permissions.
platform::Status CopySetupProgram(const std::string& program, const std::string& folder);

}  // namespace testsupport
