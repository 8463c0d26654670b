#include <limits>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/StdCtrls.h"

TClass TCustomComboBox::StaticClass() {
  return DefineClass<TCustomComboBox>("TCustomComboBox", [](ClassBuilder<TCustomComboBox>&) {});
}

TClass TComboBox::StaticClass() {
  return DefineClass<TComboBox>("TComboBox", [](ClassBuilder<TComboBox>& c) {
    c.Property("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
    PublishControlProperties(c, {"Color", "Cursor"});
    c.Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
    PublishControlProperties(c, {"Enabled", "Font"});
    c.Property("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight);
    c.Property("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
    PublishControlProperties(c,
                             {"ParentColor", "ParentFont", "ParentShowHint", "Hint", "ShowHint"});
    c.Property("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
    PublishControlProperties(c, {"TabOrder", "TabStop", "Text", "Visible"});
    c.Property("OnChange", &TComboBox::OnChange);
    PublishControlProperties(c, {"OnClick"});
    c.Property("OnDropDown", &TComboBox::OnDropDown);
    PublishControlProperties(c, {"OnEnter", "OnExit", "OnKeyDown", "OnKeyPress"});
    c.Property("Items", &TComboBox::Items, &TComboBox::SetItems);
  });
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(new TComboBoxStrings(this)) {
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 145, 25);
}

TCustomComboBox::~TCustomComboBox() {
  if (HandleAllocated()) DestroyView();
  delete items_;
}

int TCustomComboBox::ItemHeight() const {
  if ((style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) && itemHeight_ > 0) {
    return itemHeight_;
  }
  const int pixels = Font()->Height() < 0 ? -Font()->Height() : Font()->Height();
  return pixels * 6 / 5;
}

// The height of a drop-down combo box follows from its font, whatever is asked.
void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (style_ != csSimple) AHeight = ItemHeight() + 8;
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomComboBox::AdjustHeight() {
  SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  AdjustHeight();
}

void TCustomComboBox::SetTextValue(const std::string& Value) {
  text_ = Value;
  if (style_ == csDropDownList) itemIndex_ = items_->IndexOf(Value);
  ShowText();
}

int TCustomComboBox::ItemIndex() const {
  return itemIndex_;
}

// Selecting the entry already selected changes nothing, as on the classic desktop: the text
// being edited stays, also when a form description restores ItemIndex = -1 after Text.
void TCustomComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= items_->Count()) Value = -1;
  if (Value == itemIndex_) return;
  itemIndex_ = Value;
  text_ = Value >= 0 ? items_->Strings(Value) : std::string();
  ShowItemIndex();
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value == droppedDown_) return;
  HandleNeeded();
  ShowDroppedDown(Value);
}

void TCustomComboBox::SetDropDownCount(int Value) {
  dropDownCount_ = Value;
  ShowDropDownCount();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  AdjustHeight();
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value) {
  maxLength_ = std::max(0, Value);
  ShowMaxLength();
}

// No MaxLength means no limit: Qt's default of 32767 would cut a longer text silently, and a
// cut folder text can name another folder than the one typed; whoever uses the text judges it.
int TCustomComboBox::EditLimit() const {
  return maxLength_ > 0 ? maxLength_ : std::numeric_limits<int>::max();
}

void TCustomComboBox::PopupShown() {
  droppedDown_ = true;
}

void TCustomComboBox::FinishCloseUp() {
  closeUpPending_ = false;
  droppedDown_ = false;
  Perform(CN_COMMAND, MakeWParam(0, CBN_CLOSEUP));
}

void TCustomComboBox::UserActivated(int Index) {
  if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csDesigning)) return;
  const bool changed = Index != itemIndex_ || (Index >= 0 && text_ != items_->Strings(Index));
  itemIndex_ = Index;
  if (Index >= 0) text_ = items_->Strings(Index);
  if (changed) Perform(CN_COMMAND, MakeWParam(0, CBN_SELCHANGE));
  if (droppedDown_) {
    Perform(CN_COMMAND, MakeWParam(0, CBN_SELENDOK));
    if (closeUpPending_) FinishCloseUp();
  }
}

