// The button panel on a real form, driven offscreen: the layout, the items' properties
// reaching the real buttons, the handlers bound by name, the keyboard and the translations.

#include <gtest/gtest.h>

#include "package/Errors.h"
#include "package/PackageClasses.h"
#include "tests/package/PackageForm.h"
#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/model/FormStreaming.h"

using namespace toolkit_test;

namespace {

class ButtonPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterPackageClasses();
    form = BuildForm<TPackageForm>(PackageFormText());
    panel = form->ButtonPanel;
    ShowForm(form);
  }
  void TearDown() override {
    form->Free();
    ProcessEvents();
  }
  TButtonItem* Item(int index) const { return panel->Buttons()->GetItem(index); }
  TBitBtn* Button(int index) const { return Item(index)->Button(); }

  TPackageForm* form = nullptr;
  TButtonPanel* panel = nullptr;
};

TEST_F(ButtonPanelTest, ButtonsSitAtTheRightCentredAndFollowTheLayout) {
  ASSERT_EQ(panel->Buttons()->Count(), 2);
  EXPECT_EQ(panel->Width(), 505);
  EXPECT_EQ(Button(0)->BoundsRect(), (TRect{233, 4, 233 + 128, 4 + 32}));
  EXPECT_EQ(Button(1)->BoundsRect(), (TRect{369, 4, 369 + 128, 4 + 32}));
  EXPECT_EQ(Button(0)->Owner(), panel);  // a sub-control, not a component of the form
  EXPECT_EQ(Button(0)->Parent(), panel);

  // An invisible button takes no room.
  Item(1)->SetBool(kButtonItemVisible, false);
  EXPECT_FALSE(Button(1)->Visible());
  EXPECT_EQ(Button(0)->Left(), 369);

  // The panel follows the form (alBottom); the buttons follow the panel.
  Item(1)->SetBool(kButtonItemVisible, true);
  form->SetClientHeight(400);
  form->SetClientWidth(605);
  EXPECT_EQ(panel->Top(), 360);
  EXPECT_EQ(Button(0)->Left(), 333);
  EXPECT_EQ(Button(1)->Left(), 469);
  EXPECT_EQ(Button(1)->Top(), 4);

  // Items added and removed at run time.
  auto* added = static_cast<TButtonItem*>(panel->Buttons()->Add());
  EXPECT_EQ(added->Button()->Left(), 469);
  EXPECT_EQ(Button(0)->Left(), 197);
  panel->Buttons()->Delete(0);
  EXPECT_EQ(panel->ControlCount(), 2);
  EXPECT_EQ(Button(0)->Left(), 333);
}

TEST_F(ButtonPanelTest, SetBoolReachesTheRealButton) {
  Item(0)->SetBool(kButtonItemEnabled, false);
  EXPECT_FALSE(Button(0)->Enabled());
  EXPECT_FALSE(Item(0)->GetBool(kButtonItemEnabled));
  Click(Button(0));
  EXPECT_TRUE(form->Clicks.empty());
  Item(0)->SetBool(kButtonItemEnabled, true);
  EXPECT_TRUE(Button(0)->Enabled());
  EXPECT_THROW(Item(0)->SetBool(1, true), ECriticalError);
  EXPECT_THROW(Item(0)->GetBool(4), ECriticalError);
}

TEST_F(ButtonPanelTest, ClicksEnterAndEscapeReachTheFormsHandlers) {
  Click(Button(0));
  Click(Button(1));
  form->BtnFolder->SetFocus();
  ProcessEvents();
  PressEnter();
  PressEscape();
  EXPECT_EQ(form->Clicks, (std::vector<std::string>{"Continue ButtonPanel", "Close ButtonPanel",
                                                    "Continue ButtonPanel", "Close ButtonPanel"}));
}

TEST_F(ButtonPanelTest, TabOrderIsTheItemOrder) {
  Item(1)->SetIndex(0);  // Close first now
  EXPECT_EQ(Button(0)->Caption(), "Close");
  EXPECT_EQ(Button(0)->Left(), 233);
  EXPECT_EQ(Button(0)->TabOrder(), 0);
  EXPECT_EQ(Button(1)->TabOrder(), 1);
  Button(0)->SetFocus();
  ProcessEvents();
  PressTab();
  EXPECT_EQ(FocusedControl(), Button(1));
}

TEST_F(ButtonPanelTest, CaptionsAndKindsShowOnTheButtons) {
  EXPECT_EQ(Button(0)->Caption(), "&Continue");  // read before Kind, kept
  EXPECT_TRUE(Button(0)->Default());
  EXPECT_TRUE(Button(1)->Cancel());
  form->Polyverb->SetLanguage("Deutsch");  // through ButtonPanel.Buttons[0].Caption
  EXPECT_EQ(Item(0)->Caption(), "&Weiter");
  EXPECT_EQ(Button(0)->Caption(), "&Weiter");
  Item(1)->SetCaption("");  // without a caption of its own, the kind's
  EXPECT_EQ(Button(1)->Caption(), "Cancel");
}

// The items are written as they were read, handlers by name; their buttons are not written.
TEST_F(ButtonPanelTest, TheItemsAreWrittenBackWithTheirHandlers) {
  const std::string written = WriteComponentText(form);
  EXPECT_NE(written.find("    Buttons = <\n"
                         "      item\n"
                         "        Caption = '&Continue'\n"
                         "        Kind = bkOK\n"
                         "        OnClick = ButtonPanelContinueClick\n"
                         "      end\n"
                         "      item\n"
                         "        Caption = 'Close'\n"
                         "        Kind = bkCancel\n"
                         "        OnClick = ButtonPanelCloseClick\n"
                         "      end>\n"),
            std::string::npos)
      << written;
  EXPECT_EQ(written.find("TBitBtn"), std::string::npos) << written;
}

}  // namespace
