#include "toolkit/model/Collection.h"

#include <algorithm>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/ScopeGuards.h"

TClass TCollectionItem::StaticClass() {
  return DefineClass<TCollectionItem>("TCollectionItem", [](ClassBuilder<TCollectionItem>&) {});
}

TClass TCollection::StaticClass() {
  return DefineClass<TCollection>("TCollection", [](ClassBuilder<TCollection>&) {});
}

TClass TOwnedCollection::StaticClass() {
  return DefineClass<TOwnedCollection>("TOwnedCollection", [](ClassBuilder<TOwnedCollection>&) {});
}

TCollectionItem::TCollectionItem(TCollection* Collection) {
  SetCollection(Collection);
}

TCollectionItem::~TCollectionItem() {
  SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (collection_ == Value) return;
  if (collection_ != nullptr) collection_->RemoveItem(this);
  if (Value != nullptr) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (collection_ == nullptr) return -1;
  const auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  const int current = Index();
  if (current < 0 || Value < 0 || current == Value) return;
  auto& items = collection_->items_;
  if (Value >= static_cast<int>(items.size())) Value = static_cast<int>(items.size()) - 1;
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

std::string TCollectionItem::GetNamePath() const {
  if (collection_ == nullptr) return ClassName();
  return collection_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (collection_ != nullptr && collection_->updateCount_ == 0) {
    collection_->Update(AllItems ? nullptr : this);
  }
}

TPersistent* TCollectionItem::GetOwner() const {
  return collection_;
}

TCollection::TCollection(TClass ItemClass) : itemClass_(ItemClass) {}

TCollection::~TCollection() {
  ++updateCount_;  // no Update calls from a collection being destroyed
  while (!items_.empty())
    items_.back()->Free();
}

TCollectionItem* TCollection::Add() {
  if (!itemClass_->CanCreateItem()) {
    throw EListError("Cannot create items of class " + itemClass_->ClassName());
  }
  return itemClass_->CreateItem(this);
}

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index) {
  Items(Index)->Free();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty())
    items_.back()->Free();
  EndUpdate();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  }
  return items_[static_cast<std::size_t>(Index)];
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : items_) {
    if (item->id_ == ID) return item;
  }
  return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCollection*>(Source);
  if (source == nullptr) {
    inherited::Assign(Source);
    return;
  }
  if (source == this) return;
  BeginUpdate();
  const ScopeExit endUpdate([this] { EndUpdate(); });
  Clear();
  for (TCollectionItem* item : source->items_)
    Add()->Assign(item);
}

void TCollection::EndUpdate() {
  --updateCount_;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  items_.push_back(Item);
  Item->collection_ = this;
  Item->id_ = nextId_++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  std::erase(items_, Item);
  Item->collection_ = nullptr;
  Changed();
}
