#pragma once

// The setup window shown on a test machine, Continue clicked, and what the run left: its
// status list, its message boxes, the files and the package lists.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/installer/SetupMachine.h"
#include "tests/installer/StatusLines.h"
#include "tests/support/Process.h"

namespace installer_test {

class RunTest : public testing::Test {
 protected:
  void TearDown() override { machine.reset(); }

  // Makes the machine, in place of the one before.
  void MakeMachine(const std::vector<int>& packages,
                   const std::vector<testsupport::DelphiInstall>& installs,
                   const testsupport::DistributionOptions& options = {});
  // Makes the machine and starts the program on it: the window built and shown.
  void Start(const std::vector<int>& packages,
             const std::vector<testsupport::DelphiInstall>& installs,
             const testsupport::DistributionOptions& options = {});
  // A new program start on the same machine.
  void Restart();
  // Clicks a box or Continue as the user does.
  void Click(TControl* control);
  void Continue();

  Lines StatusList() const;
  // The message boxes, each as "Information: text" or "Error: text".
  std::vector<std::string> Boxes() const;

  // The entries of a Delphi version's package list ("Known Packages") or disabled list
  // below HKEY_CURRENT_USER, name to data; empty when the key does not exist.
  std::map<std::string, std::string> PackageList(int version) const;
  std::map<std::string, std::string> DisabledList(int version) const;
  void AddToDisabledList(int version, const std::string& packagePath);
  void AddToPackageList(int version, const std::string& packagePath);
  bool KeyExists(const std::string& key) const;

  // The host file of a Windows path, and whether it exists.
  std::string Host(const std::string& windowsPath) const { return machine->HostPath(windowsPath); }
  bool Exists(const std::string& windowsPath) const;

  std::unique_ptr<SetupMachine> machine;
  TPolyverbInstallForm* form = nullptr;
  // The language each program start chooses before anything else.
  std::string language = "English";
};

// The program itself started as a process from the machine's distribution folder, as a
// script starts it.
class ProgramRunTest : public RunTest {
 protected:
  // The machine, with the program copied into its distribution folder.
  void Make(const std::vector<int>& packages,
            const std::vector<testsupport::DelphiInstall>& installs,
            const testsupport::DistributionOptions& options = {});
  // Runs the program on the machine's prefix unless options.environment names another.
  testsupport::ProcessResult RunSetup(std::vector<std::string> args,
                                      testsupport::ProcessOptions options = {}) const;

  std::string program_;
};

// The same runs in each language: the whole list is compared in the language chosen.
class LanguageRunTest : public RunTest, public testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override { language = GetParam(); }
  bool German() const { return language == "Deutsch"; }
  Expected List() const { return Expected(German()); }
  std::string Box(bool install) const;
};

// Where the design package of a version is registered from.
std::string DesignPackagePath(int version);

}  // namespace installer_test
