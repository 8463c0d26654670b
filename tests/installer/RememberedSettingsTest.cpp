// Program starts one after the other over one machine: what the first start offers, and what
// the folder field and the language remember from one start to the next.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/installer/SetupMachine.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/toolkit/FormDriver.h"

namespace installer_test {
namespace {

const std::string kBuiltIn =
    "C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;C:\\Polyverb;C:\\Zav;";

class RememberedSettingsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(HasFatalFailure()); }

  // A new program start: the form of the one before goes first, keeping its settings.
  TPolyverbInstallForm* Start() { return form = machine.BuildForm(); }
  // Types Folder into the field and leaves it, as the user does before Continue.
  void Type(const std::string& Folder) {
    form->FolderSelect->SetText(Folder);
    ASSERT_TRUE(form->FolderSelect->ApplyText());
  }

  SetupMachine machine{{5}, Installed({5})};
  TPolyverbInstallForm* form = nullptr;
};

TEST_F(RememberedSettingsTest, TheFirstStartOffersTheBuiltInFoldersInEnglish) {
  Start();
  EXPECT_EQ(form->FolderSelect->FileName(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(form->FolderSelect->History(), kBuiltIn);
  EXPECT_EQ(form->Polyverb->Language(), "English");
  // A start that changed nothing keeps the same again.
  Start();
  EXPECT_EQ(form->FolderSelect->History(), kBuiltIn);
  EXPECT_EQ(form->Polyverb->Language(), "English");
}

TEST_F(RememberedSettingsTest, AFolderInstalledIntoComesFirstAtTheNextStart) {
  Start();
  toolkit_test::ShowForm(form);
  form->FolderSelect->SetText("C:\\Zav\\Mine");
  toolkit_test::Click(form->ButtonPanel->Buttons()->GetItem(0)->Button());
  ASSERT_TRUE(std::filesystem::exists(machine.HostPath("C:\\Zav\\Mine\\ZavPolyverb50.bpl")));
  Start();
  EXPECT_EQ(form->FolderSelect->FileName(), "C:\\Zav\\Mine");
  EXPECT_EQ(form->FolderSelect->History(), "C:\\Zav\\Mine;" + kBuiltIn);

  // Never more than eight; the oldest fall off. A folder that differs from an entry only in
  // letter case takes its place at the top, in the letters typed.
  for (const char* folder : {"D:\\One", "D:\\Two", "D:\\Three"})
    Type(folder);
  Start();
  EXPECT_EQ(form->FolderSelect->History(),
            "D:\\Three;D:\\Two;D:\\One;C:\\Zav\\Mine;C:\\Programme\\Zav Polyverb;C:\\Zav "
            "Polyverb;C:\\Programme\\Polyverb;C:\\Polyverb;");
  Type("d:\\one");
  Start();
  EXPECT_EQ(form->FolderSelect->FileName(), "d:\\one");
  EXPECT_EQ(form->FolderSelect->History(),
            "d:\\one;D:\\Three;D:\\Two;C:\\Zav\\Mine;C:\\Programme\\Zav Polyverb;C:\\Zav "
            "Polyverb;C:\\Programme\\Polyverb;C:\\Polyverb;");
}

TEST_F(RememberedSettingsTest, AFolderChosenWithTheBrowseButtonIsRemembered) {
  Start();
  toolkit_test::ShowForm(form);
  machine.presenter().DriveNextBrowseDialog([](TBrowseDialog& dialog) {
    return toolkit_test::ClickItem(
        dialog, {"My Computer", "Local Disk (C:)", "Program Files", "Borland", "Delphi5"});
  });
  toolkit_test::Click(form->FolderSelect->Button());
  EXPECT_EQ(form->FolderSelect->FileName(), "C:\\Program Files\\Borland\\Delphi5");
  Start();
  EXPECT_EQ(form->FolderSelect->FileName(), "C:\\Program Files\\Borland\\Delphi5");
}

TEST_F(RememberedSettingsTest, TheLanguageChosenLastIsInEffectBeforeTheWindowIsShown) {
  Start();
  form->Polyverb->SetLanguage("Deutsch");
  Start();
  EXPECT_EQ(form->Polyverb->Language(), "Deutsch");
  EXPECT_EQ(form->GroupReg->Caption(), "Packages registrieren für");

  // Even the message of a start that finds nothing to install.
  std::filesystem::remove(machine.distributionFolder() + "/ZavPolyverb50Design.bpl");
  machine.presenter().MessageBoxes.clear();
  Start();
  EXPECT_FALSE(form->FReady);
  ASSERT_EQ(machine.presenter().MessageBoxes.size(), 1U);
  EXPECT_EQ(machine.presenter().MessageBoxes[0].Text, "Keine Dateien zum Installieren gefunden.");
}

TEST_F(RememberedSettingsTest, ASaveRefusedByARunningWineServerLosesNothing) {
  Start();
  Type("C:\\Kept");
  form->Polyverb->SetLanguage("Deutsch");
  Start();
  Type("C:\\Refused");
  form->Polyverb->SetLanguage("English");
  {
    testsupport::FakeWineServer server(machine.prefixFolder());
    Start();  // the form of the start before goes while the server owns the registry
    EXPECT_EQ(form->FolderSelect->FileName(), "C:\\Kept");
    EXPECT_EQ(form->Polyverb->Language(), "Deutsch");
  }
  Start();
  EXPECT_EQ(form->FolderSelect->History(), "C:\\Kept;" + kBuiltIn);
  EXPECT_TRUE(machine.presenter().MessageBoxes.empty());
}

}  // namespace
}  // namespace installer_test
