// Controls without a form shown: alignment, parent fonts and colours, messages, tab
// order, sizes that follow fonts, the form description round trip and the application.

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/FormStreaming.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ExtCtrls.h"
#include "toolkit/visual/StdCtrls.h"

using namespace toolkit_test;

namespace {

// Frees the form at the end of a test, whatever happened.
struct FormGuard {
  TForm* form;
  ~FormGuard() { form->Free(); }
};

// Counts the messages a subclass sees, as the controls above the toolkit handle them.
class TCountingPanel : public TPanel {
  TOOLKIT_CLASS(TCountingPanel, TPanel)
  explicit TCountingPanel(TComponent* AOwner) : TPanel(AOwner) {}
  int EnabledChanged = 0;
  int FontChanged = 0;
  bool EnabledSeenInHandler = true;

 protected:
  void CMEnabledChanged(TMessage& Message) override {
    inherited::CMEnabledChanged(Message);
    ++EnabledChanged;
    EnabledSeenInHandler = Enabled();
  }
  void CMFontChanged(TMessage& Message) override {
    inherited::CMFontChanged(Message);
    ++FontChanged;
  }
};

TClass TCountingPanel::StaticClass() {
  return DefineClass<TCountingPanel>("TCountingPanel", [](ClassBuilder<TCountingPanel>&) {});
}

TEST(AlignTest, ControlsShareTheClientAreaInTheClassicOrder) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 300, 200);
  auto* bottom = new TPanel(form);
  bottom->SetParent(form);
  bottom->SetHeight(40);
  bottom->SetAlign(alBottom);
  auto* left = new TPanel(form);
  left->SetParent(form);
  left->SetWidth(50);
  left->SetAlign(alLeft);
  auto* top = new TPanel(form);
  top->SetParent(form);
  top->SetHeight(30);
  top->SetAlign(alTop);
  auto* client = new TPanel(form);
  client->SetParent(form);
  client->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 300, 30}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 160, 300, 200}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 50, 160}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 30, 300, 160}));
  // A hidden control gives its place away; resizing the parent rearranges.
  top->Hide();
  form->SetBounds(0, 0, 400, 300);
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 0, 400, 260}));
  // A combo box keeps the height its font gives it.
  auto* combo = new TComboBox(form);
  combo->SetParent(form);
  combo->SetAlign(alTop);
  EXPECT_EQ(combo->Height(), 21);
  EXPECT_EQ(client->Top(), 21);
}

TEST(FontTest, ChildrenFollowTheirParentsFontUntilTheyHaveTheirOwn) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* panel = new TCountingPanel(form);
  panel->SetParent(form);
  auto* label = new TLabel(form);
  label->SetParent(panel);
  form->Font()->SetSize(12);
  EXPECT_EQ(panel->Font()->Size(), 12);
  EXPECT_EQ(label->Font()->Size(), 12);
  EXPECT_TRUE(label->ParentFont());
  EXPECT_GE(panel->FontChanged, 1);
  label->Font()->SetStyle(TFontStyles{fsBold});
  EXPECT_FALSE(label->ParentFont());
  form->Font()->SetSize(8);
  EXPECT_EQ(label->Font()->Size(), 12);
  EXPECT_EQ(panel->Font()->Height(), -11);
}

TEST(ControlMessageTest, EnabledChangesReachTheHandlerOnce) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* panel = new TCountingPanel(form);
  panel->SetParent(form);
  panel->SetEnabled(false);
  panel->SetEnabled(false);
  EXPECT_EQ(panel->EnabledChanged, 1);
  EXPECT_FALSE(panel->EnabledSeenInHandler);
  EXPECT_EQ(panel->Perform(CM_ENABLEDCHANGED), 0);
  EXPECT_EQ(panel->EnabledChanged, 2);
}

