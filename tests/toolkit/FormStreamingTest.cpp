#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/support/TestNames.h"
#include "tests/toolkit/SampleComponents.h"

namespace {

// Every kind of property, in the layout the writer produces, so that writing what
// was read gives the text back unchanged.
const char kDescription[] =
    "object MainForm: TSampleForm\n"
    "  Tag = 7\n"
    "  object First: TSampleComponent\n"
    "    Caption = 'Install '#39'here'#39\n"
    "    Count = 5\n"
    "    Enabled = False\n"
    "    Mode = smCareful\n"
    "    Options = [soItalic, soUnderline]\n"
    "    Ratio = 1.5\n"
    "    Letter = 'q'\n"
    "    Level = 2\n"
    "    Always = False\n"
    "    Data = 'text'\n"
    "    Buddy = Second\n"
    "    Font.Name = 'Arial'\n"
    "    Font.Style = [soBold]\n"
    "    Lines.Strings = (\n"
    "      'one'\n"
    "      'two')\n"
    "    Items = <\n"
    "      item\n"
    "        Caption = 'A'\n"
    "        Ref = Second\n"
    "      end\n"
    "      item\n"
    "        Width = 10\n"
    "        Flags = [soItalic]\n"
    "      end>\n"
    "    OnChange = FirstChange\n"
    "    OnCheck = CheckValues\n"
    "    Numbers = (\n"
    "      1\n"
    "      -2\n"
    "      3)\n"
    "    Blob = {0102FF}\n"
    "    Entries = <\n"
    "      item\n"
    "        Caption = 'entry'\n"
    "        Ref = First\n"
    "      end>\n"
    "  end\n"
    "  object Second: TSampleComponent\n"
    "    Always = True\n"
    "    Buddy = First\n"
    "    Items = <>\n"
    "  end\n"
    "end\n";

class FormStreamingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSampleClasses();
    LoadedCalls().clear();
  }
};

TEST_F(FormStreamingTest, ReadsEveryKindOfPropertyAndWritesTheSameTextBack) {
  auto* form = new TSampleForm(nullptr);
  ReadComponentText(form, kDescription);

  EXPECT_EQ(form->Name(), "MainForm");
  EXPECT_EQ(form->Tag(), 7);
  ASSERT_NE(form->First, nullptr);  // published fields point at the components of their name
  ASSERT_NE(form->Second, nullptr);
  TSampleComponent* first = form->First;
  EXPECT_EQ(first->Caption, "Install 'here'");
  EXPECT_EQ(first->Count, 5);
  EXPECT_FALSE(first->Enabled);
  EXPECT_EQ(first->Mode, smCareful);
  EXPECT_EQ(first->Options, (TSampleOptions{soItalic, soUnderline}));
  EXPECT_DOUBLE_EQ(first->Ratio, 1.5);
  EXPECT_EQ(first->Letter, 'q');
  EXPECT_EQ(first->Level, 2);
  EXPECT_EQ(first->Data, Variant("text"));
  EXPECT_EQ(first->Buddy(), form->Second);
  EXPECT_EQ(form->Second->Buddy(), first);  // a reference to a component read earlier
  EXPECT_EQ(first->Font()->Name, "Arial");
  EXPECT_EQ(first->Font()->Style, TSampleOptions{soBold});
  EXPECT_EQ(first->Lines()->Text(), "one\r\ntwo\r\n");
  ASSERT_EQ(first->Items()->Count(), 2);
  auto* item0 = dynamic_cast<TSampleItem*>(first->Items()->Items(0));
  auto* item1 = dynamic_cast<TSampleItem*>(first->Items()->Items(1));
  EXPECT_EQ(item0->Caption, "A");
  EXPECT_EQ(item0->Ref, form->Second);
  EXPECT_EQ(item1->Width, 10);
  EXPECT_EQ(first->Numbers, (std::vector<std::int32_t>{1, -2, 3}));
  EXPECT_EQ(first->Blob, (TBytes{0x01, 0x02, 0xFF}));
  ASSERT_EQ(first->Entries()->Count(), 1);
  EXPECT_EQ(dynamic_cast<TSampleItem*>(first->Entries()->Items(0))->Ref, first);

  first->OnChange(first);
  bool ok = true;
  first->OnCheck(first, ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(form->Events, (std::vector<std::string>{"FirstChange(First)", "CheckValues"}));

  const std::string written = WriteComponentText(form);
  EXPECT_EQ(written, kDescription);

  auto* again = new TSampleForm(nullptr);
  ReadComponentText(again, written);
  EXPECT_EQ(WriteComponentText(again), written);
  again->Free();
  form->Free();
}

TEST_F(FormStreamingTest, LoadedRunsOnceEverythingIsReadInCreationOrder) {
  auto* form = new TSampleForm(nullptr);
  ReadComponentText(form, kDescription);

  ASSERT_EQ(LoadedCalls().size(), 3u);
  EXPECT_EQ(LoadedCalls()[0].Name, "MainForm");
  EXPECT_EQ(LoadedCalls()[1].Name, "First");
  EXPECT_EQ(LoadedCalls()[2].Name, "Second");
  for (const TLoadedCall& call : LoadedCalls()) {
    EXPECT_TRUE(call.LoadingOnEntry) << call.Name;
    EXPECT_FALSE(call.LoadingAfterInherited) << call.Name;  // the base Loaded ends loading
  }
  // Later components are still loading while earlier ones run their Loaded.
  EXPECT_EQ(LoadedCalls()[0].StillLoading, (std::vector<std::string>{"First", "Second"}));
  EXPECT_EQ(LoadedCalls()[1].StillLoading, (std::vector<std::string>{"Second"}));
  EXPECT_TRUE(LoadedCalls()[2].StillLoading.empty());
  EXPECT_TRUE(form->First->LoadingInConstructor);
  EXPECT_FALSE(form->First->ComponentState().Contains(csLoading));
  EXPECT_FALSE(form->ComponentState().Contains(csReading));
  form->Free();
}

TEST_F(FormStreamingTest, ComponentsMadeInCodeAreNotLoading) {
  auto* form = new TSampleForm(nullptr);
  auto* component = new TSampleComponent(form);
  EXPECT_FALSE(component->LoadingInConstructor);
  form->Free();
}

TEST_F(FormStreamingTest, WritesOnlyWhatDiffersFromDefaults) {
  auto* form = new TSampleForm(nullptr);
  form->SetName("Form1");
  auto* sample = new TSampleComponent(form);
  sample->SetName("Sample");
  sample->Hidden = 5;                                // never stored
  sample->Level = 0;                                 // the predicate says no
  sample->OnChange = TNotifyEvent([](TObject*) {});  // bound in code: no name to write
  EXPECT_EQ(WriteComponentText(form),
            "object Form1: TSampleForm\n"
            "  object Sample: TSampleComponent\n"
            "    Always = False\n"
            "    Items = <>\n"
            "  end\n"
            "end\n");
  form->Free();
}

TEST_F(FormStreamingTest, CreatesTheRootFromTheClassTheTextNames) {
  TComponent* root = CreateComponentFromText(
      "object Made: TSampleForm\n"
      "  object First: TSampleComponent\n"
      "    Count = 9\n"
      "  end\n"
      "end\n");
  auto* form = dynamic_cast<TSampleForm*>(root);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), "Made");
  EXPECT_EQ(form->First->Count, 9);
  root->Free();
}

