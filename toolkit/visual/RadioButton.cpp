#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/StdCtrls.h"

TClass TRadioButton::StaticClass() {
  return DefineClass<TRadioButton>("TRadioButton", [](ClassBuilder<TRadioButton>& c) {
    c.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
        .Default(taRightOfText);
    PublishControlProperties(c, {"Caption"});
    c.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    PublishControlProperties(
        c, {"Color", "Cursor", "Enabled", "Font", "ParentColor", "ParentFont", "ParentShowHint",
            "Hint", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit",
            "OnKeyDown", "OnKeyPress"});
  });
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetTabStop(false);
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  SetTabStop(Value);
  UpdateWidgetCheck();
  if (!Value) return;
  TurnSiblingsOff();
  if (!clicksDisabled_ && !ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::TurnSiblingsOff() {
  if (Parent() == nullptr) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
    if (sibling != nullptr && sibling != this && sibling->checked_) {
      sibling->checked_ = false;
      sibling->SetTabStop(false);
      sibling->UpdateWidgetCheck();
    }
  }
}

HWND TRadioButton::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateRadioButton(*this, ParentWidget);
}

void TRadioButton::WidgetCreated() {
  inherited::WidgetCreated();
  Widgets()->ShowRadioButtonCaption(*this);
  UpdateWidgetCheck();
}

void TRadioButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (TControlWidgets* widgets = Widgets()) widgets->ShowRadioButtonCaption(*this);
}

void TRadioButton::UpdateWidgetCheck() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowRadioButtonChecked(*this);
}

// The user's click checks the button and unchecks its siblings, and is reported as a click
// also on the button already checked.
void TRadioButton::UserChecked() {
  if (ComponentState().Contains(csDestroying)) return;
  if (!checked_) {
    checked_ = true;
    SetTabStop(true);
    TurnSiblingsOff();
  }
  Click();
}
