#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/StdCtrls.h"

TClass TCheckBox::StaticClass() {
  return DefineClass<TCheckBox>("TCheckBox", [](ClassBuilder<TCheckBox>& c) {
    c.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightOfText);
    c.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    PublishControlProperties(c, {"AccessibleName", "Caption"});
    c.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Stored(false);
    PublishControlProperties(c, {"Color", "Cursor", "Enabled", "Font", "ParentColor", "ParentFont",
                                 "ParentShowHint", "Hint", "ShowHint"});
    c.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    PublishControlProperties(c, {"TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit",
                                 "OnKeyDown", "OnKeyPress"});
  });
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetAlignment(TLeftRight Value) {
  alignment_ = Value;
  ShowAlignment();
}

void TCheckBox::SetAllowGrayed(bool Value) {
  allowGrayed_ = Value;
  ShowAllowGrayed();
}

void TCheckBox::SetState(TCheckBoxState Value) {
  if (state_ == Value) return;
  state_ = Value;
  ShowState();
  if (!clicksDisabled_ && !ComponentState().Contains(csLoading)) Click();
}

HWND TCheckBox::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateCheckBox(*this, ParentWidget);
}

void TCheckBox::WidgetCreated() {
  inherited::WidgetCreated();
  Widgets()->ShowCheckBoxCaption(*this);
  ShowAllowGrayed();
  ShowState();
  ShowAlignment();
}

void TCheckBox::ShowAlignment() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowCheckBoxAlignment(*this);
}

void TCheckBox::ShowAllowGrayed() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowCheckBoxAllowGrayed(*this);
}

void TCheckBox::ShowState() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowCheckBoxState(*this);
}

// The user's click: the state follows the box, and the click is reported as by program.
void TCheckBox::UserToggled(TCheckBoxState State) {
  if (ComponentState().Contains(csDestroying) || State == state_) return;
  state_ = State;
  Click();
}

void TCheckBox::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (TControlWidgets* widgets = Widgets()) widgets->ShowCheckBoxCaption(*this);
}
