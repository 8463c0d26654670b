// The options of the shown setup window, driven with real clicks: the boxes that depend on
// each other, the mode switch, the Continue button, the language and closing.

#include <gtest/gtest.h>

#include "tests/installer/SetupMachine.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/forms/Forms.h"

namespace installer_test {
namespace {

using toolkit_test::Click;

class OptionsTest : public testing::Test {
 protected:
  void SetUp() override {
    machine_ = std::make_unique<SetupMachine>(std::vector<int>{3, 4, 5}, Installed({3, 4, 5}));
    ASSERT_FALSE(HasFatalFailure());
    form = machine_->BuildForm();
    ASSERT_TRUE(form->FReady);
    toolkit_test::ShowForm(form);
  }
  void TearDown() override { machine_.reset(); }

  bool ContinueEnabled() const { return form->ButtonPanel->Buttons()->GetItem(0)->GetBool(2); }
  // Checked and enabled of the three register boxes, as "CE CE CE" (lower case: off).
  std::string RegisterBoxes() const {
    std::string text;
    for (TCheckBox* box : {form->BtnD3, form->BtnD4, form->BtnD5}) {
      if (!text.empty()) text += ' ';
      text += box->Checked() ? 'C' : 'c';
      text += box->Enabled() ? 'E' : 'e';
    }
    return text;
  }

  std::unique_ptr<SetupMachine> machine_;
  TPolyverbInstallForm* form = nullptr;
};

TEST_F(OptionsTest, ContinueNeedsAtLeastOneTarget) {
  EXPECT_TRUE(ContinueEnabled());
  for (TCheckBox* box :
       {form->BtnFolder, form->BtnWindows, form->BtnD3Dir, form->BtnD4Dir, form->BtnD5Dir}) {
    Click(box);
  }
  EXPECT_FALSE(ContinueEnabled());
  for (TCheckBox* box :
       {form->BtnFolder, form->BtnWindows, form->BtnD3Dir, form->BtnD4Dir, form->BtnD5Dir}) {
    Click(box);
    EXPECT_TRUE(ContinueEnabled()) << box->Name();
    Click(box);
    EXPECT_FALSE(ContinueEnabled()) << box->Name();
  }
}

TEST_F(OptionsTest, TheFolderFieldFollowsItsCheckBox) {
  Click(form->BtnFolder);
  EXPECT_FALSE(form->BtnFolder->Checked());
  EXPECT_FALSE(form->FolderSelect->Enabled());
  Click(form->BtnFolder);
  EXPECT_TRUE(form->FolderSelect->Enabled());
}

TEST_F(OptionsTest, ARegisterBoxFollowsItsLocationBoxAndRemembersItsCheck) {
  Click(form->BtnD3);  // the user does not want Delphi 3 registered
  EXPECT_EQ(RegisterBoxes(), "cE CE CE");
  Click(form->BtnD3Dir);
  Click(form->BtnD4Dir);
  EXPECT_EQ(RegisterBoxes(), "ce ce CE");
  Click(form->BtnD3Dir);
  Click(form->BtnD4Dir);
  // Each comes back as the user left it, not as start-up set it.
  EXPECT_EQ(RegisterBoxes(), "cE CE CE");
}

TEST_F(OptionsTest, UninstallModeDisablesRegistrationAndInstallModeRestoresIt) {
  Click(form->BtnD5);
  EXPECT_EQ(RegisterBoxes(), "CE CE cE");
  Click(form->BtnUninstall);
  EXPECT_TRUE(form->BtnUninstall->Checked());
  EXPECT_FALSE(form->GroupReg->Enabled());
  EXPECT_EQ(RegisterBoxes(), "ce ce ce");
  // Location boxes in uninstall mode leave the register boxes off.
  Click(form->BtnD4Dir);
  Click(form->BtnD4Dir);
  EXPECT_EQ(RegisterBoxes(), "ce ce ce");
  // The mode switch touches neither the location boxes nor the folder.
  EXPECT_TRUE(form->BtnD3Dir->Checked());
  EXPECT_TRUE(form->FolderSelect->Enabled());

  Click(form->BtnInstall);
  EXPECT_TRUE(form->GroupReg->Enabled());
  EXPECT_EQ(RegisterBoxes(), "CE CE cE");
}

TEST_F(OptionsTest, InstallModeRestoresOnlyTheVersionsWhoseLocationIsChecked) {
  Click(form->BtnUninstall);
  Click(form->BtnD4Dir);
  Click(form->BtnInstall);
  EXPECT_EQ(RegisterBoxes(), "CE ce CE");
  Click(form->BtnD4Dir);
  EXPECT_EQ(RegisterBoxes(), "CE CE CE");
}

TEST_F(OptionsTest, ChoosingGermanInTheLanguageBoxTranslatesTheWindow) {
  form->LangComboBox->SetDroppedDown(true);
  toolkit_test::ProcessEvents();
  ASSERT_TRUE(form->LangComboBox->DroppedDown());
  toolkit_test::ClickListItem(form->LangComboBox, 1);
  EXPECT_EQ(form->Polyverb->Language(), "Deutsch");
  EXPECT_EQ(form->GroupFolder->Caption(), "Installationsverzeichnis");
  EXPECT_EQ(form->LabelLang->Caption(), "Sprache:");
  EXPECT_EQ(form->ButtonPanel->Buttons()->GetItem(0)->Caption(), "&Weiter");
  EXPECT_EQ(form->BtnWindows->Caption(), "C:\\windows (nur Laufzeit-Packages)");
  EXPECT_EQ(form->BtnD3->Caption(), "Delphi 3");
}

TEST_F(OptionsTest, ClosingIsRefusedWhileTheFormIsDisabled) {
  form->SetEnabled(false);  // as during a run
  form->ButtonPanelCloseClick(form);
  EXPECT_TRUE(form->Visible());
  form->SetEnabled(true);
  Click(form->ButtonPanel->Buttons()->GetItem(1)->Button());
  EXPECT_FALSE(form->Visible());
}

TEST_F(OptionsTest, TabWalksTheWindowInItsOrder) {
  std::vector<std::string> visited;
  form->ButtonPanel->Buttons()->GetItem(0)->Button()->SetFocus();
  toolkit_test::ProcessEvents();
  for (int i = 0; i < 9; ++i) {
    TWinControl* focused = toolkit_test::FocusedControl();
    // A part of a control (a button of the bar, the folder field's edit and "...") by its owner.
    if (focused == nullptr) {
      visited.push_back("-");
    } else {
      visited.push_back(focused->Name().empty() ? "(" + focused->Owner()->Name() + ")"
                                                : focused->Name());
    }
    toolkit_test::PressTab();
  }
  // Continue, Close, the mode, the language, the folder and its button, then the locations
  // and the registration boxes top to bottom.
  const std::vector<std::string> expected = {"(ButtonPanel)",  "(ButtonPanel)", "BtnInstall",
                                             "LangComboBox",   "BtnFolder",     "(FolderSelect)",
                                             "(FolderSelect)", "BtnWindows",    "BtnD3Dir"};
  EXPECT_EQ(visited, expected);
}

}  // namespace
}  // namespace installer_test
