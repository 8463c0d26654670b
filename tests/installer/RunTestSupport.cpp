#include "tests/installer/RunTestSupport.h"

#include <filesystem>

#include "platform/Machine.h"
#include "tests/support/DemoMachine.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/forms/Forms.h"

namespace installer_test {

namespace {

std::map<std::string, std::string> ValuesOf(const std::string& key) {
  std::map<std::string, std::string> entries;
  platform::Registry& registry = platform::Machine::Current().registry();
  const auto opened = registry.OpenKey(platform::RootKey::CurrentUser, key, false);
  if (!opened) return entries;
  const auto values = registry.Values(*opened);
  EXPECT_TRUE(values) << values.status().message();
  if (!values) return entries;
  for (const platform::RegValue& value : *values)
    entries[value.name] = value.AsString().value_or("<not text>");
  return entries;
}

void AddEntry(const std::string& list, const std::string& packagePath) {
  platform::Registry& registry = platform::Machine::Current().registry();
  const auto key = registry.OpenKey(platform::RootKey::CurrentUser, list, true);
  ASSERT_TRUE(key) << key.status().message();
  const platform::Status written = registry.WriteString(*key, packagePath, "Zav Polyverb");
  ASSERT_TRUE(written) << written.message();
}

}  // namespace

std::string DesignPackagePath(int version) {
  const char* name = version == 3   ? "ZavPolyverb30Design.dpl"
                     : version == 4 ? "ZavPolyverb40Design.bpl"
                                    : "ZavPolyverb50Design.bpl";
  return BinFolder(version) + "\\" + name;
}

void ProgramRunTest::Make(const std::vector<int>& packages,
                          const std::vector<testsupport::DelphiInstall>& installs,
                          const testsupport::DistributionOptions& options) {
  MakeMachine(packages, installs, options);
  ASSERT_FALSE(HasFatalFailure());
  program_ = machine->distributionFolder() + "/PolyverbSetup";
  const platform::Status copied =
      testsupport::CopySetupProgram(SETUP_PROGRAM, machine->distributionFolder());
  ASSERT_TRUE(copied) << copied.message();
}

testsupport::ProcessResult ProgramRunTest::RunSetup(std::vector<std::string> args,
                                                    testsupport::ProcessOptions options) const {
  args.insert(args.begin(), program_);
  // Added first, so that one the test gives wins.
  options.environment.insert(options.environment.begin(), {"WINEPREFIX", machine->prefixFolder()});
  return testsupport::ChildProcess(args, options).Wait();
}

void RunTest::MakeMachine(const std::vector<int>& packages,
                          const std::vector<testsupport::DelphiInstall>& installs,
                          const testsupport::DistributionOptions& options) {
  // The machine before goes first: its scopes give back what was in use before it.
  machine.reset();
  machine = std::make_unique<SetupMachine>(packages, installs, options);
}

void RunTest::Start(const std::vector<int>& packages,
                    const std::vector<testsupport::DelphiInstall>& installs,
                    const testsupport::DistributionOptions& options) {
  MakeMachine(packages, installs, options);
  ASSERT_FALSE(HasFatalFailure());
  Restart();
}

void RunTest::Restart() {
  form = machine->BuildForm();
  ASSERT_TRUE(form->FReady);
  toolkit_test::ShowForm(form);
  form->Polyverb->SetLanguage(language);
}

std::string LanguageRunTest::Box(bool install) const {
  if (German()) {
    return install ? "Information: Installation abgeschlossen."
                   : "Information: Deinstallation abgeschlossen.";
  }
  return install ? "Information: Installation completed."
                 : "Information: Deinstallation completed.";
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageRunTest, testing::Values("English", "Deutsch"),
                         [](const testing::TestParamInfo<const char*>& param) {
                           return std::string(param.param);
                         });

void RunTest::Click(TControl* control) {
  toolkit_test::Click(control);
}

void RunTest::Continue() {
  TButtonItem* item = form->ButtonPanel->Buttons()->GetItem(0);
  ASSERT_TRUE(item->Enabled() && item->Visible());
  toolkit_test::Click(item->Button());
  ASSERT_NE(form->StatusLog, nullptr);
}

Lines RunTest::StatusList() const {
  Lines lines;
  if (form->StatusLog == nullptr) return lines;
  TStrings* log = form->StatusLog->Lines();
  for (int i = 0; i < log->Count(); ++i)
    lines.push_back(log->Strings(i));
  return lines;
}

std::vector<std::string> RunTest::Boxes() const {
  std::vector<std::string> boxes;
  for (const TMessageBoxRequest& box : machine->presenter().MessageBoxes) {
    const std::int32_t icon = box.Flags & (MB_ICONERROR | MB_ICONQUESTION | MB_ICONINFORMATION);
    const char* kind = icon == MB_ICONERROR         ? "Error: "
                       : icon == MB_ICONINFORMATION ? "Information: "
                                                    : "Other: ";
    boxes.push_back(kind + box.Text);
  }
  return boxes;
}

std::map<std::string, std::string> RunTest::PackageList(int version) const {
  return ValuesOf(testsupport::KnownPackagesKey(version));
}

std::map<std::string, std::string> RunTest::DisabledList(int version) const {
  return ValuesOf(testsupport::DisabledPackagesKey(version));
}

void RunTest::AddToDisabledList(int version, const std::string& packagePath) {
  AddEntry(testsupport::DisabledPackagesKey(version), packagePath);
}

void RunTest::AddToPackageList(int version, const std::string& packagePath) {
  AddEntry(testsupport::KnownPackagesKey(version), packagePath);
}

bool RunTest::KeyExists(const std::string& key) const {
  return platform::Machine::Current()
      .registry()
      .OpenKey(platform::RootKey::CurrentUser, key, false)
      .ok();
}

bool RunTest::Exists(const std::string& windowsPath) const {
  return std::filesystem::exists(Host(windowsPath));
}

}  // namespace installer_test
