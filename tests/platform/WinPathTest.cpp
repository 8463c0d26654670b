#include "platform/WinPath.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

std::string Normal(std::string_view path, std::string_view base = {}) {
  const Result<std::string> result = NormalizeWinPath(path, base);
  EXPECT_TRUE(result.ok()) << result.status().message();
  return result.ok() ? *result : "<" + result.status().message() + ">";
}

// The message of a path that must be refused as an invalid name.
std::string Refusal(std::string_view path, std::string_view base = {}) {
  const Result<std::string> result = NormalizeWinPath(path, base);
  EXPECT_FALSE(result.ok()) << path << " became " << (result.ok() ? *result : "");
  EXPECT_EQ(result.status().code(), ErrorCode::InvalidName);
  return result.status().message();
}

TEST(WinPathTest, NormalisesSeparatorsDotsAndCase) {
  EXPECT_EQ(Normal("c:/Program Files//Zav\\.\\x\\..\\Bin\\"), "C:\\Program Files\\Zav\\Bin");
  EXPECT_EQ(Normal("C:\\"), "C:\\");
  EXPECT_EQ(Normal("c:/"), "C:\\");
  EXPECT_EQ(Normal("C:"), "C:\\");
  EXPECT_EQ(Normal("C:\\Gr\xC3\xBC\xC3\x9F"
                   "e\\\xE4\xB8\xAD"),
            "C:\\Gr\xC3\xBC\xC3\x9F"
            "e\\\xE4\xB8\xAD");
}

TEST(WinPathTest, DotDotStopsAtTheDriveRoot) {
  EXPECT_EQ(Normal("C:\\..\\a"), "C:\\a");
  EXPECT_EQ(Normal("C:\\a\\..\\..\\..\\b\\.."), "C:\\");
  EXPECT_EQ(Normal("..\\..\\..\\x", "D:\\one\\two"), "D:\\x");
}

TEST(WinPathTest, RelativePathsFollowTheBaseFolder) {
  EXPECT_EQ(Normal("x\\y", "D:\\base"), "D:\\base\\x\\y");
  EXPECT_EQ(Normal("..\\x", "d:/base/sub/"), "D:\\base\\x");
  EXPECT_EQ(Normal("\\x", "D:\\base"), "D:\\x");  // the base's drive root
  EXPECT_EQ(Normal("/x", "D:\\base"), "D:\\x");
  EXPECT_EQ(Normal("E:\\x", "D:\\base"), "E:\\x");  // absolute: the base plays no part
  // A drive without a backslash: the base folder on its own drive, else the drive root.
  EXPECT_EQ(Normal("d:x", "D:\\base"), "D:\\base\\x");
  EXPECT_EQ(Normal("D:", "D:\\base"), "D:\\base");
  EXPECT_EQ(Normal("E:x", "D:\\base"), "E:\\x");
  EXPECT_EQ(Normal("C:x"), "C:\\x");
}

TEST(WinPathTest, DropsTrailingDotsAndSpacesAsWindowsDoes) {
  EXPECT_EQ(Normal("C:\\dir. \\file.txt..  "), "C:\\dir\\file.txt");
  EXPECT_EQ(Normal("C:\\a\\...\\ . \\b"), "C:\\a\\b");  // nothing left of those names
  EXPECT_EQ(Normal("C:\\ lead\\.hidden"), "C:\\ lead\\.hidden");
}

TEST(WinPathTest, RefusesCharactersWindowsForbids) {
  for (const char c : std::string("<>:\"|?*")) {
    const std::string message = Refusal(std::string("C:\\dir\\na") + c + "me\\x");
    EXPECT_NE(message.find(std::string("the name \"na") + c + "me\""), std::string::npos)
        << message;
    EXPECT_NE(message.find(std::string("'") + c + "'"), std::string::npos) << message;
  }
  EXPECT_NE(Refusal("C:\\a\x01"
                    "b")
                .find("control character 0x01"),
            std::string::npos);
  EXPECT_NE(Refusal(std::string("C:\\a\0b", 6)).find("0x00"), std::string::npos);
  // Checked as written, even in a name that a later ".." takes away.
  Refusal("C:\\a*\\..\\b");
  Refusal("1:\\x", "C:\\");  // not a drive letter, so a name with a colon
}

