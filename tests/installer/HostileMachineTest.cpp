// Machines made hostile before PolyverbSetup --unattended runs on them as a process: a folder
// that is no prefix, what the run must refuse or report, and what must hold on disk after it.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "installer/CommandLine.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/TempDir.h"

namespace installer_test {
namespace {

namespace fs = std::filesystem;

class HostileMachineTest : public ProgramRunTest {
 public:
  // Folders outside the machine, for a prefix or a home of their own.
  testsupport::TempDir elsewhere;
  bool rootHadHive = false;
};

struct Launch {
  std::vector<std::string> args;
  std::vector<std::pair<std::string, std::string>> environment;
};

struct Case {
  const char* name;
  // Makes the machine hostile; returns how the program is started on it.
  std::function<Launch(HostileMachineTest&)> make;
  int exitCode;
  std::vector<std::string> said;  // each on standard output or standard error
  // What must hold afterwards.
  std::function<void(HostileMachineTest&)> holds;
};

bool IsEmptyFolder(const std::string& folder) {
  return fs::is_directory(folder) && fs::is_empty(folder);
}

const std::vector<Case> kCases = {
    {"a prefix folder that does not exist",
     [](HostileMachineTest& t) {
       return Launch{{"--unattended"}, {{"WINEPREFIX", t.elsewhere / "none"}}};
     },
     kExitFailed,
     {"is not a Wine prefix: system.reg, user.reg not found"},
     [](HostileMachineTest& t) { EXPECT_FALSE(fs::exists(t.elsewhere / "none")); }},
    {"an empty prefix folder",
     [](HostileMachineTest& t) {
       fs::create_directory(t.elsewhere / "empty");
       return Launch{{"--unattended"}, {{"WINEPREFIX", t.elsewhere / "empty"}}};
     },
     kExitFailed,
     {"The folder '", "/empty' is not a Wine prefix"},
     [](HostileMachineTest& t) { EXPECT_TRUE(IsEmptyFolder(t.elsewhere / "empty")); }},
    {"no WINEPREFIX and no ~/.wine",
     [](HostileMachineTest& t) {
       fs::create_directory(t.elsewhere / "home");
       return Launch{{"--unattended"}, {{"WINEPREFIX", ""}, {"HOME", t.elsewhere / "home"}}};
     },
     kExitFailed,
     {"/home/.wine' is not a Wine prefix"},
     [](HostileMachineTest& t) { EXPECT_TRUE(IsEmptyFolder(t.elsewhere / "home")); }},
    {"the root of the file system as the prefix",
     [](HostileMachineTest& t) {
       t.rootHadHive = fs::exists("/user.reg");
       return Launch{{"--unattended"}, {{"WINEPREFIX", "/"}}};
     },
     kExitFailed,
     {"The folder '/' is not a Wine prefix"},
     [](HostileMachineTest& t) {
       if (t.rootHadHive) return;
       EXPECT_FALSE(fs::exists("/user.reg"));
       fs::remove("/user.reg");  // what a broken build wrote goes again
     }},
};

TEST_F(HostileMachineTest, EachIsRefusedOrReportedAndLosesNothing) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Make({4}, Installed({4}));
    ASSERT_FALSE(HasFatalFailure());
    const Launch run = c.make(*this);
    testsupport::ProcessOptions options;
    options.environment = run.environment;
    const testsupport::ProcessResult result = RunSetup(run.args, options);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.out << result.err;
    for (const std::string& text : c.said) {
      EXPECT_NE((result.out + result.err).find(text), std::string::npos)
          << text << " in\n"
          << result.out << result.err;
    }
    c.holds(*this);
  }
}

}  // namespace
}  // namespace installer_test
