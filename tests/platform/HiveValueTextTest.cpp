#include "platform/hive/ValueText.h"

#include <gtest/gtest.h>

#include "platform/RegValue.h"

namespace platform {
namespace {

using Outcome = ParsedValue::Outcome;

std::string Utf16(std::u16string_view units) {
  std::string bytes;
  for (char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// A string as Windows holds it: UTF-16 with a terminating NUL.
std::string Sz(std::u16string_view text) {
  return Utf16(std::u16string(text) + u'\0');
}

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values)
    bytes += static_cast<char>(value);
  return bytes;
}

std::string Line(std::u16string_view name, uint32_t type, std::string_view data) {
  std::string out;
  AppendValueLine(out, name, type, data);
  return out;
}

// Parses the value starting on the first line of `text`; `rest` gets what it left.
ParsedValue Parse(std::string_view text, std::string* rest = nullptr) {
  HiveLineCursor cursor(text, 0, text.size());
  HiveLine line;
  cursor.Next(line);
  ParsedValue value = ParseValueLine(line.content, cursor, true);
  if (rest) *rest = std::string(text.substr(cursor.position()));
  return value;
}

TEST(HiveValueTextTest, WritesStringsAsWine) {
  EXPECT_EQ(Line(u"plain", REG_SZ, Sz(u"hello")), "\"plain\"=\"hello\"\n");
  EXPECT_EQ(Line(u"", REG_SZ, Sz(u"default data")), "@=\"default data\"\n");
  EXPECT_EQ(Line(u"@", REG_SZ, Sz(u"literal at")), "\"@\"=\"literal at\"\n");
  EXPECT_EQ(Line(u"quote\"name", REG_SZ, Sz(u"say \"hi\"")),
            "\"quote\\\"name\"=\"say \\\"hi\\\"\"\n");
  EXPECT_EQ(Line(u"Gr\u00f6\u00dfe", REG_SZ, Sz(u"Gr\u00fc\u00dfe")),
            "\"Gr\\xf6\\x00dfe\"=\"Gr\\xfc\\x00dfe\"\n");
  EXPECT_EQ(Line(u"empty", REG_SZ, Sz(u"")), "\"empty\"=\"\"\n");
  EXPECT_EQ(Line(u"expand", REG_EXPAND_SZ, Sz(u"%SystemRoot%\\system32")),
            "\"expand\"=str(2):\"%SystemRoot%\\\\system32\"\n");
  EXPECT_EQ(Line(u"multi", REG_MULTI_SZ, Sz(std::u16string(u"one\0two\0three\0", 14))),
            "\"multi\"=str(7):\"one\\0two\\0three\\0\"\n");
  EXPECT_EQ(Line(u"multiempty", REG_MULTI_SZ, Sz(u"")), "\"multiempty\"=str(7):\"\"\n");
  // Strings are never wrapped.
  const std::string longText(3000, 'A');
  EXPECT_EQ(Line(u"long", REG_SZ, Sz(std::u16string(3000, u'A'))),
            "\"long\"=\"" + longText + "\"\n");
}

TEST(HiveValueTextTest, WritesImproperStringsAndOtherTypesAsHex) {
  EXPECT_EQ(Line(u"dword", REG_DWORD, Bytes({0x2a, 0, 0, 0})), "\"dword\"=dword:0000002a\n");
  EXPECT_EQ(Line(u"d", REG_DWORD, Bytes({0x01, 0xef, 0xcd, 0xab})), "\"d\"=dword:abcdef01\n");
  EXPECT_EQ(Line(u"d3", REG_DWORD, Bytes({1, 2, 3})), "\"d3\"=hex(4):01,02,03\n");
  EXPECT_EQ(Line(u"dwordbe", REG_DWORD_BIG_ENDIAN, Bytes({1, 0, 0, 0})),
            "\"dwordbe\"=hex(5):01,00,00,00\n");
  EXPECT_EQ(Line(u"qword", REG_QWORD, Bytes({0xf0, 0xde, 0xbc, 0x9a, 0x78, 0x56, 0x34, 0x12})),
            "\"qword\"=hex(b):f0,de,bc,9a,78,56,34,12\n");
  EXPECT_EQ(Line(u"bin", REG_BINARY, Bytes({0xde, 0xad, 0xbe, 0xef})), "\"bin\"=hex:de,ad,be,ef\n");
  EXPECT_EQ(Line(u"binempty", REG_BINARY, ""), "\"binempty\"=hex:\n");
  EXPECT_EQ(Line(u"none", REG_NONE, Bytes({0, 0})), "\"none\"=hex(0):00,00\n");
  EXPECT_EQ(Line(u"big", 0x1234, Bytes({1})), "\"big\"=hex(1234):01\n");
  EXPECT_EQ(Line(u"sz0", REG_SZ, ""), "\"sz0\"=hex(1):\n");
  EXPECT_EQ(Line(u"odd", REG_SZ, Bytes({0x41, 0, 0})), "\"odd\"=hex(1):41,00,00\n");
  EXPECT_EQ(Line(u"open", REG_EXPAND_SZ, Bytes({0x41, 0})), "\"open\"=hex(2):41,00\n");
}

TEST(HiveValueTextTest, WrapsHexDataAfterColumn76) {
  std::string data;
  for (int i = 0; i < 60; ++i)
    data += static_cast<char>(i);
  EXPECT_EQ(Line(u"binlong", REG_BINARY, data),
            "\"binlong\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,\\\n"
            "  15,16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,\\\n"
            "  2e,2f,30,31,32,33,34,35,36,37,38,39,3a,3b\n");
  // The escaped name counts, and the final byte never wraps.
  EXPECT_EQ(Line(u"\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4", REG_BINARY,
                 data.substr(0, 18)),
            "\"\\xe4\\xe4\\xe4\\xe4\\xe4\\xe4\\xe4\\xe4\\xe4\\xe4\"=hex:00,01,02,03,04,05,06,07,08,"
            "09,\\\n"
            "  0a,0b,0c,0d,0e,0f,10,11\n");
}

TEST(HiveValueTextTest, ReadsEveryTag) {
  struct Case {
    const char* line;
    uint32_t type;
    std::string data;
  };
  const Case cases[] = {
      {"\"a\"=\"abc\"", REG_SZ, Sz(u"abc")},
      {"\"a\"=str:\"abc\"", REG_SZ, Sz(u"abc")},
      {"\"a\"=str(2):\"%x%\"", REG_EXPAND_SZ, Sz(u"%x%")},
      {"\"a\"=str(7):\"a\\0b\\0\"", REG_MULTI_SZ, Sz(std::u16string(u"a\0b\0", 4))},
      {"\"a\"=dword:0000002a", REG_DWORD, Bytes({0x2a, 0, 0, 0})},
      {"\"a\"=dword:ABCDEF01", REG_DWORD, Bytes({0x01, 0xef, 0xcd, 0xab})},
      {"\"a\"=dword:xyz", REG_DWORD, Bytes({0, 0, 0, 0})},  // no check, as in Wine
      {"\"a\"=hex:de,ad , be,\tef", REG_BINARY, Bytes({0xde, 0xad, 0xbe, 0xef})},
      {"\"a\"=hex:", REG_BINARY, ""},
      {"\"a\"=hex(b):01,02", REG_QWORD, Bytes({1, 2})},
      {"\"a\"=hex(B):01", REG_QWORD, Bytes({1})},
      {"\"a\"=hex(1234):01", 0x1234, Bytes({1})},
      {"\"a\"=hex():", REG_NONE, ""},
      {"@=\"default\"", REG_SZ, Sz(u"default")},
      {"\"a\" = \"b\"", REG_SZ, Sz(u"b")},
      {"\"trailing\"=\"abc\" junk", REG_SZ, Sz(u"abc")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ParsedValue value = Parse(c.line);
    EXPECT_EQ(value.outcome, Outcome::Ok);
    EXPECT_EQ(value.type, c.type);
    EXPECT_EQ(value.data, c.data);
  }
  EXPECT_EQ(Parse("\"quote\\\"name\"=\"x\"").name, u"quote\"name");
  EXPECT_EQ(Parse("@=\"x\"").name, u"");
}

TEST(HiveValueTextTest, MalformedDataKeepsTheName) {
  for (const char* line : {"\"a\"=\"abc", "\"a\"=hex: 01", "\"a\"=str(3):\"x\"", "\"a\"=hex:100",
                           "\"a\"=hex:01,zz", "\"a\"=\"abc\\", "\"a\"=", "\"a\"=hex(2:01"}) {
    SCOPED_TRACE(line);
    const ParsedValue value = Parse(line);
    EXPECT_EQ(value.outcome, Outcome::MalformedData);
    EXPECT_EQ(value.name, u"a");
    EXPECT_EQ(value.type, REG_NONE);
    EXPECT_EQ(value.data, "");
  }
  for (const char* line : {"\"abc=\"x\"", "\"a\" \"x\"", "@x=\"y\"", "\"a\\"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(Parse(line).outcome, Outcome::MalformedName);
  }
}

TEST(HiveValueTextTest, HexDataContinuesOverLines) {
  std::string rest;
  ParsedValue value = Parse("\"a\"=hex:01,02,\\\n    03,\\ ignored\n04\n[next]\n", &rest);
  EXPECT_EQ(value.outcome, Outcome::Ok);
  EXPECT_EQ(value.data, Bytes({1, 2, 3, 4}));
  EXPECT_EQ(rest, "[next]\n");

  // A continuation line is read as data whatever it looks like.
  value = Parse("\"a\"=hex:01,\\\n[Key]\n\"b\"=\"c\"\n", &rest);
  EXPECT_EQ(value.outcome, Outcome::MalformedData);
  EXPECT_EQ(rest, "\"b\"=\"c\"\n");

  value = Parse("\"a\"=hex:01,\\", &rest);  // the file ends after the backslash
  EXPECT_EQ(value.outcome, Outcome::MalformedData);

  value = Parse("\"a\"=\"x\\\\\"\n  01\n", &rest);  // strings never continue
  EXPECT_EQ(value.data, Sz(u"x\\"));
  EXPECT_EQ(rest, "  01\n");
}

}  // namespace
}  // namespace platform
