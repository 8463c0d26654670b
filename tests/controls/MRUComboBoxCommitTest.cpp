// What a commit does to the value, the history and the events, by program (no focus in the
// field): trimming, validation, the case rule of A-Z only, moving up, full histories, and the
// history text written and read back.

#include <gtest/gtest.h>

#include "tests/controls/MRUComboBoxForm.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/model/StringList.h"

using namespace toolkit_test;

namespace {

using Lines = std::vector<std::string>;
using Validation = std::function<void(std::string& Text, bool& Valid)>;

// A form whose field holds History (committed when written) and an empty log.
struct FieldFixture {
  explicit FieldFixture(const std::string& history, int historyListCount = 8) {
    form = BuildMRUComboBoxForm();
    field = form->FolderSelect;
    field->SetHistoryListCount(historyListCount);
    field->SetHistory(history);
    form->Log.clear();
  }
  ~FieldFixture() { form->Free(); }
  FieldFixture(const FieldFixture&) = delete;
  FieldFixture& operator=(const FieldFixture&) = delete;

  TMRUComboBoxForm* form;
  TMRUComboBoxProbe* field;
};

struct CommitCase {
  std::string name;
  std::string history;
  std::string typed;
  Validation validation;
  bool result;
  Lines log;
  std::string historyAfter;
  std::string committed;
  std::string fieldText;
};

class MRUComboBoxCommitTest : public testing::TestWithParam<CommitCase> {};

const std::string kEight = "1;2;3;4;5;6;7;8;";

Validation Refuse() {
  return [](std::string&, bool& valid) { valid = false; };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MRUComboBoxCommitTest,
    testing::Values(
        CommitCase{"TrimmedBeforeValidation", kBuiltInHistory, " \t C:\\Neu  ", nullptr, true,
                   Lines{"Validate C:\\Neu", "Change C:\\Neu"},
                   std::string("C:\\Neu;") + kBuiltInHistory, "C:\\Neu", "C:\\Neu"},
        CommitCase{"ALaterEntryInOtherLetterCaseGivesWay", kBuiltInHistory, "c:\\zav", nullptr,
                   true, Lines{"Validate c:\\zav", "Change c:\\zav"},
                   "c:\\zav;C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;"
                   "C:\\Polyverb;",
                   "c:\\zav", "c:\\zav"},
        CommitCase{"TheCommittedValueInOtherLetterCaseIsNoChange", kBuiltInHistory,
                   "c:\\programme\\zav polyverb", nullptr, true,
                   Lines{"Validate c:\\programme\\zav polyverb"},
                   "c:\\programme\\zav polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;"
                   "C:\\Polyverb;C:\\Zav;",
                   "c:\\programme\\zav polyverb", "c:\\programme\\zav polyverb"},
        CommitCase{"TheCommittedValueIsNothingNew", kBuiltInHistory, "C:\\Programme\\Zav Polyverb ",
                   nullptr, true, Lines{}, kBuiltInHistory, "C:\\Programme\\Zav Polyverb",
                   "C:\\Programme\\Zav Polyverb"},
        // Letters beyond A-Z keep their case whatever the locale: these are two folders.
        CommitCase{"OnlyAToZAreFolded", "C:\\\xC3\x84rger;C:\\Zav;", "C:\\\xC3\xA4RGER", nullptr,
                   true, Lines{"Validate C:\\\xC3\xA4RGER", "Change C:\\\xC3\xA4RGER"},
                   "C:\\\xC3\xA4RGER;C:\\\xC3\x84rger;C:\\Zav;", "C:\\\xC3\xA4RGER",
                   "C:\\\xC3\xA4RGER"},
        CommitCase{"AFullHistoryLosesItsOldestEntry", kEight, "9", nullptr, true,
                   Lines{"Validate 9", "Change 9"}, "9;1;2;3;4;5;6;7;", "9", "9"},
        CommitCase{"AnEntryMovingUpTakesNothingOff", kEight, "5", nullptr, true,
                   Lines{"Validate 5", "Change 5"}, "5;1;2;3;4;6;7;8;", "5", "5"},
        CommitCase{"BlanksAreTheEmptyValue", kEight, "   ", nullptr, true,
                   Lines{"Validate ", "Change "}, ";1;2;3;4;5;6;7;", "", ""},
        CommitCase{"AHandlerRewritesTheValue", kEight, "C:\\Typed",
                   [](std::string& text, bool&) { text = "  C:\\Rewritten "; }, true,
                   Lines{"Validate C:\\Typed", "Change C:\\Rewritten"},
                   "C:\\Rewritten;1;2;3;4;5;6;7;", "C:\\Rewritten", "C:\\Rewritten"},
        CommitCase{"ARefusedTextGivesWayOutsideTheField", kEight, "C:\\Refused", Refuse(), false,
                   Lines{"Validate C:\\Refused"}, kEight, "1", "1"},
        CommitCase{"ARefusedRewriteIsNotCommittedEither", kEight, "C:\\Typed",
                   [](std::string& text, bool& valid) {
                     text = "C:\\Rewritten";
                     valid = false;
                   },
                   false, Lines{"Validate C:\\Typed"}, kEight, "1", "1"}),
    [](const testing::TestParamInfo<CommitCase>& param) { return param.param.name; });

TEST_P(MRUComboBoxCommitTest, ApplyText) {
  const CommitCase& c = GetParam();
  FieldFixture fixture(c.history);
  TMRUComboBoxProbe* field = fixture.field;
  fixture.form->Validation = c.validation;
  field->ComboBox()->SetText(c.typed);
  EXPECT_EQ(field->ApplyText(), c.result);
  EXPECT_EQ(fixture.form->Log, c.log);
  EXPECT_EQ(field->History(), c.historyAfter);
  EXPECT_EQ(field->CommittedText(), c.committed);
  EXPECT_EQ(field->ComboBox()->Text(), c.fieldText);
  if (c.result && !c.historyAfter.empty()) {
    EXPECT_EQ(field->ComboBox()->ItemIndex(), 0);
  }
}

// The same rules for a value set by program; the value already committed does nothing at all.
TEST(MRUComboBoxCurrentTextTest, AProgramsValueIsCommittedLikeTypedText) {
  FieldFixture fixture(kBuiltInHistory);
  TMRUComboBoxProbe* field = fixture.field;
  field->ComboBox()->SetText("typed, not confirmed");
  field->SetCurrentText("C:\\Programme\\Zav Polyverb");
  EXPECT_TRUE(fixture.form->Log.empty());
  EXPECT_EQ(field->ComboBox()->Text(), "typed, not confirmed");
  field->SetCurrentText(" C:\\Zav ");
  EXPECT_EQ(fixture.form->Log, (Lines{"Validate C:\\Zav", "Change C:\\Zav"}));
  EXPECT_EQ(field->CommittedText(), "C:\\Zav");
  EXPECT_EQ(field->HistoryList()->Strings(0), "C:\\Zav");
  EXPECT_EQ(field->HistoryList()->Count(), 5);
}

struct HistoryCase {
  std::string name;
  std::string written;
  Lines entries;
  std::string read;
  std::string committed;
  Lines log;
};

class MRUComboBoxHistoryTextTest : public testing::TestWithParam<HistoryCase> {};

INSTANTIATE_TEST_SUITE_P(
    Cases, MRUComboBoxHistoryTextTest,
    testing::Values(HistoryCase{"EmptyIsNoChange", "", Lines{}, "", "", Lines{}},
                    HistoryCase{"EmptyEntriesStay", "a;;b;", Lines{"a", "", "b"}, "a;;b;", "a",
                                Lines{"Validate a", "Change a"}},
                    HistoryCase{"TheFinalSeparatorMayBeMissing", "a;b", Lines{"a", "b"}, "a;b;",
                                "a", Lines{"Validate a", "Change a"}},
                    HistoryCase{"DuplicatesAreKept", "x;x;", Lines{"x", "x"}, "x;x;", "x",
                                Lines{"Validate x", "Change x"}},
                    // Entries are kept as written; the committed value is trimmed and goes on top.
                    HistoryCase{"EntriesAreNotTrimmed", " a ;b;", Lines{"a", " a ", "b"},
                                "a; a ;b;", "a", Lines{"Validate a", "Change a"}},
                    HistoryCase{"AnEmptyFirstEntryIsNoChange", ";a;", Lines{"", "a"}, ";a;", "",
                                Lines{}},
                    HistoryCase{"LineBreaksSeparateToo", "a\r\nb;c\nd;", Lines{"a", "b", "c", "d"},
                                "a;b;c;d;", "a", Lines{"Validate a", "Change a"}},
                    HistoryCase{"TheOldestBeyondTheCountAreDropped", "1;2;3;4;5;6;7;8;9;10;",
                                Lines{"1", "2", "3", "4", "5", "6", "7", "8"}, "1;2;3;4;5;6;7;8;",
                                "1", Lines{"Validate 1", "Change 1"}}),
    [](const testing::TestParamInfo<HistoryCase>& param) { return param.param.name; });

TEST_P(MRUComboBoxHistoryTextTest, WrittenAndReadBack) {
  const HistoryCase& c = GetParam();
  FieldFixture fixture(kBuiltInHistory);
  TMRUComboBoxProbe* field = fixture.field;
  field->ComboBox()->SetText("typed");
  field->SetHistory(c.written);
  Lines entries;
  for (int i = 0; i < field->HistoryList()->Count(); ++i)
    entries.push_back(field->HistoryList()->Strings(i));
  EXPECT_EQ(entries, c.entries);
  EXPECT_EQ(field->History(), c.read);
  EXPECT_EQ(field->CommittedText(), c.committed);
  EXPECT_EQ(field->ComboBox()->Text(), c.entries.empty() ? "" : c.committed);
  EXPECT_EQ(fixture.form->Log, c.log);
  // What is read back is written back unchanged.
  fixture.form->Log.clear();
  field->SetHistory(field->History());
  EXPECT_EQ(field->History(), c.read);
  EXPECT_EQ(field->CommittedText(), c.committed);
}

// A list assigned as a whole is taken as it is, and committed like a written History.
TEST(MRUComboBoxHistoryListTest, AnAssignedListIsTheHistory) {
  FieldFixture fixture(kBuiltInHistory);
  TMRUComboBoxProbe* field = fixture.field;
  TStringList list;
  list.Add(" C:\\One ");
  list.Add("C:\\Two;C:\\Three");
  field->SetHistoryList(&list);
  EXPECT_EQ(fixture.form->Log, (Lines{"Validate C:\\One", "Change C:\\One"}));
  // An entry holding the separator reads as two.
  EXPECT_EQ(field->History(), "C:\\One; C:\\One ;C:\\Two;C:\\Three;");
  EXPECT_EQ(field->HistoryList(), field->ComboBox()->Items());
  // The list assigned to itself is written again: its first entry is committed anew.
  fixture.form->Log.clear();
  field->ComboBox()->SetText("typed");
  field->SetHistoryList(field->HistoryList());
  EXPECT_EQ(fixture.form->Log, (Lines{"Validate C:\\One", "Change C:\\One"}));
  EXPECT_EQ(field->ComboBox()->Text(), "C:\\One");
}

TEST(MRUComboBoxCountTest, TheHistoryHoldsAtLeastWhatTheListShows) {
  FieldFixture fixture(kBuiltInHistory);
  TMRUComboBoxProbe* field = fixture.field;
  field->SetDropDownCount(2);
  EXPECT_EQ(field->DropDownCount(), 4);
  EXPECT_EQ(field->ComboBox()->DropDownCount(), 4);
  field->SetHistoryListCount(3);
  EXPECT_EQ(field->HistoryListCount(), 4);
  EXPECT_EQ(field->History(),
            "C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;"
            "C:\\Polyverb;");
  field->SetDropDownCount(10);
  EXPECT_EQ(field->HistoryListCount(), 10);
}

// Without a parent the control has no window to trim for; it trims once it gets one.
TEST(MRUComboBoxCountTest, AFieldWithoutParentTrimsWhenItsWindowIsMade) {
  auto* form = new TForm(Application);
  const ScopeExit freeForm([form] { form->Free(); });
  form->HandleNeeded();
  auto* field = new TMRUComboBoxProbe(form);
  EXPECT_EQ(field->HistoryListCount(), 8);
  field->SetHistory("1;2;3;4;5;6;7;8;9;10;");
  EXPECT_EQ(field->HistoryList()->Count(), 10);
  field->SetParent(form);
  EXPECT_EQ(field->History(), "1;2;3;4;5;6;7;8;");
}

}  // namespace
