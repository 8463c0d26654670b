#include "package/ShortPath.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Unicode.h"

namespace {

std::ptrdiff_t Chars(const std::string& text) {
  std::ptrdiff_t count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

TEST(ShortPathTest, APathThatFitsIsLeftAlone) {
  EXPECT_EQ(ShortPath("C:\\Programme\\Borland\\Delphi 4\\Bin", 35),
            "C:\\Programme\\Borland\\Delphi 4\\Bin");
  EXPECT_EQ(ShortPath("", 35), "");
  const std::string exact(35, 'a');
  EXPECT_EQ(ShortPath(exact, 35), exact);
}

TEST(ShortPathTest, FoldersGoFromTheMiddleKeepingTheDriveAndTheEnd) {
  EXPECT_EQ(ShortPath("C:\\Program Files\\Borland\\Delphi 5\\Bin", 30),
            "C:\\...\\Borland\\Delphi 5\\Bin");
  EXPECT_EQ(ShortPath("C:\\Program Files (x86)\\Borland Software\\Delphi 5\\Bin", 36),
            "C:\\...\\Borland Software\\Delphi 5\\Bin");
  EXPECT_EQ(ShortPath("C:\\Program Files (x86)\\Borland Software\\Delphi 5\\Bin", 20),
            "C:\\...\\Delphi 5\\Bin");
  EXPECT_EQ(ShortPath("C:\\Program Files (x86)\\Borland Software\\Delphi 5\\Bin", 10),
            "C:\\...\\Bin");
  EXPECT_EQ(ShortPath("\\\\server\\share\\deep\\deeper\\Bin", 24), "\\\\server\\share\\...\\Bin");
  EXPECT_EQ(ShortPath("C:\\Programme\\Zav Polyverb\\Demo\\", 20), "C:\\...\\Demo\\");
}

TEST(ShortPathTest, ALastNameTooLongKeepsItsEnd) {
  EXPECT_EQ(ShortPath("C:\\A Very Long Folder Name", 16), "C:\\...older Name");
  EXPECT_EQ(ShortPath("C:\\x\\A Very Long Folder Name", 16), "C:\\...older Name");
  EXPECT_EQ(ShortPath("C:\\A Very Long Folder Name", 5), "...me");
  EXPECT_EQ(ShortPath("C:\\A Very Long Folder Name", 3), "ame");
  EXPECT_EQ(ShortPath("C:\\A Very Long Folder Name", 0), "");
  EXPECT_EQ(ShortPath("C:\\A Very Long Folder Name", -1), "");
}

TEST(ShortPathTest, LengthCountsCharactersAndNeverSplitsOne) {
  // "Größenänderung" has 14 characters in 17 bytes.
  const std::string name =
      "Gr\xC3\xB6\xC3\x9F"
      "en\xC3\xA4nderung";
  const std::string path = "C:\\" + name;
  EXPECT_EQ(ShortPath(path, 17), path);
  const std::string cut = ShortPath(path, 11);
  EXPECT_EQ(Chars(cut), 11);
  EXPECT_EQ(cut, "C:\\...erung");
  EXPECT_EQ(ShortPath(path, 16), "C:\\...en\xC3\xA4nderung");
}

// The promise callers build on: never longer than asked, whatever the path.
TEST(ShortPathTest, NeverLongerThanAsked) {
  const std::string paths[] = {
      "C:\\Program Files (x86)\\Borland\\Delphi 5\\Bin",
      "\\\\server\\share\\a\\b",
      "\\\\server",
      "\\folder\\sub\\file.txt",
      "relative\\path\\to\\somewhere",
      "C:",
      "C:\\",
      "C:\\\\double\\\\backslashes\\\\",
      "Z:\\\xE6\x97\xA5\xE6\x9C\xAC\\\xE8\xAA\x9E\\folder",
      "no separators at all in this rather long text",
  };
  for (const std::string& path : paths) {
    for (std::ptrdiff_t max = 0; max <= 50; ++max) {
      const std::string result = ShortPath(path, max);
      EXPECT_LE(Chars(result), max) << path << " at " << max;
      EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(result)), result)
          << path << " at " << max << " split a character";
    }
  }
}

}  // namespace
