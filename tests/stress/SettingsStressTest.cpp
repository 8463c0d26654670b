// The settings store under stress: a writer killed at random moments while it adds entries to
// a settings file through TExIniFile, and several writers adding to one settings file at once.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "package/SettingsLine.h"
#include "package/SettingsText.h"
#include "tests/stress/StressChanges.h"
#include "tests/stress/StressRun.h"
#include "tests/support/TempDir.h"

namespace stress {
namespace {

using testsupport::TempDir;

const std::string kSettingsFile = "C:\\Zav\\Polyverb.cfg";

// A settings file as a person keeps it, which the writers' section follows: nothing of it may
// change.
const std::string kOwnText =
    "; Zav Polyverb Setup\n"
    "[Global]\n"
    "Polyverb.Language=Deutsch            ; string\n"
    "\n"
    "[Polyverb\\Install\\TPolyverbInstallForm]\n"
    "FolderSelect.History=C:\\Zav;C:\\Programme\\Zav Polyverb;\n"
    "# kept as it stands\n";

// The folder of the settings file on the host, beside its prefix.
std::string SettingsFolder(const std::string& prefix) {
  return prefix + "/drive_c/Zav";
}

std::string PrepareSettings(const std::string& folder) {
  const std::string prefix = folder + "/prefix";
  testsupport::WriteFile(SettingsFolder(prefix) + "/Polyverb.cfg", kOwnText);
  return prefix;
}

// The settings file as a reader finds it once the writers are gone.
struct SettingsState {
  std::vector<std::string> problems;  // lines that do not read, entries found twice
  Texts values;                       // of the writers' section, name to text
  bool ownTextKept = false;
};

SettingsState ReadSettings(const std::string& prefix) {
  SettingsState state;
  const std::string text = testsupport::ReadFile(SettingsFolder(prefix) + "/Polyverb.cfg");
  state.ownTextKept = text.compare(0, kOwnText.size(), kOwnText) == 0;
  std::istringstream added(text.substr(std::min(text.size(), kOwnText.size())));
  for (std::string line; std::getline(added, line);) {
    const SettingsLine::Kind kind = ParseSettingsLine(line).kind;
    if (!line.empty() && kind != SettingsLine::Section && kind != SettingsLine::Entry)
      state.problems.push_back("does not read: " + line);
  }
  for (const SettingsText::Entry& entry : SettingsText::Parse(text).Entries()) {
    if (entry.section != kStressSection) continue;
    if (!state.values.emplace(entry.name, entry.value).second)
      state.problems.push_back("found twice: " + entry.name);
  }
  return state;
}

TEST(SettingsKillTest, AKilledWriterLeavesTheFileBeforeOrAfterItsChange) {
  TempDir dir;
  const std::string prefix = PrepareSettings(dir.path());
  RunKillTest({
      .name = "settings",
      .writer =
          [&](int first) {
            return std::vector<std::string>{WriterProgram(), "grow-settings", prefix, kSettingsFile,
                                            std::to_string(first)};
          },
      .read = [&](int* changes) -> testing::AssertionResult {
        const SettingsState settings = ReadSettings(prefix);
        *changes = static_cast<int>(settings.values.size());
        if (!settings.problems.empty()) {
          return testing::AssertionFailure() << "the settings file reads with problems: "
                                             << testing::PrintToString(settings.problems);
        }
        if (const std::string wrong = Differences(FirstChanges(*changes), settings.values);
            !wrong.empty()) {
          return testing::AssertionFailure() << "the settings file's changes:" << wrong;
        }
        if (!settings.ownTextKept) {
          return testing::AssertionFailure() << "the settings file lost what was not ours";
        }
        return testing::AssertionSuccess();
      },
      .folder = SettingsFolder(prefix),
  });
}

class SettingsWritersTest : public testing::TestWithParam<int> {};

TEST_P(SettingsWritersTest, EveryEntryOfEveryWriterIsThere) {
  const int writers = GetParam();
  constexpr int kEntriesEach = 250;
  TempDir dir;
  const std::string prefix = PrepareSettings(dir.path());
  const std::set<std::string> ownNames = NamesIn(SettingsFolder(prefix));

  RunWritersAtOnce(writers, [&](int writer) {
    return std::vector<std::string>{
        WriterProgram(), "add-to-settings",      prefix,
        kSettingsFile,   std::to_string(writer), std::to_string(kEntriesEach)};
  });

  const SettingsState settings = ReadSettings(prefix);
  EXPECT_EQ(settings.problems, std::vector<std::string>{});
  EXPECT_EQ(Differences(WritersValues(writers, kEntriesEach), settings.values), "");
  EXPECT_TRUE(settings.ownTextKept);
  EXPECT_EQ(NamesIn(SettingsFolder(prefix)), ownNames);
  std::printf("%d writers at once in one settings file: %zu entries there\n", writers,
              settings.values.size());
}

INSTANTIATE_TEST_SUITE_P(Writers, SettingsWritersTest, testing::Values(2, 4),
                         [](const testing::TestParamInfo<int>& param) {
                           return std::to_string(param.param) + "Writers";
                         });

}  // namespace
}  // namespace stress
