#pragma once

// TCollection: a list of items of one class (TCollectionItem descendants), owned
// by the collection. In a form description a collection is written as
//   Items = <
//     item
//       Caption = 'First'
//     end>

#include <string>
#include <vector>

#include "toolkit/model/Persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
  TOOLKIT_CLASS(TCollectionItem, TPersistent)

  // Joins Collection (when given) as its last item.
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  void SetCollection(TCollection* Value);
  int Index() const;
  virtual void SetIndex(int Value);
  int ID() const { return id_; }
  virtual std::string DisplayName() const { return ClassName(); }
  std::string GetNamePath() const override;

 protected:
  // Tells the collection this item (or, with AllItems, every item) changed.
  void Changed(bool AllItems);
  TPersistent* GetOwner() const override;

 private:
  friend class TCollection;

  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  TOOLKIT_CLASS(TCollection, TPersistent)

  // ItemClass is a TCollectionItem descendant constructible from a TCollection*.
  explicit TCollection(TClass ItemClass);
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int Index) const;
  TCollectionItem* FindItemID(int ID) const;
  TClass ItemClass() const { return itemClass_; }

  // Copies the items of another collection, item by item through their Assign.
  void Assign(TPersistent* Source) override;
  virtual void BeginUpdate() { ++updateCount_; }
  virtual void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  // Item is the item that changed, or null when the collection as a whole did.
  virtual void Update(TCollectionItem*) {}
  void Changed();

 private:
  friend class TCollectionItem;

  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TClass itemClass_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};

// A collection that belongs to a component (or another persistent object).
class TOwnedCollection : public TCollection {
  TOOLKIT_CLASS(TOwnedCollection, TCollection)

  TOwnedCollection(TPersistent* AOwner, TClass ItemClass)
      : TCollection(ItemClass), owner_(AOwner) {}

 protected:
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
};
