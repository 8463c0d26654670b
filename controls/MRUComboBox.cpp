#include "controls/MRUComboBox.h"

#include <algorithm>

#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "platform/StringFunctions.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/ControlProperties.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("MRUComboBox.cpp 6 (28.02.00)");

constexpr int kMinDropDownCount = 4;
constexpr int kButtonGap = 4;

}  // namespace

TClass TCustomMRUComboBox::StaticClass() {
  return DefineClass<TCustomMRUComboBox>(
      "TCustomMRUComboBox", [](ClassBuilder<TCustomMRUComboBox>& c) {
        using T = TCustomMRUComboBox;
        c.Property("ButtonCaption", &T::ButtonCaption, &T::SetButtonCaption).TypeName("TCaption");
        c.Property("ButtonGlyph", &T::ButtonGlyph, &T::SetButtonGlyph);
        c.Property("ButtonHint", &T::ButtonHint, &T::SetButtonHint);
        c.Property("ButtonAccessibleName", &T::ButtonAccessibleName, &T::SetButtonAccessibleName);
        c.Property("ButtonNumGlyphs", &T::ButtonNumGlyphs, &T::SetButtonNumGlyphs);
        c.Property("ButtonTabStop", &T::ButtonTabStop, &T::SetButtonTabStop).Default(true);
        c.Property("ButtonVisible", &T::ButtonVisible, &T::SetButtonVisible);
        c.Property("DefaultHeight", &T::DefaultHeight, &T::SetDefaultHeight).Default(24);
        c.Property("DropDownCount", &T::DropDownCount, &T::SetDropDownCount);
        c.Property("History", &T::History, &T::SetHistory);
        // History says the same in a form description.
        c.Property("HistoryList", &T::HistoryList, &T::SetHistoryList).Stored(false);
        c.Property("HistoryListCount", &T::HistoryListCount, &T::SetHistoryListCount);
        c.Property("OnChange", &T::OnChange);
        PublishControlProperties(c, {"OnEnter", "OnExit"});
        c.Property("OnValidate", &T::OnValidate);
        PublishControlProperties(
            c, {"AccessibleName", "Align", "Color", "Enabled", "Font", "ParentColor", "ParentFont",
                "ParentShowHint", "ShowHint", "TabOrder", "TabStop", "Visible"});
      });
}

TCustomMRUComboBox::TCustomMRUComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  comboBox_ = new TComboBoxEx(this);
  comboBox_->SetParent(this);
  comboBox_->OnEnter = TNotifyEvent(this, &TCustomMRUComboBox::ComboEnter);
  comboBox_->OnExit = TNotifyEvent(this, &TCustomMRUComboBox::ComboExit);
  comboBox_->OnKeyPress = TKeyPressEvent(this, &TCustomMRUComboBox::ComboKeyPress);
  comboBox_->OnSelectionOK = TNotifyEvent(this, &TCustomMRUComboBox::ComboSelectionOK);
  CreateButton("", true);
  SetWidth(6 * defaultHeight_);
  TrimHistory();
}

// The combo box and the button go with the control, their owner.
TCustomMRUComboBox::~TCustomMRUComboBox() = default;

std::string TCustomMRUComboBox::GetText() const {
  return comboBox_->Text();
}

void TCustomMRUComboBox::SetTextValue(const std::string& Value) {
  comboBox_->SetText(Value);
}

// Caption, glyph and number of glyphs belong to the two kinds of button the control makes.
template <class F>
void TCustomMRUComboBox::WithButtonOfKnownKind(F&& Body) const {
  if (auto* bitBtn = dynamic_cast<TBitBtn*>(button_)) {
    Body(bitBtn);
  } else if (auto* speedButton = dynamic_cast<TSpeedButton*>(button_)) {
    Body(speedButton);
  }
}

std::string TCustomMRUComboBox::ButtonCaption() const {
  std::string caption;
  WithButtonOfKnownKind([&](auto* button) { caption = button->Caption(); });
  return caption;
}

void TCustomMRUComboBox::SetButtonCaption(const std::string& Value) {
  WithButtonOfKnownKind([&](auto* button) { button->SetCaption(Value); });
}

TBitmap* TCustomMRUComboBox::ButtonGlyph() const {
  TBitmap* glyph = nullptr;
  WithButtonOfKnownKind([&](auto* button) { glyph = button->Glyph(); });
  return glyph;
}

