// A disk that fails during an install run, as PolyverbSetup --unattended meets it: a file size
// limit that stops a copy midway, a folder the program may not write, a file where a folder
// should be, a source that is no file. Each failure is its error line, the file that was at
// the target before is intact, nothing is left beside it, and the run goes on to "Finished.".

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "installer/CommandLine.h"
#include "platform/WinRegistry.h"
#include "tests/installer/StatusLines.h"
#include "tests/stress/InstallMachine.h"
#include "tests/stress/StressRun.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestNames.h"

namespace stress {
namespace {

namespace fs = std::filesystem;
using installer_test::BinFolder;
using installer_test::Expected;
using installer_test::Join;
using installer_test::Names;
using testsupport::ReadFile;
using testsupport::WriteFile;

// A file of the run: its name and the target folder.
using Target = std::pair<std::string, std::string>;

// The install machine with an earlier installation of every file the run copies.
class Machine : public InstallMachine {
 public:
  Machine() {
    for (const std::string& name : kFolderNames)
      WriteFile(Host(kFolder + "\\" + name), "earlier " + name);
    for (const std::string& name : kBinNames)
      WriteFile(Host(BinFolder(5) + "\\" + name), "earlier " + name);
  }
};

struct Case {
  std::string name;
  std::function<void(const Machine&)> breakIt;
  testsupport::ProcessOptions options;
  std::set<Target> failing;  // the copies that fail
  bool folderFails = false;  // the installation folder cannot be created
  std::string reason;        // what standard error says about the failure, if anything
  bool registered = true;    // the design package is found in the Bin folder
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

// The whole list: every copy of the run in order, copied or not.
Names ExpectedList(const Case& c) {
  Expected list;
  list.Header(true);
  const auto copies = [&](const Names& names, const std::string& folder) {
    for (const std::string& name : names) {
      if (c.failing.count({name, folder}) != 0) {
        list.CopyFailed({name}, folder);
      } else {
        list.Copied({name}, folder);
      }
    }
  };
  if (c.folderFails) {
    list.DirNotCreated(kFolder);
  } else {
    list.DirExists(kFolder);
    copies(kFolderNames, kFolder);
  }
  copies(kBinNames, BinFolder(5));
  if (c.registered) {
    list.Registered("ZavPolyverb50Design.bpl");
  } else {
    list.NotRegistered("ZavPolyverb50Design.bpl");
  }
  list.Finished();
  return list.lines();
}

std::string Text(const Names& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\n";
  return text;
}

std::set<Target> AllOf(const Names& names, const std::string& folder) {
  std::set<Target> targets;
  for (const std::string& name : names)
    targets.insert({name, folder});
  return targets;
}

std::vector<Case> Cases() {
  testsupport::ProcessOptions fileSizeLimit;
  fileSizeLimit.fileSizeLimit = 256 * 1024;
  testsupport::ProcessOptions withoutOverride;
  withoutOverride.withoutPermissionOverride = true;
  return {
      {"A file size limit stops a copy midway",
       [](const Machine& m) { WriteFile(m.Source("Demo.zip"), std::string(1 << 20, 'z')); },
       fileSizeLimit,
       {{"Demo.zip", kFolder}},
       false,
       "File too large"},
      {"A file size limit stops the registry write",
       [](const Machine& m) {
         // A hive larger than the limit: it reads, but no new one can be written.
         platform::Registry registry(m.prefix());
         const auto key = registry.OpenKey(platform::RootKey::CurrentUser, "Software\\Bulk", true);
         ASSERT_TRUE(key) << key.status().message();
         ASSERT_TRUE(registry.WriteString(*key, "Bulk", std::string(300000, 'b')));
       },
       fileSizeLimit,
       {},
       false,
       "File too large",
       false},
      {"A target folder the program may not write",
       [](const Machine& m) { fs::permissions(m.Host(BinFolder(5)), fs::perms(0555)); },
       withoutOverride, AllOf(kBinNames, BinFolder(5)), false, "Permission denied"},
      {"A file where the installation folder should be",
       [](const Machine& m) {
         fs::remove_all(m.Host(kFolder));
         WriteFile(m.Host(kFolder), "a file of the user's");
       },
       {},
       {},
       true,
       ""},
      {"A file where a Bin folder should be",
       [](const Machine& m) {
         fs::remove_all(m.Host(BinFolder(5)));
         WriteFile(m.Host(BinFolder(5)), "a file of the user's");
       },
       {},
       AllOf(kBinNames, BinFolder(5)),
       false,
       "does not exist",
       false},
      {"A source that is a folder",
       [](const Machine& m) {
         fs::remove(m.Source("ZavPolyverbEng.hlp"));
         fs::create_directory(m.Source("ZavPolyverbEng.hlp"));
       },
       {},
       {{"ZavPolyverbEng.hlp", kFolder}, {"ZavPolyverbEng.hlp", BinFolder(5)}},
       false,
       "the source is a folder"},
      {"A source that is a dangling link",
       [](const Machine& m) {
         fs::remove(m.Source("ReadMeGer.txt"));
         fs::create_symlink("ReadMeGer.txt.gone", m.Source("ReadMeGer.txt"));
       },
       {},
       {{"ReadMeGer.txt", kFolder}},
       false,
       "the source file does not exist"},
  };
}

class FailingDiskTest : public testing::TestWithParam<Case> {};

TEST_P(FailingDiskTest, TheRunSaysWhatFailedKeepsWhatWasThereAndGoesOn) {
  const Case& c = GetParam();
  if (c.options.withoutPermissionOverride && !testsupport::CanRunWithoutOverride()) {
    GTEST_SKIP() << "this root may not give up its power to write anywhere, so no folder can "
                    "be read-only for it";
  }
  Machine machine;
  ASSERT_FALSE(HasFailure());
  c.breakIt(machine);
  ASSERT_FALSE(HasFailure());
  const Texts before = machine.Contents();
  const Texts packagesBefore = machine.PackageList();

  const testsupport::ProcessResult run = machine.Install(c.options);
  EXPECT_EQ(run.signal, 0) << "the program was killed: " << run.err;
  EXPECT_EQ(run.exitCode, kExitCompletedWithErrors) << run.err;
  EXPECT_EQ(run.out, Text(ExpectedList(c)));
  EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;

  // The files that failed are as they were, the others are the distribution's; nothing else is
  // there, nothing has gone.
  Texts expected = before;
  const auto copied = [&](const Names& names, const std::string& folder) {
    for (const std::string& name : names) {
      if (c.failing.count({name, folder}) != 0) continue;
      const std::string host = machine.Host(folder + "\\" + name);
      expected[host.substr(machine.prefix().size())] = ReadFile(machine.Source(name));
    }
  };
  if (!c.folderFails) copied(kFolderNames, kFolder);
  copied(kBinNames, BinFolder(5));
  EXPECT_EQ(Differences(expected, machine.Contents()), "");
  Texts packages = packagesBefore;
  if (c.registered) packages[BinFolder(5) + "\\ZavPolyverb50Design.bpl"] = "Zav Polyverb";
  EXPECT_EQ(Differences(packages, machine.PackageList()), "");
}

INSTANTIATE_TEST_SUITE_P(Failures, FailingDiskTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& param) {
                           return testsupport::TestNameFrom(param.param.name);
                         });

}  // namespace
}  // namespace stress
