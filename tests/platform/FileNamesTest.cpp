#include "platform/FileNames.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(FileNamesTest, SplitsAtTheLastBackslashOrColon) {
  EXPECT_EQ(ExtractFileName("C:\\dir\\setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFileName("C:setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFileName("setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFileName("C:\\dir\\"), "");
  EXPECT_EQ(ExtractFilePath("C:\\dir\\setup.exe"), "C:\\dir\\");
  EXPECT_EQ(ExtractFilePath("C:setup.exe"), "C:");
  EXPECT_EQ(ExtractFilePath("setup.exe"), "");
  // A forward slash is an ordinary character to these functions.
  EXPECT_EQ(ExtractFileName("dir/setup.exe"), "dir/setup.exe");
}

TEST(FileNamesTest, FileDirKeepsTheBackslashOfARoot) {
  EXPECT_EQ(ExtractFileDir("C:\\dir\\sub\\setup.exe"), "C:\\dir\\sub");
  EXPECT_EQ(ExtractFileDir("C:\\dir\\"), "C:\\dir");
  EXPECT_EQ(ExtractFileDir("C:\\setup.exe"), "C:\\");
  EXPECT_EQ(ExtractFileDir("\\setup.exe"), "\\");
  EXPECT_EQ(ExtractFileDir("C:setup.exe"), "C:");
  EXPECT_EQ(ExtractFileDir("setup.exe"), "");
  EXPECT_EQ(ExtractFileDir("\\\\server\\share\\setup.exe"), "\\\\server\\share");
}

TEST(FileNamesTest, ExtensionIsAfterTheLastDotOfTheName) {
  EXPECT_EQ(ChangeFileExt("setup.exe", ".cfg"), "setup.cfg");
  EXPECT_EQ(ChangeFileExt("C:\\dir\\setup", ".cfg"), "C:\\dir\\setup.cfg");
  EXPECT_EQ(ChangeFileExt("C:\\dir.d\\setup", ".cfg"), "C:\\dir.d\\setup.cfg");
  EXPECT_EQ(ChangeFileExt("C:\\dir\\a.tar.gz", ".cfg"), "C:\\dir\\a.tar.cfg");
  EXPECT_EQ(ChangeFileExt("C:.hidden", ".cfg"), "C:.cfg");
  EXPECT_EQ(ChangeFileExt("setup.exe", ""), "setup");
  EXPECT_EQ(ExtractFileExt("C:\\dir.d\\setup"), "");
  EXPECT_EQ(ExtractFileExt("C:\\dir\\Setup.EXE"), ".EXE");
}

}  // namespace
}  // namespace platform