void TCustomMRUComboBox::SetButtonGlyph(TBitmap* Value) {
  WithButtonOfKnownKind([&](auto* button) { button->SetGlyph(Value); });
}

std::string TCustomMRUComboBox::ButtonAccessibleName() const {
  return button_ != nullptr ? button_->AccessibleName() : std::string();
}

void TCustomMRUComboBox::SetButtonAccessibleName(const std::string& Value) {
  if (button_ != nullptr) button_->SetAccessibleName(Value);
}

// The edit field is what a screen reader meets: it is named and described as the whole control.
void TCustomMRUComboBox::SetAccessibleName(const std::string& Value) {
  inherited::SetAccessibleName(Value);
  comboBox_->SetAccessibleName(Value);
}

void TCustomMRUComboBox::SetHint(const std::string& Value) {
  inherited::SetHint(Value);
  comboBox_->SetHint(Value);
}

std::string TCustomMRUComboBox::ButtonHint() const {
  return button_ != nullptr ? button_->Hint() : std::string();
}

void TCustomMRUComboBox::SetButtonHint(const std::string& Value) {
  if (button_ != nullptr) button_->SetHint(Value);
}

TNumGlyphs TCustomMRUComboBox::ButtonNumGlyphs() const {
  auto numGlyphs = static_cast<TNumGlyphs>(1);
  WithButtonOfKnownKind([&](auto* button) { numGlyphs = button->NumGlyphs(); });
  return numGlyphs;
}

void TCustomMRUComboBox::SetButtonNumGlyphs(TNumGlyphs Value) {
  WithButtonOfKnownKind([&](auto* button) { button->SetNumGlyphs(Value); });
}

// Only the flag is kept: the button changes its kind when the form is loaded again.
void TCustomMRUComboBox::SetButtonTabStop(bool Value) {
  const TComponentState state = ComponentState();
  if (!state.Contains(csLoading) && !state.Contains(csDesigning)) {
    throw Exception(ClassName() + ".ButtonTabStop can only be changed at designing time");
  }
  buttonTabStop_ = Value;
}

bool TCustomMRUComboBox::ButtonVisible() const {
  return button_ != nullptr && button_->Visible();
}

// A hidden button leaves the control altogether, so that nothing of it takes room or focus.
void TCustomMRUComboBox::SetButtonVisible(bool Value) {
  if (button_ == nullptr || Value == button_->Visible()) return;
  button_->SetVisible(Value);
  button_->SetParent(Value ? this : nullptr);
  ArrangeControls();
}

void TCustomMRUComboBox::SetDefaultHeight(int Value) {
  if (defaultHeight_ == Value) return;
  defaultHeight_ = Value;
  SetBounds(Left(), Top(), Width(), Height());
}

int TCustomMRUComboBox::DropDownCount() const {
  return comboBox_->DropDownCount();
}

void TCustomMRUComboBox::SetDropDownCount(int Value) {
  comboBox_->SetDropDownCount(std::max(kMinDropDownCount, Value));
  TrimHistory();
}

std::string TCustomMRUComboBox::History() const {
  return ReplaceAll(comboBox_->Items()->Text(), "\r\n", ";");
}

// Each segment becomes one entry as it stands, empty ones included; the final ";" adds none.
void TCustomMRUComboBox::SetHistory(const std::string& Value) {
  comboBox_->Items()->SetText(ReplaceAll(Value, ";", "\r\n"));
  HistoryChanged();
}

TStrings* TCustomMRUComboBox::HistoryList() const {
  return comboBox_->Items();
}

void TCustomMRUComboBox::SetHistoryList(TStrings* Value) {
  comboBox_->Items()->Assign(Value);
  HistoryChanged();
}

void TCustomMRUComboBox::SetHistoryListCount(int Value) {
  if (historyListCount_ == Value) return;
  historyListCount_ = Value;
  TrimHistory();
}

bool TCustomMRUComboBox::ApplyText() {
  if (comboBox_->DroppedDown()) comboBox_->SetDroppedDown(false);
  return CommitText();
}

void TCustomMRUComboBox::SetCurrentText(const std::string& Value) {
  if (Value == committedText_) return;
  comboBox_->SetText(Value);
  CommitText();
}

