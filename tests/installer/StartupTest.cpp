// What the setup window finds at start: the design packages of the distribution folder, the
// Delphi versions of the machine, and the boxes it prefills from them; and the starts that
// end with a message instead of a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "installer/ProgramStart.h"
#include "platform/Machine.h"
#include "tests/installer/SetupMachine.h"
#include "toolkit/forms/Forms.h"

namespace installer_test {
namespace {

using testsupport::DelphiInstall;
using testsupport::ProgramValue;

struct VersionBoxes {
  TCheckBox* location;
  TCheckBox* registration;
};

VersionBoxes BoxesOf(TPolyverbInstallForm* form, int version) {
  switch (version) {
    case 3:
      return {form->BtnD3Dir, form->BtnD3};
    case 4:
      return {form->BtnD4Dir, form->BtnD4};
    default:
      return {form->BtnD5Dir, form->BtnD5};
  }
}

bool Contains(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// Every subset of packages against every subset of installed versions: a version's boxes
// come up exactly when both its package and its installation are there.
TEST(StartupTest, DetectsEachVersionOnlyWithItsPackageAndItsInstallation) {
  const std::vector<std::vector<int>> subsets = {{3}, {4}, {5}, {3, 4}, {3, 5}, {4, 5}, {3, 4, 5}};
  std::vector<std::vector<int>> installedSubsets = subsets;
  installedSubsets.push_back({});
  for (const auto& packages : subsets) {
    for (const auto& installed : installedSubsets) {
      SCOPED_TRACE(testing::PrintToString(packages) + " / " + testing::PrintToString(installed));
      SetupMachine machine(packages, Installed(installed));
      ASSERT_FALSE(testing::Test::HasFatalFailure());
      TPolyverbInstallForm* form = machine.BuildForm();
      EXPECT_TRUE(form->FReady);
      EXPECT_TRUE(machine.presenter().MessageBoxes.empty());
      EXPECT_EQ(form->FD3Present, Contains(packages, 3));
      EXPECT_EQ(form->FD4Present, Contains(packages, 4));
      EXPECT_EQ(form->FD5Present, Contains(packages, 5));
      for (int version : {3, 4, 5}) {
        const bool found = Contains(packages, version) && Contains(installed, version);
        const VersionBoxes boxes = BoxesOf(form, version);
        EXPECT_EQ(boxes.location->Checked(), found) << version;
        EXPECT_EQ(boxes.location->Enabled(), found) << version;
        EXPECT_EQ(boxes.registration->Checked(), found) << version;
        EXPECT_EQ(boxes.registration->Enabled(), found) << version;
        EXPECT_EQ(boxes.registration->Tag(), 0) << version;
        if (!found) {
          EXPECT_EQ(boxes.location->Caption(), "...\\Delphi " + std::to_string(version) + "\\Bin");
        }
      }
    }
  }
}

TEST(StartupTest, ALocationBoxHoldsTheProgramsFolderAndShowsItShortened) {
  SetupMachine machine({4, 5}, {{.version = 4},
                                {.version = 5,
                                 .programPath = "C:\\Program Files\\Borland\\Delphi 5 "
                                                "Enterprise Edition\\Bin\\delphi32.exe"}});
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  TPolyverbInstallForm* form = machine.BuildForm();
  EXPECT_EQ(form->BtnD4Dir->Hint(), "C:\\Program Files\\Borland\\Delphi4\\Bin");
  // One character too long for the box: the drive, then as many trailing folders as fit.
  EXPECT_EQ(form->BtnD4Dir->Caption(), "C:\\...\\Borland\\Delphi4\\Bin");
  EXPECT_EQ(form->BtnD5Dir->Hint(), "C:\\Program Files\\Borland\\Delphi 5 Enterprise Edition\\Bin");
  EXPECT_LE(form->BtnD5Dir->Caption().size(), 35u);
  EXPECT_EQ(form->BtnD5Dir->Caption().substr(0, 3), "C:\\");
  EXPECT_EQ(form->BtnD5Dir->Caption().substr(form->BtnD5Dir->Caption().size() - 4), "\\Bin");
}

TEST(StartupTest, AProgramInADriveRootKeepsTheRootsBackslash) {
  SetupMachine machine({3}, {{.version = 3, .programPath = "D:\\delphi32.exe"}});
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  TPolyverbInstallForm* form = machine.BuildForm();
  EXPECT_EQ(form->BtnD3Dir->Hint(), "D:\\");
  EXPECT_TRUE(form->BtnD3Dir->Checked());
}

TEST(StartupTest, AnEmptyOrMissingValueGivesAnEmptyFolderThatIsStillATarget) {
  for (ProgramValue value : {ProgramValue::Empty, ProgramValue::Missing}) {
    SetupMachine machine({4}, {{.version = 4, .value = value}});
    ASSERT_FALSE(testing::Test::HasFatalFailure());
    TPolyverbInstallForm* form = machine.BuildForm();
    EXPECT_TRUE(form->FReady);
    EXPECT_EQ(form->BtnD4Dir->Hint(), "");
    EXPECT_EQ(form->BtnD4Dir->Caption(), "");
    EXPECT_TRUE(form->BtnD4Dir->Checked());
    EXPECT_TRUE(form->BtnD4Dir->Enabled());
    EXPECT_TRUE(form->BtnD4->Checked());
    EXPECT_TRUE(form->BtnD4->Enabled());
  }
}

TEST(StartupTest, AValueThatIsNotTextCountsAsNotInstalledWithoutAMessage) {
  SetupMachine machine({4, 5}, {{.version = 4, .value = ProgramValue::NotText}, {.version = 5}});
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  TPolyverbInstallForm* form = machine.BuildForm();
  EXPECT_TRUE(form->FReady);
  EXPECT_TRUE(machine.presenter().MessageBoxes.empty());
  EXPECT_FALSE(form->BtnD4Dir->Enabled());
  EXPECT_FALSE(form->BtnD4->Checked());
  EXPECT_EQ(form->BtnD4Dir->Caption(), "...\\Delphi 4\\Bin");
  // The key left open by the failed read does not spoil the next version's detection.
  EXPECT_TRUE(form->BtnD5Dir->Checked());
  EXPECT_FALSE(form->FRegistry->HasCurrentKey());
}

TEST(StartupTest, TheWindowsBoxShowsTheWindowsFolderAndWhatGoesThere) {
  SetupMachine machine({4}, {});
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  TPolyverbInstallForm* form = machine.BuildForm();
  EXPECT_EQ(form->BtnWindows->Hint(), "C:\\windows");
  EXPECT_EQ(form->BtnWindows->Caption(), "C:\\windows (Runtime packages only)");
  EXPECT_TRUE(form->BtnWindows->Checked());

  form->Polyverb->SetLanguage("Deutsch");
  EXPECT_EQ(form->BtnWindows->Caption(), "C:\\windows (nur Laufzeit-Packages)");
  EXPECT_EQ(form->BtnD3Dir->Caption(), "...\\Delphi 3\\Bin");
  EXPECT_EQ(form->BtnInstall->Caption(), "Installieren");
  EXPECT_EQ(form->ButtonPanel->Buttons()->GetItem(1)->Caption(), "Schließen");
  EXPECT_EQ(form->FolderSelect->Hint(),
            "Dieses Verzeichnis wird zum Speichern aller Installationsdateien verwendet");
  EXPECT_EQ(form->Caption(), "Zav Polyverb - Installation");

  form->Polyverb->SetLanguage("English");
  EXPECT_EQ(form->BtnWindows->Caption(), "C:\\windows (Runtime packages only)");
}

TEST(StartupTest, TheFolderFieldStartsOnTheNewestEntryOfItsHistory) {
  SetupMachine machine({3}, {});
  ASSERT_FALSE(testing::Test::HasFatalFailure());
  TPolyverbInstallForm* form = machine.BuildForm();
  EXPECT_EQ(form->FolderSelect->FileName(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(form->FolderSelect->Text(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(form->FolderSelect->History(),
            "C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;C:\\Polyverb;"
            "C:\\Zav;");
}

// Program start, as the program runs it: the window is shown only after a good start.
class ProgramStartTest : public testing::Test {
 protected:
  // Runs the program; a shown window is closed at once through its Close button.
  int Run() {
    return RunSetupProgram([&](TPolyverbInstallForm& form) {
      shown_ = form.Visible();
      form.ButtonPanelCloseClick(&form);
    });
  }
  bool shown_ = false;
};

TEST_F(ProgramStartTest, ShowsTheWindowWhenThereIsSomethingToInstall) {
  SetupMachine machine({5}, Installed({5}));
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(shown_);
  EXPECT_EQ(Application->Title(), "Setup");
  EXPECT_TRUE(machine.presenter().MessageBoxes.empty());
  EXPECT_EQ(PolyverbInstallForm, nullptr);
}

TEST_F(ProgramStartTest, NoDesignPackageEndsWithNoFilesAndNeverShowsTheWindow) {
  SetupMachine machine({}, Installed({3, 4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(Run(), 1);
  EXPECT_FALSE(shown_);
  ASSERT_EQ(machine.presenter().MessageBoxes.size(), 1u);
  const TMessageBoxRequest& box = machine.presenter().MessageBoxes[0];
  EXPECT_EQ(box.Text, "No files to install found.");
  EXPECT_EQ(box.Caption, "Setup");
  EXPECT_EQ(box.Flags & MB_ICONERROR, MB_ICONERROR);
}

// A folder without the hives is no prefix: the setup says which folder and what is missing,
// and leaves it as it was, settings included.
TEST_F(ProgramStartTest, AFolderThatIsNoPrefixEndsWithAMessageAndStaysAsItWas) {
  SetupMachine machine({5}, Installed({5}));
  ASSERT_FALSE(HasFatalFailure());
  std::filesystem::remove(machine.prefixFolder() + "/user.reg");
  EXPECT_EQ(Run(), 1);
  EXPECT_FALSE(shown_);
  ASSERT_EQ(machine.presenter().MessageBoxes.size(), 1u);
  EXPECT_EQ(machine.presenter().MessageBoxes[0].Text,
            "The folder '" + machine.prefixFolder() +
                "' is not a Wine prefix: user.reg not found. Set WINEPREFIX to the prefix "
                "Delphi is installed in.");
  EXPECT_FALSE(std::filesystem::exists(machine.prefixFolder() + "/user.reg"));
}

TEST_F(ProgramStartTest, AnErrorDuringStartUpEndsWithTheUnknownErrorMessage) {
  SetupMachine machine({3}, Installed({3}));
  ASSERT_FALSE(HasFatalFailure());
  // The program runs from a folder on no drive of the machine: its own folder cannot be
  // named, so not even the first file check can be made.
  std::filesystem::remove(machine.prefixFolder() + "/dosdevices/z:");
  platform::Machine::Current().SetApplicationDir("");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run(), 1);
  const std::string reason = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(shown_);
  ASSERT_EQ(machine.presenter().MessageBoxes.size(), 1u);
  EXPECT_EQ(machine.presenter().MessageBoxes[0].Text, "An unknown installation error has occured.");
  // The message box says nothing of the reason; standard error does.
  EXPECT_NE(reason.find("PolyverbSetup: the start-up failed: The program's own folder"),
            std::string::npos)
      << reason;
}

}  // namespace
}  // namespace installer_test
