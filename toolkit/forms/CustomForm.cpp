#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/FormStreaming.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/ControlProperties.h"

namespace {

// Whether Control sits on Form, shown and enabled all the way up to it: what may be the form's
// active control, whether the form itself is shown or not.
bool FocusableOn(const TCustomForm* Form, const TWinControl* Control) {
  if (Control == Form) return false;
  for (const TControl* c = Control; c != Form; c = c->Parent()) {
    if (c == nullptr || !c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

}  // namespace

TClass TCustomForm::StaticClass() {
  return DefineClass<TCustomForm>("TCustomForm", [](ClassBuilder<TCustomForm>&) {});
}

TClass TForm::StaticClass() {
  return DefineClass<TForm>("TForm", [](ClassBuilder<TForm>& c) {
    PublishControlProperties(c, {"Left", "Top", "Width", "Height"});
    c.Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
    c.Property("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    c.Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
    PublishControlProperties(c, {"Caption"});
    c.Property("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
    c.Property("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
    PublishControlProperties(
        c, {"Color", "Cursor", "Enabled", "Font", "ParentFont", "Hint", "ShowHint", "Visible"});
    c.Property("OldCreateOrder", &TForm::OldCreateOrder, &TForm::OldCreateOrder);
    c.Property("PixelsPerInch", &TForm::PixelsPerInch, &TForm::PixelsPerInch);
    c.Property("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned);
    c.Property("Scaled", &TForm::Scaled, &TForm::Scaled).Default(true);
    c.Property("TextHeight", &TForm::TextHeight, &TForm::TextHeight);
    c.Property("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
    PublishControlProperties(c, {"OnClick"});
    c.Property("OnClose", &TForm::OnClose);
    c.Property("OnCloseQuery", &TForm::OnCloseQuery);
    c.Property("OnCreate", &TForm::OnCreate);
    c.Property("OnDestroy", &TForm::OnDestroy);
    c.Property("OnHide", &TForm::OnHide);
    PublishControlProperties(c, {"OnKeyDown", "OnKeyPress"});
    c.Property("OnShow", &TForm::OnShow);
  });
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
  std::erase(Screen->forms_, this);
}

// The handler runs while every component of the form is still there.
void TCustomForm::BeforeDestruction() {
  Destroying();
  if (!destroyed_) {
    destroyed_ = true;
    DoDestroy();
  }
  inherited::BeforeDestruction();
}

void TCustomForm::ReadForm(std::string_view Description) {
  ReadComponentText(this, Description);
  DoCreate();
}

void TCustomForm::Loaded() {
  inherited::Loaded();
  if (activeControl_ != nullptr && !FocusableOn(this, activeControl_)) activeControl_ = nullptr;
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == activeControl_) activeControl_ = nullptr;
  if (AComponent == focusedControl_) focusedControl_ = nullptr;
}

// Errors of the handlers are shown, as the classic forms show them, and creation goes on.
void TCustomForm::DoCreate() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TCustomForm::DoDestroy() {
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (borderStyle_ == Value) return;
  const int clientWidth = ClientWidth();
  const int clientHeight = ClientHeight();
  borderStyle_ = Value;
  // The client area stays; the frame around it changes.
  SetClientSize(clientWidth, clientHeight);
  UpdateWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  borderIcons_ = Value;
  UpdateWindowFlags();
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (windowState_ == Value) return;
  windowState_ = Value;
  ShowWindowState();
}

// A description names its active control before that control has its place on the form; Loaded
// checks it then.
void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Control != nullptr && !ComponentState().Contains(csLoading) && !FocusableOn(this, Control)) {
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  }
  activeControl_ = Control;
  if (Control != nullptr && !ComponentState().Contains(csLoading) && Visible() &&
      Control->CanFocus()) {
    Control->SetFocus();
  }
}

// The classic desktop's frame: borders and caption bar around the client area.
TPoint TCustomForm::FrameSize() const {
  switch (borderStyle_) {
    case bsNone:
      return {0, 0};
    case bsSingle:
    case bsDialog:
      return {6, 25};
    case bsToolWindow:
      return {6, 21};
    case bsSizeToolWin:
      return {8, 23};
    case bsSizeable:
      return {8, 27};
  }
  return {0, 0};
}

int TCustomForm::ClientWidth() const {
  return std::max(0, Width() - FrameSize().X);
}

int TCustomForm::ClientHeight() const {
  return std::max(0, Height() - FrameSize().Y);
}

void TCustomForm::Show() {
  SetVisible(true);
  ActivateWindow();
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::WindowCloseRequested() {
  if (ComponentState().Contains(csDestroying)) return;
  try {
    Close();
  } catch (...) {
    Application->HandleException(this);
  }
}

void TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (Control == focusedControl_ || ComponentState().Contains(csDestroying)) return;
  TWinControl* old = focusedControl_;
  focusedControl_ = Control;
  if (Control != nullptr && Control != this) activeControl_ = Control;
  for (TWinControl* c = old; c != nullptr && c != this && !c->ContainsControl(Control);
       c = c->Parent()) {
    c->Perform(CM_EXIT);
  }
  std::vector<TWinControl*> entered;
  for (TWinControl* c = Control;
       c != nullptr && c != this && !(old != nullptr && c->ContainsControl(old)); c = c->Parent()) {
    entered.push_back(c);
  }
  for (auto it = entered.rbegin(); it != entered.rend(); ++it)
    (*it)->Perform(CM_ENTER);
}

void TCustomForm::DefocusControl(TWinControl* Control) {
  const bool destroying = ComponentState().Contains(csDestroying);
  TWinControl* fallback = Visible() && !destroying ? this : nullptr;
  // Whatever the exit handlers do (they may even put the focus back), nothing stays inside.
  const ScopeExit clear([this, Control, fallback] {
    if (Control->ContainsControl(focusedControl_)) focusedControl_ = fallback;
    if (Control->ContainsControl(activeControl_)) activeControl_ = nullptr;
  });
  // Qt's focus first, so that the widget has lost it when the controls hear CM_EXIT.
  MoveWidgetFocusOutOf(Control);
  if (Control->ContainsControl(focusedControl_)) SetFocusedControl(fallback);
}

void TCustomForm::CMVisibleChanged(TMessage&) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (Visible()) {
    HandleNeeded();
    if (position_ == poScreenCenter) {
      SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(),
                Height());
    }
    DoShow();
    SetWindowShown(true);
    if (activeControl_ != nullptr && activeControl_->CanFocus()) {
      activeControl_->SetFocus();
    } else if (TWinControl* first = FindNextControl(nullptr, true, true, false)) {
      first->SetFocus();
    }
  } else if (HandleAllocated()) {
    DoHide();
    SetWindowShown(false);
  }
}

void TCustomForm::Dispatch(TMessage& Message) {
  if (Message.Msg != CM_DIALOGKEY) {
    inherited::Dispatch(Message);
    return;
  }
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* control : list) {
    if (control->Perform(CM_DIALOGKEY, Message.WParam) != 0) {
      Message.Result = 1;
      return;
    }
  }
}

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* top = Control;
  while (top != nullptr && top->Parent() != nullptr)
    top = top->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  TComponent::GetChildren(Proc, Root);
}
