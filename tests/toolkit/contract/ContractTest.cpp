// What every backend can count on, seen from a backend that records what it is asked: windows
// made parent first and freed children first, state shown only while a window exists, what only
// the window knew taken back before it goes, and calls posted to a window dropped with it. The
// backend implements only the members every backend must; the rest are the contract's defaults.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSet.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/StdCtrls.h"

struct HWND__ {
  TControl* Control;
};

namespace {

class TRecordingWidgetSet final : public TWidgetSet {
 public:
  std::vector<std::string> Calls;

  HWND CreatePlainWindow(TControl& Control, HWND Parent) override {
    Calls.push_back("create " + Control.Name() + " in " + NameOf(Parent));
    return new HWND__{&Control};
  }
  HWND CreateApplicationWindow(TApplication&) override { return new HWND__{nullptr}; }
  void DestroyWindow(HWND Window) override {
    Calls.push_back("destroy " + NameOf(Window));
    std::erase_if(posted_, [Window](const auto& call) { return call.first == Window; });
    delete Window;
  }
  TControl* FindControl(HWND Window) override { return Window->Control; }
  TPoint TextExtent(const TFont&, const std::string& Text) override {
    return {static_cast<int>(Text.size()), 1};
  }
  void PostToWindow(HWND Window, std::function<void()> Call) override {
    posted_.emplace_back(Window, std::move(Call));
  }
  void RunPostedCalls() override {
    while (!posted_.empty()) {
      auto call = std::move(posted_.front().second);
      posted_.erase(posted_.begin());
      call();
    }
  }
  bool Focused(const TWinControl&) override { return false; }
  void SetFocus(TWinControl&) override {}

  void ShowBounds(TControl& Control) override { Record("bounds", Control); }
  // A window reports the geometry the program sets, as a window system does while it applies it.
  void ShowFormBounds(TCustomForm& Form) override {
    Record("form bounds", Form);
    Form.WindowGeometryChanged(Form.Left() + 1, Form.Top() + 1, 1, 1);
  }
  bool DisableFormWindow(TCustomForm& Form) override {
    disabled_.push_back(&Form);
    return true;
  }
  void EnableFormWindow(TCustomForm& Form) override {
    EXPECT_NE(std::find(disabled_.begin(), disabled_.end(), &Form), disabled_.end());
    Record("enabled", Form);
  }
  void ShowComboBoxItems(TCustomComboBox& Box) override { Record("items", Box); }
  void ShowLabel(TLabel& Label) override {
    Record("label " + std::string(Label.FocusControl() != nullptr &&
                                          Label.FocusControl()->WindowHandle() != nullptr
                                      ? "linked"
                                      : "alone"),
           Label);
  }
  void ShowAccessibleName(TControl& Control) override {
    Record("name '" + Control.AccessibleName() + "'", Control);
  }
  void ShowScreenCursor(TCursor, TCursor Cursor) override {
    Calls.push_back("cursor " + std::to_string(Cursor));
  }
  void ShowCheckBoxState(TCheckBox& Box) override { Record("state", Box); }
  void ShowCheckBoxCaption(TCheckBox& Box) override { Record("caption", Box); }
  std::optional<std::string> ComboBoxText(const TCustomComboBox& Box) override {
    Record("text asked", Box);
    return WindowText;
  }

  std::string WindowText = "typed in the window";

 private:
  static std::string NameOf(HWND Window) {
    return Window == nullptr ? "nothing" : Window->Control->Name();
  }
  void Record(const std::string& What, const TControl& Control) {
    // Whatever the backend is asked about a control, the control has a window then.
    EXPECT_NE(Control.WindowHandle(), nullptr) << What << " " << Control.Name();
    Calls.push_back(What + " " + Control.Name());
  }

