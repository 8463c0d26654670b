// Machines made hostile before PolyverbSetup --unattended runs on them as a process: a folder
// that is no prefix, what the run must refuse or report, and what must hold on disk after it.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
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
  using ProgramRunTest::PackageList;
  // Folders outside the machine, for a prefix or a home of their own.
  testsupport::TempDir elsewhere;
  bool rootHadHive = false;
  std::string userReg;  // user.reg as it was before the run, where a case keeps it
};

struct Launch {
  std::vector<std::string> args;
  std::vector<std::pair<std::string, std::string>> environment = {};
  testsupport::Stream out = testsupport::Stream::Collected;
  bool withoutPermissionOverride = false;  // the case is left out where that cannot be
  std::optional<std::uint64_t> fileSizeLimit = {};
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

std::string SystemReg(HostileMachineTest& t) {
  return t.machine->prefixFolder() + "/system.reg";
}

// Nothing was installed, and the remembered settings are as they were.
void NothingDone(HostileMachineTest& t) {
  EXPECT_FALSE(fs::exists(t.Host(BinFolder(4) + "\\ZavPolyverb40.bpl")));
  EXPECT_FALSE(fs::exists(t.Host("C:\\Programme")));
  EXPECT_EQ(testsupport::ReadFile(t.machine->prefixFolder() + "/user.reg"), t.userReg);
}

// A machine hive spoilt by Spoil; user.reg as it was is kept for NothingDone.
std::function<Launch(HostileMachineTest&)> SpoiltMachineHive(
    std::function<void(const std::string&)> Spoil, Launch launch) {
  return [Spoil, launch](HostileMachineTest& t) {
    t.userReg = testsupport::ReadFile(t.machine->prefixFolder() + "/user.reg");
    Spoil(SystemReg(t));
    return launch;
  };
}

// A start that writes nothing of a run: the settings as they were, nothing installed.
std::function<Launch(HostileMachineTest&)> Unchanged(Launch launch) {
  return SpoiltMachineHive([](const std::string&) {}, std::move(launch));
}

const std::string kNotAHive = "it does not start with \"WINE REGISTRY Version 2\"";

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
    // A machine hive that cannot be read is refused as a missing one is: every Delphi would
    // look uninstalled, and the run would "complete" with nothing in any Bin folder.
    {"junk in place of the machine's hive",
     SpoiltMachineHive([](const std::string& file) { testsupport::WriteFile(file, "junk\n"); },
                       {{"--unattended"}}),
     kExitFailed,
     {"/prefix' is not a usable Wine prefix: system.reg cannot be read (" + kNotAHive + ")."},
     NothingDone},
    {"a folder in place of the machine's hive, with the report and the log",
     [](HostileMachineTest& t) {
       t.userReg = testsupport::ReadFile(t.machine->prefixFolder() + "/user.reg");
       fs::remove(SystemReg(t));
       fs::create_directory(SystemReg(t));
       return Launch{{"--unattended", "--json", "--log", t.elsewhere / "start.log"}};
     },
     kExitFailed,
     {R"("outcome":"start-up-failed","exit_code":1,"steps":0,"failed":0,"changes":0,)",
      "/prefix' is not a usable Wine prefix: system.reg cannot be read (Is a directory)\"}"},
     [](HostileMachineTest& t) {
       NothingDone(t);
       const std::string log = testsupport::ReadFile(t.elsewhere / "start.log");
       EXPECT_NE(log.find(" start-up-failed, exit code 1: 0 steps, 0 failed, nothing changed; "
                          "The folder '"),
                 std::string::npos)
           << log;
     }},
    {"a machine hive nobody may read",
     SpoiltMachineHive([](const std::string& file) { ::chmod(file.c_str(), 0); },
                       {.args = {"--unattended"}, .withoutPermissionOverride = true}),
     kExitFailed,
     {"system.reg cannot be read (Permission denied)."},
     NothingDone},
    // --detect says which hive and why, prints its report all the same, and tells by its exit
    // code that a run would be refused here.
    {"--detect over a machine hive that is a folder",
     SpoiltMachineHive(
         [](const std::string& file) {
           fs::remove(file);
           fs::create_directory(file);
         },
         {{"--detect"}}),
     kExitFailed,
     {"\n  not a usable Wine prefix: system.reg cannot be read (Is a directory)\nDelphi 3\n",
      "Delphi 4\n  design package ZavPolyverb40Design.bpl: in the distribution\n"
      "  installed: unknown\nDelphi 5\n"},
     NothingDone},
    {"--detect over a machine hive that is a FIFO, which nobody writes",
     SpoiltMachineHive(
         [](const std::string& file) {
           fs::remove(file);
           ::mkfifo(file.c_str(), 0600);
         },
         {{"--detect"}}),
     kExitFailed,
     {"system.reg cannot be read (it is not a regular file)\n"},
     NothingDone},
    {"--detect --json over a user.reg of junk",
     [](HostileMachineTest& t) {
       testsupport::WriteFile(t.machine->prefixFolder() + "/user.reg", "junk\n");
       return Launch{{"--detect", "--json"}};
     },
     kExitCompleted,
     {R"("unreadable_hives":[{"hive":"user.reg","reason":")" + kNotAHive.substr(0, 12),
      R"("installed":true,"program":"C:\\Program Files\\Borland\\Delphi4\\Bin\\delphi32.exe",)"
      R"("bin_folder":"C:\\Program Files\\Borland\\Delphi4\\Bin",)"
      R"("registered":null,"disabled":null})"},
     [](HostileMachineTest&) {}},
    // Output that is what the command was for is never lost without a word.
    {"--detect --json into a full device",
     Unchanged({.args = {"--detect", "--json"}, .out = testsupport::Stream::Full}),
     kExitOutputLost,
     {"PolyverbSetup: The detection's report could not be written to standard output: No space "
      "left on device.\n"},
     NothingDone},
    {"--help into a full device",
     Unchanged({.args = {"--help"}, .out = testsupport::Stream::Full}),
     kExitOutputLost,
     {"PolyverbSetup: The help could not be written to standard output: No space left on "
      "device.\n"},
     NothingDone},
    {"a log on a full device",
     Unchanged({{"--unattended", "--log", "/dev/full"}}),
     kExitBadCommandLine,
     {"PolyverbSetup: The log /dev/full cannot be written: No space left on device.\n"},
     NothingDone},
    // Opening the log never waits for a reader.
    {"a log that is a FIFO nobody reads",
     [](HostileMachineTest& t) {
       t.userReg = testsupport::ReadFile(t.machine->prefixFolder() + "/user.reg");
       ::mkfifo((t.elsewhere / "fifo").c_str(), 0600);
       return Launch{{"--unattended", "--log", t.elsewhere / "fifo"}};
     },
     kExitBadCommandLine,
     {"/fifo cannot be written: no program reads from it.\n"},
     NothingDone},
    {"the machine's /dev/null as the log",
     [](HostileMachineTest&) {
       return Launch{{"--unattended", "--no-folder", "--log", "/dev/null"}};
     },
     kExitCompleted,
     {},
     [](HostileMachineTest&) { EXPECT_TRUE(fs::is_character_file("/dev/null")); }},
    // The log outgrows the file size limit after its first line: the run goes to its end, and
    // says that its record is not whole.
    {"a log that breaks off during the run",
     [](HostileMachineTest& t) {
       const std::uint64_t limit = 1 << 20;
       testsupport::WriteFile(t.elsewhere / "full.log", std::string(limit - 600, '.'));
       return Launch{.args = {"--unattended", "--json", "--no-folder", "--no-windows",
                              "--no-remember", "--log", t.elsewhere / "full.log"},
                     .fileSizeLimit = limit};
     },
     kExitOutputLost,
     {"could not be written: File too large; its record of this run is incomplete.\n",
      R"("outcome":"completed","exit_code":5,)", "its record of this run is incomplete.\"}"},
     [](HostileMachineTest& t) {
       EXPECT_TRUE(fs::exists(t.Host(BinFolder(4) + "\\ZavPolyverb40Design.bpl")));
       const std::string log = testsupport::ReadFile(t.elsewhere / "full.log");
       EXPECT_NE(log.find(" PolyverbSetup --unattended --json"), std::string::npos);
       EXPECT_EQ(log.find("exit code"), std::string::npos) << "a record broken off ends there";
     }},
    // Each failed step says why.
    {"an uninstall from a folder that was never made",
     [](HostileMachineTest&) {
       return Launch{{"--unattended", "--uninstall", "--folder", "C:\\Never"}};
     },
     kExitCompletedWithErrors,
     {"Error: Directory 'C:\\Never' not found.\n",
      "PolyverbSetup: The folder C:\\Never does not exist\n"},
     [](HostileMachineTest&) {}},
    {"an uninstall from a folder that is a file",
     [](HostileMachineTest& t) {
       testsupport::WriteFile(t.Host("C:\\Taken"), "a file");
       return Launch{{"--unattended", "--uninstall", "--folder", "C:\\Taken"}};
     },
     kExitCompletedWithErrors,
     {"PolyverbSetup: C:\\Taken is a file, not a folder\n"},
     [](HostileMachineTest&) {}},
    {"a Bin folder where the design package cannot go",
     [](HostileMachineTest& t) {
       fs::create_directories(t.Host(BinFolder(4) + "\\ZavPolyverb40Design.bpl"));
       return Launch{{"--unattended", "--no-folder", "--no-windows", "--json"}};
     },
     kExitCompletedWithErrors,
     {R"("kind":"register-package","file":"ZavPolyverb40Design.bpl",)",
      R"("error":"EPackageRegister","reason":"The design package C:\\Program Files\\Borland)"
      R"(\\Delphi4\\Bin\\ZavPolyverb40Design.bpl is not in the Bin folder: )"},
     [](HostileMachineTest& t) { EXPECT_EQ(t.PackageList(4).count(DesignPackagePath(4)), 0u); }},
    {"a distribution without a design package, with the report",
     [](HostileMachineTest& t) {
       fs::remove(t.machine->distributionFolder() + "/ZavPolyverb40Design.bpl");
       return Launch{{"--unattended", "--json"}};
     },
     kExitFailed,
     {R"("outcome":"start-up-failed",)", R"("reason":"No files to install found: the folder Z:\\)",
      R"( holds none of the design packages ZavPolyverb30Design.dpl, ZavPolyverb40Design.bpl, )"
      R"(ZavPolyverb50Design.bpl"})"},
     [](HostileMachineTest&) {}},
};

TEST_F(HostileMachineTest, EachIsRefusedOrReportedAndLosesNothing) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Make({4}, Installed({4}));
    ASSERT_FALSE(HasFatalFailure());
    const Launch run = c.make(*this);
    if (run.withoutPermissionOverride && !testsupport::CanRunWithoutOverride()) continue;
    testsupport::ProcessOptions options;
    options.environment = run.environment;
    options.out = run.out;
    options.withoutPermissionOverride = run.withoutPermissionOverride;
    options.fileSizeLimit = run.fileSizeLimit;
    // A start that hangs fails its case.
    options.killAfter = std::chrono::seconds(60);
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
