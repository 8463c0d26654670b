// The setup program against a prefix made and read by the real Wine: Delphi recorded by
// "wine reg add" as its own setup records it, the package list checked with "wine reg query"
// after an install and after an uninstall, and a running Wine server refusing the change.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/DemoMachine.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "tests/support/WineTools.h"

namespace {

using testsupport::RunWithPrefix;

const std::string kKnown = "HKCU\\Software\\Borland\\Delphi\\4.0\\Known Packages";
const std::string kDisabled = "HKCU\\Software\\Borland\\Delphi\\4.0\\Disabled Packages";
const std::string kBin = "C:\\Program Files\\Borland\\Delphi4\\Bin";
const std::string kPackage = kBin + "\\ZavPolyverb40Design.bpl";

class UnattendedWineTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::WineInstalled()) GTEST_SKIP() << "wine is not installed: interop skipped";
    const std::string& source = testsupport::TemplatePrefix();
    ASSERT_FALSE(source.empty()) << "wineboot could not make a prefix";
    prefix_ = dir_ / "prefix";
    ASSERT_TRUE(testsupport::CopyPrefix(source, prefix_));
    // Delphi 4 as its own setup leaves it: the program recorded for 32-bit programs, a package
    // list, and our package once switched off by the user.
    testsupport::StartServer(prefix_);
    Wine({"reg", "add", "HKLM\\Software\\Borland\\Delphi\\4.0", "/v", "Delphi 4", "/d",
          kBin + "\\delphi32.exe", "/reg:32", "/f"});
    Wine({"reg", "add", kKnown, "/v", "$(DELPHI)\\Bin\\dclstd40.bpl", "/d",
          "Borland Standard Components", "/f"});
    Wine({"reg", "add", kDisabled, "/v", kPackage, "/d", "Zav Polyverb", "/f"});
    testsupport::StopServer(prefix_);
    std::filesystem::create_directories(prefix_ + "/drive_c/Program Files/Borland/Delphi4/Bin");

    const std::string dist = dir_ / "dist";
    const auto written = testsupport::MakeDistribution(dist, {4});
    ASSERT_TRUE(written) << written.status().message();
    program_ = dist + "/PolyverbSetup";
    std::filesystem::copy_file(SETUP_PROGRAM, program_);
  }
  void TearDown() override {
    if (!prefix_.empty()) testsupport::StopServer(prefix_);
  }

  std::string Wine(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"wine"};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto result = RunWithPrefix(prefix_, argv);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
  }
  // What "wine reg query" shows of a key; the server it starts is stopped again, so that
  // the registry is ours to change.
  std::string Query(const std::string& key) {
    const std::string shown = RunWithPrefix(prefix_, {"wine", "reg", "query", key}).output;
    testsupport::StopServer(prefix_);
    return shown;
  }
  testsupport::ProcessResult RunSetup(std::vector<std::string> args) {
    args.insert(args.begin(), program_);
    return testsupport::RunProcess(args, {{"WINEPREFIX", prefix_}});
  }

  testsupport::TempDir dir_;
  std::string prefix_;
  std::string program_;
};

TEST_F(UnattendedWineTest, WineSeesThePackageComeAndGo) {
  const auto installed = RunSetup({"--unattended", "--no-folder", "--no-windows"});
  ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;
  EXPECT_NE(installed.out.find("Package 'ZavPolyverb40Design.bpl' registered to Delphi."),
            std::string::npos);
  const std::string known = Query(kKnown);
  EXPECT_NE(known.find(kPackage + "    REG_SZ    Zav Polyverb"), std::string::npos) << known;
  EXPECT_NE(known.find("dclstd40.bpl"), std::string::npos) << known;
  EXPECT_EQ(Query(kDisabled).find("ZavPolyverb40Design"), std::string::npos);

  const auto uninstalled = RunSetup({"--unattended", "--uninstall", "--no-folder", "--no-windows"});
  ASSERT_EQ(uninstalled.exitCode, 0) << uninstalled.out << uninstalled.err;
  const std::string after = Query(kKnown);
  EXPECT_EQ(after.find("ZavPolyverb40Design"), std::string::npos) << after;
  EXPECT_NE(after.find("dclstd40.bpl"), std::string::npos) << after;
}

TEST_F(UnattendedWineTest, ARunningServerKeepsTheRegistryAndTheRunSaysSo) {
  testsupport::StartServer(prefix_);
  const auto installed = RunSetup({"--unattended", "--no-folder", "--no-windows"});
  EXPECT_EQ(installed.exitCode, 3) << installed.out << installed.err;
  EXPECT_NE(installed.out.find("Package 'ZavPolyverb40Design.bpl' could not be registered"),
            std::string::npos)
      << installed.out;
  testsupport::StopServer(prefix_);
  EXPECT_EQ(Query(kKnown).find("ZavPolyverb40Design"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(prefix_ + "/drive_c/Program Files/Borland/Delphi4/Bin/"
                                                "ZavPolyverb40Design.bpl"));
}

TEST_F(UnattendedWineTest, WineSeesTheRememberedFolderAndLanguage) {
  const auto installed = RunSetup(
      {"--unattended", "--language", "Deutsch", "--folder", "C:\\Zav\\Mine", "--no-windows"});
  ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;
  const std::string shown =
      RunWithPrefix(prefix_, {"wine", "reg", "query", "HKCU\\Software\\Zav\\Designers", "/s"})
          .output;
  testsupport::StopServer(prefix_);
  EXPECT_NE(shown.find("HKEY_CURRENT_USER\\Software\\Zav\\Designers\\Global"), std::string::npos)
      << shown;
  EXPECT_NE(shown.find("Polyverb.Language    REG_SZ    Deutsch"), std::string::npos) << shown;
  EXPECT_NE(shown.find("HKEY_CURRENT_USER\\Software\\Zav\\Designers\\Polyverb\\Install\\"
                       "TPolyverbInstallForm"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("FolderSelect.History    REG_SZ    C:\\Zav\\Mine;C:\\Programme\\Zav "
                       "Polyverb;C:\\Zav Polyverb;C:\\Programme\\Polyverb;C:\\Polyverb;C:\\Zav;"),
            std::string::npos)
      << shown;
}

}  // namespace
