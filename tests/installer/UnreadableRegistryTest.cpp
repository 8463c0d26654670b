// The registration step on a user.reg that cannot be read, run as a script runs the program:
// the list says the package could not be registered (or removed), standard error says why,
// and the exit code says the run had errors. A readable hive without the package list is no
// failure: that Delphi has never started.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "installer/CommandLine.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/Process.h"

namespace installer_test {
namespace {

const std::string kHiveHeader = "WINE REGISTRY Version 2\n\n#arch=win64\n";

TEST(UnreadableRegistryTest, RegistrationSaysItCouldNotReadTheRegistry) {
  struct Case {
    const char* what;
    std::function<void(const std::string& userReg)> spoil;
    std::string reason;        // on standard error; empty for a run with nothing to say
    bool permissions = false;  // needs a program bound by the permission bits
  };
  const std::vector<Case> cases = {
      {"a folder in its place",
       [](const std::string& file) {
         std::filesystem::remove(file);
         std::filesystem::create_directory(file);
       },
       "Is a directory"},
      {"junk", [](const std::string& file) { testsupport::WriteFile(file, "junk\x01\n"); },
       "does not start with \"WINE REGISTRY Version 2\""},
      {"no permission to read it", [](const std::string& file) { ::chmod(file.c_str(), 0); },
       "Permission denied", true},
      {"no key of the Delphi version",
       [](const std::string& file) { testsupport::WriteFile(file, kHiveHeader); }, ""},
      {"no package list",
       [](const std::string& file) {
         testsupport::WriteFile(file, kHiveHeader +
                                          "\n[Software\\\\Borland\\\\Delphi\\\\4.0] 1\n"
                                          "\"RootDir\"=\"C:\\\\Delphi\"\n");
       },
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.permissions && !testsupport::CanRunWithoutOverride()) continue;
    SetupMachine machine({4}, Installed({4}));
    ASSERT_FALSE(testing::Test::HasFatalFailure());
    const std::string program = machine.distributionFolder() + "/PolyverbSetup";
    std::filesystem::copy_file(SETUP_PROGRAM, program);
    const std::string userReg = machine.prefixFolder() + "/user.reg";
    c.spoil(userReg);
    const std::string before = testsupport::ReadFile(userReg);
    const bool fails = !c.reason.empty();

    for (bool install : {true, false}) {
      SCOPED_TRACE(install ? "install" : "uninstall");
      std::vector<std::string> args = {program, "--unattended", "--no-folder", "--no-windows"};
      if (!install) args.push_back("--uninstall");
      testsupport::ProcessOptions options;
      options.environment = {{"WINEPREFIX", machine.prefixFolder()}};
      options.withoutPermissionOverride = c.permissions;
      const auto run = testsupport::ChildProcess(args, options).Wait();
      Expected expected;
      expected.Header(install);
      if (install) {
        expected.Copied(Join({kD4Package, kD4Design, kHelp}), BinFolder(4));
        if (fails) expected.NotRegistered("ZavPolyverb40Design.bpl");
      } else {
        expected.Deleted(Join({kD4Package, kD4Design, kHelp}), BinFolder(4));
        if (fails) expected.NotUnregistered("ZavPolyverb40Design.bpl");
      }
      EXPECT_EQ(run.out, Text(expected.Finished().lines()));
      EXPECT_EQ(run.exitCode, fails ? kExitCompletedWithErrors : kExitCompleted) << run.err;
      const size_t said = run.err.find("PolyverbSetup: ");
      if (fails) {
        EXPECT_NE(said, std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.reason, said), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("user.reg", said), std::string::npos) << run.err;
      } else {
        EXPECT_EQ(said, std::string::npos) << run.err;
      }
      // The remembered settings go into a readable one.
      if (fails) {
        EXPECT_EQ(testsupport::ReadFile(userReg), before);
      }
    }
  }
}

}  // namespace
}  // namespace installer_test
