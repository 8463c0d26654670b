// Runs whose targets are odd or dangerous: the distribution under another name, a Delphi
// whose folder is empty, installation folders that are not folders of the prefix, and a
// registry owned by a running Wine server. Nothing may be lost, nothing outside the
// prefix's drives touched, and every failure is a line.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/installer/RunTestSupport.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/TempDir.h"
#include "toolkit/model/ScopeGuards.h"

namespace installer_test {
namespace {

using testsupport::DelphiInstall;
using testsupport::ProgramValue;

// Every file of the distribution and its content.
std::map<std::string, std::string> Contents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    contents[entry.path().filename().string()] = testsupport::ReadFile(entry.path().string());
  return contents;
}

TEST_P(LanguageRunTest, TheDistributionUnderAnotherNameIsNeverOverwrittenNorDeleted) {
  Start({4}, Installed({}));
  ASSERT_FALSE(HasFatalFailure());
  // C:\Dist is a link to the distribution folder.
  std::filesystem::create_directory_symlink(machine->distributionFolder(), Host("C:\\Dist"));
  const auto before = Contents(machine->distributionFolder());
  for (bool install : {true, false}) {
    Restart();
    if (!install) Click(form->BtnUninstall);
    Click(form->BtnWindows);
    form->FolderSelect->SetText("C:\\Dist");
    testing::internal::CaptureStderr();
    Continue();
    const std::string reasons = testing::internal::GetCapturedStderr();
    // The installation folder is the distribution's: its step is left out, as under the
    // folder's own name, with nothing to say.
    EXPECT_EQ(StatusList(), List().Header(install).Finished().lines());
    EXPECT_EQ(reasons, "");
    EXPECT_EQ(Contents(machine->distributionFolder()), before);
  }
}

TEST_P(LanguageRunTest, ADelphiWhoseFolderIsTheDistributionKeepsTheDistribution) {
  Start({4}, {{.version = 4}});
  ASSERT_FALSE(HasFatalFailure());
  const std::string dist = machine->distributionDir();
  // Delphi 4's program is said to be in the distribution folder.
  const platform::Status moved = testsupport::MakeDelphiPrefix(
      machine->prefixFolder(), {{.version = 4, .programPath = dist + "\\delphi32.exe"}});
  ASSERT_TRUE(moved) << moved.message();
  const auto before = Contents(machine->distributionFolder());
  for (bool install : {true, false}) {
    Restart();
    ASSERT_EQ(form->BtnD4Dir->Hint(), dist);
    if (!install) Click(form->BtnUninstall);
    Click(form->BtnFolder);
    Click(form->BtnWindows);
    Continue();
    Expected expected = List();
    expected.Header(install);
    if (install) {
      expected.CopyFailed(Join({kD4Package, kD4Design, kHelp}), dist)
          .Registered("ZavPolyverb40Design.bpl");
    } else {
      expected.DeleteFailed(Join({kD4Package, kD4Design, kHelp}), dist);
    }
    EXPECT_EQ(StatusList(), expected.Finished().lines());
  }
  // delphi32.exe is the one file that was not there before.
  auto after = Contents(machine->distributionFolder());
  after.erase("delphi32.exe");
  EXPECT_EQ(after, before);
}

TEST_P(LanguageRunTest, ADelphiWithAnEmptyFolderGetsNoFileAndNoRegistration) {
  Start({5}, {{.version = 5, .value = ProgramValue::Empty}});
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(form->BtnD5Dir->Checked() && form->BtnD5Dir->Enabled());
  Click(form->BtnFolder);
  Click(form->BtnWindows);
  const std::string cwd = std::filesystem::current_path().string();
  const auto cwdBefore = Contents(cwd);
  Continue();
  EXPECT_EQ(StatusList(), List()
                              .Header(true)
                              .CopyFailed(Join({kD5Package, kD5Design, kHelp}), "")
                              .NotRegistered("ZavPolyverb50Design.bpl")
                              .Finished()
                              .lines());
  EXPECT_EQ(PackageList(5).size(), 1u);
  EXPECT_EQ(Contents(cwd), cwdBefore) << "an empty folder is never the current one";

  Restart();
  Click(form->BtnUninstall);
  Click(form->BtnFolder);
  Click(form->BtnWindows);
  Continue();
  EXPECT_EQ(StatusList(), List().Header(false).Finished().lines());
}

// Whatever the folder field holds, the run stays on the prefix's drives: a text that names
// no folder there is one "could not be created" line.
TEST_F(RunTest, InstallationFoldersOutsideThePrefixAreRefusedWithALine) {
  Start({3}, Installed({}));
  ASSERT_FALSE(HasFatalFailure());
  testsupport::TempDir outside;
  const std::string longName(300, 'x');
  std::string deep = "C:";
  for (int i = 0; i < 40; ++i)
    deep += "\\level-of-a-deep-folder-" + std::to_string(i);
  const std::vector<std::string> refused = {"C:\\Zav|Polyverb",
                                            "Zav",
                                            outside / "Zav",
                                            "Q:\\Zav",
                                            "\\\\server\\share\\Zav",
                                            "C:\\" + longName,
                                            "C:\\Deep\\" + longName + "\\x",
                                            "C:\\Zav\\*",
                                            "C:\\Zav\\a?b"};
  for (const std::string& folder : refused) {
    SCOPED_TRACE(folder);
    Restart();
    Click(form->BtnWindows);
    form->FolderSelect->SetText(folder);
    Continue();
    EXPECT_EQ(StatusList(), Expected()
                                .Header(true)
                                .Line("Error: Directory '" + folder + "' could not be created.")
                                .Finished()
                                .lines());
  }
  EXPECT_TRUE(std::filesystem::is_empty(outside.path()));
  EXPECT_FALSE(std::filesystem::exists(Host("C:\\Zav")));

  // ".." stops at the drive's root, as on Windows.
  Restart();
  Click(form->BtnWindows);
  form->FolderSelect->SetText("C:\\..\\..\\..\\Zav");
  Continue();
  EXPECT_EQ(StatusList()[2], "Directory 'C:\\..\\..\\..\\Zav' created.");
  EXPECT_TRUE(std::filesystem::exists(machine->prefixFolder() + "/drive_c/Zav/Demo.zip"));

  // A path longer than a folder name may be, made of short levels, is a folder like any.
  Restart();
  Click(form->BtnWindows);
  form->FolderSelect->SetText(deep);
  Continue();
  EXPECT_EQ(StatusList()[2], "Directory '" + deep + "' created.");
  EXPECT_EQ(StatusList()[3], "File 'ZavPolyverb30.dpl' copied to '" + deep + "'.");
}

// The registrations of a run are one change of user.reg: a save that fails leaves every
// version unregistered, and no line says "registered" before the save.
TEST_P(LanguageRunTest, ARegistrySaveThatFailsRegistersNoVersionAndSaysSoForEach) {
  Start({3, 4, 5}, Installed({3, 4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  Click(form->BtnFolder);
  Click(form->BtnWindows);
  const std::string hive = machine->prefixFolder() + "/user.reg";
  const std::string before = testsupport::ReadFile(hive);
  // A file size limit that lets the small copies through and stops the larger hive.
  for (const auto& entry : std::filesystem::directory_iterator(machine->distributionFolder())) {
    if (entry.path().filename() != "PolyverbSetup") {
      ASSERT_LT(entry.file_size(), before.size()) << entry.path();
    }
  }
  {
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{before.size(), limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const ScopeExit restore([&] {
      ::setrlimit(RLIMIT_FSIZE, &limit);
      std::signal(SIGXFSZ, oldHandler);
    });
    testing::internal::CaptureStderr();
    Continue();
    testing::internal::GetCapturedStderr();
  }
  const Lines lines = StatusList();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(Lines(lines.end() - 5, lines.end()), List()
                                                     .NotRegistered("ZavPolyverb30Design.dpl")
                                                     .NotRegistered("ZavPolyverb40Design.bpl")
                                                     .NotRegistered("ZavPolyverb50Design.bpl")
                                                     .Finished()
                                                     .lines());
  EXPECT_EQ(testsupport::ReadFile(hive), before);
}

TEST_P(LanguageRunTest, ARegistryOwnedByAWineServerIsNeverWrittenAndTheListSaysSo) {
  Start({4, 5}, Installed({4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  Click(form->BtnFolder);
  Click(form->BtnWindows);
  Continue();
  ASSERT_EQ(PackageList(4).count(DesignPackagePath(4)), 1u);
  // Our Delphi 4 package under Delphi's own spelling as well: it goes only with a change saved.
  AddToPackageList(4, "$(DELPHI)\\Bin\\ZavPolyverb40Design.bpl");
  const auto registry = testsupport::ReadFile(machine->prefixFolder() + "/user.reg");

  testsupport::FakeWineServer server(machine->prefixFolder());
  ASSERT_FALSE(HasFatalFailure());
  Restart();
  Click(form->BtnFolder);
  Click(form->BtnWindows);
  int removals = 0;
  auto countRemovals = [&](const TRunStep& step) {
    removals += step.Kind == "unregister-package" && step.Changed;
  };
  form->OnStep = countRemovals;
  Continue();
  EXPECT_EQ(removals, 0);
  const Lines installed = StatusList();
  EXPECT_EQ(Lines(installed.end() - 4, installed.end()),
            List()
                .NotRegistered("ZavPolyverb40Design.bpl")
                .NotRegistered("ZavPolyverb50Design.bpl")
                .Finished()
                .lines());

  Restart();
  Click(form->BtnUninstall);
  Click(form->BtnFolder);
  Click(form->BtnWindows);
  form->OnStep = countRemovals;
  Continue();
  EXPECT_EQ(removals, 0);
  const Lines uninstalled = StatusList();
  EXPECT_EQ(Lines(uninstalled.end() - 5, uninstalled.end()),
            List()
                .NotUnregistered("ZavPolyverb40Design.bpl")  // each entry that stays
                .NotUnregistered("ZavPolyverb40Design.bpl")
                .NotUnregistered("ZavPolyverb50Design.bpl")
                .Finished()
                .lines());
  EXPECT_EQ(testsupport::ReadFile(machine->prefixFolder() + "/user.reg"), registry);
  EXPECT_EQ(form->RunOutcome(), TPolyverbInstallForm::TRunOutcome::CompletedWithErrors);
}

}  // namespace
}  // namespace installer_test
