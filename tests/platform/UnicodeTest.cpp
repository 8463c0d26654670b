#include "platform/Unicode.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(UnicodeTest, RoundTripsEveryPlane) {
  const std::string text =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE4\xB8\xAD \xF0\x9F\x98\x80x";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"Grüße 中 😀x");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(UnicodeTest, DropsInvalidBytesLikeWine) {
  // The bytes 61 FF 62 C3 28 63 load as "ab(c".
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b\xC3(c"),
            u"ab(c");
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), u"");      // truncated at the end
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"");  // an encoded surrogate is not a character
}

TEST(UnicodeTest, LoneSurrogateBecomesReplacementCharacter) {
  const std::u16string lone = {u'a', char16_t(0xD800), u'b'};
  EXPECT_EQ(Utf16ToUtf8(lone),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(UnicodeTest, ComparesWithoutCaseInWineOrder) {
  EXPECT_EQ(CompareNoCase("ALPHA", "alpha"), 0);
  EXPECT_LT(CompareNoCase("alpha", "Beta"), 0);
  EXPECT_LT(CompareNoCase("Parent", "Parent\\Child"), 0);  // shorter first on a tie
  EXPECT_LT(CompareNoCase("Zeta", "\xC3\xA4"), 0);         // z before ä, as Wine sorts
  EXPECT_EQ(CompareNoCase("\xC3\x84 Key", "\xC3\xA4 key"), 0);
  EXPECT_LT(CompareNoCase("_under", "alpha"), 0);
  EXPECT_TRUE(EqualNoCase("\xD0\x96", "\xD0\xB6"));  // Cyrillic Zhe
}

}  // namespace
}  // namespace platform
