#include "package/ComponentEntries.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <utility>
#include <vector>

#include "package/ClassInfo.h"
#include "tests/toolkit/SampleComponents.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/model/StringList.h"

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

// Two sample components on one owner, and the entries collection of a third.
class ComponentEntriesTest : public ::testing::Test {
 protected:
  ComponentEntriesTest() {
    sample_->SetName("Sample");
    buddy_->SetName("Buddy");
    entries_ = new TComponentEntries(owner_);
  }
  ~ComponentEntriesTest() override {
    entries_->Free();
    owner_->Free();
  }

  // Path and value text of every property an entry names, as a configuration run sees them.
  static Lines Bound(const TComponentEntry* Entry, bool IncludeSubItems = true) {
    TStringList list;
    Entry->MoveSubItemsToStrings(IncludeSubItems, &list);
    Lines lines;
    for (int i = 0; i < list.Count(); ++i) {
      auto* property = static_cast<TPropertyEntry*>(list.Objects(i));
      lines.emplace_back(list.Strings(i), VarToStr(property->GetValue()));
    }
    return lines;
  }

  TComponent* owner_ = new TComponent(nullptr);
  TSampleComponent* sample_ = new TSampleComponent(owner_);
  TSampleComponent* buddy_ = new TSampleComponent(owner_);
  TComponentEntries* entries_;
};

TEST_F(ComponentEntriesTest, AnEntryReachesPropertiesObjectsListsAndCollectionItems) {
  sample_->Caption = "Zav";
  sample_->Count = 4;
  sample_->Options = TSampleOptions{soBold, soUnderline};
  sample_->Ratio = 0.5;
  sample_->SetBuddy(buddy_);
  sample_->Font()->Name = "Serif";
  sample_->Lines()->SetText("one\r\ntwo\r\n");
  for (const char* caption : {"first", "second"}) {
    static_cast<TSampleItem*>(sample_->Items()->Add())->Caption = caption;
  }

  TComponentEntry* entry = entries_->Add(sample_);
  for (const char* name : {"Caption", "Count", "Enabled", "Mode", "Options", "Ratio", "Buddy"}) {
    entry->Props()->Add(name, tkUnknown);
  }
  entry->Items()->Add("Font", stPubPropObject)->Props()->Add("Name", tkLString);
  entry->Items()->Add("Lines", stTStringsObject);
  entry->Items()->Add("Items", stCollectionObject)->Props()->Add("Caption", tkLString);
  entries_->Init();

  EXPECT_EQ(Bound(entry), (Lines{{"Caption", "Zav"},
                                 {"Count", "4"},
                                 {"Enabled", "True"},
                                 {"Mode", "smFast"},
                                 {"Options", "[soBold, soUnderline]"},
                                 {"Ratio", "0.5"},
                                 {"Buddy", "Buddy"},
                                 {"Font.Name", "Serif"},
                                 {"Lines", "one\r\ntwo\r\n"},
                                 {"Items[0].Caption", "first"},
                                 {"Items[1].Caption", "second"}}));
  EXPECT_EQ(Bound(entry, false).size(), 7U);
  // Each path alone binds the same property, as long as it leads somewhere.
  for (const auto& [path, value] : Bound(entry))
    EXPECT_EQ(VarToStr(entry->Bind(path)->GetValue()), value) << path;
  for (const char* gone : {"Items[2].Caption", "Items[1]", "Font", "Lines.Text", "Fon.Name", ""})
    EXPECT_EQ(entry->Bind(gone), nullptr) << gone;

  // Each value set back from its text, onto a component that differs in every one of them.
  TStringList list;
  entry->MoveSubItemsToStrings(true, &list);
  const Lines texts = Bound(entry);
  auto* copy = new TSampleComponent(owner_);
  copy->SetName("Copy");
  entry->SetRef(copy);
  static_cast<TSampleItem*>(copy->Items()->Add())->Caption = "x";
  static_cast<TSampleItem*>(copy->Items()->Add())->Caption = "y";
  entries_->Init();
  list.Clear();
  entry->MoveSubItemsToStrings(true, &list);
  for (int i = 0; i < list.Count(); ++i) {
    static_cast<TPropertyEntry*>(list.Objects(i))->SetValue(texts[i].second);
  }
  const Lines copied = Bound(entry);
  EXPECT_EQ(copied, texts);
  EXPECT_EQ(copy->Buddy(), buddy_);
  EXPECT_EQ(copy->Lines()->Count(), 2);
}

