// A dry run and a detection change nothing, and a dry run's plan is the run that follows it:
// the program runs as a process, first with --dry-run, then for real, and the two reports are
// compared step by step.

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>

#include "installer/CommandLine.h"
#include "platform/ReplacementFile.h"
#include "platform/ShortNames.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/LongNames.h"
#include "tests/support/TempDir.h"

namespace installer_test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A report as one line a step, without the text and reason (a plan's reasons are the run's,
// but they name the moment's state no better than the keys do) and without "planned".
struct Report {
  Lines steps;
  json summary;
  bool allPlanned = true;
  bool nonePlanned = true;
};
Report Read(const std::string& out) {
  Report report;
  size_t start = 0;
  for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    json object = json::parse(out.substr(start, end - start));
    const bool planned = object.at("planned");
    report.allPlanned = report.allPlanned && planned;
    report.nonePlanned = report.nonePlanned && !planned;
    object.erase("planned");
    if (object.at("type") == "summary") {
      report.summary = object;
      continue;
    }
    object.erase("text");
    object.erase("reason");
    report.steps.push_back(object.dump());
  }
  return report;
}

class DryRunTest : public ProgramRunTest {
 public:
  // For the cases' preparations.
  using ProgramRunTest::AddToPackageList;
  using ProgramRunTest::Host;
  using ProgramRunTest::machine;
  using ProgramRunTest::RunSetup;

 protected:
  // The whole machine: the prefix with both hives, the distribution.
  std::pair<std::map<std::string, std::string>, std::map<std::string, std::string>> Machine()
      const {
    return {testsupport::FolderState(machine->prefixFolder()),
            testsupport::FolderState(machine->distributionFolder())};
  }
  std::string Reg(const char* hive) const {
    return testsupport::ReadFile(machine->prefixFolder() + "/" + hive);
  }
};

const std::vector<std::string> kInstall = {"--unattended", "--json",  "--language", "Deutsch",
                                           "--folder",     "C:\\Zav", "--bin",      "4,5",
                                           "--register",   "4"};
const std::vector<std::string> kUninstall = {
    "--unattended", "--json", "--uninstall", "--folder", "C:\\Zav", "--bin", "4"};

struct Case {
  const char* name;
  std::function<void(DryRunTest&)> before;  // makes the machine what the case needs
  std::vector<std::string> args;
  int exitCode;
  const char* error;        // the error key a step must have; null for none
  size_t unregistered = 0;  // the entries of our package taken off a package list
  // The installation folder in place of the one `args` name, where it depends on the machine.
  std::function<std::string(DryRunTest&)> folder = nullptr;
};

std::vector<std::string> InFolder(std::vector<std::string> args, const std::string& folder) {
  *(std::find(args.begin(), args.end(), "--folder") + 1) = folder;
  return args;
}

// A folder below C:\ whose host path has `bytes` bytes.
std::string HostLong(DryRunTest& t, size_t bytes) {
  return testsupport::GrownTo("C:", t.Host("C:\\").size(), bytes, 'z');
}

constexpr const char* kNodeCase = "a target that is not a file";

// A node that is not a file in the place of the design package's copy: a device where root
// may make one (outside the prefix's drives, reached through a link), a pipe otherwise.
void NodeInTheTargetsPlace(DryRunTest& t) {
  fs::create_directories(t.Host("C:\\Zav"));
  const std::string target = t.Host("C:\\Zav") + "/ZavPolyverb40.bpl";
  const std::string device = t.machine->prefixFolder() + "/device";
  if (::geteuid() == 0) {
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    fs::create_symlink(device, target);
  } else {
    ASSERT_EQ(::mkfifo(target.c_str(), 0666), 0);
  }
}

// Our Delphi 4 package under two other spellings: as Delphi writes its own entries, and with
// Wine's short names, that of the package itself included (not there before the first copy).
void RegisterUnderOtherNames(DryRunTest& t) {
  t.AddToPackageList(4, "$(DELPHI)\\Bin\\ZavPolyverb40Design.bpl");
  t.AddToPackageList(4, "C:\\PROG~FBU\\Borland\\Delphi4\\Bin\\" +
                            platform::WineShortName("ZavPolyverb40Design.bpl"));
}

