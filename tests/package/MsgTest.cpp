// The package's message box: what it asks the presenter to show, and the answer it returns.

#include <gtest/gtest.h>

#include "package/Msg.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "toolkit/forms/Forms.h"

using namespace toolkit_test;

namespace {

class MsgTest : public testing::Test {
 protected:
  void SetUp() override { Application->SetTitle("Setup"); }
  void TearDown() override { Application->SetTitle(savedTitle); }
  const TMessageBoxRequest& Shown() const { return presenter->MessageBoxes.back(); }

  std::string savedTitle = Application->Title();
  PresenterScope presenter;
};

TEST_F(MsgTest, KindGivesTheIconAndTheCaptionWhenNoneIsGiven) {
  EXPECT_EQ(Msg("No files to install found.", "", 1, {}, 0), IDOK);
  EXPECT_EQ(Shown().Text, "No files to install found.");
  EXPECT_EQ(Shown().Caption, "Setup");
  EXPECT_EQ(Shown().Flags, MB_OK | MB_ICONERROR);
  Msg("Done.", "Result", 2, {}, 0);
  EXPECT_EQ(Shown().Caption, "Result");
  EXPECT_EQ(Shown().Flags, MB_OK | MB_ICONINFORMATION);
  Msg("", "", 3, {}, 0);
  EXPECT_EQ(Shown().Flags, MB_OK | MB_ICONWARNING);
  Msg("", "", 4, {}, 0);
  EXPECT_EQ(Shown().Flags, MB_OK | MB_ICONQUESTION);
  Msg("", "", 0, {}, 0);
  EXPECT_EQ(Shown().Flags, MB_OK);

  Application->SetTitle("");
  Msg("", "", 1, {}, 0);
  EXPECT_EQ(Shown().Caption, "Error");
  Msg("", "", 2, {}, 0);
  EXPECT_EQ(Shown().Caption, "Information");
}

TEST_F(MsgTest, ButtonsMapOntoTheNearestSetAndTheAnswerComesBack) {
  EXPECT_EQ(MsgButtonFlags({mbOK}), MB_OK);
  EXPECT_EQ(MsgButtonFlags({mbOK, mbCancel}), MB_OKCANCEL);
  EXPECT_EQ(MsgButtonFlags({mbYes, mbNo}), MB_YESNO);
  EXPECT_EQ(MsgButtonFlags({mbYes, mbNo, mbCancel}), MB_YESNOCANCEL);
  EXPECT_EQ(MsgButtonFlags({mbRetry, mbCancel}), MB_RETRYCANCEL);
  EXPECT_EQ(MsgButtonFlags({mbAbort, mbRetry, mbIgnore}), MB_ABORTRETRYIGNORE);
  EXPECT_EQ(MsgButtonFlags({mbYes}), MB_YESNO);
  EXPECT_EQ(MsgButtonFlags({mbCancel}), MB_OKCANCEL);
  EXPECT_EQ(MsgButtonFlags({mbIgnore}), MB_ABORTRETRYIGNORE);
  EXPECT_EQ(MsgButtonFlags({mbYes, mbNo, mbHelp}), MB_YESNO);
  EXPECT_EQ(MsgButtonFlags({mbHelp}), MB_OK);

  presenter->AnswerNextMessageBox(IDNO);
  EXPECT_EQ(Msg("Overwrite?", "", 4, {mbYes, mbNo}, 0), IDNO);
  EXPECT_EQ(Shown().Flags, MB_YESNO | MB_ICONQUESTION);
}

}  // namespace
