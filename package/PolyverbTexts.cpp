#include "package/PolyverbTexts.h"

#include "package/UnitVersion.h"
#include "toolkit/model/ClassBuilder.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PolyverbTexts.cpp 1.0");

// The texts of every language, published after the item's own name so that a form
// description names the item first.
template <class T>
void PublishTexts(ClassBuilder<T>& c) {
  // Named twice: the members are the base class's, which the one-member form does not take.
  c.Property("English", &T::English, &T::English);
  c.Property("Deutsch", &T::Deutsch, &T::Deutsch);
}

}  // namespace

TClass TPolyverbText::StaticClass() {
  return DefineClass<TPolyverbText>("TPolyverbText", [](ClassBuilder<TPolyverbText>&) {});
}

void TPolyverbText::Assign(TPersistent* Source) {
  if (auto* text = dynamic_cast<TPolyverbText*>(Source)) {
    English = text->English;
    Deutsch = text->Deutsch;
    return;
  }
  inherited::Assign(Source);
}

const std::string& TPolyverbText::Text(int LanguageIndex) const {
  const std::string& text = LanguageIndex == 1 ? Deutsch : English;
  return text.empty() ? English : text;
}

TClass TPolyverbString::StaticClass() {
  return DefineClass<TPolyverbString>("TPolyverbString", [](ClassBuilder<TPolyverbString>& c) {
    c.Property("Key", &TPolyverbString::Key);
    PublishTexts(c);
  });
}

void TPolyverbString::Assign(TPersistent* Source) {
  inherited::Assign(Source);
  if (auto* string = dynamic_cast<TPolyverbString*>(Source)) Key = string->Key;
}

TClass TPolyverbTranslation::StaticClass() {
  return DefineClass<TPolyverbTranslation>("TPolyverbTranslation",
                                           [](ClassBuilder<TPolyverbTranslation>& c) {
                                             c.Property("Target", &TPolyverbTranslation::Target);
                                             PublishTexts(c);
                                           });
}

void TPolyverbTranslation::Assign(TPersistent* Source) {
  inherited::Assign(Source);
  if (auto* translation = dynamic_cast<TPolyverbTranslation*>(Source)) {
    Target = translation->Target;
  }
}
