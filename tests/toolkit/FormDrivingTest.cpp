// A form using every control class, built from its description, shown offscreen and
// driven with real key and mouse events.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "tests/toolkit/DrivenForm.h"
#include "toolkit/model/FormStreaming.h"

using namespace toolkit_test;

namespace {

class FormDrivingTest : public testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    form = new TDrivenForm(Application);
    ShowForm(form);
    form->Events.clear();
  }
  void TearDown() override {
    form->AllowClose = true;
    form->Free();
    ProcessEvents();
  }
  bool Saw(const std::string& event) const {
    return std::find(form->Events.begin(), form->Events.end(), event) != form->Events.end();
  }
  std::string Log() const {
    std::string text;
    for (const std::string& event : form->Events)
      text += event + "; ";
    return text;
  }

  PresenterScope presenter;
  TDrivenForm* form = nullptr;
};

TEST_F(FormDrivingTest, BuildsTheFormFromItsDescription) {
  EXPECT_EQ(form->ClientWidth(), 505);
  EXPECT_EQ(form->ClientHeight(), 368);
  EXPECT_EQ(form->PanelButtons->Top(), 328);
  EXPECT_EQ(form->PanelMain->Height(), 328);
  EXPECT_TRUE(form->BtnInstall->Checked());
  EXPECT_TRUE(form->BtnFolder->Checked());
  EXPECT_EQ(form->ComboLang->Items()->Count(), 2);
  EXPECT_EQ(form->ComboLang->ItemIndex(), 0);
  EXPECT_EQ(form->ComboLang->Height(), 21);
  EXPECT_EQ(form->ComboLang->DropDownCount(), 8);
  EXPECT_EQ(form->BtnOK->Caption(), "&Continue");
  EXPECT_EQ(form->BtnOK->ModalResult(), mrOk);
  EXPECT_TRUE(form->BtnOK->Default());
  EXPECT_TRUE(form->BtnClose->Cancel());
  EXPECT_FALSE(form->StatusLog->WordWrap());
  EXPECT_EQ(form->StatusLog->Color(), clBtnFace);
  EXPECT_EQ(form->OpenDialog->FilterIndex, 1);
  // Centred on the screen.
  EXPECT_EQ(form->Left(), (Screen->Width() - form->Width()) / 2);
}

TEST_F(FormDrivingTest, AWrittenFormKeepsItsNonVisualComponentsAfterItsControls) {
  const std::string text = WriteComponentText(form);
  const auto panel = text.find("object PanelMain: TPanel");
  const auto openDialog = text.find("object OpenDialog: TOpenDialog");
  const auto saveDialog = text.find("object SaveDialog: TSaveDialog");
  ASSERT_NE(openDialog, std::string::npos) << text;
  ASSERT_NE(saveDialog, std::string::npos) << text;
  EXPECT_LT(panel, openDialog);
  EXPECT_LT(openDialog, saveDialog);
  // Each once: the controls are not listed again as owned components.
  EXPECT_EQ(text.find("object PanelMain", panel + 1), std::string::npos);
}

TEST_F(FormDrivingTest, TabMovesInTheFormsOrderWithEnterAndExit) {
  // The first control in tab order has the focus: the Continue button.
  ASSERT_EQ(FocusedControl(), form->BtnOK);
  PressTab();
  EXPECT_EQ(FocusedControl(), form->BtnClose);
  PressTab();
  EXPECT_EQ(FocusedControl(), form->BtnInstall);
  EXPECT_TRUE(Saw("Exit BtnOK"));
  EXPECT_TRUE(Saw("Enter GroupMode"));
  PressTab();
  // The unchecked radio button is no tab stop; the combo box comes next.
  EXPECT_EQ(FocusedControl(), form->ComboLang);
  EXPECT_TRUE(Saw("Exit GroupMode"));
  EXPECT_TRUE(Saw("Enter ComboLang"));
  PressTab();
  EXPECT_EQ(FocusedControl(), form->BtnFolder);
  EXPECT_TRUE(Saw("Exit ComboLang"));
  PressTab();
  EXPECT_EQ(FocusedControl(), form->ComboFolder);
  PressTab();
  EXPECT_EQ(FocusedControl(), form->StatusLog);
  PressTab();
  EXPECT_EQ(FocusedControl(), form->BtnOK);
  PressTab(true);
  EXPECT_EQ(FocusedControl(), form->StatusLog);
}

