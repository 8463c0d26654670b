#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/StdCtrls.h"

TClass TButtonControl::StaticClass() {
  return DefineClass<TButtonControl>("TButtonControl", [](ClassBuilder<TButtonControl>&) {});
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
}

TClass TButton::StaticClass() {
  return DefineClass<TButton>("TButton", [](ClassBuilder<TButton>& c) {
    c.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    PublishControlProperties(c, {"Caption", "Cursor"});
    c.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    PublishControlProperties(c, {"Enabled", "Font"});
    c.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
    PublishControlProperties(
        c, {"ParentFont", "ParentShowHint", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick",
            "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress"});
  });
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool Value) {
  default_ = Value;
  ShowDefault();
}

// Enter clicks the default button, Escape the cancel button, when no control wanted the key.
void TButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGKEY) {
    const bool wanted =
        (Message.WParam == VK_RETURN && default_) || (Message.WParam == VK_ESCAPE && cancel_);
    if (wanted && CanFocus()) {
      Click();
      Message.Result = 1;
    }
    return;
  }
  inherited::Dispatch(Message);
}

HWND TButton::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateButton(*this, ParentWidget);
}

void TButton::WidgetCreated() {
  inherited::WidgetCreated();
  Widgets()->ShowButtonCaption(*this);
  ShowDefault();
}

void TButton::ShowDefault() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowButtonDefault(*this);
}

void TButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (TControlWidgets* widgets = Widgets()) widgets->ShowButtonCaption(*this);
}
