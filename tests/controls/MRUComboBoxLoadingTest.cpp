// The history combo box read from and written to form descriptions: one OnChange after
// loading, the button kind chosen by ButtonTabStop at design time only, and what a written
// description holds.

#include <gtest/gtest.h>

#include "tests/controls/MRUComboBoxForm.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/model/FormStreaming.h"

using namespace toolkit_test;

namespace {

using Lines = std::vector<std::string>;

// A bitmap file of 2 by 1 pixels, 24 bits each.
TBytes TinyBitmap() {
  TBytes bytes(62, 0);
  auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 62);      // file size
  put32(10, 54);     // pixels start
  put32(14, 40);     // info header size
  put32(18, 2);      // width
  put32(22, 1);      // height
  bytes[26] = 1;     // planes
  bytes[28] = 24;    // bits per pixel
  bytes[54] = 0xFF;  // one blue pixel, one black, two bytes of padding
  return bytes;
}

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
  EXPECT_EQ(field->HistoryListCount(), 8);
  EXPECT_EQ(field->BoundsRect(), (TRect{16, 49, 473, 73}));
  EXPECT_NE(dynamic_cast<TBitBtn*>(field->Button()), nullptr);
  EXPECT_EQ(field->ButtonCaption(), "...");
  EXPECT_EQ(field->Button()->Owner(), field);  // sub-controls, not components of the form
  EXPECT_EQ(field->ComboBox()->Owner(), field);
}

// OnChange fires once after loading also when no history makes a change to report.
TEST(MRUComboBoxLoadingTest, AFieldWithoutHistoryStillReportsOnce) {
  for (const char* history : {"    History = ''\n", "    History = ';C:\\Zav;'\n"}) {
    TMRUComboBoxForm* form = BuildMRUComboBoxForm(history);
    const ScopeExit freeForm([form] { form->Free(); });
    EXPECT_EQ(form->Log, (Lines{"Change "})) << history;
    EXPECT_EQ(form->FolderSelect->CommittedText(), "");
  }
}

TEST(MRUComboBoxLoadingTest, ButtonTabStopChangesOnlyAtDesignTime) {
  TMRUComboBoxForm* form = BuildMRUComboBoxForm();
  const ScopeExit freeForm([form] { form->Free(); });
  TMRUComboBoxProbe* field = form->FolderSelect;
  TControl* button = field->Button();
  try {
    field->SetButtonTabStop(false);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "TMRUComboBoxProbe.ButtonTabStop can only be changed at designing time");
  }
  EXPECT_TRUE(field->ButtonTabStop());
  // Designing, the flag is kept; the button keeps its kind until the form is read again.
  form->SetDesigning(true);
  field->SetButtonTabStop(false);
  EXPECT_FALSE(field->ButtonTabStop());
  EXPECT_EQ(field->Button(), button);
}

// A field designed with a speed button, written out and read in again: the button is a
// TSpeedButton with everything its form description says of it.
TEST(MRUComboBoxLoadingTest, ADesignedSpeedButtonSurvivesTheDescription) {
  std::string text;
  {
    TMRUComboBoxForm* designed = BuildMRUComboBoxForm();
    const ScopeExit freeDesigned([designed] { designed->Free(); });
    TMRUComboBoxProbe* original = designed->FolderSelect;
    TBitmap glyph;
    glyph.LoadFromBytes(TinyBitmap());
    original->SetButtonGlyph(&glyph);
    original->SetButtonNumGlyphs(static_cast<TNumGlyphs>(2));
    original->SetButtonHint("Browse");
    original->SetButtonVisible(false);
    designed->SetDesigning(true);
    original->SetButtonTabStop(false);
    text = WriteComponentText(designed);
  }

  TMRUComboBoxForm* form = BuildForm<TMRUComboBoxForm>(text);
  const ScopeExit freeForm([form] { form->Free(); });
  TMRUComboBoxProbe* field = form->FolderSelect;
  auto* button = dynamic_cast<TSpeedButton*>(field->Button());
  ASSERT_NE(button, nullptr) << text;
  EXPECT_EQ(field->ButtonCaption(), "...");
  EXPECT_EQ(button->Glyph()->Data(), TinyBitmap());
  EXPECT_EQ(button->NumGlyphs(), 2);
  EXPECT_EQ(button->Hint(), "Browse");
  EXPECT_FALSE(field->ButtonVisible());
  EXPECT_FALSE(field->ButtonTabStop());
  EXPECT_EQ(button->Align(), alRight);
  EXPECT_EQ(field->ComboBox()->Width(), 457);
  // Only one button: the one the constructor made is gone.
  EXPECT_EQ(field->ComponentCount(), 2);
  EXPECT_EQ(form->Log,
            (Lines{"Validate C:\\Programme\\Zav Polyverb", "Change C:\\Programme\\Zav Polyverb"}));
  // Shown again, it is a square button at the right edge.
  field->SetButtonVisible(true);
  EXPECT_EQ(button->Parent(), field);
  EXPECT_EQ(button->BoundsRect(), (TRect{433, 0, 457, 24}));
}