TEST(TabOrderTest, SettingTabOrderMovesTheControl) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* a = new TButton(form);
  a->SetParent(form);
  auto* b = new TButton(form);
  b->SetParent(form);
  auto* c = new TButton(form);
  c->SetParent(form);
  EXPECT_EQ(c->TabOrder(), 2);
  c->SetTabOrder(0);
  // Only controls of a shown form can take the focus.
  form->Show();
  EXPECT_EQ(c->TabOrder(), 0);
  EXPECT_EQ(a->TabOrder(), 1);
  EXPECT_EQ(form->FindNextControl(c, true, true, false), a);
  EXPECT_EQ(form->FindNextControl(c, false, true, false), b);
  b->SetEnabled(false);
  EXPECT_EQ(form->FindNextControl(a, true, true, false), c);
  // A control freed on its own leaves its parent's tab order.
  b->Free();
  EXPECT_EQ(form->ControlCount(), 2);
  std::vector<TWinControl*> tabOrder;
  form->GetTabOrderList(tabOrder);
  EXPECT_EQ(tabOrder, (std::vector<TWinControl*>{c, a}));
  EXPECT_EQ(form->FindNextControl(a, true, true, false), c);
  EXPECT_EQ(form->FindNextControl(a, false, true, false), c);
}

TEST(ControlNameTest, AControlNamedInCodeShowsItsName) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* panel = new TPanel(form);
  panel->SetName("Panel1");
  EXPECT_EQ(panel->Caption(), "Panel1");
  panel->SetCaption("Other");
  panel->SetName("Panel2");
  EXPECT_EQ(panel->Caption(), "Other");
}

TEST(BitBtnTest, KindsBringCaptionAndResultAndTheCaptionIsStoredOnlyWhenOwn) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  form->SetName("Form1");
  auto* button = new TBitBtn(form);
  button->SetName("Btn");
  button->SetParent(form);
  button->SetKind(bkCancel);
  EXPECT_EQ(button->Caption(), "Cancel");
  EXPECT_EQ(button->ModalResult(), mrCancel);
  EXPECT_TRUE(button->Cancel());
  std::string text = WriteComponentText(form);
  EXPECT_EQ(text.find("Caption = 'Cancel'"), std::string::npos) << text;
  EXPECT_NE(text.find("Kind = bkCancel"), std::string::npos) << text;
  button->SetCaption("Close");
  text = WriteComponentText(form);
  EXPECT_NE(text.find("Caption = 'Close'"), std::string::npos) << text;
}

TEST(FormDescriptionTest, NestedObjectsBecomeChildControlsAndWriteBack) {
  Application->Initialize();
  const char* text = R"(object Form1: TForm
  Left = 0
  Top = 0
  Width = 300
  Height = 200
  Caption = 'Form1'
  Font.Height = -13
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold]
  object Group: TGroupBox
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Caption = 'Group'
    TabOrder = 1
    object Check: TCheckBox
      Left = 8
      Top = 20
      Width = 100
      Height = 17
      Caption = 'Check'
      State = cbChecked
      TabOrder = 0
    end
  end
  object Combo: TComboBox
    Left = 8
    Top = 120
    Width = 145
    Height = 21
    ItemHeight = 13
    TabOrder = 0
    Items.Strings = (
      'one'
      'two')
  end
end
)";
  auto* form = BuildForm(text);
  FormGuard guard{form};
  auto* group = dynamic_cast<TGroupBox*>(form->FindComponent("Group"));
  auto* check = dynamic_cast<TCheckBox*>(form->FindComponent("Check"));
  auto* combo = dynamic_cast<TComboBox*>(form->FindComponent("Combo"));
  ASSERT_NE(group, nullptr);
  ASSERT_NE(check, nullptr);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(check->Parent(), group);
  EXPECT_EQ(group->Parent(), form);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(combo->TabOrder(), 0);
  EXPECT_EQ(group->TabOrder(), 1);
  EXPECT_EQ(check->Font()->Style(), TFontStyles{fsBold});
  // The font's height makes the combo box taller than the description says.
  EXPECT_EQ(combo->Height(), 23);
  const std::string written = WriteComponentText(form);
  EXPECT_NE(written.find("  object Group: TGroupBox\n"), std::string::npos) << written;
  EXPECT_NE(written.find("    object Check: TCheckBox\n"), std::string::npos) << written;
  EXPECT_NE(written.find("'two'"), std::string::npos) << written;
}