bool TCustomMRUComboBox::CommitText() {
  if (ComponentState().Contains(csLoading) || commitLock_ != 0) return true;
  // A handler that moves the focus or presses keys must not start a second commit.
  ++commitLock_;
  const ScopeExit unlock([this] { --commitLock_; });

  comboBox_->SetText(platform::Trim(comboBox_->Text()));
  std::string text = comboBox_->Text();
  if (text == committedText_) return true;

  bool valid = true;
  Validate(text, valid);
  // Once the user has left the field, a refused text gives way to the committed value.
  if (!valid && !hasFocus_) text = committedText_;
  text = platform::Trim(text);
  comboBox_->SetText(text);

  if (!valid) {
    if (text == committedText_) {
      if (hasFocus_) comboBox_->SelectAll();
    } else {
      // The user is still in the field: the refused text stays for correcting.
      comboBox_->SetSelStart(static_cast<int>(text.size()));
      comboBox_->SetSelLength(0);
    }
    return false;
  }

  bool changed = text != committedText_;
  if (changed) {
    // A change of letter case alone updates the value and the history, but is no change.
    changed = !platform::SameText(text, committedText_);
    committedText_ = text;
    TStrings* items = comboBox_->Items();
    bool removed = false;
    for (int i = 0; i < items->Count(); ++i) {
      if (platform::SameText(items->Strings(i), text)) {
        items->Delete(i);
        removed = true;
        break;
      }
    }
    items->Insert(0, text);
    if (!removed) TrimHistory();
    comboBox_->SetItemIndex(0);
  }
  if (hasFocus_) comboBox_->SelectAll();
  if (changed) {
    mruState_.Include(msChangeReported);
    Change();
  }
  return true;
}

void TCustomMRUComboBox::TrimHistory() {
  if (ComponentState().Contains(csLoading)) return;
  if (DropDownCount() > historyListCount_) historyListCount_ = DropDownCount();
  // Without a parent the control cannot have a window yet; CreateWnd trims once it has one.
  if (Parent() == nullptr) return;
  TStrings* items = comboBox_->Items();
  while (items->Count() > historyListCount_)
    items->Delete(items->Count() - 1);
}

void TCustomMRUComboBox::HistoryChanged() {
  committedText_.clear();
  comboBox_->SetText("");
  if (comboBox_->Items()->Count() > 0) {
    comboBox_->SetItemIndex(0);
    // Also when the first entry was selected already (the list assigned to itself).
    comboBox_->SetText(comboBox_->Items()->Strings(0));
  }
  TrimHistory();
  CommitText();
  mruState_.Include(msHistoryAssigned);
}

void TCustomMRUComboBox::CreateButton(const std::string& Caption, bool Visible) {
  TBitmap* glyph = ButtonGlyph();
  const TNumGlyphs numGlyphs = ButtonNumGlyphs();
  const std::string hint = ButtonHint();
  const std::string accessibleName = ButtonAccessibleName();
  TControl* oldButton = button_;
  // The old button's glyph is copied from below, so the old button goes last, however this ends.
  const ScopeExit freeOldButton([&oldButton] { DeleteClass(oldButton); });
  if (oldButton != nullptr) oldButton->Hide();

  if (buttonTabStop_) {
    auto* bitBtn = new TBitBtn(this);
    bitBtn->OnClick = TNotifyEvent(this, &TCustomMRUComboBox::ButtonClicked);
    button_ = bitBtn;
  } else {
    auto* speedButton = new TSpeedButton(this);
    speedButton->OnClick = TNotifyEvent(this, &TCustomMRUComboBox::ButtonClicked);
    button_ = speedButton;
  }
  button_->SetAlign(alRight);
  SetButtonCaption(Caption);
  SetButtonGlyph(glyph);
  SetButtonNumGlyphs(numGlyphs);
  SetButtonHint(hint);
  SetButtonAccessibleName(accessibleName);
  SetButtonVisible(Visible);
  button_->SetParent(this);
  // The button works also on a form being designed.
  button_->SetDesigning(false);
}

void TCustomMRUComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (Align() != alTop && Align() != alBottom) {
    AHeight = std::max(defaultHeight_, comboBox_->Height());
    if (ComponentState().Contains(csDesigning) && AWidth < 3 * AHeight) AWidth = 3 * AHeight;
  }
  const int oldWidth = Width();
  const int oldHeight = Height();
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Width() != oldWidth || Height() != oldHeight) ArrangeControls();
}

