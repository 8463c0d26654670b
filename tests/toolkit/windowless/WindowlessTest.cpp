// The toolkit without widgets, as the setup program's runs without a window use it: controls
// that get windows and keep their own state, forms released and freed without an event loop,
// and a loud refusal of whatever would wait for a user.

#include <gtest/gtest.h>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/StdCtrls.h"

namespace {

TEST(WindowlessTest, ControlsGetWindowsAndKeepTheirOwnState) {
  auto* form = new TForm(Application);
  const ScopeExit freeForm([form] { form->Free(); });
  auto* box = new TComboBox(form);
  box->SetParent(form);
  auto* check = new TCheckBox(form);
  check->SetParent(form);

  form->Show();
  ASSERT_NE(box->WindowHandle(), nullptr) << "made with the form's, as with widgets";
  EXPECT_EQ(FindControl(box->WindowHandle()), box);
  EXPECT_EQ(FindControl(check->WindowHandle()), check);
  // Shown, the form focuses its first control, and the control knows it.
  EXPECT_EQ(form->FocusedControl(), box);
  EXPECT_TRUE(box->Focused());
  check->SetFocus();
  EXPECT_TRUE(check->Focused());
  EXPECT_FALSE(box->Focused());

  box->SetText("C:\\Zav Polyverb");
  box->SetSelStart(3);
  box->SetSelLength(3);
  EXPECT_EQ(box->Text(), "C:\\Zav Polyverb");
  EXPECT_EQ(box->SelStart(), 3);
  EXPECT_EQ(box->SelLength(), 3);
  box->SelectAll();
  EXPECT_EQ(box->SelLength(), 15);
  box->SetSelStart(2);
  EXPECT_EQ(box->SelLength(), 0) << "a new start clears the length, as with a widget";
  // The list opens and closes when the program asks, and says so as it would with a widget.
  int dropped = 0;
  box->OnDropDown = [&dropped](TObject*) { ++dropped; };
  box->SetDroppedDown(true);
  EXPECT_TRUE(box->DroppedDown());
  EXPECT_EQ(dropped, 1);
  box->SetDroppedDown(false);
  EXPECT_FALSE(box->DroppedDown());
  check->SetChecked(true);
  EXPECT_TRUE(check->Checked());
  EXPECT_GT(check->TextExtent("Zav").X, 0);
  EXPECT_EQ(check->TextExtent("Z\xC3\xA4v").X, check->TextExtent("Zav").X) << "by characters";
}

// Without widgets nothing but the form moves the focus: an exit handler that puts it back into
// a control leaving the form does not keep it there.
TEST(WindowlessTest, AnExitHandlerCannotKeepTheFocusInAControlThatLeaves) {
  auto* form = new TForm(Application);
  const ScopeExit freeForm([form] { form->Free(); });
  auto* group = new TGroupBox(form);
  group->SetParent(form);
  auto* button = new TButton(group);
  button->SetParent(group);
  form->Show();
  button->SetFocus();
  button->OnExit = [button](TObject*) { button->SetFocus(); };
  group->SetParent(nullptr);
  EXPECT_EQ(form->FocusedControl(), form);
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

// A form whose closing frees it, as its OnClose asks.
TForm* FreedOnClose() {
  auto* form = new TForm(Application);
  form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
  return form;
}

TEST(WindowlessTest, AReleasedFormGoesAtTheNextPassUnlessItWentBefore) {
  const int before = Screen->FormCount();
  TForm* released = FreedOnClose();
  TForm* freedFirst = FreedOnClose();
  released->HandleNeeded();
  freedFirst->HandleNeeded();

  released->Close();
  freedFirst->Close();
  EXPECT_EQ(Screen->FormCount(), before + 2) << "the handler that released it may still use it";
  // Freed by its own code meanwhile: the pass must not free it again.
  freedFirst->Free();
  ProcessWidgetEvents();
  EXPECT_EQ(Screen->FormCount(), before);

  // A form without a window yet goes at once.
  FreedOnClose()->Close();
  EXPECT_EQ(Screen->FormCount(), before);
}

TEST(WindowlessTest, NothingWaitsForAUser) {
  EXPECT_FALSE(WidgetSystemRunning());
  EXPECT_THROW(WaitForWidgetEvent(), EInvalidOperation);
  // A message box is told on standard error and answered at once.
  testing::internal::CaptureStderr();
  EXPECT_EQ(Application->MessageBox("Installation completed.", "Setup", MB_OKCANCEL), IDOK);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Installation completed."),
            std::string::npos);
}

}  // namespace
