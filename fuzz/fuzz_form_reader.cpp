// Form descriptions from untrusted text: parsing, the classic layout, and reading
// into components must never crash or leak; what is written reads back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/model/Classes.h"

namespace {

TOOLKIT_ENUM(TFuzzMode, fmOne, fmTwo, fmThree)
TOOLKIT_SET(TFuzzModes, TFuzzMode)

class TFuzzItem : public TCollectionItem {
  TOOLKIT_CLASS(TFuzzItem, TCollectionItem)
  explicit TFuzzItem(TCollection* Collection) : TCollectionItem(Collection) {}
  std::string Caption;
  TComponent* Ref = nullptr;
  TFuzzModes Modes;
};

class TFuzzComponent : public TComponent {
  TOOLKIT_CLASS(TFuzzComponent, TComponent)
  explicit TFuzzComponent(TComponent* AOwner)
      : TComponent(AOwner),
        lines_(new TStringList),
        items_(new TOwnedCollection(this, TFuzzItem::StaticClass())) {}
  ~TFuzzComponent() override {
    items_->Free();
    lines_->Free();
  }

  std::int32_t Count = 0;
  std::int64_t Big = 0;
  bool Flag = false;
  char Letter = 'a';
  double Ratio = 0;
  std::string Caption;
  TFuzzMode Mode = fmOne;
  TFuzzModes Modes;
  Variant Data;
  TFuzzComponent* Buddy = nullptr;
  TNotifyEvent OnChange;
  TBytes Blob;

  TStrings* Lines() const { return lines_; }
  void SetLines(TStrings* Value) { lines_->Assign(Value); }
  TCollection* Items() const { return items_; }
  void SetItems(TCollection* Value) { items_->Assign(Value); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Buddy) Buddy = nullptr;
  }
  void DefineProperties(TFiler* Filer) override {
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Blob", [this](const TBytes& Bytes) { Blob = Bytes; }, [this] { return Blob; },
        !Blob.empty());
    Filer->DefineProperty(
        "Entries",
        [this](TReader* Reader) {
          Reader->ReadValue();
          Reader->ReadCollection(items_);
        },
        [this](TWriter* Writer) { Writer->WriteCollection(items_); }, false);
  }

 private:
  TStringList* lines_;
  TOwnedCollection* items_;
};

class TFuzzForm : public TComponent {
  TOOLKIT_CLASS(TFuzzForm, TComponent)
  explicit TFuzzForm(TComponent* AOwner) : TComponent(AOwner) {}
  TFuzzComponent* First = nullptr;
  void Changed(TObject*) {}
};

TClass TFuzzItem::StaticClass() {
  return DefineClass<TFuzzItem>("TFuzzItem", [](ClassBuilder<TFuzzItem>& c) {
    c.Property("Caption", &TFuzzItem::Caption);
    c.Property("Ref", &TFuzzItem::Ref);
    c.Property("Modes", &TFuzzItem::Modes);
  });
}

TClass TFuzzComponent::StaticClass() {
  return DefineClass<TFuzzComponent>("TFuzzComponent", [](ClassBuilder<TFuzzComponent>& c) {
    c.Property("Count", &TFuzzComponent::Count).Default(0);
    c.Property("Big", &TFuzzComponent::Big);
    c.Property("Flag", &TFuzzComponent::Flag).Default(false);
    c.Property("Letter", &TFuzzComponent::Letter);
    c.Property("Ratio", &TFuzzComponent::Ratio);
    c.Property("Caption", &TFuzzComponent::Caption);
    c.Property("Mode", &TFuzzComponent::Mode).Default(fmOne);
    c.Property("Modes", &TFuzzComponent::Modes);
    c.Property("Data", &TFuzzComponent::Data);
    c.Property("Buddy", &TFuzzComponent::Buddy);
    c.Property("OnChange", &TFuzzComponent::OnChange);
    c.Property("Lines", &TFuzzComponent::Lines, &TFuzzComponent::SetLines);
    c.Property("Items", &TFuzzComponent::Items, &TFuzzComponent::SetItems);
  });
}

TClass TFuzzForm::StaticClass() {
  return DefineClass<TFuzzForm>("TFuzzForm", [](ClassBuilder<TFuzzForm>& c) {
    c.Field("First", &TFuzzForm::First);
    c.Method("Changed", &TFuzzForm::Changed);
  });
}

void CheckLayoutIsStable(std::string_view text) {
  std::string formatted;
  try {
    formatted = FormatComponentText(text);
  } catch (const EReadError&) {
    return;
  }
  // What the formatter writes must parse, and format to the same text again.
  if (FormatComponentText(formatted) != formatted) std::abort();
}

void CheckReadAndWrite(std::string_view text) {
  auto* form = new TFuzzForm(nullptr);
  std::string written;
  try {
    ReadComponentText(form, text);
    written = WriteComponentText(form);
  } catch (const Exception&) {
    form->Free();
    return;
  }
  form->Free();
  // Once written, a form reads and writes back to the same text.
  auto* again = new TFuzzForm(nullptr);
  try {
    ReadComponentText(again, written);
  } catch (const Exception&) {
    std::abort();
  }
  const bool same = WriteComponentText(again) == written;
  again->Free();
  if (!same) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = [] {
    RegisterClasses({TFuzzComponent::StaticClass(), TFuzzForm::StaticClass()});
    return true;
  }();
  (void)registered;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckLayoutIsStable(text);
  CheckReadAndWrite(text);
  return 0;
}
