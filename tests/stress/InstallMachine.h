#pragma once

// The machine the install stress tests run PolyverbSetup --unattended on: a prefix with
// Delphi 5 and the distribution for it, the program started from the distribution's folder.

#include <string>

#include "tests/installer/StatusLines.h"
#include "tests/stress/StressRun.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace stress {

// The installation folder, and the files a run puts there and into Delphi 5's Bin folder.
inline const std::string kFolder = "C:\\Zav";
inline const installer_test::Names kFolderNames =
    installer_test::Join({installer_test::kD5Package, installer_test::kD5Design,
                          installer_test::kHelp, installer_test::kExtra, installer_test::kD5Vcl});
inline const installer_test::Names kBinNames = installer_test::Join(
    {installer_test::kD5Package, installer_test::kD5Design, installer_test::kHelp});

class InstallMachine {
 public:
  // Fails the current test when the machine cannot be made.
  InstallMachine();

  // The host path of a Windows path of the prefix.
  std::string Host(const std::string& windowsPath) const;
  // The host path of a file of the distribution.
  std::string Source(const std::string& name) const { return distribution_ + "/" + name; }
  const std::string& prefix() const { return prefix_; }

  // The command line that installs into kFolder and the Bin folder of Delphi 5 and registers
  // with Delphi 5; `uninstall` takes all of it away again.
  std::vector<std::string> CommandLine(bool uninstall = false) const;
  // The environment the program needs, besides `options`'.
  testsupport::ProcessOptions Options(testsupport::ProcessOptions options = {}) const;
  testsupport::ProcessResult Install(const testsupport::ProcessOptions& options = {}) const;
  testsupport::ProcessResult Uninstall() const;

  // Delphi 5's list of known packages below HKEY_CURRENT_USER, entry to text.
  Texts PackageList() const;
  // Every file and folder of the prefix but user.reg, with the content of each file.
  Texts Contents() const;

 private:
  testsupport::TempDir temp_;
  std::string prefix_;
  std::string distribution_;
};

}  // namespace stress
