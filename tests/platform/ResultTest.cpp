#include <gtest/gtest.h>

#include <string>

#include "platform/Status.h"

namespace platform {
namespace {

TEST(ResultTest, AGoodResultHandsOutItsValueEveryWay) {
  Result<std::string> good = std::string("C:\\windows");
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(good.value(), "C:\\windows");
  EXPECT_EQ(*good, "C:\\windows");
  EXPECT_EQ(good->size(), 10u);
  EXPECT_EQ(std::move(good).value(), "C:\\windows");
}

// A failed result has no value to read: whoever reads it anyway learns why at once.
TEST(ResultDeathTest, ReadingTheValueOfAFailedResultEndsTheProgramWithItsReason) {
  const Result<std::string> failed =
      Status(ErrorCode::NotFound, "the registry key HKEY_LOCAL_MACHINE\\X does not exist");
  const char* reason = "failed result was read.*HKEY_LOCAL_MACHINE.X does not exist";
  EXPECT_DEATH(static_cast<void>(failed.value()), reason);
  EXPECT_DEATH(static_cast<void>(*failed), reason);
  EXPECT_DEATH(static_cast<void>(failed->size()), reason);
}

}  // namespace
}  // namespace platform
