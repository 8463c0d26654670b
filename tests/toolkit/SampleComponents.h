#pragma once

// Small published classes that exercise every kind of property the form machinery
// handles: defaults, stored predicates, sets, enumerations, events, a sub-object,
// a string list, a collection, references and extra properties.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/model/Classes.h"

TOOLKIT_ENUM(TSampleMode, smFast, smSlow, smCareful)
TOOLKIT_ENUM(TSampleOption, soBold, soItalic, soUnderline)
TOOLKIT_SET(TSampleOptions, TSampleOption)
TOOLKIT_EVENT(TSampleCheckEvent, void(TObject* Sender, bool& OK));

// What each Loaded call saw, in call order, shared by all sample components.
struct TLoadedCall {
  std::string Name;
  bool LoadingOnEntry = false;
  bool LoadingAfterInherited = false;
  std::vector<std::string> StillLoading;  // components of the root still loading
};
std::vector<TLoadedCall>& LoadedCalls();

class TSampleFont : public TPersistent {
  TOOLKIT_CLASS(TSampleFont, TPersistent)

  std::string Name = "Sans";
  std::int32_t Size = 8;
  TSampleOptions Style;

  void Assign(TPersistent* Source) override;
};

class TSampleItem : public TCollectionItem {
  TOOLKIT_CLASS(TSampleItem, TCollectionItem)

  explicit TSampleItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;

  std::string Caption;
  std::int32_t Width = 64;
  TComponent* Ref = nullptr;
  TSampleOptions Flags;
};

class TSampleComponent : public TComponent {
  TOOLKIT_CLASS(TSampleComponent, TComponent)

  explicit TSampleComponent(TComponent* AOwner);
  ~TSampleComponent() override;

  std::string Caption;
  std::int32_t Count = 3;
  bool Enabled = true;
  TSampleMode Mode = smFast;
  TSampleOptions Options{soBold};
  double Ratio = 0;
  char Letter = 'x';
  std::int32_t Hidden = 0;  // never stored
  std::int32_t Level = 0;   // stored only when positive
  bool Always = false;      // no default: always written
  Variant Data;
  std::vector<std::int32_t> Numbers;  // extra property "Numbers"
  TBytes Blob;                        // extra binary property "Blob"
  TNotifyEvent OnChange;
  TSampleCheckEvent OnCheck;
  bool LoadingInConstructor = false;

  TSampleComponent* Buddy() const { return buddy_; }
  void SetBuddy(TSampleComponent* Value);
  TSampleFont* Font() const { return font_; }
  void SetFont(TSampleFont* Value) { font_->Assign(Value); }
  TStrings* Lines() const { return lines_; }
  void SetLines(TStrings* Value) { lines_->Assign(Value); }
  TCollection* Items() const { return items_; }
  void SetItems(TCollection* Value) { items_->Assign(Value); }
  TCollection* Entries() const { return entries_; }  // extra property "Entries"
  bool IsLevelStored() const { return Level > 0; }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  void ReadNumbers(TReader* Reader);
  void WriteNumbers(TWriter* Writer);
  void ReadEntries(TReader* Reader);
  void WriteEntries(TWriter* Writer);

  TSampleComponent* buddy_ = nullptr;
  TSampleFont* font_;
  TStringList* lines_;
  TOwnedCollection* items_;
  TOwnedCollection* entries_;
};

// A root with published fields and handlers, as a form is.
class TSampleForm : public TComponent {
  TOOLKIT_CLASS(TSampleForm, TComponent)

  explicit TSampleForm(TComponent* AOwner) : TComponent(AOwner) {}

  TSampleComponent* First = nullptr;
  TSampleComponent* Second = nullptr;
  std::vector<std::string> Events;

  void FirstChange(TObject* Sender);
  void CheckValues(TObject* Sender, bool& OK);

 protected:
  void Loaded() override;
};

// Registers the sample classes that descriptions name without a field.
void RegisterSampleClasses();
