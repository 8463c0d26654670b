#pragma once

// TPolyverb: the language component. It holds every text of its form in every language,
// in two tables of its form description: Strings, the texts the program asks for by key
// (GetString), and Translations, the properties of the form's components that show a
// text (captions, hints). Setting Language puts every translated property into that
// language, tells the components that listen, then fires OnChange.
//
// Choices that callers rely on:
// - Language is "English" or "Deutsch" (either letter case; kept in this spelling). Any
//   other name raises EPolyverbError and the language stays as it was: a stored or typed
//   name that is not a language is refused loudly rather than shown as a half-translated
//   window.
// - Setting the language it already has changes nothing and fires nothing.
// - While the form is read, Language is only remembered; Loaded puts the form into it, so
//   the texts are right before anything is shown. Loaded tells the listeners but fires no
//   OnChange: the form starts in that language, nothing changed.
// - GetString of a key the table does not hold gives "[Key]": visible in the window and
//   in a status line, naming what is missing, never a crash. A text without a translation
//   gives the English text.
// - A translated property that cannot be set (a misspelt path) does not stop the others:
//   every other property, the listeners and OnChange still get the change, and then one
//   EPolyverbError names every path that failed.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "package/ExComponent.h"
#include "package/PolyverbTexts.h"
#include "toolkit/model/Collection.h"
#include "toolkit/model/Events.h"

class TPolyverb : public TExComponent {
  TOOLKIT_CLASS(TPolyverb, TExComponent)

  explicit TPolyverb(TComponent* AOwner);
  ~TPolyverb() override;

  // The languages, for a chooser that lists them; the first one is the default.
  static int LanguageCount() { return kPolyverbLanguageCount; }
  static std::string LanguageName(int Index);
  // The index of a language name, ignoring the case of A-Z; -1 when there is none.
  static int FindLanguage(std::string_view Name);

  const std::string& Language() const;
  void SetLanguage(const std::string& Value);
  int LanguageIndex() const { return languageIndex_; }
  void SetLanguageIndex(int Value);

  // The text of Key (ignoring the case of A-Z) in the current language; "[Key]" when the
  // table has no such key.
  std::string GetString(std::string_view Key) const;

  TCollection* Strings() const { return strings_; }
  void SetStrings(TCollection* Value) { strings_->Assign(Value); }
  TCollection* Translations() const { return translations_; }
  void SetTranslations(TCollection* Value) { translations_->Assign(Value); }

  // Sets every translated property to its text in the current language again.
  void ApplyTranslations();

  // Listener hears of every change of language through Handler (Sender is this component),
  // and also after loading; a language chooser shows the language with it. Adding the same
  // listener again replaces its handler. A listener that is freed is dropped by itself.
  void AddChangeListener(TComponent* Listener, TNotifyEvent Handler);
  void RemoveChangeListener(TComponent* Listener);

  // Fired after a change of language, after the listeners.
  TNotifyEvent OnChange;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Fires OnChange.
  virtual void Change();

 private:
  // Applies the texts and tells the listeners; with FireChange, OnChange too. Failed
  // translations are raised at the end, after everyone has heard of the change.
  void LanguageChanged(bool FireChange);
  void NotifyListeners();

  int languageIndex_ = 0;
  TOwnedCollection* strings_;
  TOwnedCollection* translations_;
  std::vector<std::pair<TComponent*, TNotifyEvent>> listeners_;
};
