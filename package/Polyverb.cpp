#include "package/Polyverb.h"

#include <algorithm>
#include <exception>

#include "package/Errors.h"
#include "package/PropertyPath.h"
#include "package/UnitVersion.h"
#include "platform/StringFunctions.h"
#include "toolkit/model/ClassBuilder.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("Polyverb.cpp 1.0");

std::string KnownLanguages() {
  std::string names;
  for (const char* name : kPolyverbLanguages)
    names += (names.empty() ? "" : ", ") + std::string(name);
  return names;
}

}  // namespace

TClass TPolyverb::StaticClass() {
  return DefineClass<TPolyverb>("TPolyverb", [](ClassBuilder<TPolyverb>& c) {
    c.Property("Language", &TPolyverb::Language, &TPolyverb::SetLanguage)
        .Default(std::string(kPolyverbLanguages[0]));
    c.Property("OnChange", &TPolyverb::OnChange);
    c.Property("Strings", &TPolyverb::Strings, &TPolyverb::SetStrings);
    c.Property("Translations", &TPolyverb::Translations, &TPolyverb::SetTranslations);
  });
}

TPolyverb::TPolyverb(TComponent* AOwner)
    : TExComponent(AOwner),
      strings_(new TOwnedCollection(this, TPolyverbString::StaticClass())),
      translations_(new TOwnedCollection(this, TPolyverbTranslation::StaticClass())) {}

TPolyverb::~TPolyverb() {
  translations_->Free();
  strings_->Free();
}

std::string TPolyverb::LanguageName(int Index) {
  if (Index < 0 || Index >= kPolyverbLanguageCount) return {};
  return kPolyverbLanguages[Index];
}

int TPolyverb::FindLanguage(std::string_view Name) {
  for (int i = 0; i < kPolyverbLanguageCount; ++i)
    if (platform::SameText(Name, kPolyverbLanguages[i])) return i;
  return -1;
}

const std::string& TPolyverb::Language() const {
  static const std::vector<std::string> names(std::begin(kPolyverbLanguages),
                                              std::end(kPolyverbLanguages));
  return names[static_cast<std::size_t>(languageIndex_)];
}

void TPolyverb::SetLanguage(const std::string& Value) {
  const int index = FindLanguage(Value);
  if (index < 0) {
    throw EPolyverbError("Unknown language '" + Value + "'; the languages are " + KnownLanguages());
  }
  SetLanguageIndex(index);
}

void TPolyverb::SetLanguageIndex(int Value) {
  if (Value < 0 || Value >= kPolyverbLanguageCount) {
    throw EPolyverbError("Unknown language number " + std::to_string(Value) +
                         "; the languages are " + KnownLanguages());
  }
  if (Value == languageIndex_) return;
  languageIndex_ = Value;
  // The form's components may not all exist yet; Loaded applies the language.
  if (IsLoading()) return;
  LanguageChanged(true);
}

std::string TPolyverb::GetString(std::string_view Key) const {
  for (int i = 0; i < strings_->Count(); ++i) {
    const auto* item = static_cast<const TPolyverbString*>(strings_->Items(i));
    if (platform::SameText(item->Key, Key)) return item->Text(languageIndex_);
  }
  return "[" + std::string(Key) + "]";
}

void TPolyverb::ApplyTranslations() {
  TComponent* form = Owner() != nullptr ? Owner() : this;
  std::string failures;
  for (int i = 0; i < translations_->Count(); ++i) {
    const auto* item = static_cast<const TPolyverbTranslation*>(translations_->Items(i));
    try {
      SetPropertyByPath(form, item->Target, item->Text(languageIndex_));
    } catch (const Exception& error) {
      failures += (failures.empty() ? "" : "; ") + error.Message;
    }
  }
  if (!failures.empty()) {
    throw EPolyverbError(Name() + ": translated properties could not be set: " + failures);
  }
}

void TPolyverb::AddChangeListener(TComponent* Listener, TNotifyEvent Handler) {
  if (Listener == nullptr) return;
  auto known = std::find_if(listeners_.begin(), listeners_.end(),
                            [Listener](const auto& entry) { return entry.first == Listener; });
  if (known != listeners_.end()) {
    known->second = std::move(Handler);
    return;
  }
  listeners_.emplace_back(Listener, std::move(Handler));
  FreeNotification(Listener);
}

void TPolyverb::RemoveChangeListener(TComponent* Listener) {
  std::erase_if(listeners_, [Listener](const auto& entry) { return entry.first == Listener; });
}

void TPolyverb::Loaded() {
  inherited::Loaded();
  LanguageChanged(false);
}

void TPolyverb::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) RemoveChangeListener(AComponent);
}

void TPolyverb::Change() {
  if (OnChange) OnChange(this);
}

void TPolyverb::LanguageChanged(bool FireChange) {
  std::exception_ptr failure;
  try {
    ApplyTranslations();
  } catch (const EPolyverbError&) {
    failure = std::current_exception();
  }
  NotifyListeners();
  if (FireChange) Change();
  if (failure) std::rethrow_exception(failure);
}

void TPolyverb::NotifyListeners() {
  // Copied: a listener may add or remove listeners, or free one, while it is told.
  const auto listeners = listeners_;
  for (const auto& entry : listeners) {
    TComponent* listener = entry.first;
    const bool stillListening =
        std::any_of(listeners_.begin(), listeners_.end(),
                    [listener](const auto& current) { return current.first == listener; });
    if (stillListening && entry.second) entry.second(this);
  }
}
