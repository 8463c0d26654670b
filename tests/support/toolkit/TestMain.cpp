// The main of test executables that show windows: Qt's offscreen platform unless a
// display is asked for, and the widget system taken down after the last test.

#include <gtest/gtest.h>

#include "tests/support/toolkit/FormDriver.h"
#include "toolkit/forms/WidgetSystem.h"

int main(int argc, char** argv) {
  toolkit_test::SelectTestPlatform();
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  DoneWidgetSystem();
  return result;
}
