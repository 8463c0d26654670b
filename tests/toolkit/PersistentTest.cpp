#include <gtest/gtest.h>

#include "tests/toolkit/SampleComponents.h"

namespace {

// Knows how to put itself into a string list, but nothing can be assigned to it.
class TSamplePoint : public TPersistent {
  TOOLKIT_CLASS(TSamplePoint, TPersistent)
  int X = 1;
  int Y = 2;

 protected:
  void AssignTo(TPersistent* Dest) override {
    if (auto* strings = dynamic_cast<TStrings*>(Dest)) {
      strings->SetText(std::to_string(X) + "," + std::to_string(Y));
      return;
    }
    inherited::AssignTo(Dest);
  }
};

TClass TSamplePoint::StaticClass() {
  return DefineClass<TSamplePoint>("TSamplePoint", [](ClassBuilder<TSamplePoint>&) {});
}

TEST(AssignTest, FallsBackToTheSourcesAssignTo) {
  TSamplePoint point;
  TStringList list;
  list.Assign(&point);  // TStrings does not know points; the point knows string lists
  EXPECT_EQ(list.Text(), "1,2\r\n");
}

TEST(AssignTest, AnUnknownPairNamesBothClasses) {
  TSamplePoint point;
  TSampleFont font;
  TStringList list;
  try {
    font.Assign(&list);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TStringList to a TSampleFont");
  }
  try {
    point.Assign(&font);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TSampleFont to a TSamplePoint");
  }
  try {
    font.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a nil to a TSampleFont");
  }
}

TEST(ClassInfoTest, NamesAndAncestry) {
  TStringList list;
  EXPECT_EQ(list.ClassName(), "TStringList");
  EXPECT_TRUE(list.InheritsFrom(TStrings::StaticClass()));
  EXPECT_TRUE(list.InheritsFrom(TPersistent::StaticClass()));
  EXPECT_FALSE(list.InheritsFrom(TComponent::StaticClass()));
  EXPECT_EQ(TStringList::StaticClass()->ClassParent(), TStrings::StaticClass());
  EXPECT_TRUE(list.Is<TStrings>());
}

TEST(ClassRegistryTest, FindsRegisteredClassesByName) {
  RegisterSampleClasses();
  EXPECT_EQ(GetClass("tsamplecomponent"), TSampleComponent::StaticClass());
  EXPECT_EQ(GetClass("TNothing"), nullptr);
  try {
    FindClass("TNothing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message, "Class TNothing not found");
  }
}

}  // namespace
