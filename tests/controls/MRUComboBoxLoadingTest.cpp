// The history combo box read from and written to form descriptions: one OnChange after
// loading, the button kind chosen by ButtonTabStop, and what a written description holds.

#include <gtest/gtest.h>

#include "tests/controls/MRUComboBoxForm.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/FormStreaming.h"

using namespace toolkit_test;

namespace {

using Lines = std::vector<std::string>;

TEST(MRUComboBoxLoadingTest, LoadingCommitsTheNewestEntryAndReportsOneChange) {
  TMRUComboBoxForm* form = BuildMRUComboBoxForm();
  const ScopeExit freeForm([form] { form->Free(); });
  TMRUComboBoxProbe* field = form->FolderSelect;
  EXPECT_EQ(form->Log,
            (Lines{"Validate C:\\Programme\\Zav Polyverb", "Change C:\\Programme\\Zav Polyverb"}));
  EXPECT_EQ(field->CommittedText(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(field->History(), kBuiltInHistory);
  EXPECT_EQ(field->ComboBox()->Text(), "C:\\Programme\\Zav Polyverb");
  EXPECT_EQ(field->ComboBox()->ItemIndex(), 0);
  EXPECT_NE(dynamic_cast<TBitBtn*>(field->Button()), nullptr);
  EXPECT_EQ(field->ButtonCaption(), "...");
}

}  // namespace