// The edit field keeps the keyboard while the list is open, as on the classic desktop: Escape,
// which closes the list, reaches the box's key handlers first. One that consumes it keeps the
// list open; the form's cancel button never sees it.
bool TCustomComboBox::ListEscapePressed() {
  if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csDesigning)) {
    return false;
  }
  return HandleKeyDown(static_cast<std::uint16_t>(VK_ESCAPE), TShiftState()) ||
         HandleKeyPress(VK_ESCAPE);
}

void TCustomComboBox::UserEdited() {
  if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csDesigning)) return;
  text_ = GetText();
  Perform(CN_COMMAND, MakeWParam(0, CBN_EDITCHANGE));
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  inherited::CNCommand(Message);
  switch (HiWord(Message.WParam)) {
    case CBN_SELCHANGE:
      Click();
      Change();
      break;
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_DROPDOWN:
      DropDown();
      break;
    default:
      break;
  }
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

HWND TCustomComboBox::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateComboBox(*this, ParentWidget);
}

// The window's text is the box's once the window goes; an open list is closed with it.
void TCustomComboBox::WidgetDestroying() {
  text_ = GetText();
  droppedDown_ = false;
  closeUpPending_ = false;
  inherited::WidgetDestroying();
}

std::string TCustomComboBox::GetText() const {
  if (TControlWidgets* widgets = Widgets()) {
    if (std::optional<std::string> text = widgets->ComboBoxText(*this)) return *text;
  }
  return text_;
}

void TCustomComboBox::ShowText() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowComboBoxText(*this);
}

void TCustomComboBox::ShowItemIndex() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowComboBoxItemIndex(*this);
}

// The items are shown once a batch of changes is over.
void TCustomComboBox::ItemsChanged() {
  if (items_->UpdateCount() > 0) return;
  if (TControlWidgets* widgets = Widgets()) widgets->ShowComboBoxItems(*this);
}

void TCustomComboBox::ShowDroppedDown(bool Value) {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowComboBoxDroppedDown(*this, Value);
}

void TCustomComboBox::ShowDropDownCount() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowComboBoxDropDownCount(*this);
}

void TCustomComboBox::ShowMaxLength() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowComboBoxMaxLength(*this);
}

int TCustomComboBox::SelStart() const {
  if (TControlWidgets* widgets = Widgets()) {
    if (std::optional<TTextSelection> selection = widgets->ComboBoxSelection(*this)) {
      return selection->Start;
    }
  }
  return selStart_;
}

int TCustomComboBox::SelLength() const {
  if (TControlWidgets* widgets = Widgets()) {
    if (std::optional<TTextSelection> selection = widgets->ComboBoxSelection(*this)) {
      return selection->Length;
    }
  }
  return selLength_;
}

void TCustomComboBox::SetSelStart(int Value) {
  selStart_ = std::max(0, Value);
  selLength_ = 0;
  if (TControlWidgets* widgets = Widgets()) {
    widgets->ShowComboBoxSelection(*this, {selStart_, selLength_});
  }
}

// The selection grows from where the caret is.
void TCustomComboBox::SetSelLength(int Value) {
  selLength_ = std::max(0, Value);
  if (TControlWidgets* widgets = Widgets()) {
    selStart_ = SelStart();
    widgets->ShowComboBoxSelection(*this, {selStart_, selLength_});
  }
}

void TCustomComboBox::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(GetText().size());
  if (TControlWidgets* widgets = Widgets()) widgets->SelectAllComboBoxText(*this);
}

// A list the user closed reports CBN_CLOSEUP once the window has finished with the pick, so
// a confirmed entry (CBN_SELENDOK) is seen while the list still counts as dropped down.
void TCustomComboBox::PopupHidden(bool ByProgram) {
  if (!droppedDown_ || closeUpPending_) return;
  if (ByProgram || WindowHandle() == nullptr) {
    FinishCloseUp();
    return;
  }
  closeUpPending_ = true;
  ControlWidgets().PostToWindow(WindowHandle(), [this] {
    if (closeUpPending_) FinishCloseUp();
  });
}