// A screen reader meets the edit field and the button: the field's name and hint are theirs, and
// the button's name stays when the description makes a speed button of it.
TEST(MRUComboBoxLoadingTest, TheFieldNamesItsPartsForAScreenReader) {
  std::string text;
  {
    TMRUComboBoxForm* designed = BuildMRUComboBoxForm();
    const ScopeExit freeDesigned([designed] { designed->Free(); });
    designed->FolderSelect->SetButtonAccessibleName("Browse for the folder");
    designed->SetDesigning(true);
    designed->FolderSelect->SetButtonTabStop(false);
    text = WriteComponentText(designed);
  }
  TMRUComboBoxForm* form = BuildForm<TMRUComboBoxForm>(text);
  const ScopeExit freeForm([form] { form->Free(); });
  TMRUComboBoxProbe* field = form->FolderSelect;
  ASSERT_NE(dynamic_cast<TSpeedButton*>(field->Button()), nullptr) << text;
  EXPECT_EQ(field->Button()->AccessibleName(), "Browse for the folder");
  field->SetAccessibleName("Installation folder");
  field->SetHint("Where the files go");
  EXPECT_EQ(field->ComboBox()->AccessibleName(), "Installation folder");
  EXPECT_EQ(field->ComboBox()->Hint(), "Where the files go");
}

// What a description holds of a field: the button's and the history's settings, History as
// its text, neither HistoryList nor the sub-controls; read back, it writes the same again.
TEST(MRUComboBoxLoadingTest, AWrittenFieldHoldsItsPropertiesInTheirOrder) {
  std::string text;
  {
    TMRUComboBoxForm* form = BuildMRUComboBoxForm();
    const ScopeExit freeForm([form] { form->Free(); });
    text = WriteComponentText(form);
  }
  const auto begin = text.find("object FolderSelect: TMRUComboBoxProbe");
  const auto end = text.find("\n  end", begin);
  ASSERT_NE(end, std::string::npos) << text;
  EXPECT_EQ(text.substr(begin, end - begin),
            "object FolderSelect: TMRUComboBoxProbe\n"
            "    Left = 16\n"
            "    Top = 49\n"
            "    Width = 457\n"
            "    Height = 24\n"
            "    Hint = 'This folder is used to save all installation files'\n"
            "    ButtonCaption = '...'\n"
            "    ButtonNumGlyphs = 1\n"
            "    ButtonVisible = True\n"
            "    DropDownCount = 8\n"
            "    History = \n"
            "      'C:\\Programme\\Zav Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;' +\n"
            "      'C:\\Polyverb;C:\\Zav;'\n"
            "    HistoryListCount = 8\n"
            "    OnChange = FolderChange\n"
            "    OnEnter = FolderEnter\n"
            "    OnExit = FolderExit\n"
            "    OnValidate = FolderValidate\n"
            "    ParentColor = True\n"
            "    ParentShowHint = False\n"
            "    ShowHint = True\n"
            "    TabOrder = 1\n"
            "    TabStop = False");
  TMRUComboBoxForm* again = BuildForm<TMRUComboBoxForm>(text);
  const ScopeExit freeAgain([again] { again->Free(); });
  EXPECT_EQ(WriteComponentText(again), text);
}

}  // namespace
