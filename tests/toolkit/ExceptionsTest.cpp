#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "toolkit/model/Exceptions.h"

namespace {

TEST(CurrentExceptionMessageTest, NamesWhatWasCaughtWhateverItIs) {
  struct Case {
    std::function<void()> raise;
    std::string message;
  };
  const Case cases[] = {
      {[] { throw EReadError("Integer expected", 3, 5); }, "Integer expected on line 3, column 5"},
      {[] { throw std::runtime_error("disk full"); }, "disk full"},
      {[] { throw 42; }, "unknown exception"},
  };
  for (const Case& c : cases) {
    try {
      c.raise();
      ADD_FAILURE() << "nothing raised";
    } catch (...) {
      EXPECT_EQ(CurrentExceptionMessage(), c.message);
    }
  }
}

}  // namespace
