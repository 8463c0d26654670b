// The registry under stress: a writer killed at random moments while it changes a real Wine
// user.reg, and several writers changing one user.reg at the same time.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <thread>

#include "platform/Registry.h"
#include "tests/stress/StressChanges.h"
#include "tests/stress/StressRun.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace stress {
namespace {

using platform::Registry;
using platform::RootKey;
using testsupport::ChildProcess;
using testsupport::ProcessResult;
using testsupport::TempDir;

// The latest moment after its start at which a writer is killed. A writer needs a few
// milliseconds to start and a few for each change (most of it flushing the file), so kills
// fall on its start, on its changes and between them.
constexpr int kLatestKillMicroseconds = 40000;

// The hive as a reader finds it once the writers are gone.
struct HiveState {
  std::vector<std::string> problems;  // what the loader could not understand
  Texts values;                       // of the stress key, name to text
  std::string outside;                // the file's text without the stress key's block
};

std::string WithoutStressKey(const std::string& text) {
  const size_t start = text.find(kStressKeyLine);
  if (start == std::string::npos) return text;
  const size_t next = text.find("\n\n[", start);
  return text.substr(0, start) + (next == std::string::npos ? "" : text.substr(next + 2));
}

HiveState ReadHive(const std::string& prefix) {
  HiveState state;
  Registry registry(prefix);
  const auto key = registry.OpenKey(RootKey::CurrentUser, kStressKey, false);
  state.problems = registry.Problems();
  const auto values = key ? registry.Values(*key) : key.status();
  if (!values) state.problems.push_back(values.status().message());
  for (const platform::RegValue& value : values ? *values : std::vector<platform::RegValue>{})
    state.values[value.name] = value.AsString().value_or("(not text)");
  state.outside = WithoutStressKey(testsupport::ReadFile(prefix + "/user.reg"));
  return state;
}

// A prefix with Wine's user.reg and the stress key in it; returns the hive's text outside that
// key, which no change may touch.
std::string PrepareHive(const std::string& prefix) {
  Registry registry(prefix);
  const auto key = registry.OpenKey(RootKey::CurrentUser, kStressKey, true);
  EXPECT_TRUE(key) << key.status().message();
  return WithoutStressKey(testsupport::ReadFile(prefix + "/user.reg"));
}

Texts FirstChanges(int count) {
  Texts texts;
  for (int number = 0; number < count; ++number)
    texts[ChangeName(number)] = ChangeData(number);
  return texts;
}

TEST(HiveKillTest, AKilledWriterLeavesTheHiveBeforeOrAfterItsChange) {
  const int kills = Count("STRESS_KILLS", 200);
  TempDir dir;
  const std::string prefix = PrefixWithWineHive(dir.path());
  const std::string outside = PrepareHive(prefix);
  ASSERT_FALSE(HasFailure());
  const std::set<std::string> prefixNames = NamesIn(prefix);
  std::uniform_int_distribution<int> killMoment(0, kLatestKillMicroseconds);

  int onDisk = 0;        // changes the hive holds
  int beforeRename = 0;  // kills that hit a change between its temporary file and its rename
  int beforeWord = 0;    // kills between a change's rename and the writer saying it was done
  int noChange = 0;      // kills before the writer's first change
  std::set<std::string> leftBefore;
  for (int kill = 0; kill < kills; ++kill) {
    ChildProcess writer({WriterProgram(), "grow-hive", prefix, std::to_string(onDisk)});
    std::this_thread::sleep_for(std::chrono::microseconds(killMoment(Random())));
    writer.Kill();
    const ProcessResult ended = writer.Wait();
    ASSERT_EQ(ended.signal, SIGKILL) << "the writer ended by itself: " << ended.err;

    const std::vector<int> said = NumbersSaid(ended.out);
    const int done = said.empty() ? onDisk : said.back() + 1;
    const HiveState hive = ReadHive(prefix);
    ASSERT_EQ(hive.problems, std::vector<std::string>{}) << "after kill " << kill;
    const int found = static_cast<int>(hive.values.size());
    ASSERT_EQ(Differences(FirstChanges(found), hive.values), "") << "after kill " << kill;
    ASSERT_TRUE(found == done || found == done + 1)
        << "after kill " << kill << " the hive holds " << found << " changes; the writer had said "
        << done << " were done";
    ASSERT_EQ(hive.outside, outside) << "after kill " << kill;

    // A file the killed writer left beside the hive is gone once a writer writes again: at
    // most the one of the last write can be there.
    std::set<std::string> left;
    for (const std::string& name : NamesIn(prefix)) {
      if (prefixNames.count(name) == 0) left.insert(name);
    }
    ASSERT_LE(left.size(), 1u) << "after kill " << kill
                               << " left beside the hive: " << testing::PrintToString(left);
    if (!left.empty() && leftBefore != left) ++beforeRename;
    if (found == done + 1) ++beforeWord;
    if (found == onDisk && said.empty()) ++noChange;
    leftBefore = left;
    onDisk = found;
  }

  // The next writer that ends normally leaves the prefix as it found it, plus its change.
  const ProcessResult last = testsupport::RunProcess(
      {WriterProgram(), "add-to-hive", prefix, "0", "1"}, testsupport::ProcessOptions{});
  EXPECT_EQ(last.exitCode, 0) << last.err;
  EXPECT_EQ(NamesIn(prefix), prefixNames);
  std::printf(
      "hive kill test: %d kills, %d changes made; %d kills fell between a change's temporary file "
      "and its rename, %d after a rename before the writer could say so, %d before a writer's "
      "first change\n",
      kills, onDisk, beforeRename, beforeWord, noChange);
}

class HiveWritersTest : public testing::TestWithParam<int> {};

TEST_P(HiveWritersTest, EveryValueOfEveryWriterIsThere) {
  const int writers = GetParam();
  constexpr int kValuesEach = 250;
  TempDir dir;
  const std::string prefix = PrefixWithWineHive(dir.path());
  const std::string outside = PrepareHive(prefix);
  ASSERT_FALSE(HasFailure());
  const std::set<std::string> prefixNames = NamesIn(prefix);

  std::vector<std::unique_ptr<ChildProcess>> running;
  for (int writer = 0; writer < writers; ++writer) {
    running.push_back(std::make_unique<ChildProcess>(
        std::vector<std::string>{WriterProgram(), "add-to-hive", prefix, std::to_string(writer),
                                 std::to_string(kValuesEach)}));
  }
  for (auto& writer : running) {
    const ProcessResult ended = writer->Wait();
    EXPECT_EQ(ended.exitCode, 0) << ended.err;
  }

  Texts expected;
  for (int writer = 0; writer < writers; ++writer) {
    for (int number = 0; number < kValuesEach; ++number)
      expected[WriterValueName(writer, number)] = ChangeData(number);
  }
  const HiveState hive = ReadHive(prefix);
  EXPECT_EQ(hive.problems, std::vector<std::string>{});
  EXPECT_EQ(Differences(expected, hive.values), "");
  EXPECT_EQ(hive.outside, outside);
  EXPECT_EQ(NamesIn(prefix), prefixNames);
  std::printf("%d writers at once: %zu of %zu values there\n", writers, hive.values.size(),
              expected.size());
}

INSTANTIATE_TEST_SUITE_P(Writers, HiveWritersTest, testing::Values(2, 4),
                         [](const testing::TestParamInfo<int>& param) {
                           return std::to_string(param.param) + "Writers";
                         });

}  // namespace
}  // namespace stress
