// Controls with their Qt widgets: what the widgets show and what the user does to the windows.

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ExtCtrls.h"

using namespace toolkit_test;

namespace {

// Frees the form at the end of a test, whatever happened.
struct FormGuard {
  TForm* form;
  ~FormGuard() { form->Free(); }
};

// Lines added while the list is hidden are there when it is shown, as if added in view.
TEST(RichEditTest, LinesAddedWhileHiddenAreShown) {
  testsupport::TempDir dir;
  const auto picture = [&](bool hiddenFirst, const std::string& name) {
    auto* form = new TForm(Application);
    FormGuard guard{form};
    form->SetBounds(0, 0, 200, 120);
    auto* edit = new TRichEdit(form);
    edit->SetAlign(alClient);
    edit->SetParent(form);
    form->HandleNeeded();  // the widgets exist, hidden, as an unattended run's do
    if (!hiddenFirst) form->Show();
    edit->Lines()->Add("first");
    edit->Lines()->Add("second");
    if (hiddenFirst) form->Show();
    edit->Lines()->Add("third");
    ProcessWidgetEvents();
    const std::string path = dir / name;
    EXPECT_TRUE(SaveWindowPicture(edit, path));
    return testsupport::ReadFile(path);
  };
  const std::string inView = picture(false, "in-view.png");
  EXPECT_FALSE(inView.empty());
  EXPECT_TRUE(picture(true, "hidden-first.png") == inView) << "see " << dir.path();
}

TEST(ApplicationTest, ModalBoxesDisableTheShownFormsAndEnableThemAgain) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  ShowForm(form);
  class TProbe : public TPresenter {
   public:
    explicit TProbe(TForm* form) : form_(form) {}
    int MessageBox(const TMessageBoxRequest&) override {
      disabledMeanwhile = !WindowAcceptsInput(form_);
      return IDOK;
    }
    bool FileDialog(TFileDialogRequest&) override { return false; }
    bool BrowseForFolder(TBrowseDialog&) override { return false; }
    bool disabledMeanwhile = false;

   private:
    TForm* form_;
  };
  auto probe = std::make_unique<TProbe>(form);
  TProbe* seen = probe.get();
  auto previous = Application->SetPresenter(std::move(probe));
  EXPECT_EQ(Application->MessageBox("Text", "Caption"), IDOK);
  const auto restored = Application->SetPresenter(std::move(previous));
  EXPECT_TRUE(seen->disabledMeanwhile);
  EXPECT_TRUE(WindowAcceptsInput(form));
  // The form's own Enabled is not what a modal box changes.
  EXPECT_TRUE(form->Enabled());
}

// The screen shows every cursor as a control with that cursor shows it.
TEST(ScreenTest, CursorAndSize) {
  auto* form = BuildForm("object Form1: TForm\nend\n");
  FormGuard guard{form};
  form->HandleNeeded();
  for (const TCursor cursor : {crHourGlass, crSizeNS, crSizeWE, crSizeNWSE, crSizeNESW, crSizeAll,
                               crHSplit, crDrag, crHelp, crUpArrow, crNoDrop, crHandPoint}) {
    form->SetCursor(cursor);
    Screen->SetCursor(cursor);
    EXPECT_EQ(Screen->Cursor(), cursor);
    EXPECT_EQ(ScreenCursorShape(), CursorShapeOf(form)) << "cursor " << cursor;
  }
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(ScreenCursorShape(), -1);
  EXPECT_GT(Screen->Width(), 0);
  EXPECT_GT(Screen->Height(), 0);
}

// A screen reader operates the boxes with their accessible action, which clicks nothing: the
// control follows all the same, and says so once, as for a click.
TEST(AccessibilityTest, ActionsOfAssistiveTechnologyReachTheControls) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* check = new TCheckBox(form);
  check->SetParent(form);
  auto* first = new TRadioButton(form);
  first->SetParent(form);
  auto* second = new TRadioButton(form);
  second->SetParent(form);
  first->SetChecked(true);
  int clicks = 0;
  for (TControl* control : std::initializer_list<TControl*>{check, first, second})
    control->OnClick = [&clicks](TObject*) { ++clicks; };
  ShowForm(form);

  ASSERT_TRUE(DoAccessibleAction(check));
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(clicks, 1);
  ASSERT_TRUE(DoAccessibleAction(second));
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(first->Checked());
  EXPECT_EQ(clicks, 2);
  // A click on the button checked already is a click, once.
  Click(second);
  EXPECT_EQ(clicks, 3);
  Click(first);
  EXPECT_TRUE(first->Checked());
  EXPECT_EQ(clicks, 4);
}

// A control is read by its name where it has one, and by its hint as its description.
TEST(AccessibilityTest, NamesAndHintsAreWhatIsRead) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetCaption("...");
  button->SetHint("Opens the folder dialog");
  form->HandleNeeded();
  EXPECT_EQ(AccessibleNameOf(button), "...");
  EXPECT_EQ(AccessibleDescriptionOf(button), "Opens the folder dialog");
  button->SetAccessibleName("Browse");
  EXPECT_EQ(AccessibleNameOf(button), "Browse");
}

}  // namespace

// The user moves and resizes the window through the window manager: the form keeps its
// bounds in step and realigns its controls; maximized, it keeps the normal bounds.
TEST(FormWindowTest, TheFormFollowsWhatTheUserDoesToItsWindow) {
  auto* form = BuildForm(R"(object Form1: TForm
  Left = 100
  Top = 80
  ClientHeight = 200
  ClientWidth = 300
  object Panel: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    Align = alClient
  end
end
)");
  FormGuard guard{form};
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Panel"));
  ASSERT_NE(panel, nullptr);
  ShowForm(form);

  MoveWindow(form, 140, 90);
  EXPECT_EQ(form->Left(), 140);
  EXPECT_EQ(form->Top(), 90);
  ResizeClientArea(form, 400, 250);
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(form->ClientHeight(), 250);
  EXPECT_EQ(panel->Width(), 400);
  EXPECT_EQ(panel->Height(), 250);

  ChangeWindowState(form, wsMaximized);
  EXPECT_EQ(form->WindowState(), wsMaximized);
  ChangeWindowState(form, wsNormal);
  EXPECT_EQ(form->WindowState(), wsNormal);
  EXPECT_EQ(form->Left(), 140);
  EXPECT_EQ(form->ClientWidth(), 400);

  // The program's own changes still reach the window.
  form->SetBounds(20, 30, form->Width(), form->Height());
  ProcessEvents();
  EXPECT_EQ(form->Left(), 20);
  EXPECT_EQ(form->Top(), 30);
}
