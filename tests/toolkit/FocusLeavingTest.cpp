// The focused control, or a container around it, goes away: freed, taken off the form, hidden or
// disabled. The focus falls back to the form, which names nothing of it any more, and what comes
// next (Tab, showing the form again, a modal box disabling the windows) works from there. The
// focused control is owned by its container, as the parts of a compound control are, so the form
// hears of it only as a control leaving; in the sanitizer build a pointer left behind to it fails
// these tests.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "tests/toolkit/DrivenForm.h"
#include "toolkit/model/FormStreaming.h"

using namespace toolkit_test;

namespace {

using Lines = std::vector<std::string>;

struct Leaving {
  std::string name;
  std::function<void(TDrivenForm* form, TButton* part)> apply;
};

struct Afterwards {
  std::string name;
  // Does the next thing and checks where the focus is then.
  std::function<void(TDrivenForm* form)> check;
};

void PrintTo(const Leaving& leaving, std::ostream* os) {
  *os << leaving.name;
}

void PrintTo(const Afterwards& afterwards, std::ostream* os) {
  *os << afterwards.name;
}

// The focus is in a part of GroupFolder, inside PanelMain.
const Leaving kLeavings[] = {
    {"FreeingIt", [](TDrivenForm*, TButton* part) { part->Free(); }},
    {"FreeingThePanelTwoLevelsUp", [](TDrivenForm* form, TButton*) { form->PanelMain->Free(); }},
    {"TakingItsGroupOffTheForm",
     [](TDrivenForm* form, TButton*) { form->GroupFolder->SetParent(nullptr); }},
    {"HidingIt", [](TDrivenForm*, TButton* part) { part->Hide(); }},
    {"HidingItsGroup", [](TDrivenForm* form, TButton*) { form->GroupFolder->Hide(); }},
    {"DisablingIt", [](TDrivenForm*, TButton* part) { part->SetEnabled(false); }},
    {"DisablingThePanelTwoLevelsUp",
     [](TDrivenForm* form, TButton*) { form->PanelMain->SetEnabled(false); }},
};

void ExpectFocusOnTheFirstControl(TDrivenForm* form) {
  EXPECT_EQ(FocusedControl(), form->BtnOK);
  EXPECT_EQ(form->FocusedControl(), form->BtnOK);
  EXPECT_EQ(form->ActiveControl(), form->BtnOK);
}

const Afterwards kAfterwards[] = {
    {"ThenTab",
     [](TDrivenForm* form) {
       PressTab();
       ExpectFocusOnTheFirstControl(form);
     }},
    {"ThenShowingTheFormAgain",
     [](TDrivenForm* form) {
       form->Hide();
       ShowForm(form);
       ExpectFocusOnTheFirstControl(form);
     }},
    // The windows are disabled around the box and enabled again afterwards.
    {"ThenAMessageBox",
     [](TDrivenForm* form) {
       Application->MessageBox("Next step", "");
       ProcessEvents();
       EXPECT_TRUE(WindowAcceptsInput(form));
       EXPECT_EQ(FocusedControl(), form);
       EXPECT_EQ(form->FocusedControl(), form);
     }},
};

class FocusLeavingTest : public testing::TestWithParam<std::tuple<Leaving, Afterwards>> {
 protected:
  void SetUp() override {
    Application->Initialize();
    form = new TDrivenForm(Application);
    ShowForm(form);
    part = new TButton(form->GroupFolder);
    part->SetName("FolderPart");
    part->SetBounds(300, 20, 75, 25);
    part->SetParent(form->GroupFolder);
    part->OnExit = TNotifyEvent(form, &TDrivenForm::ControlExit);
    part->SetFocus();
    ProcessEvents();
    form->Events.clear();
  }
  void TearDown() override {
    form->Free();
    ProcessEvents();
  }

  PresenterScope presenter;
  TDrivenForm* form = nullptr;
  TButton* part = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Cases, FocusLeavingTest,
                         testing::Combine(testing::ValuesIn(kLeavings),
                                          testing::ValuesIn(kAfterwards)),
                         [](const auto& param) {
                           return std::get<0>(param.param).name + std::get<1>(param.param).name;
                         });

TEST_P(FocusLeavingTest, TheFocusFallsBackToTheForm) {
  const auto& [leaving, afterwards] = GetParam();
  ASSERT_EQ(form->FocusedControl(), part);
  ASSERT_EQ(form->ActiveControl(), part);
  leaving.apply(form, part);
  ProcessEvents();
  EXPECT_EQ(form->FocusedControl(), form);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(FocusedControl(), form);
  EXPECT_EQ(Screen->ActiveControl(), form);
  EXPECT_EQ(form->Events, Lines{"Exit FolderPart"});
  afterwards.check(form);
}

// A control that may not have the focus cannot be made the active one either.
TEST(ActiveControlTest, OnlyAShownEnabledControlOfTheFormCanBeActive) {
  Application->Initialize();
  auto* form = new TDrivenForm(Application);
  const ScopeExit freeForm([form] { form->Free(); });
  auto* other = new TForm(Application);
  const ScopeExit freeOther([other] { other->Free(); });
  auto* otherButton = new TButton(other);
  otherButton->SetParent(other);
  form->GroupFolder->Hide();
  form->ComboLang->SetEnabled(false);
  for (TWinControl* refused :
       {static_cast<TWinControl*>(form->BtnFolder), static_cast<TWinControl*>(form->ComboLang),
        static_cast<TWinControl*>(otherButton), static_cast<TWinControl*>(form)}) {
    EXPECT_THROW(form->SetActiveControl(refused), EInvalidOperation) << refused->Name();
  }
  EXPECT_EQ(form->ActiveControl(), nullptr);
  form->SetActiveControl(form->BtnClose);
  EXPECT_EQ(form->ActiveControl(), form->BtnClose);
  // Nor can a form description make it active.
  for (const char* off : {"Visible = False", "Enabled = False"}) {
    auto* described = new TForm(Application);
    const ScopeExit freeDescribed([described] { described->Free(); });
    ReadComponentText(described, std::string("object Described: TForm\n  ActiveControl = Off\n"
                                             "  object Off: TButton\n    ") +
                                     off + "\n  end\nend\n");
    EXPECT_EQ(described->ActiveControl(), nullptr) << off;
  }
}

}  // namespace
