#include "platform/hive/Slicing.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/FileDescriptor.h"
#include "platform/hive/Hive.h"
#include "tests/support/HiveSliceCheck.h"
#include "tests/support/TempDir.h"

namespace platform {
namespace {

const std::string kHeader =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\Machine\n"
    "\n"
    "#arch=win64\n";

// Where a 32-bit lookup of Software\Borland\Delphi\3.0 can go.
const HiveKeyPaths kDelphi3 = {
    {"Software", "Borland", "Delphi", "3.0"},
    {"Wow6432Node", "Software", "Borland", "Delphi", "3.0"},
    {"Software", "Wow6432Node", "Borland", "Delphi", "3.0"},
    {"Software", "Borland", "Wow6432Node", "Delphi", "3.0"},
    {"Software", "Borland", "Delphi", "Wow6432Node", "3.0"},
};

struct SliceCase {
  const char* what;
  std::string body;  // after the header
};

// Each text is sliced for the Delphi key and must answer its lookups as the whole text does.
TEST(HiveSliceTest, ASliceAnswersTheLookupsOfItsKeysAsTheWholeFileDoes) {
  const SliceCase cases[] = {
      {"as Wine writes it, the 32-bit side known only through its subkeys",
       "\n[Software\\\\Borland\\\\Database Engine] 1\n\"x\"=\"1\"\n"
       "\n[Software\\\\Borland\\\\Delphi\\\\3.0] 1\n#time=1d1\n"
       "\"RootDir\"=\"C:\\\\Program Files\\\\Borland\\\\Delphi3\"\n"
       "\n[Software\\\\Borland\\\\Delphi\\\\3.0\\\\Sub] 1\n"
       "\n[Software\\\\Borland\\\\Delphi\\\\3.0\\\\Sub\\\\Two] 1\n\"s\"=\"2\"\n"
       "\n[Software\\\\Classes\\\\.txt] 1\n@=\"txtfile\"\n"
       "\n[Software\\\\Classes\\\\.zip] 1\n@=\"zipfile\"\n"
       "\n[Software\\\\Wow6432Node\\\\Borland\\\\Delphi\\\\3.0] 1\n\"RootDir\"=\"C:\\\\D3\"\n"
       "\n[Software\\\\Wow6432Node\\\\Classes\\\\.txt] 1\n#link\n"
       "\n[System\\\\Select] 1\n\"Current\"=dword:00000001\n"},
      {"a name first spelled in another case, and a key in two sections",
       "\n[software\\\\borland\\\\Apps\\\\x] 1\n"
       "\n[Software\\\\BORLAND\\\\delphi\\\\3.0] 1\n\"a\"=\"1\"\n"
       "\n[Software\\\\Other] 1\n"
       "\n[Software\\\\Other\\\\Skipped] 1\n"
       "\n[SOFTWARE\\\\Borland\\\\Delphi\\\\3.0] 1\n\"b\"=\"2\"\n"},
      {"values of the root and of keys on the way, a class, hex over several lines, CRLF",
       "\r\n[] 1\r\n\"root\"=\"r\"\r\n"
       "\r\n[Software] 1\r\n#class=\"cls\"\r\n\"big\"=hex:00,01,02,\\\r\n  03,04\r\n"
       "\r\n[Software\\\\Borland\\\\Delphi\\\\3.0] 1\r\n\"bin\"=hex:01,\\\r\n  02\r\n"
       "\r\n[Software\\\\Zeta\\\\One] 1\r\n\"z\"=hex:05,\\\r\n  06\r\n"
       "\r\n[Software\\\\Zeta\\\\Two] 1\r\n"},
      {"lines the loader skips, blank lines in a row and no line end at the end",
       "\n\n[Software\\\\Borland\\\\Delphi\\\\3.0] 1\n; a comment\n\n\n\"a\"=\"1\"\n"
       "\n[Software\\\\Borland\\\\Delphi\\\\4.0] 1\n\"a\"=\"4\"\n"
       "\n[Software\\\\Borland\\\\Delphi\\\\4.0\\\\Skipped] 1\n"
       "\n[Software\\\\Borland\\\\Delphi\\\\3.0\\\\Deeper\\\\Still] 1\n\"d\"=\"x\""},
      {"blocks off the way: brackets in values and indented, a name that only starts as the "
       "child before, an empty name, CRLF",
       "\n[Software\\\\Apps] 1\n\"[not a key]\"=\"[x]\"\n"
       "\n[Software\\\\Apps\\\\One] 1\r\n\r\n  [Software\\\\Apps\\\\Two] 1\n"
       "\n[Software\\\\Apps\\\\\\\\Three] 1\n\n[Software\\\\AppsMore] 1\n\"m\"=\"1\"\n"
       "\n[Software\\\\AppsMore\\\\Sub] 1\n"
       "\n[Software\\\\Borland\\\\Delphi\\\\3.0] 1\n\"a\"=\"1\"\n"},
  };
  for (const SliceCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = kHeader + c.body;
    const std::optional<std::string> slice = SliceHiveText(text, kDelphi3);
    ASSERT_TRUE(slice.has_value());
    EXPECT_EQ(slice, testsupport::SliceLineByLine(text, kDelphi3));
    EXPECT_LT(slice->size(), text.size());
    const Hive whole = Hive::Parse(text);
    const Hive sliced = Hive::Parse(*slice);
    EXPECT_TRUE(sliced.writable()) << sliced.refusal();
    EXPECT_EQ(testsupport::SliceDifferences(whole, sliced, kDelphi3), std::vector<std::string>{});
  }
}

// Files the slicer cannot vouch for are left to the whole read.
TEST(HiveSliceTest, AFileNotLaidOutAsWineWritesItGetsNoSlice) {
  // A child off the way, and a key below it that the slice drops: key lines below the same
  // child after it are dropped on a comparison, which must still find their faults.
  const std::string kOffTheWay = "\n[Software\\\\Apps] 1\n\n[Software\\\\Apps\\\\A] 1\n";
  const SliceCase cases[] = {
      {"a link on the way", "\n[Software\\\\Borland] 1\n#link\n"},
      {"an escape in a key", "\n[Software\\\\Cla\\x73ses] 1\n"},
      {"a key that is not ASCII", "\n[Software\\\\Caf\xC3\xA9] 1\n"},
      {"a key line never closed", "\n[Software\\\\Borland 1\n"},
      {"a key line that is more hex data of a value off the way",
       "\n[Software\\\\Apps] 1\n\n[Software\\\\Apps\\\\X] 1\n\"a\"=hex:00,\\\n"
       "[Software\\\\Borland\\\\Delphi\\\\3.0] 1\n"},
      {"a block of the way that ends inside hex data",
       "\n[Software\\\\Borland\\\\Delphi\\\\3.0] 1\n\"b\"=hex:00,\\\n\n[Software\\\\X] 1\n"},
      {"an escape below a child off the way", kOffTheWay + "\n[Software\\\\Apps\\\\B\\x62] 1\n"},
      {"a key below a child off the way never closed",
       kOffTheWay + "\n[Software\\\\Apps\\\\B 1\n\n[Software\\\\C] 1\n"},
      {"a key below a child off the way that could be more hex data",
       kOffTheWay + "\"a\"=hex:00,\\\n[Software\\\\Apps\\\\B] 1\n"},
      {"a key below a child off the way right after the key before",
       kOffTheWay + "\n[Software\\\\Apps\\\\B] 1\n[Software\\\\Apps\\\\C] 1\n"},
      {"a NUL byte below a child off the way",
       kOffTheWay + std::string("\n[Software\\\\Apps\\\\B\0] 1\n", 24)},
  };
  for (const SliceCase& c : cases) {
    const std::string text = kHeader + c.body;
    EXPECT_FALSE(SliceHiveText(text, kDelphi3).has_value()) << c.what;
    EXPECT_FALSE(testsupport::SliceLineByLine(text, kDelphi3).has_value()) << c.what;
  }
  EXPECT_FALSE(SliceHiveText(kHeader, {{"Caf\xC3\xA9"}}).has_value()) << "a wanted name";
}

// The file is read in pieces; lines that a piece cuts in two come out whole.
TEST(HiveSliceTest, ReadingTheFileInPiecesSlicesAsTheWholeText) {
  std::string many = kHeader;
  for (int i = 0; i < 3000; ++i) {
    const std::string n = std::to_string(i);
    many += "\n[Software\\\\" +
            std::string(i % 7 == 0 ? "Borland\\\\Delphi\\\\3.0\\\\"
                        : i % 5    ? "Apps\\\\"
                                   : "App") +
            n + "] 1\n\"Value " + n + "\"=\"" + std::string(static_cast<size_t>(i % 97), 'v') +
            "\"\n";
  }
  // A piece that ends just after the name that kept the key line before off the slice, in a
  // key line of another child, which the slice keeps; and a last line without a line end.
  const std::string before =
      kHeader + "\n[Software\\\\Apps] 1\n\n[Software\\\\Apps\\\\A] 1\n\"v\"=\"";
  const std::string after = "\"\n\n[Software\\\\AppsMore] 1\n\"m\"=\"1\"\n";
  const std::string cut = before +
                          std::string((1u << 16) - before.size() - after.find("More"), 'v') +
                          after + "\n[Software\\\\Borland\\\\Delphi\\\\3.0] 1\n\"last\"=\"1\"";
  ASSERT_GT(many.size(), 3u << 16);
  testsupport::TempDir dir;
  for (const std::string& text : {many, cut}) {
    const std::string path = dir / "system.reg";
    testsupport::WriteFile(path, text);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    FileDescriptor guard(fd);
    std::optional<std::string> slice;
    ASSERT_EQ(ReadHiveSlice(fd, kDelphi3, slice), 0);
    ASSERT_GT(text.size(), 1u << 16);
    EXPECT_EQ(slice, testsupport::SliceLineByLine(text, kDelphi3));
  }
}

}  // namespace
}  // namespace platform
