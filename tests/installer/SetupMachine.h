#pragma once

// A machine for the setup program's tests: a distribution folder with the design packages
// of chosen Delphi versions, a Wine prefix with chosen versions installed, both put in
// use (the prefix as the machine, the distribution as the program's own folder), and
// message boxes recorded instead of shown.

#include <memory>
#include <string>
#include <vector>

#include "installer/PolyverbInstallMain.h"
#include "platform/Machine.h"
#include "tests/support/DemoMachine.h"
#include "tests/support/TempDir.h"
#include "tests/support/toolkit/TestPresenter.h"

namespace installer_test {

class SetupMachine {
 public:
  // Fails the current test (fatally for the caller to check with HasFatalFailure) when
  // the machine cannot be made.
  SetupMachine(const std::vector<int>& packages,
               const std::vector<testsupport::DelphiInstall>& installs,
               const testsupport::DistributionOptions& options = {});
  ~SetupMachine();

  // The installer form as program start builds it: read, Loaded, FormCreate; not shown.
  TPolyverbInstallForm* BuildForm();

  toolkit_test::RecordingPresenter& presenter() { return *presenter_; }
  const std::string& prefixFolder() const { return prefix_; }
  // The distribution folder as the program sees it ("Z:\...").
  const std::string& distributionDir() const { return distributionDir_; }
  // The distribution folder on the host.
  std::string distributionFolder() const { return temp_ / "dist"; }
  // The host path of a Windows path of the machine; fails the test when there is none.
  std::string HostPath(const std::string& windowsPath) const;

 private:
  void Make(const std::vector<int>& packages,
            const std::vector<testsupport::DelphiInstall>& installs,
            const testsupport::DistributionOptions& options);

  testsupport::TempDir temp_;
  std::string prefix_;
  std::string distributionDir_;
  std::unique_ptr<platform::Machine::Scope> machine_;
  toolkit_test::PresenterScope presenter_;
  TPolyverbInstallForm* form_ = nullptr;
};

// Every installed version with its default program path.
std::vector<testsupport::DelphiInstall> Installed(const std::vector<int>& versions);

}  // namespace installer_test
