// The history combo box on a shown form, driven with real keys, clicks and focus changes
// offscreen: what each way of confirming, refusing and leaving the field commits, and the
// events each gives, compared as whole sequences.

#include <gtest/gtest.h>

#include "tests/controls/MRUComboBoxForm.h"
#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/TestPresenter.h"

using namespace toolkit_test;

namespace {

using Lines = std::vector<std::string>;

class MRUComboBoxDrivingTest : public testing::Test {
 protected:
  void SetUp() override { Build(""); }
  void TearDown() override {
    if (form != nullptr) form->Free();
    ProcessEvents();
  }
  void Build(const std::string& fieldLines) {
    if (form != nullptr) form->Free();
    form = BuildMRUComboBoxForm(fieldLines);
    field = form->FolderSelect;
    combo = field->ComboBox();
    ShowForm(form);
  }
  // Puts the focus into the field and forgets what that logged.
  void EnterField() {
    field->SetFocus();
    ProcessEvents();
    form->Log.clear();
  }
  // Replaces the field's text as a user would: select everything, then type.
  void Retype(const std::string& text) {
    combo->SelectAll();
    TypeText(text);
  }

  PresenterScope presenter;
  TMRUComboBoxForm* form = nullptr;
  TMRUComboBoxProbe* field = nullptr;
  TComboBoxEx* combo = nullptr;
};

TEST_F(MRUComboBoxDrivingTest, EnterCommitsTheTypedTextAndSelectsIt) {
  EnterField();
  Retype("  C:\\Neu  ");
  PressEnter();
  EXPECT_EQ(form->Log, (Lines{"Validate C:\\Neu", "Change C:\\Neu"}));
  EXPECT_EQ(field->CommittedText(), "C:\\Neu");
  EXPECT_EQ(field->History(), std::string("C:\\Neu;") + kBuiltInHistory);
  EXPECT_EQ(combo->Text(), "C:\\Neu");
  EXPECT_EQ(combo->SelStart(), 0);
  EXPECT_EQ(combo->SelLength(), 6);
  EXPECT_EQ(FocusedControl(), combo);
}

TEST_F(MRUComboBoxDrivingTest, ARefusedTextStaysOnEnterAndGivesWayWhenLeaving) {
  form->Validation = [](std::string& text, bool& valid) {
    valid = text.find('?') == std::string::npos;
  };
  EnterField();
  Retype("C:\\Wrong?");
  PressEnter();
  // Still in the field: the text stays for correcting, the caret after its last character.
  EXPECT_EQ(combo->Text(), "C:\\Wrong?");
  EXPECT_EQ(combo->SelStart(), 9);
  EXPECT_EQ(combo->SelLength(), 0);
  EXPECT_FALSE(field->ApplyText());
  // Leaving (for the field's own button): the committed value comes back; OnExit all the same.
  PressTab();
  EXPECT_EQ(FocusedControl(), field->Button());
  EXPECT_EQ(combo->Text(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(form->Log, (Lines{"Validate C:\\Wrong?", "Validate C:\\Wrong?", "Validate C:\\Wrong?",
                              "Exit FolderSelect"}));
  EXPECT_EQ(field->CommittedText(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(field->History(), kBuiltInHistory);
  EXPECT_TRUE(field->ApplyText());  // nothing new in the field
}

TEST_F(MRUComboBoxDrivingTest, LeavingCommitsBeforeOnExitAndComingBackIsOnEnter) {
  form->BtnFolder->SetFocus();
  ProcessEvents();
  form->Log.clear();
  PressTab();
  EXPECT_EQ(FocusedControl(), combo);
  TypeText("C:\\Zav");  // over the text Tab selected
  PressTab();
  EXPECT_EQ(FocusedControl(), field->Button());
  PressTab(true);
  EXPECT_EQ(form->Log, (Lines{"Enter FolderSelect", "Validate C:\\Zav", "Change C:\\Zav",
                              "Exit FolderSelect", "Enter FolderSelect"}));
  // The old entry of the same name gave way to the new one at the top.
  EXPECT_EQ(field->History(),
            "C:\\Zav;C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;"
            "C:\\Polyverb;");
}

TEST_F(MRUComboBoxDrivingTest, EscapeTakesTheCommittedValueBackWithoutReachingTheForm) {
  EnterField();
  Retype("C:\\Half typed");
  PressEscape();
  EXPECT_EQ(combo->Text(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(combo->SelLength(), 25);
  // Consumed: the form's cancel button did not hear it.
  EXPECT_TRUE(form->Log.empty()) << form->Log.front();
}

TEST_F(MRUComboBoxDrivingTest, EscapeOnTheOpenListClosesItAndTakesTheCommittedValueBack) {
  EnterField();
  Retype("C:\\Half typed");
  DropDownWithKey(combo);
  ASSERT_TRUE(combo->DroppedDown());
  PressDown();
  PressEscape();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(combo->SelLength(), 25);
  EXPECT_TRUE(form->Log.empty()) << form->Log.front();
  EXPECT_EQ(FocusedControl(), combo);
}

TEST_F(MRUComboBoxDrivingTest, APickFromTheOpenListIsCommitted) {
  EnterField();
  combo->SetDroppedDown(true);
  ProcessEvents();
  ClickListItem(combo, 3);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(form->Log, (Lines{"Validate C:\\Polyverb", "Change C:\\Polyverb"}));
  EXPECT_EQ(field->History(),
            "C:\\Polyverb;C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;"
            "C:\\Zav;");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->Text(), "C:\\Polyverb");
  // With the keyboard: open, move down, confirm.
  form->Log.clear();
  DropDownWithKey(combo);
  ASSERT_TRUE(combo->DroppedDown());
  PressDown();
  PressEnter();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(form->Log,
            (Lines{"Validate C:\\Programme\\Zav Polyverb", "Change C:\\Programme\\Zav Polyverb"}));
  // ApplyText closes an open list first and commits what the field holds.
  combo->SetDroppedDown(true);
  combo->SetText("C:\\Applied");
  EXPECT_TRUE(field->ApplyText());
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(field->CommittedText(), "C:\\Applied");
}

TEST_F(MRUComboBoxDrivingTest, MovingThroughTheClosedListCommitsOnlyWhenConfirmed) {
  EnterField();
  PressDown();
  PressDown();
  EXPECT_EQ(combo->Text(), "C:\\Programme\\Polyverb");
  EXPECT_TRUE(form->Log.empty());
  EXPECT_EQ(field->CommittedText(), "C:\\Programme\\Zav Polyverb");
  PressEnter();
  EXPECT_EQ(form->Log,
            (Lines{"Validate C:\\Programme\\Polyverb", "Change C:\\Programme\\Polyverb"}));
}

TEST_F(MRUComboBoxDrivingTest, TheFocusableButtonSeesTheCommittedTextTheSpeedButtonTheTyped) {
  EnterField();
  Retype("C:\\Typed");
  Click(field->Button());
  EXPECT_EQ(form->Log, (Lines{"Validate C:\\Typed", "Change C:\\Typed", "Exit FolderSelect",
                              "Button C:\\Typed | C:\\Typed"}));
  EXPECT_EQ(FocusedControl(), field->Button());

  Build("    ButtonTabStop = False\n");
  EnterField();
  Retype("C:\\Typed");
  Click(field->Button());
  EXPECT_EQ(form->Log, (Lines{"Button C:\\Typed | C:\\Programme\\Zav Polyverb"}));
  EXPECT_EQ(FocusedControl(), combo);
}

// A handler that takes the focus away and back (as a message box does) starts no second
// commit, and the field still counts as focused afterwards.
TEST_F(MRUComboBoxDrivingTest, AHandlerMovingTheFocusStartsNoSecondCommit) {
  form->Validation = [this](std::string&, bool&) {
    form->BtnFolder->SetFocus();
    ProcessEvents();
    field->SetFocus();
    ProcessEvents();
  };
  EnterField();
  Retype("C:\\Neu");
  PressEnter();
  EXPECT_EQ(form->Log, (Lines{"Validate C:\\Neu", "Exit FolderSelect", "Enter FolderSelect",
                              "Change C:\\Neu"}));
  EXPECT_EQ(combo->SelLength(), 6);  // selected as in a field that has the focus
  // An error of a handler reaches the caller; the next commit works again.
  form->Validation = [](std::string&, bool&) { throw Exception("refused loudly"); };
  combo->SetText("C:\\Other");
  EXPECT_THROW(field->ApplyText(), Exception);
  form->Validation = nullptr;
  EXPECT_TRUE(field->ApplyText());
  EXPECT_EQ(field->CommittedText(), "C:\\Other");
}

// The usual refusal: the handler tells the user in a message box, which takes the focus from
// the window meanwhile. The user is back in the field with the text to correct.
TEST_F(MRUComboBoxDrivingTest, ARefusalShownInAMessageBoxKeepsTheUserInTheField) {
  form->Validation = [](std::string& text, bool& valid) {
    valid = false;
    Application->MessageBox("No such folder: " + text, "", MB_OK | MB_ICONERROR);
  };
  EnterField();
  Retype("C:\\Wrong");
  PressEnter();
  ASSERT_EQ(presenter->MessageBoxes.size(), 1u);
  EXPECT_EQ(presenter->MessageBoxes[0].Text, "No such folder: C:\\Wrong");
  EXPECT_EQ(form->Log, (Lines{"Validate C:\\Wrong"}));
  EXPECT_EQ(FocusedControl(), combo);
  EXPECT_EQ(combo->Text(), "C:\\Wrong");
  EXPECT_EQ(combo->SelStart(), 8);
  TypeText("er");
  EXPECT_EQ(combo->Text(), "C:\\Wronger");
}

TEST_F(MRUComboBoxDrivingTest, FreeingTheFocusedFieldCommitsNothing) {
  EnterField();
  Retype("C:\\Unsaved");
  field->Free();
  field = nullptr;
  ProcessEvents();
  EXPECT_TRUE(form->Log.empty()) << form->Log.front();
  EXPECT_EQ(form->FolderSelect, nullptr);
  // The form, which has the focus now, names nothing of the field; the focus moves on from there.
  EXPECT_EQ(form->FocusedControl(), form);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  form->BtnOK->SetFocus();
  ProcessEvents();
  EXPECT_EQ(FocusedControl(), form->BtnOK);
  EXPECT_TRUE(form->Log.empty()) << form->Log.front();
}

}  // namespace
