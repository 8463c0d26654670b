#include <gtest/gtest.h>

#include "tests/toolkit/SampleComponents.h"

namespace {

// Records the order in which components are destroyed.
class TTracked : public TComponent {
  TOOLKIT_CLASS(TTracked, TComponent)
  TTracked(TComponent* AOwner, std::vector<std::string>& Log) : TComponent(AOwner), log_(Log) {}
  ~TTracked() override { log_.push_back(Name()); }

 private:
  std::vector<std::string>& log_;
};

TClass TTracked::StaticClass() {
  return DefineClass<TTracked>("TTracked", [](ClassBuilder<TTracked>&) {});
}

TEST(ComponentTest, TheOwnerFreesWhatItOwnsLastCreatedFirst) {
  std::vector<std::string> log;
  auto* owner = new TComponent(nullptr);
  for (const char* name : {"A", "B", "C"})
    (new TTracked(owner, log))->SetName(name);
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(1)->Name(), "B");
  EXPECT_EQ(owner->Components(2)->ComponentIndex(), 2);
  owner->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"C", "B", "A"}));
}

TEST(ComponentTest, AComponentFreedAloneLeavesItsOwner) {
  std::vector<std::string> log;
  auto* owner = new TComponent(nullptr);
  auto* child = new TTracked(owner, log);
  child->Free();
  EXPECT_EQ(owner->ComponentCount(), 0);
  owner->Free();
  EXPECT_EQ(log.size(), 1u);
}

TEST(ComponentTest, NamesAreUniqueAmongTheOwnersComponents) {
  auto* form = new TSampleForm(nullptr);
  form->SetName("Form1");
  auto* a = new TComponent(form);
  auto* b = new TComponent(form);
  a->SetName("Button1");
  try {
    b->SetName("BUTTON1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message, "A component named BUTTON1 already exists in Form1");
  }
  EXPECT_EQ(b->Name(), "");
  a->SetName("button1");  // its own name in other letter case is no clash
  EXPECT_EQ(form->FindComponent("BUTTON1"), a);
  try {
    b->SetName("1st");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message, "'1st' is not a valid component name");
  }
  auto* other = new TComponent(nullptr);
  other->SetName("button1");
  EXPECT_THROW(form->InsertComponent(other), EComponentError);
  other->Free();
  form->Free();
}

TEST(ComponentTest, PublishedFieldsFollowTheComponentOfTheirName) {
  auto* form = new TSampleForm(nullptr);
  auto* sample = new TSampleComponent(form);
  EXPECT_EQ(form->First, nullptr);
  sample->SetName("First");
  EXPECT_EQ(form->First, sample);
  sample->SetName("Second");
  EXPECT_EQ(form->First, nullptr);
  EXPECT_EQ(form->Second, sample);
  sample->Free();
  EXPECT_EQ(form->Second, nullptr);
  form->Free();
}

TEST(ComponentTest, FreeNotificationClearsReferences) {
  auto* form = new TSampleForm(nullptr);
  auto* a = new TSampleComponent(form);
  auto* b = new TSampleComponent(form);
  a->SetBuddy(b);
  b->Free();  // the owner tells its other components
  EXPECT_EQ(a->Buddy(), nullptr);

  auto* other = new TSampleComponent(nullptr);  // another owner: a mutual notification
  a->SetBuddy(other);
  other->Free();
  EXPECT_EQ(a->Buddy(), nullptr);

  auto* third = new TSampleComponent(nullptr);
  third->SetBuddy(a);
  form->Free();  // frees a, which third refers to
  EXPECT_EQ(third->Buddy(), nullptr);
  third->Free();
}

TEST(ComponentTest, DesigningAndDestroyingReachOwnedComponents) {
  auto* owner = new TComponent(nullptr);
  auto* early = new TComponent(owner);
  owner->SetDesigning(true);
  auto* late = new TComponent(owner);  // joins a designing owner
  EXPECT_TRUE(early->ComponentState().Contains(csDesigning));
  EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
  owner->Destroying();
  EXPECT_TRUE(late->ComponentState().Contains(csDestroying));
  owner->Free();
}

TEST(ComponentTest, PublishesNameAndTagFirst) {
  const auto& props = TSampleComponent::StaticClass()->Properties();
  ASSERT_GE(props.size(), 3u);
  EXPECT_EQ(props[0].Name, "Name");
  EXPECT_EQ(props[0].TypeName(), "TComponentName");
  EXPECT_EQ(props[0].Kind(), tkLString);
  EXPECT_EQ(props[1].Name, "Tag");
  EXPECT_EQ(props[2].Name, "Caption");
}

}  // namespace
