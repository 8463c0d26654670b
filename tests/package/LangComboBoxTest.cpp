// The language combo box on a real form, driven offscreen: both ways between the box and
// the language component, whichever is read first, and after the component is gone.

#include <gtest/gtest.h>

#include "package/PackageClasses.h"
#include "tests/package/PackageForm.h"
#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "toolkit/model/FormStreaming.h"

using namespace toolkit_test;

namespace {

class LangComboBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterPackageClasses();
    form = BuildForm<TPackageForm>(PackageFormText());
    ShowForm(form);
  }
  void TearDown() override {
    form->Free();
    ProcessEvents();
  }
  void ExpectGerman() const {
    EXPECT_EQ(form->Polyverb->Language(), "Deutsch");
    EXPECT_EQ(form->LabelLang->Caption(), "Sprache:");
    EXPECT_EQ(form->ButtonPanel->Buttons()->GetItem(0)->Button()->Caption(), "&Weiter");
  }

  PresenterScope presenter;
  TPackageForm* form = nullptr;
};

TEST_F(LangComboBoxTest, ListsTheLanguagesAndShowsTheCurrentOne) {
  TLangComboBox* box = form->LangComboBox;
  ASSERT_EQ(box->Items()->Count(), 2);
  EXPECT_EQ(box->Items()->Strings(0), "English");
  EXPECT_EQ(box->Items()->Strings(1), "Deutsch");
  EXPECT_EQ(box->Style(), csDropDownList);
  EXPECT_EQ(box->Text(), "English");
  // The items are the box's own: a description written from the form holds none.
  const std::string written = WriteComponentText(form);
  EXPECT_NE(written.find("Polyverb = Polyverb"), std::string::npos) << written;
  EXPECT_EQ(written.find("Items"), std::string::npos) << written;
}

TEST_F(LangComboBoxTest, ChoosingWithTheMouseTranslatesTheForm) {
  form->LangComboBox->SetDroppedDown(true);
  ProcessEvents();
  ClickListItem(form->LangComboBox, 1);
  ExpectGerman();
}

TEST_F(LangComboBoxTest, ChoosingWithTheKeyboardTranslatesTheForm) {
  form->LangComboBox->SetFocus();
  ProcessEvents();
  DropDownWithKey(form->LangComboBox);
  PressDown();
  PressEnter();
  ExpectGerman();
  // An arrow key on the closed list confirms too, as on the classic desktop.
  PressDown();
  EXPECT_EQ(form->Polyverb->Language(), "Deutsch");
  form->LangComboBox->SetFocus();
  TypeText("E");
  EXPECT_EQ(form->Polyverb->Language(), "English");
  EXPECT_EQ(form->LabelLang->Caption(), "Language:");
}

// A translation that cannot be set is shown as an error; the choice still counts.
TEST_F(LangComboBoxTest, AFailedTranslationIsShownAndTheLanguageChangesAnyway) {
  auto* broken = static_cast<TPolyverbTranslation*>(form->Polyverb->Translations()->Add());
  broken->Target = "NoSuchControl.Caption";
  form->LangComboBox->SetDroppedDown(true);
  ProcessEvents();
  ClickListItem(form->LangComboBox, 1);
  ExpectGerman();
  ASSERT_EQ(presenter->MessageBoxes.size(), 1u);
  EXPECT_NE(presenter->MessageBoxes[0].Text.find("NoSuchControl"), std::string::npos);
}

TEST_F(LangComboBoxTest, ALanguageSetByProgramShowsInTheBox) {
  form->Polyverb->SetLanguage("Deutsch");
  EXPECT_EQ(form->LangComboBox->ItemIndex(), 1);
  EXPECT_EQ(form->LangComboBox->Text(), "Deutsch");
  EXPECT_TRUE(presenter->MessageBoxes.empty());
}

TEST_F(LangComboBoxTest, AFreedLanguageComponentLeavesTheBoxWorking) {
  form->Polyverb->Free();
  EXPECT_EQ(form->LangComboBox->Polyverb(), nullptr);
  form->LangComboBox->SetDroppedDown(true);
  ProcessEvents();
  ClickListItem(form->LangComboBox, 1);
  EXPECT_EQ(form->LangComboBox->Text(), "Deutsch");
  EXPECT_EQ(form->LabelLang->Caption(), "Language:");
}

// The stored language is read with the component, before or after the box names it.
TEST(LangComboBoxReadingTest, ShowsTheLanguageReadWhicheverComesFirst) {
  RegisterPackageClasses();
  for (const bool polyverbFirst : {true, false}) {
    auto* form = BuildForm<TPackageForm>(PackageFormText(polyverbFirst, "Deutsch"));
    EXPECT_EQ(form->LangComboBox->Polyverb(), form->Polyverb);
    EXPECT_EQ(form->LangComboBox->Text(), "Deutsch") << polyverbFirst;
    EXPECT_EQ(form->ButtonPanel->Buttons()->GetItem(1)->Button()->Caption(),
              "Schlie\xC3\x9F"
              "en");
    form->Free();
  }
}

}  // namespace
