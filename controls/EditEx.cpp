#include "controls/EditEx.h"

#include "package/UnitVersion.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("EditEx.cpp 11 (23.02.00)");

}  // namespace

TClass TComboBoxEx::StaticClass() {
  return DefineClass<TComboBoxEx>("TComboBoxEx", [](ClassBuilder<TComboBoxEx>& c) {
    c.Property("AutoColor", &TComboBoxEx::AutoColor, &TComboBoxEx::SetAutoColor).Default(true);
    c.Property("OnCloseUp", &TComboBoxEx::OnCloseUp);
    c.Property("OnSelectionOK", &TComboBoxEx::OnSelectionOK);
    PublishControlProperties(c, {"Align"});
    // Always written: the selected entry is part of what a form description restores.
    c.Property("ItemIndex", &TComboBoxEx::ItemIndex, &TComboBoxEx::SetItemIndex);
  });
}

TComboBoxEx::TComboBoxEx(TComponent* AOwner) : TComboBox(AOwner), enabledColor_(Color()) {
  // A box dropped onto a form starts empty rather than showing its own name.
  controlStyle_ -= TControlStyle{csSetCaption};
}

void TComboBoxEx::SetAutoColor(bool Value) {
  if (autoColor_ == Value) return;
  autoColor_ = Value;
  if (Value && !ComponentState().Contains(csLoading)) UpdateAutoColor();
}

void TComboBoxEx::UpdateAutoColor() {
  if (Enabled()) {
    if (Color() == disabledColor_) SetColor(enabledColor_);
  } else {
    if (Color() == enabledColor_) SetColor(disabledColor_);
  }
}

// Enabled changes while the box is read do not recolour it; the colour is settled here once.
void TComboBoxEx::Loaded() {
  inherited::Loaded();
  if (autoColor_) UpdateAutoColor();
}

void TComboBoxEx::CMEnabledChanged(TMessage& Message) {
  inherited::CMEnabledChanged(Message);
  if (autoColor_ && !ComponentState().Contains(csLoading)) UpdateAutoColor();
}

void TComboBoxEx::CNCommand(TMessage& Message) {
  inherited::CNCommand(Message);
  switch (HiWord(Message.WParam)) {
    case CBN_CLOSEUP:
      CloseUp();
      break;
    case CBN_SELENDOK:
      SelectionOK();
      break;
    default:
      break;
  }
}

void TComboBoxEx::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TComboBoxEx::SelectionOK() {
  if (OnSelectionOK) OnSelectionOK(this);
}
