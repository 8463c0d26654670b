// An install run killed at random moments, as a power cut or the OOM killer ends it, on files
// large enough that most kills fall inside a copy: the next run puts every file in place and
// leaves no temporary file anywhere, and an uninstall then takes the installation folder away.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "tests/stress/InstallMachine.h"
#include "tests/support/TempDir.h"

namespace stress {
namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;

// Large enough that a copy takes a while, small enough for hundreds of runs.
constexpr size_t kFileSize = size_t{4} << 20;

// A file's own bytes, so that a target holding a part, or another file's bytes, shows.
std::string ContentOf(const std::string& name) {
  std::string content;
  for (int line = 0; content.size() < kFileSize; ++line)
    content += name + " " + std::to_string(line) + "\n";
  return content;
}

// The temporary files below `folder` (a host path) that start with `prefix`.
std::vector<std::string> TemporariesIn(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0) found.push_back(entry.path());
  }
  return found;
}

// Every file of the installation is the distribution's, byte for byte; says which is not.
testing::AssertionResult EveryFileInPlace(const InstallMachine& machine) {
  const auto check = [&](const installer_test::Names& names,
                         const std::string& folder) -> testing::AssertionResult {
    for (const std::string& name : names) {
      if (ReadFile(machine.Host(folder + "\\" + name)) != ReadFile(machine.Source(name))) {
        return testing::AssertionFailure()
               << folder << "\\" << name << " is not the distribution's";
      }
    }
    return testing::AssertionSuccess();
  };
  if (testing::AssertionResult inFolder = check(kFolderNames, kFolder); !inFolder) return inFolder;
  return check(kBinNames, installer_test::BinFolder(5));
}

TEST(InstallKillTest, TheNextRunPutsEveryFileInPlaceAndAnUninstallTakesTheFolder) {
  const int kills = Count("STRESS_INSTALL_KILLS", INSTALL_KILLS);
  InstallMachine machine;
  ASSERT_FALSE(HasFailure());
  for (const std::string& name : kFolderNames)
    testsupport::WriteFile(machine.Source(name), ContentOf(name));

  // Kills fall anywhere in a run, from its start to its end as the quickest run so far took:
  // first the quickest of a few whole runs, then any killed run that had ended already.
  auto runTime = std::chrono::microseconds::max();
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const testsupport::ProcessResult whole = machine.Install();
    runTime = std::min(runTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                    std::chrono::steady_clock::now() - start));
    ASSERT_EQ(whole.exitCode, 0) << whole.out << whole.err;
    ASSERT_EQ(machine.Uninstall().exitCode, 0);
  }
  std::uniform_int_distribution<long> killMoment(0, runTime.count());

  int inCopy = 0;    // kills that left a copy's temporary file
  int inSave = 0;    // kills that left the temporary file of a registry save
  int finished = 0;  // runs that had ended before their kill
  for (int kill = 0; kill < kills; ++kill) {
    testsupport::ChildProcess run(machine.CommandLine(), machine.Options());
    const long moment = killMoment(Random());
    std::this_thread::sleep_for(std::chrono::microseconds(moment));
    run.Kill();
    const testsupport::ProcessResult killed = run.Wait();
    if (killed.signal != SIGKILL) {
      ASSERT_EQ(killed.exitCode, 0) << killed.out << killed.err;
      ++finished;
      killMoment = std::uniform_int_distribution<long>(0, moment);
    }
    if (!TemporariesIn(machine.prefix(), ".~copy-").empty()) ++inCopy;
    if (!TemporariesIn(machine.prefix(), ".~save-").empty()) ++inSave;

    const testsupport::ProcessResult again = machine.Install();
    ASSERT_EQ(again.exitCode, 0) << "after kill " << kill << ":\n" << again.out << again.err;
    ASSERT_TRUE(EveryFileInPlace(machine)) << "after kill " << kill;
    ASSERT_EQ(TemporariesIn(machine.prefix(), ".~"), std::vector<std::string>{})
        << "after kill " << kill;

    const testsupport::ProcessResult uninstalled = machine.Uninstall();
    ASSERT_EQ(uninstalled.exitCode, 0) << "after kill " << kill << ":\n"
                                       << uninstalled.out << uninstalled.err;
    ASSERT_FALSE(fs::exists(machine.Host(kFolder))) << "after kill " << kill;
  }
  std::printf(
      "install kill test: %d kills of runs of %d files of %zu MB; %d fell inside a copy, %d "
      "inside a registry save, %d after the run had ended\n",
      kills, static_cast<int>(kFolderNames.size() + kBinNames.size()), kFileSize >> 20, inCopy,
      inSave, finished);
}

}  // namespace
}  // namespace stress