TEST_F(ComponentEntriesTest, AnEntryThatNamesWhatIsNotThereFailsUnlessItDoesNotValidate) {
  struct Case {
    const char* what;
    void (*arrange)(TComponentEntry*);
    const char* message;
  };
  const std::vector<Case> cases = {
      {"unknown property", [](TComponentEntry* e) { e->Props()->Add("Colour", tkInteger); },
       "Configuration entry TSampleComponent.Colour: no such published property"},
      {"another kind", [](TComponentEntry* e) { e->Props()->Add("Caption", tkInteger); },
       "Configuration entry TSampleComponent.Caption: a string property cannot be persisted as "
       "tkInteger"},
      {"a handler", [](TComponentEntry* e) { e->Props()->Add("OnChange", tkMethod); },
       "Configuration entry TSampleComponent.OnChange: a TNotifyEvent property cannot be "
       "persisted as tkMethod"},
      {"an object as a value", [](TComponentEntry* e) { e->Props()->Add("Font", tkClass); },
       "Configuration entry TSampleComponent.Font: a TSampleFont property cannot be persisted "
       "as tkClass"},
      {"a list that is not one",
       [](TComponentEntry* e) { e->Items()->Add("Font", stTStringsObject); },
       "Configuration entry TSampleComponent.Font: holds a TSampleFont, not a TStrings"},
      {"a property of a sub-object",
       [](TComponentEntry* e) {
         e->Items()->Add("Font", stPubPropObject)->Props()->Add("Weight", tkInteger);
       },
       "Configuration entry TSampleFont.Font.Weight: no such published property"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    entries_->Clear();
    TComponentEntry* entry = entries_->Add(sample_);
    entry->Props()->Add("Count", tkInteger);
    c.arrange(entry);
    try {
      entries_->Init();
      ADD_FAILURE() << "no exception";
    } catch (const EPropertyError& error) {
      EXPECT_EQ(error.Message, c.message);
    }
    entry->SetSubType(TEntrySubTypes{stPubPropObject, stNoValidate});
    entries_->Init();
    EXPECT_EQ(Bound(entry), (Lines{{"Count", "3"}}));
  }
}

TEST_F(ComponentEntriesTest, ValuesTurnIntoTextAndBackWhateverTheLocale) {
  // A decimal comma in the process's locale must not reach the text (where the machine has one).
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  const ScopeExit restore([&saved] { std::setlocale(LC_NUMERIC, saved.c_str()); });

  struct Case {
    const char* property;
    const char* text;
    const char* readBack;  // null: the text itself
  };
  const std::vector<Case> good = {
      {"Caption", "  ;=\"quoted\" \\ back\\slash\r\nline two\tÄ€ ", nullptr},
      {"Caption", "", nullptr},
      {"Count", "-2147483648", nullptr},
      {"Count", "$10", "16"},
      {"Enabled", "false", "False"},
      {"Mode", "smcareful", "smCareful"},
      {"Options", "[]", nullptr},
      {"Options", "[soItalic,soBold]", "[soBold, soItalic]"},
      {"Ratio", "-1.25E-7", nullptr},
      {"Ratio", "1234567.875", nullptr},
      {"Letter", "Q", nullptr},
      {"Buddy", "", nullptr},
  };
  for (const Case& c : good) {
    SCOPED_TRACE(std::string(c.property) + " = " + c.text);
    TPropertyEntry entry(sample_, GetPropInfo(sample_, c.property), c.property);
    entry.SetValue(std::string(c.text));
    EXPECT_EQ(VarToStr(entry.GetValue()), c.readBack != nullptr ? c.readBack : c.text);
  }
  const std::vector<Case> bad = {
      {"Count", "12abc", nullptr},
      {"Count", "99999999999", nullptr},
      {"Enabled", "Maybe", nullptr},
      {"Mode", "smNope", nullptr},
      {"Options", "[soBold, soNope]", nullptr},
      {"Ratio", "1,5", nullptr},
      {"Letter", "two", nullptr},
      {"Buddy", "Nobody", nullptr},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(std::string(c.property) + " = " + c.text);
    TPropertyEntry entry(sample_, GetPropInfo(sample_, c.property), c.property);
    const std::string before = VarToStr(entry.GetValue());
    EXPECT_THROW(entry.SetValue(std::string(c.text)), EConvertError);
    EXPECT_EQ(VarToStr(entry.GetValue()), before);
  }
}

TEST_F(ComponentEntriesTest, TypeDescriptionsNameTheTypeAndItsMembers) {
  const auto typDef = [this](const char* property) {
    return TPropertyEntry(sample_, GetPropInfo(sample_, property), property).GetTypDef();
  };
  EXPECT_EQ(typDef("Caption"), "string");
  EXPECT_EQ(typDef("Count"), "Integer");
  EXPECT_EQ(typDef("Enabled"), "Boolean");
  EXPECT_EQ(typDef("Mode"), "TSampleMode: smFast, smSlow, smCareful");
  EXPECT_EQ(typDef("Options"), "TSampleOptions: [soBold, soItalic, soUnderline]");
  EXPECT_EQ(TStringsEntry(sample_->Lines(), "Lines").GetTypDef(), "TStringList: lines");
}

TEST_F(ComponentEntriesTest, ClassInfoSelectsThePropertiesThatHaveText) {
  TClassInfo info(sample_);
  std::vector<std::string> selectable;
  for (int i = 0; i < info.Count(); ++i) {
    if (info.Select(i))
      selectable.push_back(info.Name() + (info.IsStored() ? "" : " (not stored)"));
  }
  EXPECT_EQ(selectable,
            (std::vector<std::string>{"Name (not stored)", "Tag", "Caption", "Count", "Enabled",
                                      "Mode", "Options", "Ratio", "Letter", "Hidden (not stored)",
                                      "Level (not stored)", "Always", "Data", "Buddy"}));
  EXPECT_FALSE(info.Select(info.Count()));
  EXPECT_THROW((void)info.Name(), EPropertyError);
}

TEST_F(ComponentEntriesTest, AReferenceGoesWithItsComponent) {
  TComponentEntry* entry = entries_->Add(buddy_);
  entry->Props()->Add("Caption", tkLString);
  entries_->Init();
  ASSERT_EQ(Bound(entry).size(), 1U);
  buddy_->Free();
  // The owner of the entries hears of it only as a notification; pass it on as it does.
  entries_->RemoveReference(buddy_);
  EXPECT_EQ(entry->GetRef(), nullptr);
  entries_->Init();
  EXPECT_TRUE(Bound(entry).empty());
}

}  // namespace