// Each case: the plan changes nothing, and the run that follows lists the same steps with the
// same outcome, a failure foreseen by the plan included.
TEST_F(DryRunTest, ThePlanIsTheRunThatFollows) {
  const std::vector<Case> cases = {
      {"a first install", nullptr, kInstall, kExitCompleted, nullptr},
      {"an install over one", [](DryRunTest& t) { t.RunSetup(kInstall); }, kInstall, kExitCompleted,
       nullptr},
      {"an uninstall", [](DryRunTest& t) { t.RunSetup(kInstall); }, kUninstall, kExitCompleted,
       nullptr, 1},
      {"a read-only target",
       [](DryRunTest& t) {
         testsupport::WriteFile(t.Host("C:\\Zav") + "/ZavPolyverb40.bpl", "old");
         fs::permissions(t.Host("C:\\Zav\\ZavPolyverb40.bpl"), fs::perms::all,
                         fs::perm_options::remove);
         fs::permissions(t.Host("C:\\Zav\\ZavPolyverb40.bpl"), fs::perms::owner_read);
       },
       kInstall, kExitCompletedWithErrors, "EFileCopy"},
      {"a missing source",
       [](DryRunTest& t) { fs::remove(t.machine->distributionFolder() + "/ZavPolyverb40.bpl"); },
       kInstall, kExitCompletedWithErrors, "EFileCopy"},
      {"a folder that cannot be created",
       [](DryRunTest& t) { testsupport::WriteFile(t.Host("C:\\Zav"), "a file"); }, kInstall,
       kExitCompletedWithErrors, "EDirCreate"},
      {"a read-only file and a folder that stays",
       [](DryRunTest& t) {
         t.RunSetup(kInstall);
         fs::permissions(t.Host("C:\\Zav\\ZavPolyverb40.bpl"), fs::perms::owner_write,
                         fs::perm_options::remove);
         testsupport::WriteFile(t.Host("C:\\Zav") + "/mine.txt", "the user's");
       },
       kUninstall, kExitCompletedWithErrors, "EDirDelete", 1},
      {"a first install over our package under other names", RegisterUnderOtherNames, kInstall,
       kExitCompleted, nullptr, 2},
      {"an uninstall of our package under other names",
       [](DryRunTest& t) {
         t.RunSetup(kInstall);
         RegisterUnderOtherNames(t);
       },
       kUninstall, kExitCompleted, nullptr, 3},
      // The host's limits: a name's bytes, a path's bytes and a temporary's beside its target.
      {"a folder name at the host's limit", nullptr,
       InFolder(kInstall, "C:\\" + testsupport::Accents(127) + "x"), kExitCompleted, nullptr},
      {"a folder name over it", nullptr, InFolder(kInstall, "C:\\" + testsupport::Accents(128)),
       kExitCompletedWithErrors, "EDirCreate"},
      {"a folder name of 256 letters", nullptr, InFolder(kInstall, "C:\\" + std::string(256, 'x')),
       kExitCompletedWithErrors, "EDirCreate"},
      {"a folder whose copies' temporaries just fit", nullptr, kInstall, kExitCompleted, nullptr, 0,
       [](DryRunTest& t) { return HostLong(t, PATH_MAX - 2 - platform::kLongestTemporaryName); }},
      {"a folder whose copies' temporaries do not", nullptr, kInstall, kExitCompletedWithErrors,
       "EFileCopy", 0,
       [](DryRunTest& t) { return HostLong(t, PATH_MAX - 1 - platform::kLongestTemporaryName); }},
      {"a folder over the path limit", nullptr, kInstall, kExitCompletedWithErrors, "EDirCreate", 0,
       [](DryRunTest& t) { return HostLong(t, PATH_MAX); }},
      {kNodeCase, NodeInTheTargetsPlace, kInstall, kExitCompletedWithErrors, "EFileCopy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Make({4, 5}, Installed({4, 5}));
    ASSERT_FALSE(HasFatalFailure());
    if (c.before) c.before(*this);
    const auto before = Machine();
    const std::vector<std::string> args = c.folder ? InFolder(c.args, c.folder(*this)) : c.args;
    std::vector<std::string> dry = args;
    dry.push_back("--dry-run");
    const auto planned = RunSetup(dry);
    EXPECT_EQ(Machine(), before) << "the dry run changed the machine";
    const auto done = RunSetup(args);

    EXPECT_EQ(planned.exitCode, c.exitCode) << planned.err;
    EXPECT_EQ(done.exitCode, c.exitCode) << done.err;
    const Report plan = Read(planned.out);
    const Report run = Read(done.out);
    EXPECT_EQ(plan.steps, run.steps);
    EXPECT_EQ(plan.summary, run.summary);
    EXPECT_TRUE(plan.allPlanned && run.nonePlanned);
    EXPECT_FALSE(plan.steps.empty());
    size_t unregistered = 0;
    for (size_t at = 0; (at = planned.out.find("\"unregister-package\"", at)) != std::string::npos;
         ++at)
      ++unregistered;
    EXPECT_EQ(unregistered, c.unregistered);
    if (c.error != nullptr) {
      EXPECT_NE(planned.out.find(std::string("\"error\":\"") + c.error + "\""), std::string::npos)
          << planned.out;
    }
    // A node that is not a file is refused, never replaced.
    struct stat node {};
    if (::stat(Host("C:\\Zav\\ZavPolyverb40.bpl").c_str(), &node) == 0) {
      EXPECT_EQ(S_ISREG(node.st_mode), c.name != kNodeCase) << node.st_mode;
    }
  }
}

// While a Wine server owns the registry the registration fails, in the plan as in the run, and
// the plan says why on standard error as the run does, its end message marked as a plan.
TEST_F(DryRunTest, ARunningWineServerIsForeseen) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  testsupport::FakeWineServer server(machine->prefixFolder());
  const auto before = Machine();
  const std::vector<std::string> args = {"--unattended", "--json", "--no-windows", "--bin", "4",
                                         "--register",   "4",      "--no-remember"};
  std::vector<std::string> dry = args;
  dry.push_back("--dry-run");
  const auto planned = RunSetup(dry);
  EXPECT_EQ(Machine(), before);
  const auto done = RunSetup(args);
  EXPECT_EQ(planned.exitCode, kExitCompletedWithErrors) << planned.err;
  EXPECT_EQ(done.exitCode, kExitCompletedWithErrors);
  EXPECT_EQ(Read(planned.out).steps, Read(done.out).steps);
  EXPECT_NE(planned.out.find("\"error\":\"EPackageRegister\""), std::string::npos) << planned.out;
  const json registration = json::parse(Read(done.out).steps.back());
  EXPECT_EQ(registration.at("kind"), "register-package");
  EXPECT_EQ(registration.at("changed"), false) << "a registration that was not saved is no change";
  // The same reasons; the end the plan tells of is marked as its lines are.
  std::string marked = done.err;
  const size_t end = marked.rfind("Setup: ");
  ASSERT_NE(end, std::string::npos) << done.err;
  marked.insert(end, "[plan] ");
  EXPECT_EQ(planned.err, marked);
}

