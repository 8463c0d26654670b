#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/ExtCtrls.h"

TClass TCustomPanel::StaticClass() {
  return DefineClass<TCustomPanel>("TCustomPanel", [](ClassBuilder<TCustomPanel>&) {});
}

TClass TPanel::StaticClass() {
  return DefineClass<TPanel>("TPanel", [](ClassBuilder<TPanel>& c) {
    PublishControlProperties(c, {"Align"});
    c.Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
    c.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
    c.Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    c.Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    c.Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    PublishControlProperties(c, {"Caption", "Color", "Cursor", "Enabled", "Font", "ParentColor",
                                 "ParentFont", "ParentShowHint", "Hint", "ShowHint", "TabOrder",
                                 "TabStop", "Visible", "OnClick", "OnEnter", "OnExit"});
  });
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                csSetCaption,      csOpaque,       csDoubleClicks};
  SetColor(clBtnFace);
  SetParentColor(false);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  alignment_ = Value;
  Changed();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  bevelInner_ = Value;
  Changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  bevelOuter_ = Value;
  Changed();
}

void TCustomPanel::SetBevelWidth(int Value) {
  bevelWidth_ = std::max(1, Value);
  Changed();
}

void TCustomPanel::SetBorderWidth(int Value) {
  borderWidth_ = std::max(0, Value);
  Changed();
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& Rect) const {
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  Rect.Left += inset;
  Rect.Top += inset;
  Rect.Right -= inset;
  Rect.Bottom -= inset;
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  Invalidate();
}

HWND TCustomPanel::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreatePanel(*this, ParentWidget);
}
