#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/StdCtrls.h"

TClass TCheckBox::StaticClass() {
  return DefineClass<TCheckBox>("TCheckBox", [](ClassBuilder<TCheckBox>& c) {
    c.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightOfText);
    c.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    PublishControlProperties(c, {"Caption"});
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