TEST_F(FormDrivingTest, TabbingIntoAnEditFieldSelectsItsTextAClickPlacesTheCaret) {
  form->BtnFolder->SetFocus();
  ProcessEvents();
  PressTab();
  ASSERT_EQ(FocusedControl(), form->ComboFolder);
  EXPECT_EQ(form->ComboFolder->SelStart(), 0);
  EXPECT_EQ(form->ComboFolder->SelLength(), 25);
  // Typing replaces the selected text.
  TypeText("D:\\");
  EXPECT_EQ(form->ComboFolder->Text(), "D:\\");
  PressTab();
  PressTab(true);
  EXPECT_EQ(form->ComboFolder->SelLength(), 3);
  ClickAt(form->BtnFolder, 10, 8);
  ClickAt(form->ComboFolder, 4, 10);
  EXPECT_EQ(form->ComboFolder->SelLength(), 0);
}

TEST_F(FormDrivingTest, EnterAndEscapeInTheComboBoxGoToItsHandler) {
  form->ComboLang->SetFocus();
  ProcessEvents();
  form->Events.clear();
  TypeText("x");
  PressEnter();
  EXPECT_TRUE(Saw("Key Enter Englishx")) << Log();
  // The handler consumed Enter: the default button was not clicked.
  EXPECT_FALSE(Saw("Click BtnOK"));
  PressEscape();
  EXPECT_TRUE(Saw("Key Escape"));
  EXPECT_EQ(form->ComboLang->Text(), "English");
  EXPECT_EQ(form->ComboLang->SelLength(), 7);
}

TEST_F(FormDrivingTest, ListConfirmedWithTheKeyboard) {
  form->ComboLang->SetFocus();
  ProcessEvents();
  DropDownWithKey(form->ComboLang);
  ASSERT_TRUE(form->ComboLang->DroppedDown());
  PressDown();
  PressEnter();
  ProcessEvents();
  EXPECT_FALSE(form->ComboLang->DroppedDown());
  EXPECT_EQ(form->ComboLang->ItemIndex(), 1);
  EXPECT_EQ(form->ComboLang->Text(), "Deutsch");
  EXPECT_TRUE(Saw("SelEndOK ComboLang 1 dropped")) << Log();
  EXPECT_TRUE(Saw("CloseUp ComboLang")) << Log();
  // Enter that confirmed the list is not a key press of the field.
  EXPECT_FALSE(Saw("Key Enter Deutsch")) << Log();
}

TEST_F(FormDrivingTest, ListConfirmedWithTheMouse) {
  form->ComboLang->SetDroppedDown(true);
  ProcessEvents();
  ASSERT_TRUE(form->ComboLang->DroppedDown());
  ClickListItem(form->ComboLang, 1);
  EXPECT_EQ(form->ComboLang->ItemIndex(), 1);
  EXPECT_FALSE(form->ComboLang->DroppedDown());
  const auto selEnd =
      std::find(form->Events.begin(), form->Events.end(), "SelEndOK ComboLang 1 dropped");
  const auto closeUp = std::find(form->Events.begin(), form->Events.end(), "CloseUp ComboLang");
  ASSERT_NE(selEnd, form->Events.end()) << Log();
  ASSERT_NE(closeUp, form->Events.end()) << Log();
  EXPECT_LT(selEnd, closeUp);
}

TEST_F(FormDrivingTest, EscapeClosesAnOpenListWithoutConfirming) {
  form->ComboLang->SetFocus();
  form->ComboLang->SetDroppedDown(true);
  ProcessEvents();
  PressDown();
  PressEscape();
  ProcessEvents();
  EXPECT_FALSE(form->ComboLang->DroppedDown());
  // The box heard the key while its list was still open, and the list closed after.
  const auto key = std::find(form->Events.begin(), form->Events.end(), "Key Escape dropped");
  const auto closeUp = std::find(form->Events.begin(), form->Events.end(), "CloseUp ComboLang");
  ASSERT_NE(key, form->Events.end()) << Log();
  ASSERT_NE(closeUp, form->Events.end()) << Log();
  EXPECT_LT(key, closeUp);
  EXPECT_FALSE(Saw("SelEndOK ComboLang 1 dropped")) << Log();
  EXPECT_FALSE(Saw("Key Escape"));
}

TEST_F(FormDrivingTest, ClickingTheCheckBoxAndRadioButtons) {
  // The box's indicator and caption are on its left.
  ClickAt(form->BtnFolder, 10, 8);
  EXPECT_FALSE(form->BtnFolder->Checked());
  EXPECT_TRUE(Saw("Click BtnFolder"));
  EXPECT_EQ(FocusedControl(), form->BtnFolder);
  // Anywhere in the control counts, also well beside a short caption.
  ClickAt(form->BtnUninstall, form->BtnUninstall->Width() - 4, 8);
  EXPECT_TRUE(form->BtnUninstall->Checked());
  EXPECT_FALSE(form->BtnInstall->Checked());
  EXPECT_TRUE(Saw("Click BtnUninstall"));
  // Checking by program is a click too.
  ClickAt(form->BtnFolder, form->BtnFolder->Width() - 4, 8);
  EXPECT_TRUE(form->BtnFolder->Checked());
  ClickAt(form->BtnFolder, form->BtnFolder->Width() - 4, 8);
  form->Events.clear();
  form->BtnFolder->SetChecked(true);
  EXPECT_TRUE(Saw("Click BtnFolder"));
  form->BtnInstall->SetChecked(true);
  EXPECT_FALSE(form->BtnUninstall->Checked());
  EXPECT_TRUE(Saw("Click BtnInstall"));
}

