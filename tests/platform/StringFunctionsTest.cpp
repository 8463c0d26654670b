#include "platform/StringFunctions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace platform {
namespace {

TEST(CompareTextTest, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(CompareText("C:\\Program Files", "c:\\PROGRAM FILES"), 0);
  EXPECT_NE(CompareText("\xC3\x84", "\xC3\xA4"), 0);  // Ä and ä stay different
  EXPECT_LT(CompareText("alpha", "Beta"), 0);
  // Letters compare as upper case, so '_' (0x5F) sorts after every letter.
  EXPECT_GT(CompareText("_", "a"), 0);
  EXPECT_GT(CompareText("\xC3\xA4", "z"), 0);  // bytes above 0x7F are unsigned
  EXPECT_LT(CompareText("abc", "ABCD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_TRUE(SameText("", ""));
}

TEST(TrimTest, DropsControlCharactersAndBlanksAtBothEnds) {
  EXPECT_EQ(Trim(" \t\r\n C:\\My Folder \x01\x1F "), "C:\\My Folder");
  EXPECT_EQ(Trim(" \t "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");  // a no-break space is text
  EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
}

TEST(FormatTest, FillsStringsAndIntegers) {
  EXPECT_EQ(*Format("%s holds %d files", {"C:\\x", 3}), "C:\\x holds 3 files");
  EXPECT_EQ(*Format("100%% of %s", {std::string("it")}), "100% of it");
  EXPECT_EQ(*Format("%d %d %d", {-7, std::numeric_limits<std::int64_t>::min(),
                                 std::numeric_limits<std::uint64_t>::max()}),
            "-7 -9223372036854775808 18446744073709551615");
  EXPECT_EQ(*Format("no directives", {}), "no directives");
  EXPECT_EQ(*Format("%s", {""}), "");
}

TEST(FormatTest, RefusesWhatDoesNotFitAndSaysWhy) {
  const auto failure = [](Result<std::string> result) {
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.status().code(), ErrorCode::BadFormat);
    return result.status().message();
  };
  EXPECT_NE(failure(Format("%s and %s", {"one"})).find("no argument for %s (argument 2)"),
            std::string::npos);
  EXPECT_NE(failure(Format("%s", {"one", "two"})).find("2 arguments given, 1 used"),
            std::string::npos);
  EXPECT_NE(failure(Format("%s %d", {"a", "b"})).find("%d (argument 2) is given the string"),
            std::string::npos);
  EXPECT_NE(failure(Format("%s", {5})).find("given an integer"), std::string::npos);
  EXPECT_NE(failure(Format("%x", {5})).find("unknown directive %x"), std::string::npos);
  EXPECT_NE(failure(Format("50%", {})).find("lone %"), std::string::npos);
}

}  // namespace
}  // namespace platform