// As status lines, the plan is a first line that says so and then the run's own lines, each
// marked, in the run's language; the log records a planned run.
TEST_F(DryRunTest, ThePlansLinesAreTheRunsMarked) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string log = machine->prefixFolder() + "/../plan.log";
  for (const char* lang : {"English", "Deutsch"}) {
    SCOPED_TRACE(lang);
    const std::vector<std::string> args = {"--unattended", "--language", lang, "--no-windows",
                                           "--no-remember"};
    std::vector<std::string> dry = args;
    dry.insert(dry.end(), {"--dry-run", "--log", log});
    const std::string userReg = Reg("user.reg");
    const auto planned = RunSetup(dry);
    EXPECT_EQ(Reg("user.reg"), userReg);
    const auto done = RunSetup(args);
    ASSERT_EQ(planned.exitCode, kExitCompleted) << planned.err;
    const bool german = std::string(lang) == "Deutsch";
    std::string expected = german ? "Probelauf: es wird nichts geändert. Die Zeilen mit [Plan] "
                                    "sagen, was der Lauf täte.\n"
                                  : "Dry run: nothing is changed. The lines marked [plan] say "
                                    "what the run would do.\n";
    size_t start = 0;
    for (size_t end; (end = done.out.find('\n', start)) != std::string::npos; start = end + 1) {
      const std::string line = done.out.substr(start, end - start);
      expected +=
          std::string(german ? "[Plan]" : "[plan]") + (line.empty() ? "" : " ") + line + "\n";
    }
    EXPECT_EQ(planned.out, expected);
  }
  const std::string record = testsupport::ReadFile(log);
  EXPECT_NE(record.find("]   [plan] "), std::string::npos) << record;
  EXPECT_NE(record.find(" planned run, completed, exit code 0: "), std::string::npos) << record;
}

