#pragma once

// The entries of a configuration component: which published properties of which components
// it persists. In a form description:
//
//   Entries = <
//     item
//       Ref = FolderSelect
//       Props = <
//         item
//           Name = 'History'
//           Kind = tkLString
//         end>
//       SubType = [stPubPropObject]
//     end>
//
// An entry names a component (Ref) and, in Props, properties of it. Its Items reach into the
// objects its properties hold; each item names such a property (Name) and says by its SubType
// what the object is:
//   stPubPropObject     an object with published properties: the item's Props name them and its
//                       Items go deeper ("Font.Name");
//   stTStringsObject    a string list, persisted as one value, its lines ("Lines");
//   stCollectionObject  a collection: the item's Props and Items apply to every item of it
//                       ("Buttons[0].Caption", "Buttons[1].Caption", ...);
//   stNoValidate        with any of them: a property or object that is not there (or no longer of
//                       the recorded Kind) is left out, for entries that serve several classes.
//                       Without it such an entry is a mistake of the program and raises.
//
// Init binds the entries to the properties as they are now (collections grow and shrink,
// objects are replaced); MoveSubItemsToStrings then lists an entry's properties, each line a
// path with its TPropertyEntry as the object. What Init bound holds only while nothing rebuilds
// those objects, and any handler or property setter may; so a configuration run lists an
// entry's paths right before the entry's turn and binds each path again (Bind) right before its
// value moves.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "package/PropertyEntry.h"
#include "toolkit/model/Collection.h"
#include "toolkit/model/TypeInfo.h"

class TComponent;
class TStrings;

TOOLKIT_ENUM(TEntrySubType, stPubPropObject, stCollectionObject, stTStringsObject, stNoValidate)
TOOLKIT_SET(TEntrySubTypes, TEntrySubType)

// One property named by an entry, with the type kind it had when the entry was made
// (tkUnknown: not checked).
class TPropertyItem : public TCollectionItem {
  TOOLKIT_CLASS(TPropertyItem, TCollectionItem)

  explicit TPropertyItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override { return Name; }

  std::string Name;
  TTypeKind Kind = tkUnknown;
};

class TPropertyItems : public TOwnedCollection {
  TOOLKIT_CLASS(TPropertyItems, TOwnedCollection)

  explicit TPropertyItems(TPersistent* AOwner);
  TPropertyItem* Add(const std::string& Name, TTypeKind Kind);
  TPropertyItem* GetItem(int Index) const;
};

class TMainEntries;
using TPropertyEntryList = std::vector<std::unique_ptr<TPropertyEntry>>;

// What both kinds of entries have: the properties, the objects below and the kind of object.
class TCustomEntry : public TCollectionItem {
  TOOLKIT_CLASS(TCustomEntry, TCollectionItem)

  explicit TCustomEntry(TCollection* Collection);
  ~TCustomEntry() override;
  void Assign(TPersistent* Source) override;

  TPropertyItems* Props() const { return props_; }
  void SetProps(TPropertyItems* Value) { props_->Assign(Value); }
  TMainEntries* Items() const { return items_; }
  void SetItems(TMainEntries* Value);
  TEntrySubTypes SubType() const { return subType_; }
  void SetSubType(TEntrySubTypes Value) { subType_ = Value; }
  // An empty list is left out of a form description.
  bool HasProps() const { return props_->Count() > 0; }
  bool HasItems() const;

 protected:
  // Adds to Out the properties this entry and its items name on Instance, their paths below
  // Prefix ("" or "Font."); with a Wanted path only that one, where it is still there.
  void BindProperties(TObject* Instance, const std::string& Prefix, bool Validate,
                      std::string_view Wanted, TPropertyEntryList& Out) const;
  void BindOwnProperties(TObject* Instance, const std::string& Prefix, bool Validate,
                         std::string_view Wanted, TPropertyEntryList& Out) const;
  void BindItems(TObject* Instance, const std::string& Prefix, bool Validate,
                 std::string_view Wanted, TPropertyEntryList& Out) const;
  bool Validates(bool Inherited) const { return Inherited && !subType_.Contains(stNoValidate); }

 private:
  TPropertyItems* props_;
  TMainEntries* items_;
  TEntrySubTypes subType_{stPubPropObject};
};

// An object held by a property of the entry above it.
class TMainEntry : public TCustomEntry {
  TOOLKIT_CLASS(TMainEntry, TCustomEntry)

  explicit TMainEntry(TCollection* Collection) : TCustomEntry(Collection) {}
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override { return Name; }

  // The property of the object above that holds this object.
  std::string Name;

 private:
  friend class TCustomEntry;
  void BindObject(TObject* Parent, const std::string& Prefix, bool Validate,
                  std::string_view Wanted, TPropertyEntryList& Out) const;
};

class TMainEntries : public TOwnedCollection {
  TOOLKIT_CLASS(TMainEntries, TOwnedCollection)

  explicit TMainEntries(TPersistent* AOwner);
  TMainEntry* Add(const std::string& Name, TEntrySubTypes SubType);
  TMainEntry* GetItem(int Index) const;
};

class TComponentEntries;

// A component and its persisted properties.
class TComponentEntry : public TCustomEntry {
  TOOLKIT_CLASS(TComponentEntry, TCustomEntry)

  explicit TComponentEntry(TCollection* Collection) : TCustomEntry(Collection) {}
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override;

  TComponent* GetRef() const { return ref_; }
  void SetRef(TComponent* Value);

  // Binds the entry to Ref's properties as they are now; with no Ref it names none.
  void Init();
  // Fills Strings with one line per property bound by Init: its path, with its TPropertyEntry as
  // the line's object (valid until the next Init, and only while the objects it reaches stay).
  // Without IncludeSubItems only the properties named directly in Props.
  void MoveSubItemsToStrings(bool IncludeSubItems, TStrings* Strings) const;
  // The one property at Path (as MoveSubItemsToStrings gives it), bound to Ref's objects as
  // they are now; null when Ref is gone or the path leads nowhere now (say, to an item of a
  // collection that has shrunk). Raises as Init does for what the entry names wrongly.
  std::unique_ptr<TPropertyEntry> Bind(std::string_view Path) const;

 private:
  friend class TComponentEntries;
  TComponentEntries* Entries() const;

  TComponent* ref_ = nullptr;
  TPropertyEntryList bound_;
  std::size_t direct_ = 0;  // bound_ starts with the properties named in Props
};

// The collection a configuration component owns. Its owner hears when a referenced component
// goes (free notification) and passes it on to RemoveReference.
class TComponentEntries : public TOwnedCollection {
  TOOLKIT_CLASS(TComponentEntries, TOwnedCollection)

  explicit TComponentEntries(TComponent* AOwner);
  TComponentEntry* Add(TComponent* Ref);
  TComponentEntry* GetItem(int Index) const;
  TComponent* OwnerComponent() const { return owner_; }

  void Init();
  // Clears every Ref to Component, which is being freed.
  void RemoveReference(TComponent* Component);

 private:
  TComponent* owner_;
};
