#include "tests/support/DemoMachine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/Machine.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform::RootKey;
using testsupport::DelphiInstall;
using testsupport::ProgramValue;
using testsupport::TempDir;

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

platform::Result<platform::RegValue> ProgramValueOf(platform::Registry& registry, int version) {
  const testsupport::DelphiRegistration where = testsupport::DelphiRegistrationOf(version);
  auto key = registry.OpenKey(RootKey::LocalMachine, where.key, false);
  if (!key) return key.status();
  return registry.ReadValue(*key, where.valueName);
}

std::string ProgramTextOf(platform::Registry& registry, int version) {
  auto value = ProgramValueOf(registry, version);
  if (!value) return "<" + value.status().message() + ">";
  return value->AsString().value_or("<not text>");
}

TEST(DemoDistribution, HoldsExactlyTheChosenVersionsFiles) {
  TempDir dir;
  const std::set<std::string> common = {
      "ZavPolyverbEng.hlp", "ZavPolyverbGer.hlp", "Polyverb - History.txt",
      "Polyverb.int",       "Demo.zip",           "Demo.exe",
      "Install.exe",        "ReadMeEng.txt",      "ReadMeGer.txt"};

  auto written = testsupport::MakeDistribution(dir / "d4", {4});
  ASSERT_TRUE(written) << written.status().message();
  std::set<std::string> expected = common;
  expected.insert({"vcl40.bpl", "vcl40.de", "ZavPolyverb40.bpl", "ZavPolyverb40.dcp",
                   "ZavPolyverb40.dcu", "ZavPolyverb40Design.bpl"});
  EXPECT_EQ(FilesIn(dir / "d4"), expected);
  EXPECT_EQ(std::set<std::string>(written->begin(), written->end()), expected);
  EXPECT_EQ(testsupport::ReadFile(dir / "d4/Demo.zip"),
            "Zav Polyverb demo placeholder: Demo.zip\n");

  written = testsupport::MakeDistribution(dir / "d35", {3, 5}, {.vclFiles = false});
  ASSERT_TRUE(written) << written.status().message();
  expected = common;
  expected.insert({"ZavPolyverb30.dpl", "ZavPolyverb30.dcp", "ZavPolyverb30.dcu",
                   "ZavPolyverb30Design.dpl", "ZavPolyverb50.bpl", "ZavPolyverb50.dcp",
                   "ZavPolyverb50.dcu", "ZavPolyverb50Design.bpl"});
  EXPECT_EQ(FilesIn(dir / "d35"), expected);

  written = testsupport::MakeDistribution(dir / "d6", {4, 6});
  EXPECT_FALSE(written);
  EXPECT_FALSE(fs::exists(dir / "d6"));
}

TEST(DemoPrefix, AFreshPrefixReadsBackAsWrittenIn32BitView) {
  TempDir dir;
  const std::string prefix = dir / "prefix";
  const platform::Status made = testsupport::MakeDelphiPrefix(
      prefix, {{.version = 3, .programPath = "C:\\Delphi 3\\BIN\\Delphi32.exe"},
               {.version = 4, .value = ProgramValue::Empty},
               {.version = 5, .value = ProgramValue::NotText}});
  ASSERT_TRUE(made) << made.message();

  platform::Machine machine{platform::WinePrefix(prefix)};
  EXPECT_EQ(ProgramTextOf(machine.registry(), 3), "C:\\Delphi 3\\BIN\\Delphi32.exe");
  EXPECT_EQ(ProgramTextOf(machine.registry(), 4), "");
  auto dword = ProgramValueOf(machine.registry(), 5);
  ASSERT_TRUE(dword) << dword.status().message();
  EXPECT_EQ(dword->type, platform::REG_DWORD);

  // Where 32-bit programs under a 64-bit Wine find it, so Wine's own tools agree.
  platform::Registry native(prefix, platform::RegistryView::Win64);
  EXPECT_TRUE(
      native.OpenKey(RootKey::LocalMachine, "Software\\Wow6432Node\\Borland\\Delphi\\3.0", false));

  EXPECT_TRUE(machine.files().FileExists("C:\\Delphi 3\\BIN\\Delphi32.exe"));
  EXPECT_TRUE(machine.files().DirectoryExists("C:\\Program Files\\Borland\\Delphi4\\Bin"));
  EXPECT_TRUE(machine.files().DirectoryExists(platform::WinePrefix::WindowsDir()));
  EXPECT_EQ(fs::read_symlink(prefix + "/dosdevices/c:"), "../drive_c");
  EXPECT_EQ(fs::read_symlink(prefix + "/dosdevices/z:"), "/");
}

TEST(DemoPrefix, ExtendingAPrefixKeepsWhatItHad) {
  TempDir dir;
  const std::string prefix = dir / "prefix";
  testsupport::WriteFile(prefix + "/system.reg",
                         "WINE REGISTRY Version 2\n"
                         ";; All keys relative to REGISTRY\\\\Machine\n"
                         "\n"
                         "#arch=win64\n"
                         "\n[Software\\\\Other] 1700000000\n"
                         "#time=1da1b2c3d4e5f60\n"
                         "\"Kept\"=\"yes\"\n");
  fs::create_directories(prefix + "/dosdevices");
  fs::create_directory_symlink("../drive_d", prefix + "/dosdevices/d:");
  fs::create_directory_symlink("../my_c", prefix + "/dosdevices/c:");

  ASSERT_TRUE(testsupport::MakeDelphiPrefix(prefix, {{.version = 3}, {.version = 4}}));
  const platform::Status extended =
      testsupport::MakeDelphiPrefix(prefix, {{.version = 4, .value = ProgramValue::Missing}});
  ASSERT_TRUE(extended) << extended.message();

  platform::Machine machine{platform::WinePrefix(prefix)};
  platform::Registry& registry = machine.registry();
  auto other = registry.OpenKey(RootKey::LocalMachine, "Software\\Other", false);
  ASSERT_TRUE(other) << other.status().message();
  EXPECT_EQ(registry.ReadValue(*other, "Kept")->AsString(), "yes");
  EXPECT_EQ(ProgramTextOf(registry, 3), testsupport::DefaultDelphiProgram(3));
  EXPECT_TRUE(registry.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\4.0", false));
  EXPECT_EQ(ProgramValueOf(registry, 4).status().code(), platform::ErrorCode::NotFound);

  // The prefix's own drive links stay as they were.
  EXPECT_EQ(fs::read_symlink(prefix + "/dosdevices/c:"), "../my_c");
  EXPECT_EQ(fs::read_symlink(prefix + "/dosdevices/d:"), "../drive_d");
  EXPECT_TRUE(fs::exists(prefix + "/my_c/Program Files/Borland/Delphi3/Bin/delphi32.exe"));
}

TEST(DemoPrefix, AProgramOutsideThePrefixIsAValueOnly) {
  TempDir dir;
  const std::string outside = dir / "elsewhere/Bin/delphi32.exe";
  const platform::Status made = testsupport::MakeDelphiPrefix(
      dir / "prefix", {{.version = 5, .programPath = "Z:" + outside}});
  ASSERT_TRUE(made) << made.message();

  platform::Machine machine{platform::WinePrefix(dir / "prefix")};
  EXPECT_EQ(ProgramTextOf(machine.registry(), 5), "Z:" + outside);
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

}  // namespace
