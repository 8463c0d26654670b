#include <gtest/gtest.h>

#include "tests/toolkit/SampleComponents.h"

namespace {

// Counts the Update calls a collection makes.
class TCountingCollection : public TCollection {
  TOOLKIT_CLASS(TCountingCollection, TCollection)
  TCountingCollection() : TCollection(TSampleItem::StaticClass()) {}
  int Updates = 0;

 protected:
  void Update(TCollectionItem*) override { ++Updates; }
};

TClass TCountingCollection::StaticClass() {
  return DefineClass<TCountingCollection>("TCountingCollection",
                                          [](ClassBuilder<TCountingCollection>&) {});
}

TSampleItem* Item(TCollection& collection, int index) {
  return dynamic_cast<TSampleItem*>(collection.Items(index));
}

TEST(CollectionTest, ItemsBelongToTheirCollection) {
  TCollection collection(TSampleItem::StaticClass());
  EXPECT_EQ(collection.ItemClass(), TSampleItem::StaticClass());
  auto* first = dynamic_cast<TSampleItem*>(collection.Add());
  ASSERT_NE(first, nullptr);
  first->Caption = "first";
  auto* inserted = dynamic_cast<TSampleItem*>(collection.Insert(0));
  inserted->Caption = "inserted";
  EXPECT_EQ(collection.Count(), 2);
  EXPECT_EQ(Item(collection, 0), inserted);
  EXPECT_EQ(first->Index(), 1);
  EXPECT_EQ(first->Collection(), &collection);
  EXPECT_EQ(collection.FindItemID(first->ID()), first);
  first->SetIndex(0);
  EXPECT_EQ(Item(collection, 0)->Caption, "first");
  inserted->Free();  // an item freed alone leaves its collection
  EXPECT_EQ(collection.Count(), 1);
  collection.Delete(0);
  EXPECT_EQ(collection.Count(), 0);
  EXPECT_THROW(collection.Items(0), EListError);
}

TEST(CollectionTest, AssignCopiesItemByItem) {
  TCollection source(TSampleItem::StaticClass());
  dynamic_cast<TSampleItem*>(source.Add())->Caption = "a";
  dynamic_cast<TSampleItem*>(source.Add())->Width = 7;
  TCollection target(TSampleItem::StaticClass());
  target.Add();
  target.Add();
  target.Add();
  target.Assign(&source);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(Item(target, 0)->Caption, "a");
  EXPECT_EQ(Item(target, 1)->Width, 7);
  TStringList list;
  EXPECT_THROW(target.Assign(&list), EConvertError);
}

TEST(CollectionTest, UpdatesWaitForTheOutermostEndUpdate) {
  TCountingCollection collection;
  collection.Add();
  EXPECT_EQ(collection.Updates, 1);
  collection.BeginUpdate();
  collection.Add();
  collection.Add();
  collection.Clear();
  EXPECT_EQ(collection.Updates, 1);
  collection.EndUpdate();
  EXPECT_EQ(collection.Updates, 2);
}

TEST(CollectionTest, ItemsOfAClassThatCannotBeMadeAreRefused) {
  TCollection collection(TCollectionItem::StaticClass());
  EXPECT_NO_THROW(collection.Add());  // the base item can be made
  TCollection strings(TStringList::StaticClass());
  EXPECT_THROW(strings.Add(), EListError);
}

}  // namespace