TEST(RichEditTest, LinesAppendAndRebuild) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* edit = new TRichEdit(form);
  edit->SetParent(form);
  form->HandleNeeded();
  for (int i = 0; i < 1000; ++i)
    edit->Lines()->Add("line " + std::to_string(i));
  edit->Lines()->Add("");
  EXPECT_EQ(edit->Lines()->Count(), 1001);
  EXPECT_EQ(edit->Lines()->Strings(1000), "");
  edit->Lines()->Delete(0);
  EXPECT_EQ(edit->Lines()->Strings(0), "line 1");
  edit->SetText("a\r\nb\r\n");
  EXPECT_EQ(edit->Lines()->Count(), 2);
  EXPECT_EQ(edit->Text(), "a\r\nb\r\n");
}

TEST(ComboBoxTest, ItemsKeepTheEditTextAndTheSelectionFollowsItsLine) {
  auto* form = new TForm(Application);
  FormGuard guard{form};
  auto* combo = new TComboBox(form);
  combo->SetParent(form);
  form->HandleNeeded();
  combo->Items()->SetText("a\nb\nc");
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), "b");
  combo->SetText("typed");
  combo->Items()->Insert(0, "first");
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "typed");
  combo->Items()->Delete(2);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "typed");
  // Selecting what is selected already leaves the text being edited alone.
  combo->SetItemIndex(-1);
  EXPECT_EQ(combo->Text(), "typed");
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->Text(), "first");
  combo->SetText("typed");
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->Text(), "typed");
  combo->SetItemIndex(-1);
  EXPECT_EQ(combo->Text(), "");
  combo->SetText("typed");
  combo->SetSelStart(2);
  combo->SetSelLength(3);
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 3);
  combo->SetDropDownCount(4);
  EXPECT_EQ(combo->DropDownCount(), 4);
  // Programmatic closing reports the close at once.
  combo->SetDroppedDown(true);
  EXPECT_TRUE(combo->DroppedDown());
  combo->SetDroppedDown(false);
  EXPECT_FALSE(combo->DroppedDown());
}

TEST(ApplicationTest, ErrorsInOnCreateAreShownAndCreationGoesOn) {
  PresenterScope presenter;
  Application->SetTitle("Setup");
  auto* form = new TForm(Application);
  FormGuard guard{form};
  form->OnCreate = [](TObject*) { throw Exception("It failed"); };
  form->ReadForm("object Form1: TForm\nend\n");
  ASSERT_EQ(presenter->MessageBoxes.size(), 1u);
  EXPECT_EQ(presenter->MessageBoxes[0].Text, "It failed.");
  EXPECT_EQ(presenter->MessageBoxes[0].Caption, "Setup");
}

TEST(ApplicationTest, RunEndsAtOnceAfterTerminate) {
  TApplication app(nullptr);
  auto* form = new TForm(&app);
  app.SetMainForm(form);
  app.SetShowMainForm(false);
  app.Terminate();
  app.Run();
  EXPECT_FALSE(form->Visible());
  // The request ended with the loop: a second start in the same process runs again.
  EXPECT_FALSE(app.Terminated());
}

TEST(ConsolePresenterTest, PrintsAndAnswersWithTheFirstButton) {
  std::ostringstream out;
  TConsolePresenter console(out);
  EXPECT_EQ(console.MessageBox({"No files to install found.", "Setup", MB_OK | MB_ICONERROR}),
            IDOK);
  EXPECT_EQ(console.MessageBox({"Go on?", "", MB_YESNO}), IDYES);
  EXPECT_EQ(out.str(), "Setup: No files to install found.\nGo on?\n");
  TFileDialogRequest request;
  EXPECT_FALSE(console.FileDialog(request));
}

TEST(ColorTest, NamedColorsAndSystemColors) {
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(StringToColor("clWindow"), clWindow);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToString(MakeColor(0x00123456)), "$00123456");
  EXPECT_THROW(StringToColor("clNoSuchColor"), EConvertError);
}

}  // namespace
