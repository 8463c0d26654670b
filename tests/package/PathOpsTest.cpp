#include "package/PathOps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/Machine.h"
#include "platform/StringFunctions.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// A temporary prefix as the machine in use: drive C: is its drive_c.
class PathOpsTest : public ::testing::Test {
 protected:
  PathOpsTest()
      : machine_(platform::Machine::Use(
            std::make_unique<platform::Machine>(platform::WinePrefix(dir_.path())))) {}

  std::string C(const std::string& relative) const { return dir_ / ("drive_c/" + relative); }
  // Puts Dir in place of the program's folder; empty gives the program's own back.
  static void UseApplicationDir(const std::string& Dir) {
    platform::Machine::Current().SetApplicationDir(Dir);
  }
  void Put(const std::string& relative) { testsupport::WriteFile(C(relative), "x"); }

  testsupport::TempDir dir_;
  platform::Machine::Scope machine_;
};

TEST_F(PathOpsTest, TheProgramsFolderEndsWithABackslash) {
  const std::string own = GetApplicationDir();
  const auto expected = platform::Machine::Current().prefix().ApplicationDir();
  ASSERT_TRUE(expected.ok());
  EXPECT_EQ(own, *expected + "\\");

  UseApplicationDir("C:\\dist");
  EXPECT_EQ(GetApplicationDir(), "C:\\dist\\");
  UseApplicationDir("C:\\");
  EXPECT_EQ(GetApplicationDir(), "C:\\");
  UseApplicationDir("");
  EXPECT_EQ(GetApplicationDir(), own);
}

TEST_F(PathOpsTest, NamesAreMadeAbsoluteAgainstTheProgramsFolder) {
  UseApplicationDir("C:\\dist");
  EXPECT_EQ(ExpandApplicationDir("ZavPolyverb40Design.bpl"), "C:\\dist\\ZavPolyverb40Design.bpl");
  EXPECT_EQ(ExpandApplicationDir("..\\other\\a.txt"), "C:\\other\\a.txt");
  EXPECT_EQ(ExpandApplicationDir("D:\\elsewhere\\a.txt"), "D:\\elsewhere\\a.txt");

  Put("dist/ZavPolyverb40Design.bpl");
  EXPECT_TRUE(FileExist(ExpandApplicationDir("zavpolyverb40design.BPL")));
  EXPECT_FALSE(FileExist(ExpandApplicationDir("ZavPolyverb30Design.dpl")));
}

TEST_F(PathOpsTest, NamesAreMadeAbsoluteAgainstAGivenFolder) {
  EXPECT_EQ(ExpandFileNameByDir("vcl40.bpl", "C:\\Delphi 4\\Bin"), "C:\\Delphi 4\\Bin\\vcl40.bpl");
  EXPECT_EQ(ExpandFileNameByDir("vcl40.bpl", "C:\\Delphi 4\\Bin\\"),
            "C:\\Delphi 4\\Bin\\vcl40.bpl");
  EXPECT_EQ(ExpandFileNameByDir("vcl40.bpl", "c:/x/./y/.."), "C:\\x\\vcl40.bpl");
  EXPECT_EQ(ExpandFileNameByDir("vcl40.bpl", "C:\\"), "C:\\vcl40.bpl");
  EXPECT_EQ(ExpandFileNameByDir("C:\\abs.txt", "D:\\dir"), "C:\\abs.txt");
  // No folder: the name stays relative, and every file operation on it fails.
  EXPECT_EQ(ExpandFileNameByDir("vcl40.bpl", ""), "vcl40.bpl");
  Put("vcl40.bpl");
  EXPECT_FALSE(FileExist(ExpandFileNameByDir("vcl40.bpl", "")));
  // A folder that is no Windows path: joined as it is, for the file operation to report.
  EXPECT_EQ(ExpandFileNameByDir("a.txt", "C:\\bad|dir"), "C:\\bad|dir\\a.txt");
}

TEST_F(PathOpsTest, RemoveBackslashDropsExactlyOne) {
  EXPECT_EQ(RemoveBackslash("C:\\dist\\"), "C:\\dist");
  EXPECT_EQ(RemoveBackslash("C:\\dist"), "C:\\dist");
  EXPECT_EQ(RemoveBackslash("C:\\dist\\\\"), "C:\\dist\\");
  EXPECT_EQ(RemoveBackslash("C:\\"), "C:");
  EXPECT_EQ(RemoveBackslash(""), "");

  // The source-folder test of a run: the program's folder against a typed folder.
  UseApplicationDir("C:\\Dist");
  EXPECT_TRUE(
      platform::SameText(RemoveBackslash(GetApplicationDir()), RemoveBackslash("c:\\DIST")));
  EXPECT_TRUE(
      platform::SameText(RemoveBackslash(GetApplicationDir()), RemoveBackslash("c:\\DIST\\")));
}

TEST_F(PathOpsTest, FilesAndFoldersAreToldApart) {
  Put("Delphi 4/Bin/delphi32.exe");
  EXPECT_TRUE(FileExist("C:\\Delphi 4\\Bin\\delphi32.exe"));
  EXPECT_TRUE(FileExist("c:\\delphi 4\\bin\\DELPHI32.EXE"));
  EXPECT_FALSE(FileExist("C:\\Delphi 4\\Bin"));
  EXPECT_TRUE(DirExist("C:\\Delphi 4\\Bin"));
  EXPECT_TRUE(DirExist("C:\\Delphi 4\\Bin\\"));
  EXPECT_FALSE(DirExist("C:\\Delphi 4\\Bin\\delphi32.exe"));
  EXPECT_FALSE(FileExist(""));
  EXPECT_FALSE(DirExist(""));
  EXPECT_FALSE(FileExist("delphi32.exe"));
  EXPECT_FALSE(DirExist("C:\\bad|name"));
}

TEST_F(PathOpsTest, CreateDirRecurseCreatesEveryMissingLevel) {
  EXPECT_TRUE(CreateDirRecurse("C:\\Programme\\Zav Polyverb\\"));
  EXPECT_TRUE(fs::is_directory(C("Programme/Zav Polyverb")));
  EXPECT_TRUE(CreateDirRecurse("c:\\programme\\ZAV POLYVERB"));  // exists already
  EXPECT_EQ(std::distance(fs::directory_iterator(C("Programme")), fs::directory_iterator()), 1);

  Put("taken");
  EXPECT_FALSE(CreateDirRecurse("C:\\taken\\sub"));
  EXPECT_FALSE(CreateDirRecurse(""));
  EXPECT_FALSE(CreateDirRecurse("relative\\dir"));
  EXPECT_FALSE(CreateDirRecurse("Q:\\unmapped"));
}

TEST_F(PathOpsTest, TheWindowsFolderIsGivenWithoutABackslash) {
  EXPECT_TRUE(platform::SameText(GetWindowsDir(), "C:\\Windows"));
}

}  // namespace
