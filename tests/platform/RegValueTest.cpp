#include "platform/RegValue.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(RegValueTest, StringsAreUtf16WithTheirNul) {
  const RegValue value = RegValue::String("Name", "abc");
  EXPECT_EQ(value.type, REG_SZ);
  EXPECT_EQ(value.data, std::string("a\0b\0c\0\0\0", 8));

  const RegValue expand = RegValue::String("Path",
                                           "Gr\xC3\xBC\xC3\x9F"
                                           "e \xF0\x9F\x98\x80",
                                           REG_EXPAND_SZ);
  EXPECT_EQ(expand.type, REG_EXPAND_SZ);
  EXPECT_EQ(expand.data, std::string("G\0r\0\xFC\0\xDF\0"
                                     "e\0 \0\x3D\xD8\x00\xDE\0\0",
                                     18));
  EXPECT_EQ(expand.AsString(),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xF0\x9F\x98\x80");
}

TEST(RegValueTest, DwordIsLittleEndian) {
  const RegValue value = RegValue::Dword("n", 0x12345678);
  EXPECT_EQ(value.type, REG_DWORD);
  EXPECT_EQ(value.data, "\x78\x56\x34\x12");
}

TEST(RegValueTest, AsStringReadsUpToTheFirstNul) {
  RegValue value{"v", REG_SZ, std::string("a\0b\0\0\0c\0", 8)};
  EXPECT_EQ(value.AsString(), "ab");
  value.data = std::string("a\0b", 3);  // not whole code units
  EXPECT_EQ(value.AsString(), std::nullopt);
  value.data = std::string("a\0b\0", 4);  // unterminated: all of it
  EXPECT_EQ(value.AsString(), "ab");
  value.data.clear();
  EXPECT_EQ(value.AsString(), "");
  value.type = REG_MULTI_SZ;
  EXPECT_EQ(value.AsString(), std::nullopt);
  EXPECT_EQ(RegValue::Dword("d", 1).AsString(), std::nullopt);
}

TEST(RegValueTest, SameDataComparesTypeAndBytes) {
  EXPECT_TRUE(RegValue::String("a", "x").SameData(RegValue::String("B", "x")));
  EXPECT_FALSE(RegValue::String("a", "x").SameData(RegValue::String("a", "x", REG_EXPAND_SZ)));
  EXPECT_FALSE(RegValue::String("a", "x").SameData(RegValue::String("a", "y")));
}

}  // namespace
}  // namespace platform