void TCustomMRUComboBox::ArrangeControls() {
  if (ComponentState().Contains(csLoading) || Parent() == nullptr || ClientHeight() <= 0) return;
  const bool buttonShown = ButtonVisible();
  // Aligned to the right, the button has the full client height: the width makes it square.
  if (buttonShown) button_->SetWidth(ClientHeight());
  const int comboHeight = comboBox_->Height();
  if (comboHeight <= 0) return;
  const int top = (ClientHeight() - comboHeight) / 2;
  const int width = buttonShown ? ClientWidth() - (ClientHeight() + kButtonGap) : ClientWidth();
  if (width > 0) comboBox_->SetBounds(0, top, width, comboHeight);
}

void TCustomMRUComboBox::SetFocus() {
  comboBox_->SetFocus();
}

void TCustomMRUComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomMRUComboBox::Validate(std::string& Text, bool& Valid) {
  if (OnValidate) OnValidate(this, Text, Valid);
}

void TCustomMRUComboBox::ButtonClick() {}

void TCustomMRUComboBox::Loaded() {
  inherited::Loaded();
  // The constructor made a focusable button; a stored ButtonTabStop = False asks for the other.
  if (!buttonTabStop_) CreateButton(ButtonCaption(), ButtonVisible());
  ArrangeControls();
  TrimHistory();
  if (mruState_.Contains(msHistoryAssigned)) CommitText();
  // Whoever reads the value in OnChange hears of it once after loading, also when the first
  // history entry was no change.
  if (!mruState_.Contains(msChangeReported)) Change();
}

void TCustomMRUComboBox::CreateWnd() {
  inherited::CreateWnd();
  TrimHistory();
  ArrangeControls();
}

// The control's own focus events are those of its edit field (ComboEnter, ComboExit).
void TCustomMRUComboBox::DoEnter() {}

void TCustomMRUComboBox::DoExit() {}

// A button freed on its own leaves the control without one, as a button of neither kind.
void TCustomMRUComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == button_) button_ = nullptr;
}

void TCustomMRUComboBox::CMEnabledChanged(TMessage& Message) {
  inherited::CMEnabledChanged(Message);
  comboBox_->SetEnabled(Enabled());
  if (button_ != nullptr) button_->SetEnabled(Enabled());
}

// The combo box follows the font and may grow: the height rule is applied again, so that the
// field never sticks out of its control (also when the form's font arrives only after loading).
void TCustomMRUComboBox::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  SetBounds(Left(), Top(), Width(), Height());
  ArrangeControls();
}

void TCustomMRUComboBox::ButtonClicked(TObject*) {
  ButtonClick();
}

void TCustomMRUComboBox::ComboEnter(TObject*) {
  if (ComponentState().Contains(csDestroying)) return;
  if (commitLock_ == 0) hasFocus_ = true;
  if (OnEnter) OnEnter(this);
}

// Leaving the field commits it, so OnExit comes after the commit's OnValidate and OnChange.
void TCustomMRUComboBox::ComboExit(TObject*) {
  // A control on its way out commits nothing and tells nobody.
  if (ComponentState().Contains(csDestroying)) return;
  if (commitLock_ == 0) {
    hasFocus_ = false;
    CommitText();
  }
  if (OnExit) OnExit(this);
}

void TCustomMRUComboBox::ComboKeyPress(TObject*, char& Key) {
  if (Key == VK_RETURN) {
    Key = 0;
    if (comboBox_->DroppedDown()) comboBox_->SetDroppedDown(false);
    CommitText();
  } else if (Key == VK_ESCAPE) {
    // An open list takes Escape to close itself; a closed one leaves it to nobody else.
    if (!comboBox_->DroppedDown()) Key = 0;
    comboBox_->SetText(committedText_);
    comboBox_->SelectAll();
  }
}

// A pick from the open list; moving through the entries of the closed list commits nothing.
void TCustomMRUComboBox::ComboSelectionOK(TObject*) {
  const int index = comboBox_->ItemIndex();
  if (!comboBox_->DroppedDown() || index < 0) return;
  comboBox_->SetText(comboBox_->Items()->Strings(index));
  CommitText();
}