TEST_F(FormStreamingTest, AnEmptyCollectionLeavesTheItemsAsTheyWere) {
  auto* sample = new TSampleComponent(nullptr);
  sample->Items()->Add();
  // The classic reader clears a collection only when the description has items.
  ReadComponentText(sample, "object Sample: TSampleComponent\n  Items = <>\nend\n");
  EXPECT_EQ(sample->Items()->Count(), 1);
  ReadComponentText(sample,
                    "object Sample: TSampleComponent\n  Items = <\n    item\n    end>\nend\n");
  EXPECT_EQ(sample->Items()->Count(), 1);
  EXPECT_EQ(dynamic_cast<TSampleItem*>(sample->Items()->Items(0))->Width, 64);
  sample->Free();
}

struct BadDescription {
  const char* text;
  const char* message;
  int line;
  int column;
};

void PrintTo(const BadDescription& Case, std::ostream* os) {
  *os << testing::PrintToString(Case.text);
}

std::string CaseName(const testing::TestParamInfo<BadDescription>& Info) {
  const BadDescription& c = Info.param;
  return testsupport::TestNameFrom(std::string(c.message) + " on line " + std::to_string(c.line) +
                                   " column " + std::to_string(c.column));
}

class FormReadErrorTest : public ::testing::TestWithParam<BadDescription> {
 protected:
  void SetUp() override { RegisterSampleClasses(); }
};

TEST_P(FormReadErrorTest, NamesThePlaceAndFreesWhatWasRead) {
  const BadDescription& bad = GetParam();
  auto* form = new TSampleForm(nullptr);
  try {
    ReadComponentText(form, bad.text);
    ADD_FAILURE() << "no error for " << bad.text;
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message.find(bad.message), std::string::npos) << e.Message;
    EXPECT_EQ(e.Line, bad.line) << e.Message;
    EXPECT_EQ(e.Column, bad.column) << e.Message;
  }
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_EQ(form->First, nullptr);
  EXPECT_FALSE(form->ComponentState().Contains(csLoading));
  form->Free();
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FormReadErrorTest,
    ::testing::Values(
        BadDescription{"object F: TSampleForm\n  object First: TNoSuchClass\n  end\nend\n",
                       "Class TNoSuchClass not found", 2, 3},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Colour = 5\n  end\nend\n",
                       "Property Colour does not exist", 3, 5},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Count = 'many'\n  end\nend\n",
                       "'many' is not a valid value for property Count (Integer)", 3, 13},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Mode = smWrong\n  end\nend\n",
                       "'smWrong' is not a valid value for property Mode (TSampleMode)", 3, 5},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Options = [soBold, soStrike]\n  end\nend\n",
                       "'[soBold, soStrike]' is not a valid value for property Options", 3, 5},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Count 5\n  end\nend\n",
                       "'=' expected", 3, 11},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Buddy = Nobody\n  end\nend\n",
                       "Component Nobody not found", 3, 13},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n  end\n"
                       "  object first: TSampleComponent\n  end\nend\n",
                       "A component named first already exists in F", 4, 3},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    OnChange = NoHandler\n  end\nend\n",
                       "Method NoHandler not found in TSampleForm", 3, 16},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    OnChange = CheckValues\n  end\nend\n",
                       "Method CheckValues does not fit property OnChange", 3, 16},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Numbers = ('x')\n  end\nend\n",
                       "Integer expected", 3, 16},
        BadDescription{"object F: TSampleForm\n  object First: TSampleComponent\n"
                       "    Caption = 'open\n  end\nend\n",
                       "Unterminated string", 3, 15}),
    CaseName);

}  // namespace
