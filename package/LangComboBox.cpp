#include "package/LangComboBox.h"

#include "package/UnitVersion.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("LangComboBox.cpp 1.0");

}  // namespace

// What a combo box in a form description uses, except Items, Text and Style: the box
// fills and shows them itself.
TClass TLangComboBox::StaticClass() {
  return DefineClass<TLangComboBox>("TLangComboBox", [](ClassBuilder<TLangComboBox>& c) {
    PublishControlProperties(c, {"Color", "Cursor"});
    c.Property("DropDownCount", &TLangComboBox::DropDownCount, &TLangComboBox::SetDropDownCount)
        .Default(8);
    PublishControlProperties(c, {"Enabled", "Font"});
    c.Property("ItemHeight", &TLangComboBox::ItemHeight, &TLangComboBox::SetItemHeight);
    PublishControlProperties(c,
                             {"ParentColor", "ParentFont", "ParentShowHint", "Hint", "ShowHint"});
    c.Property("Polyverb", &TLangComboBox::Polyverb, &TLangComboBox::SetPolyverb);
    PublishControlProperties(c, {"TabOrder", "TabStop", "Visible"});
    c.Property("OnChange", &TLangComboBox::OnChange);
    PublishControlProperties(c, {"OnClick"});
    c.Property("OnDropDown", &TLangComboBox::OnDropDown);
    PublishControlProperties(c, {"OnEnter", "OnExit", "OnKeyDown", "OnKeyPress"});
  });
}

TLangComboBox::TLangComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csDropDownList);
  FillItems();
}

TLangComboBox::~TLangComboBox() {
  if (polyverb_ != nullptr) polyverb_->RemoveChangeListener(this);
}

void TLangComboBox::FillItems() {
  Items()->BeginUpdate();
  Items()->Clear();
  for (int i = 0; i < TPolyverb::LanguageCount(); ++i)
    Items()->Add(TPolyverb::LanguageName(i));
  Items()->EndUpdate();
}

void TLangComboBox::SetPolyverb(TPolyverb* Value) {
  if (polyverb_ == Value) return;
  if (polyverb_ != nullptr) polyverb_->RemoveChangeListener(this);
  polyverb_ = Value;
  if (polyverb_ == nullptr) return;
  polyverb_->AddChangeListener(this, TNotifyEvent(this, &TLangComboBox::PolyverbChanged));
  // While the form is read this may be the language read so far; the component's Loaded
  // tells again once its language is final.
  ShowLanguage();
}

void TLangComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == polyverb_) polyverb_ = nullptr;
}

void TLangComboBox::PolyverbChanged(TObject*) {
  ShowLanguage();
}

void TLangComboBox::ShowLanguage() {
  if (polyverb_ != nullptr) SetItemIndex(polyverb_->LanguageIndex());
}

// The user confirmed an entry. A language whose translations fail still becomes the
// language (the component applies the rest); the failure is shown, and the box stays usable.
void TLangComboBox::Change() {
  if (polyverb_ != nullptr && ItemIndex() >= 0) {
    try {
      polyverb_->SetLanguageIndex(ItemIndex());
    } catch (const Exception&) {
      Application->HandleException(this);
    }
  }
  inherited::Change();
}