// The remembered settings go through the registry of the machine in use: a dry run keeps them
// in its overlay, where the run after it finds nothing of them.
TEST_F(DryRunTest, ADryRunRemembersNothing) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string userReg = Reg("user.reg");
  const auto planned = RunSetup({"--unattended", "--dry-run", "--language", "Deutsch", "--folder",
                                 "C:\\Elsewhere", "--no-windows"});
  EXPECT_EQ(planned.exitCode, kExitCompleted) << planned.err;
  EXPECT_EQ(Reg("user.reg"), userReg);
  // The next run starts in the language remembered before, English.
  const auto next = RunSetup({"--unattended", "--no-windows", "--no-remember", "--dry-run"});
  EXPECT_TRUE(next.out.starts_with("Dry run:")) << next.out;
}

// What --detect reports on a machine with our package registered with Delphi 4, only on
// Delphi 5's disabled list, and Delphi 3 neither installed nor in the distribution; as text
// and as one JSON object. Nothing changes.
TEST_F(DryRunTest, DetectReportsTheDistributionAndThePrefix) {
  Make({4, 5}, Installed({4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(RunSetup({"--unattended", "--no-windows", "--bin", "4", "--register", "4"}).exitCode,
            kExitCompleted);
  AddToDisabledList(5, DesignPackagePath(5));
  const auto before = Machine();

  const auto asJson = RunSetup({"--detect", "--json"});
  EXPECT_EQ(asJson.exitCode, kExitCompleted) << asJson.err;
  const std::string distribution = machine->distributionDir();
  nlohmann::json expected = nlohmann::json::parse(R"({"type": "detection", "missing_hives": [],
      "unreadable_hives": [],
      "delphi": [
        {"version": 3, "package": "ZavPolyverb30Design.dpl", "in_distribution": false,
         "installed": false, "program": null, "bin_folder": null, "registered": false,
         "disabled": false},
        {"version": 4, "package": "ZavPolyverb40Design.bpl", "in_distribution": true,
         "installed": true, "program": "C:\\Program Files\\Borland\\Delphi4\\Bin\\delphi32.exe",
         "bin_folder": "C:\\Program Files\\Borland\\Delphi4\\Bin", "registered": true,
         "disabled": false},
        {"version": 5, "package": "ZavPolyverb50Design.bpl", "in_distribution": true,
         "installed": true, "program": "C:\\Program Files\\Borland\\Delphi5\\Bin\\delphi32.exe",
         "bin_folder": "C:\\Program Files\\Borland\\Delphi5\\Bin", "registered": false,
         "disabled": true}]})");
  expected["distribution"] = distribution;
  expected["prefix"] = machine->prefixFolder();
  EXPECT_EQ(nlohmann::json::parse(asJson.out), expected) << asJson.out;

  const auto text = RunSetup({"--detect"});
  EXPECT_EQ(text.exitCode, kExitCompleted);
  EXPECT_EQ(text.out, "Distribution folder: " + distribution +
                          "\nWine prefix: " + machine->prefixFolder() +
                          "\nDelphi 3\n"
                          "  design package ZavPolyverb30Design.dpl: not in the distribution\n"
                          "  installed: no\n"
                          "Delphi 4\n"
                          "  design package ZavPolyverb40Design.bpl: in the distribution\n"
                          "  installed: yes\n"
                          "  program: C:\\Program Files\\Borland\\Delphi4\\Bin\\delphi32.exe\n"
                          "  Bin folder: C:\\Program Files\\Borland\\Delphi4\\Bin\n"
                          "  package registered: yes\n"
                          "  package disabled: no\n"
                          "Delphi 5\n"
                          "  design package ZavPolyverb50Design.bpl: in the distribution\n"
                          "  installed: yes\n"
                          "  program: C:\\Program Files\\Borland\\Delphi5\\Bin\\delphi32.exe\n"
                          "  Bin folder: C:\\Program Files\\Borland\\Delphi5\\Bin\n"
                          "  package registered: no\n"
                          "  package disabled: yes\n");
  EXPECT_EQ(Machine(), before);

  // A folder without hives: the report says which it lacks.
  const testsupport::TempDir bare;
  testsupport::ProcessOptions elsewhere;
  elsewhere.environment = {{"WINEPREFIX", bare.path()}};
  const std::string lacks = RunSetup({"--detect"}, elsewhere).out;
  EXPECT_NE(lacks.find("\n  not a Wine prefix: it lacks system.reg, user.reg\n"), std::string::npos)
      << lacks;
}

}  // namespace
}  // namespace installer_test
