// The window state of the package's forms: its text, and restoring it sensibly.

#include <gtest/gtest.h>

#include "package/SuperForm.h"
#include "package/WindowPlacement.h"
#include "tests/support/toolkit/FormDriver.h"

using namespace toolkit_test;

namespace {

TEST(WindowPlacementTest, ReadsWhatItWritesAndNothingElse) {
  const TWindowPlacement placement{-4, 107, 513, 395, wsMaximized};
  EXPECT_EQ(FormatWindowPlacement(placement), "-4,107,513,395,wsMaximized");
  EXPECT_EQ(ParseWindowPlacement("-4,107,513,395,wsMaximized"), placement);
  EXPECT_EQ(ParseWindowPlacement(" -4 , 107,513,395 , WSMAXIMIZED\n"), placement);
  for (const char* garbage :
       {"", "1,2,3,4", "1,2,3,4,wsNormal,5", "1,2,3,4,wsHuge", "1,2,0,4,wsNormal",
        "1,2,3,-4,wsNormal", "1,2,3,4x,wsNormal", "1,,3,4,wsNormal", "1,2,3,4,2",
        "99999999999,2,3,4,wsNormal", "1;2;3;4;wsNormal"}) {
    EXPECT_FALSE(ParseWindowPlacement(garbage)) << garbage;
  }
}

class SuperFormTest : public testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    form = new TSuperForm(Application);
    form->SetBounds(100, 50, 400, 300);
  }
  void TearDown() override { form->Free(); }

  TSuperForm* form = nullptr;
};

TEST_F(SuperFormTest, RoundTripAndGarbageIgnored) {
  form->SetWindowState(wsMaximized);
  const std::string data = form->GetWindowStateData();
  EXPECT_EQ(data, "100,50,400,300,wsMaximized");

  auto* other = new TSuperForm(Application);
  other->SetPosition(poScreenCenter);
  other->SetWindowStateData(data);
  EXPECT_EQ(other->BoundsRect(), (TRect{100, 50, 500, 350}));
  EXPECT_EQ(other->WindowState(), wsMaximized);
  EXPECT_EQ(other->Position(), poDesigned);  // stays where it was put
  other->SetWindowStateData("100,50,oops");
  EXPECT_EQ(other->GetWindowStateData(), data);
  other->Free();
}

TEST_F(SuperFormTest, TellsWhereTheUserLeftTheWindow) {
  ShowForm(form);
  MoveWindow(form, 60, 70);
  ResizeClientArea(form, 500, 280);
  const std::string moved = form->GetWindowStateData();
  EXPECT_EQ(moved.substr(0, 6), "60,70,");
  ChangeWindowState(form, wsMaximized);
  // Maximized, it still knows the bounds to come back to.
  EXPECT_EQ(form->GetWindowStateData(), moved.substr(0, moved.rfind(',')) + ",wsMaximized");
}

TEST_F(SuperFormTest, RestoresSensibly) {
  const int screenWidth = Screen->Width();
  const int screenHeight = Screen->Height();
  // Off the screen: brought back wholly onto it.
  form->SetWindowStateData("-500,-20,400,300,wsNormal");
  EXPECT_EQ(form->Left(), 0);
  EXPECT_EQ(form->Top(), 0);
  form->SetWindowStateData(std::to_string(screenWidth) + "," + std::to_string(screenHeight) +
                           ",400,300,wsNormal");
  EXPECT_EQ(form->Left(), screenWidth - 400);
  EXPECT_EQ(form->Top(), screenHeight - 300);
  // Minimized comes back normal; a sizeable form takes the size, but no more than the screen.
  form->SetWindowStateData("10,20,320,200,wsMinimized");
  EXPECT_EQ(form->GetWindowStateData(), "10,20,320,200,wsNormal");
  form->SetWindowStateData("10,20,99999,200,wsNormal");
  EXPECT_EQ(form->Width(), screenWidth);
  // A form that is not sizeable keeps its size.
  form->SetBounds(100, 50, 400, 300);
  form->SetBorderStyle(bsDialog);
  const int width = form->Width();
  const int height = form->Height();
  form->SetWindowStateData("30,40,100,100,wsNormal");
  EXPECT_EQ(form->BoundsRect(), (TRect{30, 40, 30 + width, 40 + height}));
}

}  // namespace
