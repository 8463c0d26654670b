#include "platform/hive/Escaping.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

std::string Escape(std::u16string_view units, const char* delimiters = "\"\"") {
  std::string out;
  AppendHiveEscaped(out, units, delimiters[0], delimiters[1]);
  return out;
}

// Decodes `text` up to a closing quote; "<malformed>" when there is none.
std::u16string Unescape(std::string_view text, char delimiter = '"') {
  std::u16string out;
  if (ParseHiveEscaped(text, delimiter, &out) == std::string_view::npos) return u"<malformed>";
  return out;
}

TEST(HiveEscapeTest, WritesWhatWineWrites) {
  EXPECT_EQ(Escape(u"say \"hi\""), "say \\\"hi\\\"");
  EXPECT_EQ(Escape(u"C:\\Program Files\\x"), "C:\\\\Program Files\\\\x");
  EXPECT_EQ(Escape(u"a;b=c@'[x]"), "a;b=c@'[x]");  // brackets are raw in values
  EXPECT_EQ(Escape(u"Sub[1]", "[]"), "Sub\\[1\\]");
  EXPECT_EQ(Escape(u"a\tb\nc"), "a\\tb\\nc");
  EXPECT_EQ(Escape(u"\a\b\t\n\v\f\r\x1b"), "\\a\\b\\t\\n\\v\\f\\r\\e");
  EXPECT_EQ(Escape(u"a\x01"
                   u"b\x1b"
                   u"c\x7f"
                   u"d\x01"
                   u"7"),
            "a\\1b\\ec\x7f"
            "d\\0017");
  EXPECT_EQ(std::string(Escape(std::u16string(u"one\0two", 7))), "one\\0two");
  EXPECT_EQ(Escape(std::u16string(u"\0"
                                  u"5",
                                  2)),
            "\\0005");
}

TEST(HiveEscapeTest, PadsHexEscapesBeforeAHexDigit) {
  EXPECT_EQ(Escape(u"Gr\u00f6\u00dfe"), "Gr\\xf6\\x00dfe");
  EXPECT_EQ(Escape(u"\u00fc1 \u00fcg \u00fc"), "\\x00fc1 \\xfcg \\xfc");
  EXPECT_EQ(Escape(u"\u4e2d\u6587"), "\\x4e2d\\x6587");
  EXPECT_EQ(Escape(u"\U0001F600x"), "\\xd83d\\xde00x");
  EXPECT_EQ(Escape(u"\u00e4A"), "\\x00e4A");  // upper-case digits count too
}

TEST(HiveEscapeTest, ReadsEveryEscape) {
  EXPECT_EQ(Unescape("\\a\\b\\e\\f\\n\\r\\t\\v\""), u"\a\b\x1b\f\n\r\t\v");
  EXPECT_EQ(Unescape("\\x41424\""), u"\u41424");  // at most four digits
  EXPECT_EQ(Unescape("\\xzz\""), u"xzz");
  EXPECT_EQ(Unescape("\\101\\0010\""),
            u"A\x01"
            u"0");
  EXPECT_EQ(Unescape("\\q\\[\\]\\'\\\"\""), u"q[]'\"");
  EXPECT_EQ(Unescape("Sub\\[1\\]] 123", ']'), u"Sub[1]");
  EXPECT_EQ(Unescape("C:\\\\x41\\\\0\""), u"C:\\x41\\0");
}

TEST(HiveEscapeTest, ReadsRawUtf8AndDropsWhatIsNotUtf8) {
  EXPECT_EQ(Unescape("Gr\xC3\xBC\xC3\x9F"
                     "e \xE4\xB8\xAD \xF0\x9F\x98\x80\""),
            u"Grüße 中 😀");
  EXPECT_EQ(Unescape("a\xFF"
                     "b\xC3(c\""),
            u"ab(c");
  EXPECT_EQ(Unescape("\xC0\x80x\xF5\x80\x80\x80y\""), u"xy");  // overlong, past U+10FFFF
  // Wine keeps an encoded surrogate as the unit it encodes.
  EXPECT_EQ(Unescape("\xED\xA0\x80\""), std::u16string(1, char16_t(0xD800)));
}

TEST(HiveEscapeTest, MissingDelimiterIsMalformed) {
  EXPECT_EQ(Unescape("abc"), u"<malformed>");
  EXPECT_EQ(Unescape("abc\\"), u"<malformed>");
  EXPECT_EQ(Unescape(std::string_view("ab\0c\"", 5)), u"<malformed>");  // a NUL ends the line
  EXPECT_EQ(ParseHiveEscaped("ab\\\"c\" rest", '"', nullptr), 6u);
  EXPECT_EQ(ParseHiveEscaped("ab\\", '"', nullptr), std::string_view::npos);
}

TEST(HiveEscapeTest, WhatIsWrittenReadsBack) {
  const std::u16string samples[] = {u"plain",
                                    u"\"\\[]",
                                    u"\x01"
                                    u"7\x7f\x1b",
                                    u"\u00fc1\u00fcg",
                                    u"\uffffx\U0001F600F",
                                    std::u16string{u'a', char16_t(0xD800), u'b'},
                                    std::u16string(u"\0"
                                                   u"0\0",
                                                   3)};
  for (const std::u16string& sample : samples) {
    EXPECT_EQ(Unescape(Escape(sample) + "\""), sample);
    EXPECT_EQ(Unescape(Escape(sample, "[]") + "]", ']'), sample);
  }
}

}  // namespace
}  // namespace platform
