#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/forms/Forms.h"
#include "toolkit/model/Classes.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/StdCtrls.h"

namespace {

std::vector<std::string> Lines(const TStrings& strings) {
  std::vector<std::string> lines;
  for (int i = 0; i < strings.Count(); ++i)
    lines.push_back(strings.Strings(i));
  return lines;
}

TEST(StringsTextTest, ReadingPutsCrLfAfterEveryLine) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("a");
  list.Add("");
  list.Add("c");
  EXPECT_EQ(list.Text(), "a\r\n\r\nc\r\n");
}

TEST(StringsTextTest, WritingSplitsOnEveryKindOfBreak) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  list.SetText("a\r\n\r\nb\r\n");  // an empty line in between stays; the final break adds none
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "", "b"}));
  list.SetText("\r\n");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{""}));
  list.SetText("\n\r");  // LF then CR: two breaks, two empty lines
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"", ""}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringsTextTest, HistoryStringRoundTripsThroughTheText) {
  // How the history combo box stores its list: every CR LF becomes ';'.
  TStringList list;
  list.SetText("C:\\One\r\n\r\nC:\\Two\r\n");
  std::string history = list.Text();
  for (std::size_t pos = 0; (pos = history.find("\r\n", pos)) != std::string::npos;) {
    history.replace(pos, 2, ";");
  }
  EXPECT_EQ(history, "C:\\One;;C:\\Two;");
}

TEST(StringListTest, EditsAndIndexErrors) {
  TStringList list;
  list.Add("one");
  list.Insert(0, "zero");
  list.AddObject("two", &list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"zero", "one", "two"}));
  EXPECT_EQ(list.Objects(2), &list);
  EXPECT_EQ(list.IndexOf("ONE"), 1);  // ignoring case
  EXPECT_EQ(list.IndexOf("three"), -1);
  EXPECT_EQ(list.IndexOfObject(&list), 2);
  list.Move(2, 0);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"two", "zero", "one"}));
  EXPECT_EQ(list.Objects(0), &list);
  list.Delete(1);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"two", "one"}));
  try {
    list.Strings(2);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (2)");
  }
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
  EXPECT_THROW(list.Delete(-1), EStringListError);
}

TEST(StringListTest, NameValuePairs) {
  TStringList list;
  list.SetText("Mode=Fast\r\nlevel=3\r\n");
  EXPECT_EQ(list.Values("LEVEL"), "3");
  EXPECT_EQ(list.Names(0), "Mode");
  list.SetValues("Mode", "Slow");
  list.SetValues("New", "1");
  list.SetValues("level", "");
  EXPECT_EQ(list.Text(), "Mode=Slow\r\nNew=1\r\n");
}

TEST(StringListTest, SortedListsKeepOrderAndRefuseInserts) {
  TStringList list;
  list.SetSorted(true);
  list.Add("pear");
  list.Add("Apple");
  list.Add("banana");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "banana", "pear"}));
  EXPECT_EQ(list.Add("apple"), 0);  // dupIgnore: the one there already
  EXPECT_EQ(list.Count(), 3);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("PEAR"), EStringListError);
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  int index = -1;
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 2);
}

TEST(StringListTest, ChangeEventsAreBracketedByUpdates) {
  TStringList list;
  std::vector<std::string> events;
  list.OnChanging = [&](TObject*) { events.push_back("changing"); };
  list.OnChange = [&](TObject*) { events.push_back("change"); };
  list.Add("a");
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
  events.clear();
  list.SetText("x\r\ny\r\nz");  // one update around all its edits
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
  events.clear();
  list.BeginUpdate();
  list.Add("1");
  list.BeginUpdate();
  list.Add("2");
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing"}));
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
}

TEST(StringListTest, AssignCopiesLinesAndObjects) {
  TStringList source;
  source.AddObject("a", &source);
  source.Add("b");
  TStringList target;
  target.Add("old");
  target.Assign(&source);
  EXPECT_EQ(Lines(target), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(target.Objects(0), &source);
  EXPECT_TRUE(target.Equals(&source));
}

// The plain list, a combo box's items and a rich edit's lines keep the same rules.
class EveryStringListTest : public testing::Test {
 protected:
  EveryStringListTest() : form_(new TForm(Application)) {
    combo_ = new TComboBox(form_);
    edit_ = new TRichEdit(form_);
  }
  ~EveryStringListTest() override { form_->Free(); }

  TForm* form_;
  TComboBox* combo_;
  TRichEdit* edit_;
  TStringList plain_;
};

TEST_F(EveryStringListTest, AnIndexNamesALineAndInsertMayNameTheEnd) {
  for (TStrings* list : {static_cast<TStrings*>(&plain_), combo_->Items(), edit_->Lines()}) {
    SCOPED_TRACE(list->ClassName());
    // The storage they share is no class of its own: each descends from TStrings.
    EXPECT_EQ(list->ClassType()->ClassParent(), TStrings::StaticClass());
    list->SetText("a\nb");
    list->Insert(2, "end");
    list->Insert(0, "start");
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"start", "a", "b", "end"}));
    struct Misuse {
      const char* what;
      std::function<void()> run;
      int index;
    };
    const Misuse misuses[] = {
        {"read at Count", [&] { list->Strings(4); }, 4},
        {"read before the start", [&] { list->Strings(-1); }, -1},
        {"write at Count", [&] { list->SetStrings(4, "x"); }, 4},
        {"insert beyond Count", [&] { list->Insert(5, "x"); }, 5},
        {"insert before the start", [&] { list->Insert(-1, "x"); }, -1},
        {"delete at Count", [&] { list->Delete(4); }, 4},
    };
    for (const Misuse& misuse : misuses) {
      try {
        misuse.run();
        ADD_FAILURE() << misuse.what << ": no error";
      } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (" + std::to_string(misuse.index) + ")")
            << misuse.what;
      }
    }
    EXPECT_EQ(list->Count(), 4);
  }
}

TEST_F(EveryStringListTest, SortedListsCompareIgnoringCase) {
  plain_.SetSorted(true);
  plain_.SetDuplicates(dupAccept);  // a combo box keeps every line it is given
  combo_->SetSorted(true);
  for (TStrings* list : {static_cast<TStrings*>(&plain_), combo_->Items()}) {
    SCOPED_TRACE(list->ClassName());
    for (const char* line : {"beta", "Alpha", "Gamma", "delta", "alpha"})
      list->Add(line);
    // A line equal to others but for case goes before them.
    EXPECT_EQ(Lines(*list), (std::vector<std::string>{"alpha", "Alpha", "beta", "delta", "Gamma"}));
    EXPECT_EQ(list->IndexOf("GAMMA"), 4);
    EXPECT_EQ(list->Add("Epsilon"), 4);
  }
}

}  // namespace
