// cmake --install: the setup program alone goes into the chosen folder, and started there,
// in a distribution folder outside the build, it does its work.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "installer/CommandLine.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/Process.h"

namespace installer_test {
namespace {

namespace fs = std::filesystem;

// Every file and folder below `folder`, relative to it.
std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    entries.insert(fs::relative(entry.path(), folder).string());
  return entries;
}

class InstallTest : public RunTest {};

TEST_F(InstallTest, TheInstalledProgramRunsFromADistributionFolder) {
  machine = std::make_unique<SetupMachine>(std::vector<int>{4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string folder = machine->distributionFolder();
  const std::set<std::string> product = Entries(folder);

  const auto installed = testsupport::RunProcess(
      {CMAKE_COMMAND, "--install", SETUP_BUILD_DIR, "--prefix", folder}, {});
  ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;
  std::set<std::string> added = Entries(folder);
  for (const std::string& entry : product)
    added.erase(entry);
  // No tests, benchmarks, tools, libraries or headers: the program and its window are all it
  // needs.
  EXPECT_EQ(added, (std::set<std::string>{"PolyverbSetup", "PolyverbSetupWindow.so"}));

  const auto run = [&](const std::vector<std::string>& args) {
    std::vector<std::string> argv = {folder + "/PolyverbSetup"};
    argv.insert(argv.end(), args.begin(), args.end());
    return testsupport::RunProcess(argv, {{"WINEPREFIX", machine->prefixFolder()}});
  };
  const auto help = run({"--help"});
  EXPECT_EQ(help.exitCode, kExitCompleted) << help.err;
  EXPECT_NE(help.out.find("--unattended"), std::string::npos) << help.out;

  const auto install = run({"--unattended", "--no-folder", "--no-windows"});
  EXPECT_EQ(install.exitCode, kExitCompleted) << install.out << install.err;
  EXPECT_TRUE(Exists(BinFolder(4) + "\\ZavPolyverb40Design.bpl"));
  EXPECT_EQ(PackageList(4).count(DesignPackagePath(4)), 1u);
}

}  // namespace
}  // namespace installer_test
