#include "package/ButtonPanel.h"

#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "toolkit/model/ClassBuilder.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ButtonPanel.cpp 1.0");

constexpr int kButtonWidth = 128;
constexpr int kButtonHeight = 32;
constexpr int kButtonSpacing = 8;
constexpr int kRightMargin = 8;

}  // namespace

TClass TButtonItem::StaticClass() {
  return DefineClass<TButtonItem>("TButtonItem", [](ClassBuilder<TButtonItem>& c) {
    c.Property("Caption", &TButtonItem::Caption, &TButtonItem::SetCaption).TypeName("TCaption");
    c.Property("Kind", &TButtonItem::Kind, &TButtonItem::SetKind).Default(bkCustom);
    c.Property(
         "Enabled", [](TButtonItem* Self) { return Self->GetBool(kButtonItemEnabled); },
         [](TButtonItem* Self, bool Value) { Self->SetBool(kButtonItemEnabled, Value); })
        .Index(kButtonItemEnabled)
        .Default(true);
    c.Property(
         "Visible", [](TButtonItem* Self) { return Self->GetBool(kButtonItemVisible); },
         [](TButtonItem* Self, bool Value) { Self->SetBool(kButtonItemVisible, Value); })
        .Index(kButtonItemVisible)
        .Default(true);
    c.Property("OnClick", &TButtonItem::OnClick);
  });
}

TButtonItem::TButtonItem(TCollection* Collection) : TCollectionItem(Collection) {
  TButtonPanel* panel = Panel();
  if (panel == nullptr) return;
  // Owned by the panel: sub-controls go with their control, never with the form.
  button_ = new TBitBtn(panel);
  button_->OnClick = TNotifyEvent(this, &TButtonItem::ButtonClicked);
  button_->SetParent(panel);
  // The collection laid out without this item while it was being made.
  Changed(false);
}

TButtonItem::~TButtonItem() {
  TBitBtn* button = button_;
  button_ = nullptr;
  if (button != nullptr) button->Free();
}

void TButtonItem::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TButtonItem*>(Source);
  if (source == nullptr) {
    inherited::Assign(Source);
    return;
  }
  SetKind(source->kind_);
  SetCaption(source->caption_);
  SetBool(kButtonItemEnabled, source->enabled_);
  SetBool(kButtonItemVisible, source->visible_);
  OnClick = source->OnClick;
}

std::string TButtonItem::DisplayName() const {
  return caption_.empty() ? inherited::DisplayName() : caption_;
}

TButtonPanel* TButtonItem::Panel() const {
  auto* buttons = dynamic_cast<TButtonCollection*>(Collection());
  return buttons != nullptr ? buttons->Panel() : nullptr;
}

void TButtonItem::SetCaption(const std::string& Value) {
  caption_ = Value;
  ShowCaption();
}

void TButtonItem::SetKind(TBitBtnKind Value) {
  if (kind_ == Value) return;
  kind_ = Value;
  if (button_ != nullptr) button_->SetKind(Value);
  ShowCaption();
}

// The item's own caption wins over the kind's; without one the kind's caption shows, which
// the button puts up when its kind is set.
void TButtonItem::ShowCaption() {
  if (button_ == nullptr) return;
  if (!caption_.empty() || kind_ == bkCustom) {
    button_->SetCaption(caption_);
    return;
  }
  button_->SetKind(bkCustom);
  button_->SetKind(kind_);
}

bool TButtonItem::GetBool(int Index) const {
  switch (Index) {
    case kButtonItemEnabled:
      return enabled_;
    case kButtonItemVisible:
      return visible_;
    default:
      CaseError("TButtonItem.GetBool", Index);
  }
}

void TButtonItem::SetBool(int Index, bool Value) {
  switch (Index) {
    case kButtonItemEnabled:
      enabled_ = Value;
      if (button_ != nullptr) button_->SetEnabled(Value);
      return;
    case kButtonItemVisible:
      if (visible_ == Value) return;
      visible_ = Value;
      if (button_ != nullptr) button_->SetVisible(Value);
      Changed(false);  // the other buttons move
      return;
    default:
      CaseError("TButtonItem.SetBool", Index);
  }
}

// Sender is the panel: the component whose description binds the handler (an item is none).
void TButtonItem::Click() {
  if (OnClick) OnClick(Panel());
}

void TButtonItem::ButtonClicked(TObject*) {
  Click();
}

TClass TButtonCollection::StaticClass() {
  return DefineClass<TButtonCollection>("TButtonCollection",
                                        [](ClassBuilder<TButtonCollection>&) {});
}

TButtonCollection::TButtonCollection(TButtonPanel* Panel)
    : TOwnedCollection(Panel, TButtonItem::StaticClass()), panel_(Panel) {}

TButtonItem* TButtonCollection::GetItem(int Index) const {
  return static_cast<TButtonItem*>(Items(Index));
}

void TButtonCollection::Update(TCollectionItem*) {
  if (panel_ != nullptr) panel_->LayoutButtons();
}

TClass TButtonPanel::StaticClass() {
  return DefineClass<TButtonPanel>("TButtonPanel", [](ClassBuilder<TButtonPanel>& c) {
    c.Property("Buttons", &TButtonPanel::Buttons, &TButtonPanel::SetButtons);
  });
}

TButtonPanel::TButtonPanel(TComponent* AOwner)
    : TPanel(AOwner), buttons_(new TButtonCollection(this)) {
  // A bar of buttons shows no caption of its own, not even its name.
  controlStyle_ -= TControlStyle{csSetCaption};
}

TButtonPanel::~TButtonPanel() {
  TButtonCollection* buttons = buttons_;
  buttons_ = nullptr;
  buttons->Free();
}

void TButtonPanel::LayoutButtons() {
  if (buttons_ == nullptr || ComponentState().Contains(csDestroying)) return;
  TRect inside = ClientRect();
  AdjustClientRect(inside);
  const int buttonTop = inside.Top + (inside.Height() - kButtonHeight) / 2;
  int right = inside.Right - kRightMargin;
  // Only items whose button exists: one still being made is not yet in the row.
  for (int i = buttons_->Count() - 1; i >= 0; --i) {
    auto* item = dynamic_cast<TButtonItem*>(buttons_->Items(i));
    if (item == nullptr || item->button_ == nullptr || !item->visible_) continue;
    item->button_->SetBounds(right - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    right -= kButtonWidth + kButtonSpacing;
  }
  int tabOrder = 0;
  for (int i = 0; i < buttons_->Count(); ++i) {
    auto* item = dynamic_cast<TButtonItem*>(buttons_->Items(i));
    if (item != nullptr && item->button_ != nullptr) item->button_->SetTabOrder(tabOrder++);
  }
}

void TButtonPanel::Loaded() {
  inherited::Loaded();
  LayoutButtons();
}

void TButtonPanel::Resize() {
  inherited::Resize();
  LayoutButtons();
}

// A button freed on its own (it is an owned component like any other) leaves its item.
void TButtonPanel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || buttons_ == nullptr) return;
  for (int i = 0; i < buttons_->Count(); ++i) {
    auto* item = dynamic_cast<TButtonItem*>(buttons_->Items(i));
    if (item != nullptr && item->button_ == AComponent) item->button_ = nullptr;
  }
}
