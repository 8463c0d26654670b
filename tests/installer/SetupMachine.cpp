#include "tests/installer/SetupMachine.h"

#include <gtest/gtest.h>

#include "installer/ProgramStart.h"
#include "package/PackageClasses.h"
#include "package/Utils.h"
#include "toolkit/forms/Forms.h"

namespace installer_test {

SetupMachine::SetupMachine(const std::vector<int>& packages,
                           const std::vector<testsupport::DelphiInstall>& installs,
                           const testsupport::DistributionOptions& options)
    : prefix_(temp_ / "prefix") {
  Make(packages, installs, options);
}

void SetupMachine::Make(const std::vector<int>& packages,
                        const std::vector<testsupport::DelphiInstall>& installs,
                        const testsupport::DistributionOptions& options) {
  const std::string distribution = distributionFolder();
  const auto written = testsupport::MakeDistribution(distribution, packages, options);
  ASSERT_TRUE(written) << written.status().message();
  const platform::Status made = testsupport::MakeDelphiPrefix(prefix_, installs);
  ASSERT_TRUE(made) << made.message();

  auto machine = std::make_unique<platform::Machine>(platform::WinePrefix(prefix_));
  const auto dir = machine->prefix().ToWindowsPath(distribution);
  ASSERT_TRUE(dir) << dir.status().message();
  distributionDir_ = *dir;
  machine->SetApplicationDir(distributionDir_);
  machine_ = std::make_unique<platform::Machine::Scope>(platform::Machine::Use(std::move(machine)));
}

SetupMachine::~SetupMachine() {
  DeleteClass(form_);
}

std::string SetupMachine::HostPath(const std::string& windowsPath) const {
  const auto host = platform::Machine::Current().prefix().ToHostPath(windowsPath);
  EXPECT_TRUE(host) << host.status().message();
  return host ? *host : std::string();
}

TPolyverbInstallForm* SetupMachine::BuildForm() {
  Application->Initialize();
  RegisterSetupClasses();
  DeleteClass(form_);
  form_ = new TPolyverbInstallForm(Application);
  return form_;
}

std::vector<testsupport::DelphiInstall> Installed(const std::vector<int>& versions) {
  std::vector<testsupport::DelphiInstall> installs;
  for (int version : versions)
    installs.push_back({.version = version});
  return installs;
}

}  // namespace installer_test