TEST_F(FormDrivingTest, AModalBoxIsAnsweredAndTheWindowsAreDisabledMeanwhile) {
  presenter->AnswerNextMessageBox(IDNO);
  Click(form->BtnOK);
  ASSERT_EQ(presenter->MessageBoxes.size(), 1u);
  EXPECT_EQ(presenter->MessageBoxes[0].Text, "Continue with C:\\Programme\\Zav Polyverb?");
  EXPECT_EQ(presenter->MessageBoxes[0].Flags, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(form->StatusLog->Lines()->Strings(0), "No");
  // Enter reaches the default button when the focused control leaves it.
  form->BtnFolder->SetFocus();
  ProcessEvents();
  PressEnter();
  ASSERT_EQ(presenter->MessageBoxes.size(), 2u);
  EXPECT_EQ(form->StatusLog->Lines()->Strings(1), "Yes");
}

TEST_F(FormDrivingTest, TheCloseQueryRefusesAndAllows) {
  form->Close();
  EXPECT_TRUE(Saw("CloseQuery no"));
  EXPECT_TRUE(form->Visible());
  form->Events.clear();
  // The window's own close button asks too.
  form->AllowClose = true;
  form->SetEnabled(false);
  form->Close();
  EXPECT_TRUE(Saw("CloseQuery no"));
  form->SetEnabled(true);
  form->Close();
  EXPECT_TRUE(Saw("CloseQuery yes"));
  EXPECT_FALSE(form->Visible());
}

TEST_F(FormDrivingTest, TheSpeedButtonOpensAFileDialogWithoutTakingTheFocus) {
  form->ComboLang->SetFocus();
  ProcessEvents();
  presenter->ChooseNextFile("C:\\Zav\\Readme.txt");
  Click(form->BtnBrowse);
  EXPECT_EQ(FocusedControl(), form->ComboLang);
  ASSERT_EQ(presenter->FileDialogs.size(), 1u);
  EXPECT_EQ(presenter->FileDialogs[0].InitialDir, "C:\\Zav");
  EXPECT_EQ(presenter->FileDialogs[0].Filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*");
  EXPECT_EQ(form->ComboFolder->Text(), "C:\\Zav\\Readme.txt");
}

TEST_F(FormDrivingTest, DisabledControlsShowGreyedTextWhateverTheFontColour) {
  TComboBox* combo = form->ComboFolder;
  TCheckBox* check = form->BtnFolder;
  const TRect comboText{4, 4, combo->Width() - 24, combo->Height() - 4};
  const TRect checkCaption{20, 0, check->Width(), check->Height()};
  check->Font()->SetColor(clNavy);
  EXPECT_EQ(DarkestColorIn(combo, comboText), 0x000000u);
  const std::uint32_t navyText = DarkestColorIn(check, checkCaption);
  EXPECT_NE(navyText, ColorToRGB(clGrayText));
  // A disabled parent (a form during a run) takes the input, not the look of its controls.
  form->GroupFolder->SetEnabled(false);
  EXPECT_EQ(DarkestColorIn(combo, comboText), 0x000000u);
  EXPECT_EQ(DarkestColorIn(check, checkCaption), navyText);
  combo->SetEnabled(false);
  check->SetEnabled(false);
  EXPECT_EQ(DarkestColorIn(combo, comboText), ColorToRGB(clGrayText));
  EXPECT_EQ(DarkestColorIn(check, checkCaption), ColorToRGB(clGrayText));
  combo->SetEnabled(true);
  check->SetEnabled(true);
  form->GroupFolder->SetEnabled(true);
  EXPECT_EQ(DarkestColorIn(check, checkCaption), navyText);
}

TEST_F(FormDrivingTest, Screenshot) {
  for (int i = 0; i < 30; ++i)
    form->StatusLog->Lines()->Add("File 'ZavPolyverb30.dpl' copied to 'C:\\windows'. Line " +
                                  std::to_string(i));
  const std::string path = std::string(SETUP_TEST_OUTPUT_DIR) + "/driven_form.png";
  ASSERT_TRUE(SaveScreenshot(form, path));
}

}  // namespace
