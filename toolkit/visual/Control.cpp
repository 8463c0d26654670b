#include <algorithm>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/Controls.h"

TClass TControl::StaticClass() {
  return DefineClass<TControl>("TControl", [](ClassBuilder<TControl>& c) {
    PublishControlProperties(c, {"Left", "Top", "Width", "Height", "Cursor", "Hint"});
  });
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(new TFont) {
  font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
  if (widget_ != nullptr) DestroyView();
  if (parent_ != nullptr) parent_->RemoveControl(this);
  delete font_;
}

// The control leaves its parent and its widget goes while the control is still whole: its form
// moves the focus out of it, and nothing Qt reports on the way reaches a half-destroyed control.
void TControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (widget_ != nullptr) DestroyView();
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (AParent != nullptr) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* parent = dynamic_cast<TWinControl*>(Value)) SetParent(parent);
}

bool TControl::ParentCaptionChangeAllowed() const {
  if (!controlStyle_.Contains(csSetCaption) || ComponentState().Contains(csLoading)) return false;
  const auto* ownerControl = dynamic_cast<const TControl*>(Owner());
  return ownerControl == nullptr || !ownerControl->ComponentState().Contains(csLoading);
}

// A control named in code shows its name until it gets a caption of its own.
void TControl::SetName(const std::string& NewName) {
  const bool changeText = ParentCaptionChangeAllowed() && Name() == GetText();
  inherited::SetName(NewName);
  if (changeText) SetText(NewName);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  const bool resized = AWidth != width_ || AHeight != height_;
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  UpdateWidgetBounds();
  RequestAlign();
  if (resized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::SetClientSize(int AWidth, int AHeight) {
  SetBounds(left_, top_, width_ + AWidth - ClientWidth(), height_ + AHeight - ClientHeight());
}

void TControl::SetAlign(TAlign Value) {
  if (align_ == Value) return;
  align_ = Value;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_ != nullptr) parent_->AlignControl(this);
}

void TControl::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
  RequestAlign();
}

bool TControl::Showing() const {
  return visible_ && parent_ != nullptr && parent_->Showing();
}

void TControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  SetTextValue(Value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetTextValue(const std::string& Value) {
  text_ = Value;
}

void TControl::SetHint(const std::string& Value) {
  hint_ = Value;
  UpdateWidgetHint();
}

void TControl::SetAccessibleName(const std::string& Value) {
  accessibleName_ = Value;
  if (TControlWidgets* widgets = Widgets()) widgets->ShowAccessibleName(*this);
}

void TControl::SetShowHint(bool Value) {
  parentShowHint_ = false;
  if (showHint_ == Value) return;
  showHint_ = Value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
  if (parentShowHint_ == Value) return;
  parentShowHint_ = Value;
  if (Value && parent_ != nullptr) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetColor(TColor Value) {
  if (color_ == Value) return;
  color_ = Value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  if (parentColor_ == Value) return;
  parentColor_ = Value;
  if (Value && parent_ != nullptr) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool Value) {
  if (parentFont_ == Value) return;
  parentFont_ = Value;
  if (Value && parent_ != nullptr) Perform(CM_PARENTFONTCHANGED);
}

// Any change of the font makes it the control's own, unless it came from the parent.
void TControl::FontChanged(TObject*) {
  if (!updatingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  Perform(CM_CURSORCHANGED);
}

std::intptr_t TControl::Perform(std::uint32_t Msg, std::intptr_t WParam, std::intptr_t LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& Message) {
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_CURSORCHANGED:
      CMCursorChanged(Message);
      break;
    case CM_SHOWHINTCHANGED:
      CMShowHintChanged(Message);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(Message);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(Message);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(Message);
      break;
    default:
      DefaultHandler(Message);
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::CMEnabledChanged(TMessage&) {
  UpdateWidgetBounds();
  UpdateWidgetColors();
}

void TControl::CMVisibleChanged(TMessage&) {
  UpdateWidgetBounds();
}

void TControl::CMFontChanged(TMessage&) {
  UpdateWidgetColors();
}

void TControl::CMColorChanged(TMessage&) {
  UpdateWidgetColors();
}

void TControl::CMTextChanged(TMessage&) {}

void TControl::CMCursorChanged(TMessage&) {
  UpdateWidgetColors();
}

void TControl::CMShowHintChanged(TMessage&) {
  UpdateWidgetHint();
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!parentFont_ || parent_ == nullptr) return;
  const ScopedValue updating(updatingParentFont_, true);
  font_->Assign(parent_->Font());
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!parentColor_ || parent_ == nullptr) return;
  SetColor(parent_->Color());
  parentColor_ = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!parentShowHint_ || parent_ == nullptr) return;
  SetShowHint(parent_->ShowHint());
  parentShowHint_ = true;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Loaded() {
  inherited::Loaded();
  if (parent_ != nullptr) {
    if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
    if (parentFont_) Perform(CM_PARENTFONTCHANGED);
    if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED);
  }
  RequestAlign();
}

TClass TGraphicControl::StaticClass() {
  return DefineClass<TGraphicControl>("TGraphicControl", [](ClassBuilder<TGraphicControl>&) {});
}