TEST(WinPathTest, RefusesDeviceNamesAsAnyName) {
  for (const char* device : {"CON", "prn", "Aux", "NUL", "COM1", "com9", "LPT0", "LPT9", "AUX.txt",
                             "nul.tar.gz", "CON .log", "COM\xC2\xB9"}) {
    EXPECT_NE(Refusal(std::string("C:\\dir\\") + device).find("device"), std::string::npos);
    // On the way, it is a folder the host made.
    EXPECT_EQ(Normal(std::string("C:\\") + device + "\\x"), std::string("C:\\") + device + "\\x");
    EXPECT_EQ(CheckFileName(device).code(), ErrorCode::InvalidName) << device;
  }
  for (const char* name : {"CONSOLE", "NUL_", "COM10", "LPT", "COMA", "xCON", "CON-x.txt"}) {
    EXPECT_EQ(Normal(std::string("C:\\") + name), std::string("C:\\") + name);
    EXPECT_TRUE(CheckFileName(name).ok()) << name;
  }
}

// Windows counts UTF-16 units; a path over the limit is refused, never shortened.
TEST(WinPathTest, RefusesPathsLongerThanWindowsAllows) {
  const std::string fits = "C:\\" + std::string(kMaxPathLength - 3, 'a');
  EXPECT_EQ(Normal(fits), fits);
  EXPECT_NE(Refusal(fits + "a").find("32767 characters"), std::string::npos);
  // A character beyond U+FFFF counts twice, one of the BMP once whatever its bytes.
  EXPECT_NE(Refusal("C:\\" + std::string(kMaxPathLength - 4, 'a') + "\xF0\x9F\x98\x80")
                .find("32767 characters"),
            std::string::npos);
  EXPECT_TRUE(
      NormalizeWinPath("C:\\" + std::string(kMaxPathLength - 4, 'a') + "\xE4\xB8\xAD").ok());
  // Short as written, too long once resolved against its base.
  const std::string base = "C:\\" + std::string(kMaxPathLength - 5, 'b');
  EXPECT_NE(Refusal("xy", base).find("resolved"), std::string::npos);
  // The message quotes the start of the path, cut between two characters.
  std::string accents = "C:\\";
  while (accents.size() < 2 * kMaxPathLength)
    accents += "\xC3\xA9";
  const std::string message = Refusal(accents);
  const size_t cut = message.find("...\"");
  ASSERT_NE(cut, std::string::npos) << message;
  EXPECT_EQ(message.substr(cut - 2, 2), "\xC3\xA9");
}

TEST(WinPathTest, RefusesPathsWithoutADrive) {
  EXPECT_NE(Refusal("dir\\file").find("no drive letter"), std::string::npos);
  EXPECT_NE(Refusal("\\dir").find("no drive letter"), std::string::npos);
  EXPECT_NE(Refusal("").find("empty"), std::string::npos);
  EXPECT_NE(Refusal("\\\\server\\share\\x", "C:\\").find("network"), std::string::npos);
  Refusal("//?/C:/x");
  EXPECT_NE(Refusal("x", "base").find("base folder"), std::string::npos);
}

TEST(WinPathTest, SplitsJoinsAndClimbs) {
  const WinPath path = *WinPath::Parse("c:\\windows\\system32");
  EXPECT_EQ(path.drive(), 'C');
  EXPECT_EQ(path.components(), (std::vector<std::string>{"windows", "system32"}));
  EXPECT_EQ(path.Parent().ToString(), "C:\\windows");
  EXPECT_EQ(path.Parent().Parent(), WinPath::DriveRoot('c'));
  EXPECT_EQ(WinPath::DriveRoot('C').Parent(), WinPath::DriveRoot('C'));
  EXPECT_EQ(path.Join("..\\Fonts\\x.ttf")->ToString(), "C:\\windows\\Fonts\\x.ttf");
  EXPECT_EQ(path.Join("D:\\x")->ToString(), "D:\\x");
  EXPECT_FALSE(path.Join("a|b").ok());

  EXPECT_TRUE(IsDriveRoot("C:\\"));
  EXPECT_TRUE(IsDriveRoot("c:/"));
  EXPECT_TRUE(IsDriveRoot("C:\\a\\.."));
  EXPECT_FALSE(IsDriveRoot("C:\\a"));
  EXPECT_FALSE(IsDriveRoot("\\"));
}

TEST(WinPathTest, ChecksSingleNames) {
  EXPECT_TRUE(CheckFileName("setup.cfg").ok());
  EXPECT_TRUE(CheckFileName(" lead").ok());
  for (const char* bad : {"", ".", "..", "a\\b", "a/b", "a?", "trail.", "trail "}) {
    const Status status = CheckFileName(bad);
    EXPECT_EQ(status.code(), ErrorCode::InvalidName) << bad;
    EXPECT_FALSE(status.message().empty());
  }
}

}  // namespace
}  // namespace platform
