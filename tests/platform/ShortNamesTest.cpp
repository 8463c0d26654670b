#include "platform/ShortNames.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace platform {
namespace {

// Each long name with the short name Wine 8 lists for it (`dir /x` in a prefix); empty where
// Wine lists none, the name being a short name itself.
TEST(ShortNamesTest, WineMakesUpTheSameShortNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"Program Files", "PROG~FBU"},
      {"PROGRAM FILES", "PROG~FBU"},  // the hash is taken without case
      {"Program Files (x86)", "PROG~5P2"},
      {"ProgramData", "PROG~BDQ"},
      {"ZavPolyverb50Design.bpl", "ZAVP~ROP.BPL"},
      {"verylongname", "VERY~FQH"},
      {"abcdefghi.txt", "ABCD~0SH.TXT"},
      {"abc.defgh", "ABC~~VKO.DEF"},
      {"ab.c.defg", "AB_C~0LY.DEF"},  // the last dot begins the extension
      {"x.y.z", "X_Y~~JTF.Z"},
      {"a b.txt", "A_B~~QSV.TXT"},  // a space makes a name long
      {"a+b.txt", "A_B~~Z4Z.TXT"},
      {".abc", "_ABC~XKT"},  // a leading dot begins no extension
      {".x.y", "_X~~~G24.Y"},
      {".hidden.name.txt", "_HID~TXJ.TXT"},
      {"\xC3\xA9.txt", "_~~~~XHP.TXT"},                  // é
      {"\xE5\x90\x8D\xE5\x89\x8D.txt", "__~~~GYQ.TXT"},  // two CJK characters
      {"ab", ""},
      {"UPPER.TXT", ""},
      {"lower.txt", ""},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(WineShortName(name), expected) << name;
}

TEST(ShortNamesTest, OnlyValidEightDotThreeNamesAreShort) {
  for (const char* name : {"PROGRA~1", "prog~fbu", "A", "ABCDEFGH", "ABCDEFGH.TXT", "A.B", "A~B"})
    EXPECT_TRUE(IsShortName(name)) << name;
  for (const char* name : {"", "ABCDEFGHI", "ABCDEFGHI.TX", "ABC.DEFG", "A.B.C", "ABC.", ".ABC",
                           "A B", "A+B", "A[1]", "\xC3\xA9"})
    EXPECT_FALSE(IsShortName(name)) << name;
}

// A folder as Wine looks names up in it: the short names of its entries find them, Windows'
// numbered ones do not, and an entry that bears the very name written comes first.
TEST(ShortNamesTest, LongPathFindsWhatWineWouldOpen) {
  testsupport::TempDir dir;
  const WinePrefix prefix(dir.path());
  testsupport::WriteFile(dir / "drive_c/Program Files/Borland/Bin/ZavPolyverb50Design.bpl", "p");
  auto longPath = [&](const char* written) {
    const Result<WinPath> path = WinPath::Parse(written);
    EXPECT_TRUE(path) << written;
    return path ? LongPath(prefix, *path).ToString() : std::string();
  };
  EXPECT_EQ(longPath("C:\\PROG~FBU\\BORLAND\\bin\\ZAVP~ROP.BPL"),
            "C:\\Program Files\\BORLAND\\bin\\ZavPolyverb50Design.bpl");
  EXPECT_EQ(longPath("c:\\prog~fbu\\Borland"), "C:\\Program Files\\Borland");
  EXPECT_EQ(longPath("C:\\PROGRA~1\\Borland"), "C:\\PROGRA~1\\Borland");
  EXPECT_EQ(longPath("C:\\PROG~FBU\\Borland\\Bin\\ZAVP~AAA.BPL"),
            "C:\\Program Files\\Borland\\Bin\\ZAVP~AAA.BPL");
  EXPECT_EQ(longPath("C:\\PROG~FBU\\Gone\\PROG~FBU"), "C:\\Program Files\\Gone\\PROG~FBU");

  // A host name Windows cannot spell is not gone through as if it were a drive ("a:").
  testsupport::WriteFile(dir / "drive_c/a:b.txt", "x");
  const std::string unspellable = "C:\\" + WineShortName("a:b.txt");
  EXPECT_EQ(longPath(unspellable.c_str()), unspellable);

  std::filesystem::create_directory(dir / "drive_c/PROG~FBU");
  EXPECT_EQ(longPath("C:\\PROG~FBU\\Borland"), "C:\\PROG~FBU\\Borland");
}

}  // namespace
}  // namespace platform
