#pragma once

// The tables of the language component: each item holds one text in every language the
// component knows, as published properties, so a form description shows the texts of a
// key side by side:
//
//   Strings = <
//     item
//       Key = 'NoFiles'
//       English = 'No files to install found.'
//       Deutsch = 'Keine Dateien zum Installieren gefunden.'
//     end>
//   Translations = <
//     item
//       Target = 'BtnInstall.Caption'
//       English = 'Install'
//       Deutsch = 'Installieren'
//     end>

#include <string>

#include "toolkit/model/Collection.h"

// The languages, in the order a language chooser lists them. The first is the one a text
// falls back to when it has not been translated.
inline constexpr const char* kPolyverbLanguages[] = {"English", "Deutsch"};
inline constexpr int kPolyverbLanguageCount = 2;

// One text in every language.
class TPolyverbText : public TCollectionItem {
  TOOLKIT_CLASS(TPolyverbText, TCollectionItem)

  explicit TPolyverbText(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;

  // The text in the language of that index; the first language's text when this one has
  // none, so an untranslated text still reads as something.
  const std::string& Text(int LanguageIndex) const;

  std::string English;
  std::string Deutsch;
};

// A text the program asks for by key (GetString).
class TPolyverbString : public TPolyverbText {
  TOOLKIT_CLASS(TPolyverbString, TPolyverbText)

  explicit TPolyverbString(TCollection* Collection) : TPolyverbText(Collection) {}
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override { return Key; }

  std::string Key;
};

// A property of a form's component that takes the text in the current language, named by
// its path from the form ("BtnInstall.Caption", see PropertyPath.h).
class TPolyverbTranslation : public TPolyverbText {
  TOOLKIT_CLASS(TPolyverbTranslation, TPolyverbText)

  explicit TPolyverbTranslation(TCollection* Collection) : TPolyverbText(Collection) {}
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override { return Target; }

  std::string Target;
};
