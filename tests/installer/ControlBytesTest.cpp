// The one escaper behind the command line's sentences and the log's lines.

#include <gtest/gtest.h>

#include <string>

#include "installer/ControlBytes.h"

namespace installer_test {
namespace {

// The bytes on either side of each limit: only the controls change, a UTF-8 name does not.
TEST(ControlBytesTest, EscapesTheControlBytesAndNothingElse) {
  EXPECT_EQ(EscapeControlBytes(std::string("\0\x1f \x7e\x7f\x80\xff", 7)),
            "\\x00\\x1F ~\\x7F\x80\xff");
  EXPECT_EQ(EscapeControlBytes("C:\\Caf\xc3\xa9\r\n"), "C:\\Caf\xc3\xa9\\x0D\\x0A");
  EXPECT_EQ(EscapeControlBytes(""), "");
}

}  // namespace
}  // namespace installer_test
