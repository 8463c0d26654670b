// Continue in the shown setup window: whole status lists, the boxes that end a run, the
// files and the package lists a run leaves, in both modes and both languages.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "installer/Unattended.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/forms/Forms.h"

namespace installer_test {
namespace {

using testsupport::DelphiInstall;

const std::string kInstalled = "Information: Installation completed.";

TEST_F(RunTest, InstallsOneVersionEverywhereAndRegistersIt) {
  Start({4}, Installed({3, 4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  AddToDisabledList(4, DesignPackagePath(4));
  AddToDisabledList(4, "C:\\Other\\Package.bpl");
  Continue();

  const Lines expected =
      Expected()
          .Header(true)
          .Line("Directory '" + kDefaultFolder + "' created.")
          .Copied(Join({kD4Package, kD4Design, kHelp, kExtra, kD4Vcl}), kDefaultFolder)
          .Copied(kD4Package, kWindows)
          .Copied(Join({kD4Package, kD4Design, kHelp}), BinFolder(4))
          .Registered("ZavPolyverb40Design.bpl")
          .Finished()
          .lines();
  EXPECT_EQ(StatusList(), expected);
  EXPECT_EQ(Boxes(), std::vector<std::string>{kInstalled});

  // The entry names the package where Delphi 4 loads it from, and it is no longer disabled;
  // Delphi's own entries and the other versions stay as they were.
  EXPECT_EQ(PackageList(4).at(DesignPackagePath(4)), "Zav Polyverb");
  EXPECT_EQ(PackageList(4).size(), 2u);
  EXPECT_EQ(DisabledList(4),
            (std::map<std::string, std::string>{{"C:\\Other\\Package.bpl", "Zav Polyverb"}}));
  EXPECT_EQ(PackageList(3).size(), 1u);
  EXPECT_EQ(PackageList(5).size(), 1u);
  for (const std::string& name : Join({kD4Package, kD4Design, kHelp, kExtra, kD4Vcl}))
    EXPECT_TRUE(Exists(kDefaultFolder + "\\" + name)) << name;
  EXPECT_FALSE(Exists(BinFolder(3) + "\\ZavPolyverb40.bpl"));
}

TEST_F(RunTest, TheWindowDuringAndAfterTheRun) {
  Start({5}, Installed({5}));
  ASSERT_FALSE(HasFatalFailure());
  Screen->SetCursor(crDefault);
  int linesSeen = 0;
  form->OnStatusLine = [&](const std::string&) {
    ++linesSeen;
    if (linesSeen != 3) return;
    // In the middle of the run: nothing can be changed, closed or started.
    EXPECT_FALSE(form->Enabled());
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    EXPECT_FALSE(form->CloseQuery());
    EXPECT_FALSE(form->ButtonPanel->Buttons()->GetItem(1)->Enabled());
    EXPECT_FALSE(form->ButtonPanel->Buttons()->GetItem(0)->Visible());
    EXPECT_FALSE(form->PanelMain->Visible());
  };
  Continue();
  EXPECT_EQ(linesSeen, static_cast<int>(StatusList().size()));
  EXPECT_TRUE(form->Enabled());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_TRUE(form->ButtonPanel->Buttons()->GetItem(1)->Enabled());
  EXPECT_FALSE(form->ButtonPanel->Buttons()->GetItem(0)->Visible());
  EXPECT_FALSE(form->PanelMain->Visible());
  EXPECT_FALSE(form->PanelMain->Enabled());
  TRichEdit* log = form->StatusLog;
  EXPECT_EQ(log->Owner(), form);
  EXPECT_EQ(log->Parent(), form);
  EXPECT_EQ(log->Align(), alClient);
  EXPECT_TRUE(log->ReadOnly());
  EXPECT_EQ(log->ScrollBars(), ssBoth);
  EXPECT_FALSE(log->WordWrap());
  EXPECT_EQ(log->Color(), form->Color());
  // The list takes the place of the options, above the button bar.
  EXPECT_EQ(log->Top(), 0);
  EXPECT_EQ(log->Width(), form->ClientWidth());
  EXPECT_EQ(log->Height(), form->ButtonPanel->Top());
  // After the run only closing is left.
  EXPECT_TRUE(form->CloseQuery());
}

TEST_P(LanguageRunTest, ReinstallingOverwritesAndUninstallingTakesEverythingAway) {
  Start({3, 4, 5}, Installed({3, 4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  Continue();
  Restart();
  Continue();
  Expected reinstall = List();
  reinstall.Header(true).DirExists(kDefaultFolder);
  reinstall.Copied(Join({kD3Package, kD3Design, kD4Package, kD4Design, kD5Package, kD5Design, kHelp,
                         kExtra, kD3Vcl, kD4Vcl, kD5Vcl}),
                   kDefaultFolder);
  reinstall.Copied(Join({kD3Package, kD4Package, kD5Package}), kWindows);
  for (int version : {3, 4, 5}) {
    const Names& package = version == 3 ? kD3Package : version == 4 ? kD4Package : kD5Package;
    const Names& design = version == 3 ? kD3Design : version == 4 ? kD4Design : kD5Design;
    reinstall.Copied(Join({package, design, kHelp}), BinFolder(version));
  }
  reinstall.Registered("ZavPolyverb30Design.dpl")
      .Registered("ZavPolyverb40Design.bpl")
      .Registered("ZavPolyverb50Design.bpl")
      .Finished();
  EXPECT_EQ(StatusList(), reinstall.lines());
  for (int version : {3, 4, 5})
    EXPECT_EQ(PackageList(version).size(), 2u) << "one entry of ours, one of Delphi's";

  Restart();
  Click(form->BtnUninstall);
  Continue();
  Expected uninstall = List();
  uninstall.Header(false);
  uninstall.Deleted(Join({kD3Package, kD3Design, kD4Package, kD4Design, kD5Package, kD5Design,
                          kHelp, kExtra, kD3Vcl, kD4Vcl, kD5Vcl}),
                    kDefaultFolder);
  uninstall.DirDeleted(kDefaultFolder);
  uninstall.Deleted(Join({kD3Package, kD4Package, kD5Package}), kWindows);
  for (int version : {3, 4, 5}) {
    const Names& package = version == 3 ? kD3Package : version == 4 ? kD4Package : kD5Package;
    const Names& design = version == 3 ? kD3Design : version == 4 ? kD4Design : kD5Design;
    uninstall.Deleted(Join({package, design, kHelp}), BinFolder(version));
  }
  uninstall.Finished();
  EXPECT_EQ(StatusList(), uninstall.lines());
  EXPECT_EQ(Boxes().back(), Box(false));
  EXPECT_FALSE(Exists(kDefaultFolder));
  EXPECT_TRUE(Exists("C:\\Programme")) << "levels above the folder stay";
  for (int version : {3, 4, 5}) {
    EXPECT_EQ(PackageList(version).count(DesignPackagePath(version)), 0u);
    EXPECT_EQ(PackageList(version).size(), 1u) << "Delphi's own entry stays";
    EXPECT_TRUE(Exists(BinFolder(version) + "\\delphi32.exe"));
  }
}

TEST_F(RunTest, TheLanguageChosenBeforeContinueIsTheLanguageOfTheWholeRun) {
  Start({5}, Installed({5}));
  ASSERT_FALSE(HasFatalFailure());
  form->LangComboBox->SetDroppedDown(true);
  toolkit_test::ProcessEvents();
  toolkit_test::ClickListItem(form->LangComboBox, 1);
  ASSERT_EQ(form->Polyverb->Language(), "Deutsch");
  form->FolderSelect->SetText("C:\\Zav\\");
  Continue();
  // The folder shows as typed where it is named alone, without its backslash after files.
  EXPECT_EQ(StatusList(),
            Expected(true)
                .Header(true)
                .Line("Verzeichnis 'C:\\Zav\\' erstellt.")
                .Copied(Join({kD5Package, kD5Design, kHelp, kExtra, kD5Vcl}), "C:\\Zav")
                .Copied(kD5Package, kWindows)
                .Copied(Join({kD5Package, kD5Design, kHelp}), BinFolder(5))
                .Registered("ZavPolyverb50Design.bpl")
                .Finished()
                .lines());
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Information: Installation abgeschlossen."});

  Restart();
  form->Polyverb->SetLanguage("Deutsch");
  Click(form->BtnUninstall);
  form->FolderSelect->SetText("C:\\Zav\\");
  Continue();
  EXPECT_EQ(StatusList(),
            Expected(true)
                .Header(false)
                .Deleted(Join({kD5Package, kD5Design, kHelp, kExtra, kD5Vcl}), "C:\\Zav")
                .Line("Verzeichnis 'C:\\Zav\\' gelöscht.")
                .Deleted(kD5Package, kWindows)
                .Deleted(Join({kD5Package, kD5Design, kHelp}), BinFolder(5))
                .Finished()
                .lines());
  EXPECT_EQ(Boxes().back(), "Information: Deinstallation abgeschlossen.");
}

TEST_F(RunTest, OnlyTheWindowsFolderGetsTheRuntimePackagesAndNothingIsRegistered) {
  Start({3}, Installed({3}));
  ASSERT_FALSE(HasFatalFailure());
  Click(form->BtnFolder);
  Click(form->BtnD3Dir);
  ASSERT_FALSE(form->BtnD3->Enabled());
  Continue();
  EXPECT_EQ(StatusList(), Expected().Header(true).Copied(kD3Package, kWindows).Finished().lines());
  EXPECT_EQ(PackageList(3).count(DesignPackagePath(3)), 0u);
}

// Each machine fault gives its lines, and the run goes on to "Finished." and the box.
TEST_P(LanguageRunTest, MissingFilesAndAnUncreatableFolderAreLinesOfTheRun) {
  // Without Delphi's own runtime packages and without one required file.
  Start({4}, Installed({}), {.vclFiles = false});
  ASSERT_FALSE(HasFatalFailure());
  std::filesystem::remove(machine->distributionFolder() + "/ReadMeGer.txt");
  Continue();
  EXPECT_EQ(StatusList(), List()
                              .Header(true)
                              .DirCreated(kDefaultFolder)
                              .Copied(Join({kD4Package, kD4Design, kHelp}), kDefaultFolder)
                              .Copied({"Polyverb - History.txt", "Polyverb.int", "Demo.zip",
                                       "Demo.exe", "Install.exe", "ReadMeEng.txt"},
                                      kDefaultFolder)
                              .CopyFailed({"ReadMeGer.txt"}, kDefaultFolder)
                              .Copied(kD4Package, kWindows)
                              .Finished()
                              .lines());
  EXPECT_EQ(Boxes(), std::vector<std::string>{Box(true)});

  // A file stands where a level of the folder should be.
  Restart();
  testsupport::WriteFile(Host("C:\\Blocked"), "a file, not a folder\n");
  form->FolderSelect->SetText("C:\\Blocked\\Zav");
  Continue();
  EXPECT_EQ(StatusList(), List()
                              .Header(true)
                              .DirNotCreated("C:\\Blocked\\Zav")
                              .Copied(kD4Package, kWindows)
                              .Finished()
                              .lines());
  EXPECT_EQ(Boxes().back(), Box(true));
}

TEST_P(LanguageRunTest, ReadOnlyFiles) {
  Start({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  // A distribution on a read-only medium: the installed copies are not read-only.
  const std::string source = machine->distributionFolder() + "/ZavPolyverb40.bpl";
  ASSERT_EQ(::chmod(source.c_str(), 0444), 0);
  // A read-only file in the way of a copy is left alone, as Windows leaves it.
  const std::string blocked = BinFolder(4) + "\\ZavPolyverbEng.hlp";
  testsupport::WriteFile(Host(blocked), "the user's own\n");
  ASSERT_EQ(::chmod(Host(blocked).c_str(), 0444), 0);
  Click(form->BtnFolder);
  Continue();
  EXPECT_EQ(StatusList(), List()
                              .Header(true)
                              .Copied(kD4Package, kWindows)
                              .Copied(Join({kD4Package, kD4Design}), BinFolder(4))
                              .CopyFailed({"ZavPolyverbEng.hlp"}, BinFolder(4))
                              .Copied({"ZavPolyverbGer.hlp"}, BinFolder(4))
                              .Registered("ZavPolyverb40Design.bpl")
                              .Finished()
                              .lines());
  EXPECT_EQ(testsupport::ReadFile(Host(blocked)), "the user's own\n");
  struct stat info {};
  ASSERT_EQ(::stat(Host(kWindows + "\\ZavPolyverb40.bpl").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IWUSR, 0u);

  // Uninstalling deletes read-only files of the sets too.
  Restart();
  Click(form->BtnUninstall);
  Click(form->BtnFolder);
  Continue();
  EXPECT_EQ(StatusList(), List()
                              .Header(false)
                              .Deleted(kD4Package, kWindows)
                              .Deleted(Join({kD4Package, kD4Design, kHelp}), BinFolder(4))
                              .Finished()
                              .lines());
}

TEST_P(LanguageRunTest, UninstallingNeverTakesWhatTheUserKeptInTheFolder) {
  Start({5}, Installed({}));
  ASSERT_FALSE(HasFatalFailure());
  Click(form->BtnWindows);
  Continue();
  testsupport::WriteFile(Host(kDefaultFolder + "\\My notes.txt"), "mine\n");
  Restart();
  Click(form->BtnUninstall);
  Click(form->BtnWindows);
  Continue();
  EXPECT_EQ(StatusList(),
            List()
                .Header(false)
                .Deleted(Join({kD5Package, kD5Design, kHelp, kExtra, kD5Vcl}), kDefaultFolder)
                .DirNotDeleted(kDefaultFolder)
                .Finished()
                .lines());
  EXPECT_EQ(testsupport::ReadFile(Host(kDefaultFolder + "\\My notes.txt")), "mine\n");

  // A folder that was never made is one line, and the rest of the run goes on.
  Restart();
  Click(form->BtnUninstall);
  form->FolderSelect->SetText("C:\\Never");
  Continue();
  EXPECT_EQ(StatusList(), List().Header(false).DirNotFound("C:\\Never").Finished().lines());
  EXPECT_EQ(Boxes().back(), Box(false));
}

// The installation folder is the distribution folder under any of its names: its own in
// other letters and with a backslash, a link onto it, another drive onto its parent. Each is
// the same run: the folder's step is left out, in both modes.
TEST_P(LanguageRunTest, StartedFromTheInstallationFolderTheFolderStepIsLeftOut) {
  Start({4}, Installed({}));
  ASSERT_FALSE(HasFatalFailure());
  std::string ownName = machine->distributionDir();
  for (char& c : ownName)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::filesystem::path dist = machine->distributionFolder();
  std::filesystem::create_directory_symlink(dist, Host("C:\\Dist"));
  std::filesystem::create_directory_symlink(dist.parent_path(),
                                            machine->prefixFolder() + "/dosdevices/d:");
  for (const std::string& folder :
       {ownName + "\\", std::string("C:\\Dist"), "D:\\" + dist.filename().string()}) {
    for (bool install : {true, false}) {
      SCOPED_TRACE(folder + (install ? " install" : " uninstall"));
      Restart();
      if (!install) Click(form->BtnUninstall);
      Click(form->BtnWindows);
      form->FolderSelect->SetText(folder);
      Continue();
      EXPECT_EQ(StatusList(), List().Header(install).Finished().lines());
    }
  }
  EXPECT_TRUE(std::filesystem::exists(machine->distributionFolder() + "/ZavPolyverb40Design.bpl"));
}

TEST_P(LanguageRunTest, RegistrationFollowsTheRegisterBoxesAndExistingPackageLists) {
  Start({3, 4, 5}, {{.version = 3}, {.version = 4, .packageLists = false}, {.version = 5}});
  ASSERT_FALSE(HasFatalFailure());
  AddToDisabledList(3, DesignPackagePath(3));
  Click(form->BtnD3);
  ASSERT_FALSE(form->BtnD3->Checked());
  Click(form->BtnFolder);
  Click(form->BtnWindows);
  Continue();
  Lines lines = StatusList();
  ASSERT_GE(lines.size(), 3u);
  // Delphi 3 unchecked: untouched; Delphi 4 never started: no list, no line.
  EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
            List().Registered("ZavPolyverb50Design.bpl").Finished().lines());
  EXPECT_EQ(PackageList(3).count(DesignPackagePath(3)), 0u);
  EXPECT_EQ(DisabledList(3).count(DesignPackagePath(3)), 1u);
  EXPECT_FALSE(KeyExists(testsupport::KnownPackagesKey(4)));
  EXPECT_EQ(PackageList(5).count(DesignPackagePath(5)), 1u);

  // An uninstall removes the entries of every version in the distribution, silently,
  // although its register boxes are disabled.
  Restart();
  Click(form->BtnUninstall);
  AddToDisabledList(5, DesignPackagePath(5));  // an uninstall takes nothing off these lists
  Continue();
  EXPECT_EQ(PackageList(3).size(), 1u);
  EXPECT_EQ(PackageList(5).size(), 1u);
  EXPECT_EQ(DisabledList(5).count(DesignPackagePath(5)), 1u);
  const Lines uninstall = StatusList();
  EXPECT_EQ(std::count_if(uninstall.begin(), uninstall.end(),
                          [](const std::string& line) { return line.starts_with("Package"); }),
            0);
}

TEST_F(RunTest, AnEscapedExceptionEndsTheRunWithTheUnknownErrorBox) {
  Start({4}, Installed({}));
  ASSERT_FALSE(HasFatalFailure());
  int lines = 0;
  form->OnStatusLine = [&](const std::string&) {
    if (++lines == 4) throw std::runtime_error("disk on fire");
  };
  Continue();
  EXPECT_EQ(StatusList(), Expected()
                              .Header(true)
                              .Line("Directory '" + kDefaultFolder + "' created.")
                              .Copied({"ZavPolyverb40.bpl"}, kDefaultFolder)
                              .Finished()
                              .lines());
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Error: An unknown installation error has occured."});
  EXPECT_TRUE(form->Enabled());
  EXPECT_EQ(form->RunOutcome(), TPolyverbInstallForm::TRunOutcome::Failed);
  // The report's summary and the log say why.
  EXPECT_NE(EndOfRun(*form).Reason.find("disk on fire"), std::string::npos);
}

}  // namespace
}  // namespace installer_test