  std::vector<std::pair<HWND, std::function<void()>>> posted_;
  std::vector<TCustomForm*> disabled_;
};

TRecordingWidgetSet& Recorder() {
  static TRecordingWidgetSet widgets;
  return widgets;
}

bool Has(const std::vector<std::string>& Calls, const std::string& Call) {
  return std::find(Calls.begin(), Calls.end(), Call) != Calls.end();
}

std::size_t IndexOf(const std::vector<std::string>& Calls, const std::string& Call) {
  const auto found = std::find(Calls.begin(), Calls.end(), Call);
  EXPECT_NE(found, Calls.end()) << Call;
  return static_cast<std::size_t>(found - Calls.begin());
}

// A form with a group box holding a check box, and a combo box beside it.
struct Sample {
  TForm* Form = new TForm(Application);
  TGroupBox* Group = new TGroupBox(Form);
  TCheckBox* Check = new TCheckBox(Form);
  TComboBox* Combo = new TComboBox(Form);
  explicit Sample(const std::string& Name = "Form") {
    Form->SetName(Name);
    Group->SetName("Group");
    Check->SetName("Check");
    Combo->SetName("Combo");
    Group->SetParent(Form);
    Check->SetParent(Group);
    Combo->SetParent(Form);
  }
};

class ContractTest : public testing::Test {
 protected:
  void SetUp() override { Recorder().Calls.clear(); }
  std::vector<std::string>& Calls() { return Recorder().Calls; }
};

TEST_F(ContractTest, WindowsAreMadeParentFirstAndFreedChildrenFirst) {
  Sample sample;
  // Nothing is asked of a control before it has a window.
  sample.Check->SetState(cbChecked);
  sample.Check->SetBounds(1, 2, 3, 4);
  EXPECT_TRUE(Calls().empty());

  sample.Form->HandleNeeded();
  EXPECT_TRUE(Has(Calls(), "create Form in nothing"));
  EXPECT_LT(IndexOf(Calls(), "create Group in Form"), IndexOf(Calls(), "create Check in Group"));
  // A new window shows its bounds first, then the control's own state.
  EXPECT_LT(IndexOf(Calls(), "create Check in Group"), IndexOf(Calls(), "bounds Check"));
  EXPECT_LT(IndexOf(Calls(), "bounds Check"), IndexOf(Calls(), "state Check"));
  EXPECT_TRUE(Has(Calls(), "caption Check"));

  Calls().clear();
  sample.Check->SetState(cbUnchecked);
  EXPECT_EQ(Calls(), std::vector<std::string>{"state Check"});

  Calls().clear();
  sample.Form->Free();
  EXPECT_LT(IndexOf(Calls(), "destroy Check"), IndexOf(Calls(), "destroy Group"));
  EXPECT_LT(IndexOf(Calls(), "destroy Group"), IndexOf(Calls(), "destroy Form"));
  EXPECT_LT(IndexOf(Calls(), "destroy Combo"), IndexOf(Calls(), "destroy Form"));
}

// A child put into a parent that has a window gets one at once; taken out, it loses it.
TEST_F(ContractTest, AChildFollowsItsParentsWindow) {
  Sample sample;
  const ScopeExit free([&] { sample.Form->Free(); });
  auto* late = new TCheckBox(sample.Form);
  late->SetName("Late");
  sample.Form->HandleNeeded();
  EXPECT_FALSE(Has(Calls(), "create Late in Form"));
  late->SetParent(sample.Form);
  EXPECT_TRUE(Has(Calls(), "create Late in Form"));
  late->SetParent(nullptr);
  EXPECT_TRUE(Has(Calls(), "destroy Late"));
  EXPECT_EQ(late->WindowHandle(), nullptr);
}

// The window's text is the control's own once the window goes: it is asked for before.
TEST_F(ContractTest, WhatOnlyTheWindowKnewIsTakenBackBeforeItGoes) {
  Sample sample;
  const ScopeExit free([&] { sample.Form->Free(); });
  sample.Combo->SetText("set by the program");
  sample.Form->HandleNeeded();
  EXPECT_EQ(sample.Combo->Text(), "typed in the window");
  Calls().clear();
  sample.Combo->SetParent(nullptr);
  EXPECT_LT(IndexOf(Calls(), "text asked Combo"), IndexOf(Calls(), "destroy Combo"));
  EXPECT_EQ(sample.Combo->Text(), "typed in the window");
  Recorder().WindowText = "changed later";
  EXPECT_EQ(sample.Combo->Text(), "typed in the window") << "no window is asked without one";
  Recorder().WindowText = "typed in the window";
}

// A form closed to be freed goes once the event loop is back, and only once however often it
// was closed; a call posted to a window that went first is dropped.
TEST_F(ContractTest, ReleasedFormsGoFromTheEventLoop) {
  Sample first("First");
  Sample second("Second");
  first.Form->HandleNeeded();
  second.Form->HandleNeeded();
  const auto freeOnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
  first.Form->OnClose = freeOnClose;
  second.Form->OnClose = freeOnClose;
  bool firstGone = false;
  first.Form->OnDestroy = [&firstGone](TObject*) { firstGone = true; };
  first.Form->Close();
  first.Form->Close();
  second.Form->Close();
  second.Form->Free();  // gone before the loop: its posted call must not run
  EXPECT_FALSE(firstGone);
  ProcessWidgetEvents();
  EXPECT_TRUE(firstGone);
  EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "destroy First"), 1);
}

