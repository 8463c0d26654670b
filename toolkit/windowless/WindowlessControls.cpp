// The controls without widgets: each control's window is a token, and what a widget would be
// told is left out. What a widget would tell back (a combo box's text and selection, the focus)
// is the control's own state.

#include <algorithm>

#include "toolkit/forms/Forms.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ExtCtrls.h"
#include "toolkit/visual/StdCtrls.h"
#include "toolkit/windowless/PendingReleases.h"
#include "toolkit/windowless/WindowToken.h"

HWND TControl::CreateWidget(HWND) {
  return NewWindowToken(this);
}

void TControl::CreateView() {
  if (widget_ != nullptr) return;
  if (parent_ != nullptr && parent_->WindowHandle() == nullptr) return;
  widget_ = CreateWidget(parent_ != nullptr ? parent_->WindowHandle() : nullptr);
  WidgetCreated();
}

void TControl::DestroyView() {
  if (widget_ == nullptr) return;
  WidgetDestroying();
  HWND token = widget_;
  widget_ = nullptr;
  windowless::ForgetWindow(token);
  delete token;
}

void TControl::UpdateWidgetBounds() {}
void TControl::UpdateWidgetColors() {}
void TControl::UpdateWidgetHint() {}
void TControl::Invalidate() {}
void TControl::Update() {}
void TControl::Repaint() {}

// Text is measured in an average glyph half as wide as the font's pixel size is high, and a
// line as high as that size and a little leading: steady figures for forms nobody sees.
TPoint TControl::TextExtent(const std::string& Text) const {
  const int pixels = font_->PixelSize();
  const auto glyphs = std::count_if(Text.begin(), Text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  });
  return {static_cast<int>(glyphs) * pixels / 2, pixels + pixels / 4};
}

TControl* FindControl(HWND Widget) {
  return Widget != nullptr ? Widget->Control : nullptr;
}

// The focus is the form's focused control, as a widget's focus would make it.
bool TWinControl::Focused() const {
  const TCustomForm* form = GetParentForm(this);
  return form != nullptr && form->FocusedControl() == this;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
}

void TWinControl::TakeFocusByTab(bool) {
  SetFocus();
}

void TWinControl::UpdateFocusPolicy() {}

// Each control class makes its window the same way and has nothing to show.

HWND TButton::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TButton::WidgetCreated() {
  inherited::WidgetCreated();
}
void TButton::ShowDefault() {}
void TButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
}

void TBitBtn::UpdateIcon() {}
void TBitBtn::ShowLayout() {}
void TBitBtn::WidgetCreated() {
  inherited::WidgetCreated();
}

HWND TSpeedButton::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TSpeedButton::WidgetCreated() {
  inherited::WidgetCreated();
}
void TSpeedButton::UpdateButton() {}

HWND TCheckBox::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TCheckBox::WidgetCreated() {
  inherited::WidgetCreated();
}
void TCheckBox::ShowAlignment() {}
void TCheckBox::ShowAllowGrayed() {}
void TCheckBox::ShowState() {}
// Only a widget's click toggles a box by the user's hand.
void TCheckBox::UserToggled() {}
void TCheckBox::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
}

HWND TRadioButton::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TRadioButton::WidgetCreated() {
  inherited::WidgetCreated();
}
void TRadioButton::UpdateWidgetCheck() {}
void TRadioButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
}

HWND TGroupBox::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TGroupBox::WidgetCreated() {
  inherited::WidgetCreated();
}
void TGroupBox::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
}

HWND TLabel::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TLabel::WidgetCreated() {
  inherited::WidgetCreated();
}
void TLabel::UpdateLabel() {}

HWND TCustomPanel::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}

HWND TRichEdit::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TRichEdit::WidgetCreated() {
  inherited::WidgetCreated();
}
void TRichEdit::ShowAppendedLine(const std::string&) {}
void TRichEdit::ShowLines() {}
void TRichEdit::UpdateOptions() {}

HWND TCustomComboBox::CreateWidget(HWND ParentWidget) {
  return TControl::CreateWidget(ParentWidget);
}
void TCustomComboBox::WidgetCreated() {
  inherited::WidgetCreated();
}
void TCustomComboBox::WidgetDestroying() {
  droppedDown_ = false;
  closeUpPending_ = false;
  inherited::WidgetDestroying();
}
std::string TCustomComboBox::GetText() const {
  return text_;
}
void TCustomComboBox::ShowText() {}
void TCustomComboBox::ShowItemIndex() {}
void TCustomComboBox::ItemsChanged() {}
void TCustomComboBox::ShowDropDownCount() {}
void TCustomComboBox::ShowMaxLength() {}

// The list opens and closes as a widget's would when the program asks, with its messages.
void TCustomComboBox::ShowDroppedDown(bool Value) {
  if (Value) {
    Perform(CN_COMMAND, MakeWParam(0, CBN_DROPDOWN));
    PopupShown();
  } else {
    PopupHidden(true);
  }
}
void TCustomComboBox::PopupHidden(bool) {
  if (droppedDown_ && !closeUpPending_) FinishCloseUp();
}

int TCustomComboBox::SelStart() const {
  return selStart_;
}
void TCustomComboBox::SetSelStart(int Value) {
  selStart_ = std::max(0, Value);
  selLength_ = 0;
}
int TCustomComboBox::SelLength() const {
  return selLength_;
}
void TCustomComboBox::SetSelLength(int Value) {
  selLength_ = std::max(0, Value);
}
void TCustomComboBox::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(GetText().size());
}
