#include <gtest/gtest.h>

#include <string>

#include "tests/platform/HiveTestText.h"
#include "tests/support/HiveReadingCheck.h"

namespace platform {
namespace {

using hivetest::Header;
using hivetest::Lines;

struct ReadingCase {
  const char* what;
  bool inOrder;  // loading reads no key
  std::string body;
};

// Each text is read both ways and must answer alike; the texts in Wine's order must load
// without reading a key, and any other must be read whole.
TEST(HiveKeyReadingTest, KeysReadAsNeededAnswerAsKeysReadAtOnce) {
  const ReadingCase cases[] = {
      {"Wine's own file", true, hivetest::WineUserHive().substr(Header().size())},
      {"deep runs, implicit keys, a key below its own values, the root's own block", true,
       Lines({"",
              "[]",
              "\"RootValue\"=\"r\"",
              "",
              "[A\\\\B\\\\C] 1",
              "\"x\"=dword:1",
              "",
              "[A\\\\B\\\\C\\\\D]",
              "",
              "[A\\\\B\\\\E]",
              "#class=\"cls\"",
              "",
              "[A\\\\b_\\\\F]",
              "",
              "[Ab]",
              "#link",
              "\"SymbolicLinkValue\"=hex(6):41,00",
              "",
              "[B]",
              "#time=1dd868c93fdbe04",
              "",
              "[B\\\\C]",
              "",
              "[C]",
              "\"only\"=\"1\"",
              "",
              "[C\\\\D]"})},
      {"hex data that goes on over a blank line and a bracket", true,
       Lines({"", "[A]", "\"h\"=hex:01,\\", "[not a key]", "\"g\"=hex:02,\\", "", "[B]",
              "\"v\"=\"1\""})},
      {"hex data that goes on over the blank line before a key, with a key added between", true,
       Lines({"", "[A]", "", "[B]", "", "[C]", "", "[C\\\\A]", "", "[C\\\\A\\\\X]",
              "\"h\"=hex:01,\\", "", "[D]", "", "[E]", "\"v\"=\"1\""})},
      {"non-ASCII and escaped names in Wine's order", true,
       Lines({"", "[Caf\xC3\xA9]", "", "[Caf\xC3\xA9\\\\x]", "", "[Z\\x00e4]", "", "[\xC3\xB6]", "",
              "[\xC3\xB6\\\\\\[1\\]]"})},
      {"a plain last name after a non-ASCII one", true,
       Lines({"", "[A\\\\Caf\xC3\xA9]", "", "[A\\\\Caf\xC3\xA9s]", "", "[A\\\\D]"})},
      {"a key before the one it follows", false, Lines({"", "[B]", "", "[A]", "\"v\"=\"1\""})},
      {"a last name before the one above it", false, Lines({"", "[A\\\\C]", "", "[A\\\\B]"})},
      {"a plain last name before the non-ASCII one above it", false,
       Lines({"", "[A\\\\\xC3\x89]", "", "[A\\\\E]"})},
      {"a name before the one above it, after a last name", false,
       Lines({"", "[A\\\\B]", "", "[A\\\\Cz]", "", "[A\\\\Ca\\\\D]"})},
      {"a key above the one before it", false, Lines({"", "[A\\\\B]", "", "[A]", "\"v\"=\"1\""})},
      {"a key in two sections", false, Lines({"", "[A]", "\"v\"=\"1\"", "", "[B]", "", "[A]"})},
      {"a key twice in a row, a ']' after its second path", false,
       Lines({"", "[A\\\\B] 1", "", "[A\\\\B]] 2"})},
      {"a key of one name twice in a row", false, Lines({"", "[A]", "\"v\"=\"1\"", "", "[A]"})},
      {"a name spelled two ways", false, Lines({"", "[A\\\\b]", "", "[A\\\\B\\\\c]"})},
      {"a non-ASCII name spelled two ways", false,
       Lines({"", "[A\\\\Caf\xC3\xA9]", "", "[A\\\\Caf\xC3\xA9s]", "", "[A\\\\CAF\xC3\x89S]"})},
      {"an escape spelling a name another way", false, Lines({"", "[A]", "", "[\\x41\\\\B]"})},
      {"an empty path component, which names no key", true,
       Lines({"", "[A]", "", "[A\\\\\\\\B]", "", "[A\\\\C]"})},
      {"an escaped backslash", false, Lines({"", "[A\\x5c\\\\B]", "", "[C]"})},
      {"a malformed key line", false, Lines({"", "[A]", "", "[B", "\"v\"=\"1\"", "", "[C]"})},
      {"the root's block after other keys", false, Lines({"", "[A]", "", "[]", "\"v\"=\"1\""})},
      {"bytes that are not UTF-8 in a name", false, Lines({"", "[A]", "", "[\xFF]", "", "[B]"})},
  };
  for (const ReadingCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = Header() + c.body;
    EXPECT_EQ(testsupport::LoadsWithoutReadingKeys(text), c.inOrder);
    EXPECT_EQ(testsupport::KeyReadingDifferences(text), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace platform
