// The history combo box's geometry and look: the height rule, the square button at the right
// edge, the combo box centred beside it, fonts, colours over enabling, and pictures of it.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/controls/MRUComboBoxForm.h"
#include "tests/support/toolkit/FormDriver.h"

using namespace toolkit_test;

namespace {

struct LayoutCase {
  std::string name;
  int defaultHeight;
  TAlign align;
  bool designing;
  bool buttonVisible;
  TRect asked;
  TRect control;
  TRect combo;
  TRect button;  // empty when the button is hidden
};

class MRUComboBoxLayoutTest : public testing::TestWithParam<LayoutCase> {};

// The combo box at 8 pt is 21 high.
INSTANTIATE_TEST_SUITE_P(Cases, MRUComboBoxLayoutTest,
                         testing::Values(LayoutCase{"TheInstallersField",
                                                    25,
                                                    alNone,
                                                    false,
                                                    true,
                                                    {16, 49, 473, 74},
                                                    {16, 49, 473, 74},
                                                    {0, 2, 428, 23},
                                                    {432, 0, 457, 25}},
                                         LayoutCase{"NeverLowerThanDefaultHeight",
                                                    24,
                                                    alNone,
                                                    false,
                                                    true,
                                                    {16, 49, 473, 59},
                                                    {16, 49, 473, 73},
                                                    {0, 1, 429, 22},
                                                    {433, 0, 457, 24}},
                                         LayoutCase{"NeverLowerThanTheComboBox",
                                                    10,
                                                    alNone,
                                                    false,
                                                    true,
                                                    {0, 0, 200, 5},
                                                    {0, 0, 200, 21},
                                                    {0, 0, 175, 21},
                                                    {179, 0, 200, 21}},
                                         LayoutCase{"AlignedToTheTopAnyHeight",
                                                    24,
                                                    alTop,
                                                    false,
                                                    true,
                                                    {0, 0, 300, 40},
                                                    {0, 0, 300, 40},
                                                    {0, 9, 256, 30},
                                                    {260, 0, 300, 40}},
                                         LayoutCase{"DesignedNeverNarrowerThanThreeHeights",
                                                    24,
                                                    alNone,
                                                    true,
                                                    true,
                                                    {0, 0, 30, 24},
                                                    {0, 0, 72, 24},
                                                    {0, 1, 44, 22},
                                                    {48, 0, 72, 24}},
                                         LayoutCase{"AHiddenButtonLeavesTheWholeWidth",
                                                    24,
                                                    alNone,
                                                    false,
                                                    false,
                                                    {0, 0, 300, 24},
                                                    {0, 0, 300, 24},
                                                    {0, 1, 300, 22},
                                                    {}}),
                         [](const testing::TestParamInfo<LayoutCase>& param) {
                           return param.param.name;
                         });

TEST_P(MRUComboBoxLayoutTest, PlacesTheComboBoxAndTheButton) {
  const LayoutCase& c = GetParam();
  auto* form = new TForm(Application);
  const ScopeExit freeForm([form] { form->Free(); });
  form->SetBounds(0, 0, 600, 200);
  if (c.designing) form->SetDesigning(true);
  auto* field = new TMRUComboBoxProbe(form);
  field->SetParent(form);
  field->SetDefaultHeight(c.defaultHeight);
  field->SetAlign(c.align);
  field->SetButtonVisible(c.buttonVisible);
  if (c.align == alNone) {
    field->SetBounds(c.asked.Left, c.asked.Top, c.asked.Width(), c.asked.Height());
  } else {
    field->SetHeight(c.asked.Height());
    form->SetClientWidth(c.asked.Width());
  }
  EXPECT_EQ(field->BoundsRect(), c.control);
  EXPECT_EQ(field->ComboBox()->BoundsRect(), c.combo);
  if (c.buttonVisible) {
    EXPECT_EQ(field->Button()->BoundsRect(), c.button);
    EXPECT_EQ(field->Button()->Parent(), field);
  } else {
    EXPECT_EQ(field->Button()->Parent(), nullptr);
    EXPECT_FALSE(field->Button()->Visible());
  }
}

// A form whose font is larger than the field's default gives it a taller combo box once it is
// loaded: the field grows with it instead of cutting it off.
TEST(MRUComboBoxFontTest, TheFieldGrowsWithTheFontOfItsForm) {
  TMRUComboBoxForm* form = BuildMRUComboBoxForm();
  const ScopeExit freeForm([form] { form->Free(); });
  TMRUComboBoxProbe* field = form->FolderSelect;
  EXPECT_EQ(field->Height(), 24);
  form->Font()->SetSize(12);
  EXPECT_EQ(field->ComboBox()->Height(), 27);
  EXPECT_EQ(field->Height(), 27);
  EXPECT_EQ(field->ComboBox()->Top(), 0);
  EXPECT_EQ(field->Button()->BoundsRect(), (TRect{430, 0, 457, 27}));
  // A smaller font again: back to DefaultHeight, the combo box centred.
  form->Font()->SetSize(8);
  EXPECT_EQ(field->Height(), 24);
  EXPECT_EQ(field->ComboBox()->BoundsRect(), (TRect{0, 1, 429, 22}));
}

// A button freed by a descendant leaves a field that reads as having none, and works on.
TEST(MRUComboBoxButtonTest, WithoutItsButtonTheFieldTakesTheWholeWidth) {
  TMRUComboBoxForm* form = BuildMRUComboBoxForm();
  const ScopeExit freeForm([form] { form->Free(); });
  TMRUComboBoxProbe* field = form->FolderSelect;
  field->Button()->Free();
  EXPECT_EQ(field->Button(), nullptr);
  EXPECT_EQ(field->ButtonCaption(), "");
  EXPECT_EQ(field->ButtonGlyph(), nullptr);
  EXPECT_EQ(field->ButtonNumGlyphs(), 1);
  EXPECT_FALSE(field->ButtonVisible());
  field->SetButtonCaption("...");
  field->SetButtonVisible(true);
  field->SetEnabled(false);
  field->SetWidth(300);
  EXPECT_EQ(field->ComboBox()->BoundsRect(), (TRect{0, 1, 300, 22}));
}

TEST(MRUComboBoxColorTest, TheFieldAndTheButtonFollowTheControlsEnabledState) {
  TMRUComboBoxForm* form = BuildMRUComboBoxForm();
  const ScopeExit freeForm([form] { form->Free(); });
  TMRUComboBoxProbe* field = form->FolderSelect;
  TComboBoxEx* combo = field->ComboBox();
  EXPECT_EQ(combo->Color(), clWindow);
  field->SetEnabled(false);
  EXPECT_FALSE(combo->Enabled());
  EXPECT_FALSE(field->Button()->Enabled());
  EXPECT_EQ(combo->Color(), clBtnFace);
  field->SetEnabled(true);
  EXPECT_TRUE(combo->Enabled());
  EXPECT_TRUE(field->Button()->Enabled());
  EXPECT_EQ(combo->Color(), clWindow);
  // A colour of its own stays.
  combo->SetColor(clInfoBk);
  field->SetEnabled(false);
  EXPECT_EQ(combo->Color(), clInfoBk);
}

// Pictures go beside the test program, in the build tree, wherever the tests are started from.
std::string PicturePath(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

TEST(MRUComboBoxPictureTest, EnabledDisabledAndWithTheListOpen) {
  TMRUComboBoxForm* form = BuildMRUComboBoxForm("    DefaultHeight = 25\n");
  const ScopeExit freeForm([form] { form->Free(); });
  ShowForm(form);
  TComboBoxEx* combo = form->FolderSelect->ComboBox();
  const TRect text{4, 4, combo->Width() - 24, combo->Height() - 4};
  EXPECT_TRUE(SaveScreenshot(form, PicturePath("mru_combo_box_enabled.png")));
  EXPECT_EQ(DarkestColorIn(combo, text), ColorToRGB(clWindowText));
  form->FolderSelect->SetEnabled(false);
  EXPECT_TRUE(SaveScreenshot(form, PicturePath("mru_combo_box_disabled.png")));
  EXPECT_EQ(DarkestColorIn(combo, text), ColorToRGB(clGrayText));
  form->FolderSelect->SetEnabled(true);
  form->FolderSelect->SetFocus();
  combo->SetDroppedDown(true);
  EXPECT_TRUE(SaveScreenshot(form, PicturePath("mru_combo_box_open.png")));
}

}  // namespace
