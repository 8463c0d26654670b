#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/StdCtrls.h"

namespace {

// The caption as shown: "&&" is an ampersand, a single "&" marks the accelerator.
std::string DisplayText(const std::string& caption, bool accel) {
  if (!accel) return caption;
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

}  // namespace

TClass TLabel::StaticClass() {
  return DefineClass<TLabel>("TLabel", [](ClassBuilder<TLabel>& c) {
    PublishControlProperties(c, {"Align"});
    c.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    c.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
    PublishControlProperties(c, {"Caption", "Color", "Enabled"});
    c.Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
    PublishControlProperties(c, {"Font"});
    c.Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
    PublishControlProperties(c, {"ParentColor", "ParentFont", "ParentShowHint", "ShowHint"});
    c.Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
    c.Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
    PublishControlProperties(c, {"Visible"});
    c.Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
    PublishControlProperties(c, {"OnClick"});
  });
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment Value) {
  alignment_ = Value;
  UpdateLabel();
}

void TLabel::SetAutoSize(bool Value) {
  autoSize_ = Value;
  AdjustBounds();
}

void TLabel::SetFocusControl(TWinControl* Value) {
  focusControl_ = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  UpdateLabel();
}

void TLabel::SiblingWindowCreated(TWinControl* Sibling) {
  if (Sibling == focusControl_) UpdateLabel();
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TLabel::SetLayout(TTextLayout Value) {
  layout_ = Value;
  UpdateLabel();
}

void TLabel::SetShowAccelChar(bool Value) {
  showAccelChar_ = Value;
  UpdateLabel();
  AdjustBounds();
}

void TLabel::SetTransparent(bool Value) {
  transparent_ = Value;
  UpdateLabel();
}

void TLabel::SetWordWrap(bool Value) {
  wordWrap_ = Value;
  UpdateLabel();
  AdjustBounds();
}

void TLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TLabel::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  UpdateLabel();
  AdjustBounds();
}

void TLabel::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  AdjustBounds();
}

std::string TLabel::ShownCaption() const {
  return DisplayText(Caption(), showAccelChar_);
}

// A label that sizes itself keeps its left edge (its right edge when right-aligned).
void TLabel::AdjustBounds() {
  if (!autoSize_ || wordWrap_ || ComponentState().Contains(csLoading)) return;
  const TPoint extent = TextExtent(ShownCaption());
  const int left = alignment_ == taRightJustify ? Left() + Width() - extent.X : Left();
  SetBounds(left, Top(), extent.X, extent.Y);
}

HWND TLabel::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateLabel(*this, ParentWidget);
}

void TLabel::WidgetCreated() {
  inherited::WidgetCreated();
  UpdateLabel();
}

void TLabel::UpdateLabel() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowLabel(*this);
}