// The form takes over what the user does to its window, and tells the window what the program
// does; neither takes the other's report for a change of its own.
TEST_F(ContractTest, AFormAndItsWindowDoNotEchoEachOther) {
  Sample sample;
  const ScopeExit free([&] { sample.Form->Free(); });
  sample.Form->SetBorderStyle(bsNone);
  sample.Form->HandleNeeded();
  sample.Form->SetBounds(10, 20, 300, 200);
  EXPECT_EQ(sample.Form->BoundsRect(), (TRect{10, 20, 310, 220}));
  Calls().clear();
  sample.Form->WindowGeometryChanged(40, 50, 320, 240);
  EXPECT_EQ(sample.Form->BoundsRect(), (TRect{40, 50, 360, 290}));
  EXPECT_FALSE(Has(Calls(), "form bounds Form")) << "the window has these bounds already";
}

// A combo box's list is shown once a batch of changes is over, not item by item.
TEST_F(ContractTest, ABatchOfItemsIsShownOnce) {
  Sample sample;
  const ScopeExit free([&] { sample.Form->Free(); });
  sample.Form->HandleNeeded();
  Calls().clear();
  sample.Combo->Items()->BeginUpdate();
  for (const char* item : {"a", "b", "c"})
    sample.Combo->Items()->Add(item);
  sample.Combo->Items()->EndUpdate();
  EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "items Combo"), 1);
}

// The windows disabled around a modal box are enabled again, except a form freed meanwhile.
TEST_F(ContractTest, AFormFreedDuringAModalBoxIsNotEnabledAgain) {
  Sample kept("Kept");
  Sample freed("Freed");
  const ScopeExit free([&] { kept.Form->Free(); });
  kept.Form->HandleNeeded();
  freed.Form->HandleNeeded();
  Application->Modal([&] { freed.Form->Free(); });
  EXPECT_TRUE(Has(Calls(), "enabled Kept"));
  EXPECT_FALSE(Has(Calls(), "enabled Freed"));
}

// The controls report only changes: a window that says what the control holds already, or a
// program that sets what is set, changes nothing and clicks nothing.
TEST_F(ContractTest, OnlyChangesAreReported) {
  Sample sample;
  const ScopeExit free([&] { sample.Form->Free(); });
  sample.Form->HandleNeeded();
  int clicks = 0;
  sample.Check->OnClick = [&clicks](TObject*) { ++clicks; };
  sample.Check->UserToggled(cbUnchecked);
  EXPECT_EQ(clicks, 0);
  sample.Check->UserToggled(cbChecked);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(sample.Check->Checked());
  Calls().clear();
  Screen->SetCursor(crHourGlass);
  Screen->SetCursor(crHourGlass);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"cursor " + std::to_string(crHourGlass),
                                               "cursor " + std::to_string(crDefault)}));
}

// A label made before the control it names links to it once that control's window is made;
// a name is shown when the window is made and whenever it changes, never without a window.
TEST_F(ContractTest, LabelsLinkAndNamesFollow) {
  Sample sample;
  const ScopeExit free([&] { sample.Form->Free(); });
  auto* label = new TLabel(sample.Form);
  label->SetName("Label");
  label->SetParent(sample.Form);
  sample.Combo->SetParent(nullptr);
  sample.Combo->SetParent(sample.Form);  // after the label in the form's list
  label->SetFocusControl(sample.Combo);
  sample.Combo->SetAccessibleName("Folder");
  EXPECT_TRUE(Calls().empty());
  sample.Form->HandleNeeded();
  EXPECT_LT(IndexOf(Calls(), "create Label in Form"), IndexOf(Calls(), "create Combo in Form"));
  EXPECT_LT(IndexOf(Calls(), "create Combo in Form"), IndexOf(Calls(), "label linked Label"));
  EXPECT_TRUE(Has(Calls(), "name 'Folder' Combo"));
  EXPECT_FALSE(Has(Calls(), "name '' Check"))
      << "a control without a name of its own is left alone";
  Calls().clear();
  sample.Combo->SetAccessibleName("Ordner");
  EXPECT_EQ(Calls(), std::vector<std::string>{"name 'Ordner' Combo"});
}

// A form without a window goes at once.
TEST_F(ContractTest, AFormWithoutAWindowIsFreedAtOnce) {
  auto* form = new TForm(Application);
  bool gone = false;
  form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
  form->OnDestroy = [&gone](TObject*) { gone = true; };
  form->Close();
  EXPECT_TRUE(gone);
}

}  // namespace

TWidgetSet& WidgetSet() {
  return Recorder();
}
