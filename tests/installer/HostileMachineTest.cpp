// Machines made hostile before PolyverbSetup --unattended runs on them as a process: a folder
// that is no prefix, what the run must refuse or report, and what must hold on disk after it.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "installer/CommandLine.h"
#include "platform/Machine.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/TempDir.h"

namespace installer_test {
namespace {

namespace fs = std::filesystem;

class HostileMachineTest : public ProgramRunTest {
 public:
  using ProgramRunTest::Host;
  using ProgramRunTest::machine;
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

fs::perms Mode(const std::string& file) {
  return fs::status(file).permissions() & fs::perms::mask;
}

// A folder text of `length` characters that names C:\Wanted only whole.
std::string LongFolderText(size_t length) {
  std::string text = "C:\\";
  while (text.size() + 6 < length)
    text += "a\\..\\";
  return text.substr(0, length - 6) + "Wanted";
}

// Nothing of the run landed in the root of drive C or in the folder the text meant.
void NothingInTheRoot(HostileMachineTest& t) {
  EXPECT_FALSE(fs::exists(t.Host("C:\\ZavPolyverb40.bpl")));
  EXPECT_FALSE(fs::exists(t.Host("C:\\Wanted")));
}

const std::string kHistoryKey = "Software\\Zav\\Designers\\Polyverb\\Install\\TPolyverbInstallForm";

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
    {"distribution files that only their owner may read, or a link to one",
     [](HostileMachineTest& t) {
       const std::string dist = t.machine->distributionFolder();
       fs::permissions(dist + "/ZavPolyverb40.bpl", fs::perms(0600));
       fs::permissions(dist + "/ZavPolyverb40.dcp", fs::perms(0640));
       testsupport::WriteFile(t.elsewhere / "secret", "only root");
       fs::permissions(t.elsewhere / "secret", fs::perms(0600));
       fs::remove(dist + "/ZavPolyverb40.dcu");
       fs::create_symlink(t.elsewhere / "secret", dist + "/ZavPolyverb40.dcu");
       return Launch{{"--unattended", "--folder", "C:\\Zav"}, {}};
     },
     kExitCompleted,
     {"File 'ZavPolyverb40.bpl' copied to 'C:\\Zav'."},
     [](HostileMachineTest& t) {
       for (const std::string& folder : {std::string("C:\\Zav"), BinFolder(4)}) {
         EXPECT_EQ(Mode(t.Host(folder + "\\ZavPolyverb40.bpl")), fs::perms(0600)) << folder;
         EXPECT_EQ(Mode(t.Host(folder + "\\ZavPolyverb40.dcp")), fs::perms(0640)) << folder;
         EXPECT_EQ(Mode(t.Host(folder + "\\ZavPolyverb40.dcu")), fs::perms(0600)) << folder;
       }
     }},
    {"a folder text longer than Windows takes",
     [](HostileMachineTest&) {
       return Launch{{"--unattended", "--folder", LongFolderText(32779)}, {}};
     },
     kExitCompletedWithErrors,
     {"Wanted' could not be created."},
     NothingInTheRoot},
    {"an entry of a megabyte on top of the remembered folders",
     [](HostileMachineTest&) {
       platform::Registry& registry = platform::Machine::Current().registry();
       const auto key = registry.OpenKey(platform::RootKey::CurrentUser, kHistoryKey, true);
       EXPECT_TRUE(key && registry.WriteString(*key, "FolderSelect.History",
                                               LongFolderText(1 << 20) + ";C:\\Zav;"));
       return Launch{{"--unattended"}, {}};
     },
     kExitCompletedWithErrors,
     {"Wanted' could not be created."},
     NothingInTheRoot},
    {"a device name as a folder",
     [](HostileMachineTest&) {
       return Launch{{"--unattended", "--folder", "C:\\Zav\\Aux.txt\\x"}, {}};
     },
     kExitCompletedWithErrors,
     {"Directory 'C:\\Zav\\Aux.txt\\x' could not be created.", "is the name of a device"},
     [](HostileMachineTest& t) { EXPECT_FALSE(fs::exists(t.Host("C:\\Zav"))); }},
    {"a folder whose creation fails hundreds of levels down",
     [](HostileMachineTest&) {
       std::string folder = "C:\\Deep";
       for (int level = 0; level < 500; ++level)
         folder += "\\level" + std::to_string(level);
       return Launch{{"--unattended", "--folder", folder}, {}};
     },
     kExitCompletedWithErrors,
     {"could not be created.", "File name too long"},
     [](HostileMachineTest& t) { EXPECT_FALSE(fs::exists(t.Host("C:\\Deep"))); }},
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
