#pragma once

// TPropertyEntry: one persisted property of one object, as a configuration component meets
// it: its value as a variant, set back from text, and a short description of its type that a
// settings file can show beside the value.
//
// The value's text is what a form description would hold for it (numbers, True/False,
// enumeration members and sets by name, colours by name, floats with '.' whatever the locale),
// so a person who edits a settings file writes what they would write in a form.

#include <string>

#include "toolkit/model/Object.h"
#include "toolkit/model/Variant.h"

class TStrings;

class TPropertyEntry : public TObject {
  TOOLKIT_CLASS(TPropertyEntry, TObject)

  // Path names the property below the component the entry belongs to ("History", "Font.Name").
  TPropertyEntry(TObject* Instance, PPropInfo PropInfo, std::string Path);

  TObject* Instance() const { return instance_; }
  PPropInfo PropInfo() const { return propInfo_; }
  const std::string& Path() const { return path_; }

  // The type's name, followed by its members for an enumeration or a set
  // ("TFileSelectMode: mDirectory, mFileOpen, mFileSave").
  virtual std::string GetTypDef() const;
  virtual Variant GetValue() const;
  // A string variant is read as the value's text; a text that does not fit the property
  // raises EConvertError naming the text and the property.
  virtual void SetValue(const Variant& Value);

 protected:
  TPropertyEntry(TObject* Instance, std::string Path);

 private:
  TObject* instance_;
  PPropInfo propInfo_ = nullptr;
  std::string path_;
};

// A string list persisted as one value: its lines, each ended by a line break.
class TStringsEntry : public TPropertyEntry {
  TOOLKIT_CLASS(TStringsEntry, TPropertyEntry)

  TStringsEntry(TStrings* Strings, std::string Path);

  std::string GetTypDef() const override;
  Variant GetValue() const override;
  void SetValue(const Variant& Value) override;

 private:
  TStrings* strings_;
};

// Whether a property of this type has a text form a settings file can hold: every kind but
// handlers, and objects only when they are component references.
bool HasValueText(PPropInfo PropInfo);
