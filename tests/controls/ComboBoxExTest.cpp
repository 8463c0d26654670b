// The extended combo box: its colour over enabling, in code and when read from a description,
// and its two list events after the toolkit's own handling, from real picks offscreen.

#include <gtest/gtest.h>

#include "controls/ControlsClasses.h"
#include "controls/EditEx.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/model/FormStreaming.h"

using namespace toolkit_test;

namespace {

using Lines = std::vector<std::string>;

// One step on a combo box and the colour it has afterwards.
struct ColorStep {
  enum Kind { Enable, Disable, AutoColorOn, AutoColorOff, SetColor } kind;
  TColor color;  // the colour set (SetColor) or expected afterwards
};

struct AutoColorCase {
  std::string name;
  std::vector<ColorStep> steps;
};

class ComboBoxExAutoColorTest : public testing::TestWithParam<AutoColorCase> {};

INSTANTIATE_TEST_SUITE_P(
    Cases, ComboBoxExAutoColorTest,
    testing::Values(AutoColorCase{"WindowAndButtonFace",
                                  {{ColorStep::Disable, clBtnFace},
                                   {ColorStep::Enable, clWindow},
                                   {ColorStep::Disable, clBtnFace}}},
                    AutoColorCase{"AnotherColourIsNeverTouched",
                                  {{ColorStep::SetColor, clInfoBk},
                                   {ColorStep::Disable, clInfoBk},
                                   {ColorStep::Enable, clInfoBk}}},
                    AutoColorCase{"ButtonFaceWhileEnabledGivesWayAtTheNextEnabling",
                                  {{ColorStep::SetColor, clBtnFace},
                                   {ColorStep::Disable, clBtnFace},
                                   {ColorStep::Enable, clWindow}}},
                    AutoColorCase{"SwitchedOffItKeepsWhatItHas",
                                  {{ColorStep::Disable, clBtnFace},
                                   {ColorStep::AutoColorOff, clBtnFace},
                                   {ColorStep::Enable, clBtnFace},
                                   {ColorStep::Disable, clBtnFace},
                                   {ColorStep::AutoColorOn, clBtnFace},
                                   {ColorStep::Enable, clWindow}}},
                    AutoColorCase{"SwitchedOnItAppliesAtOnce",
                                  {{ColorStep::AutoColorOff, clWindow},
                                   {ColorStep::SetColor, clBtnFace},
                                   {ColorStep::AutoColorOn, clWindow},
                                   {ColorStep::AutoColorOff, clWindow},
                                   {ColorStep::Disable, clWindow},
                                   {ColorStep::AutoColorOn, clBtnFace}}}),
    [](const testing::TestParamInfo<AutoColorCase>& param) { return param.param.name; });

TEST_P(ComboBoxExAutoColorTest, ColourAfterEachStep) {
  auto* form = new TForm(Application);
  const ScopeExit freeForm([form] { form->Free(); });
  auto* combo = new TComboBoxEx(form);
  combo->SetParent(form);
  EXPECT_TRUE(combo->AutoColor());
  EXPECT_EQ(combo->Color(), clWindow);
  int step = 0;
  for (const ColorStep& s : GetParam().steps) {
    switch (s.kind) {
      case ColorStep::Enable:
        combo->SetEnabled(true);
        break;
      case ColorStep::Disable:
        combo->SetEnabled(false);
        break;
      case ColorStep::AutoColorOn:
        combo->SetAutoColor(true);
        break;
      case ColorStep::AutoColorOff:
        combo->SetAutoColor(false);
        break;
      case ColorStep::SetColor:
        combo->SetColor(s.color);
        break;
    }
    EXPECT_EQ(ColorToString(combo->Color()), ColorToString(s.color)) << "step " << step;
    ++step;
  }
}

std::string ComboFormText(const std::string& comboLines) {
  return "object ComboForm: TForm\n"
         "  object Combo: TComboBoxEx\n"
         "    Left = 8\n"
         "    Top = 8\n"
         "    Width = 145\n"
         "    Height = 21\n" +
         comboLines +
         "  end\n"
         "end\n";
}

TComboBoxEx* ComboOf(TForm* form) {
  return dynamic_cast<TComboBoxEx*>(form->FindComponent("Combo"));
}

// While it is read the box is not recoloured; the end of loading settles the colour once.
TEST(ComboBoxExLoadingTest, TheColourIsSettledAtTheEndOfLoading) {
  RegisterControlsClasses();
  struct Case {
    std::string lines;
    TColor color;
  };
  for (const Case& c :
       {Case{"    Color = clBtnFace\n", clWindow}, Case{"    Enabled = False\n", clBtnFace},
        Case{"    Enabled = False\n    Color = clWindow\n", clBtnFace},
        Case{"    Enabled = False\n    AutoColor = False\n", clWindow},
        Case{"    Color = clBtnFace\n    AutoColor = False\n", clBtnFace}}) {
    TForm* form = BuildForm(ComboFormText(c.lines));
    const ScopeExit freeForm([form] { form->Free(); });
    EXPECT_EQ(ColorToString(ComboOf(form)->Color()), ColorToString(c.color)) << c.lines;
  }
}

// What the box's description holds: AutoColor only when off, ItemIndex always, after the
// items; the text typed beside no selected entry comes back as it was.
TEST(ComboBoxExLoadingTest, AWrittenBoxReadsBackWithItsTextAndSelection) {
  RegisterControlsClasses();
  std::string text;
  {
    TForm* form = BuildForm(ComboFormText(""));
    const ScopeExit freeForm([form] { form->Free(); });
    TComboBoxEx* combo = ComboOf(form);
    // Named in code, it does not show its name as a plain combo box does.
    auto* named = new TComboBoxEx(form);
    named->SetName("Named");
    EXPECT_EQ(named->Text(), "");
    named->Free();
    combo->Items()->SetText("one\ntwo");
    combo->SetText("typed");
    text = WriteComponentText(form);
  }
  EXPECT_EQ(text.find("AutoColor"), std::string::npos) << text;
  const auto items = text.find("Items.Strings");
  const auto itemIndex = text.find("ItemIndex = -1");
  ASSERT_NE(itemIndex, std::string::npos) << text;
  EXPECT_LT(items, itemIndex);
  {
    TForm* form = BuildForm(text);
    const ScopeExit freeForm([form] { form->Free(); });
    TComboBoxEx* combo = ComboOf(form);
    EXPECT_EQ(combo->Text(), "typed");
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(1);
    combo->SetAutoColor(false);
    text = WriteComponentText(form);
  }
  TForm* form = BuildForm(text);
  const ScopeExit freeForm([form] { form->Free(); });
  EXPECT_EQ(ComboOf(form)->Text(), "two");
  EXPECT_EQ(ComboOf(form)->ItemIndex(), 1);
  EXPECT_FALSE(ComboOf(form)->AutoColor());
}

class ComboBoxExEventsTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterControlsClasses();
    form = BuildForm(ComboFormText("    Items.Strings = (\n      'one'\n      'two')\n"));
    combo = ComboOf(form);
    combo->OnChange = [this](TObject*) { log.push_back("Change " + combo->Text()); };
    combo->OnCloseUp = [this](TObject* sender) {
      log.push_back(std::string("CloseUp") + (sender == combo ? "" : " (other sender)"));
    };
    combo->OnSelectionOK = [this](TObject* sender) {
      log.push_back("SelectionOK " + std::to_string(combo->ItemIndex()) +
                    (sender == combo ? "" : " (other sender)"));
    };
    ShowForm(form);
  }
  void TearDown() override {
    form->Free();
    ProcessEvents();
  }

  TForm* form = nullptr;
  TComboBoxEx* combo = nullptr;
  Lines log;
};

// The toolkit's own handling of the pick (the selection changed: OnChange) comes first.
TEST_F(ComboBoxExEventsTest, APickRaisesSelectionOKThenCloseUp) {
  combo->SetDroppedDown(true);
  ProcessEvents();
  ClickListItem(combo, 0);
  EXPECT_EQ(log, (Lines{"Change one", "SelectionOK 0", "CloseUp"}));
  log.clear();
  // Escape closes without a confirmed entry; the arrow keys of the closed list confirm none.
  combo->SetFocus();
  DropDownWithKey(combo);
  PressDown();
  PressEscape();
  PressDown();
  EXPECT_EQ(log, (Lines{"CloseUp", "Change two"}));
}

TEST_F(ComboBoxExEventsTest, OnlyNotificationsEightAndNineRaiseTheEvents) {
  for (std::uint16_t code = 0; code <= 10; ++code) {
    if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) continue;  // the toolkit's OnChange
    combo->Perform(CN_COMMAND, MakeWParam(0, code));
  }
  EXPECT_EQ(log, (Lines{"CloseUp", "SelectionOK -1"}));
}

}  // namespace
