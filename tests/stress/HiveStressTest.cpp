// The registry under stress: a writer killed at random moments while it changes a real Wine
// user.reg, and several writers changing one user.reg at the same time.

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/WinRegistry.h"
#include "tests/stress/StressChanges.h"
#include "tests/stress/StressRun.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace stress {
namespace {

using platform::Registry;
using platform::RootKey;
using testsupport::TempDir;

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

TEST(HiveKillTest, AKilledWriterLeavesTheHiveBeforeOrAfterItsChange) {
  TempDir dir;
  const std::string prefix = PrefixWithWineHive(dir.path());
  const std::string outside = PrepareHive(prefix);
  ASSERT_FALSE(HasFailure());
  RunKillTest({
      .name = "hive",
      .writer =
          [&](int first) {
            return std::vector<std::string>{WriterProgram(), "grow-hive", prefix,
                                            std::to_string(first)};
          },
      .read = [&](int* changes) -> testing::AssertionResult {
        const HiveState hive = ReadHive(prefix);
        *changes = static_cast<int>(hive.values.size());
        if (!hive.problems.empty()) {
          return testing::AssertionFailure()
                 << "the hive reads with problems: " << testing::PrintToString(hive.problems);
        }
        if (const std::string wrong = Differences(FirstChanges(*changes), hive.values);
            !wrong.empty()) {
          return testing::AssertionFailure() << "the hive's changes:" << wrong;
        }
        if (hive.outside != outside) {
          return testing::AssertionFailure() << "the hive changed outside the writer's key";
        }
        return testing::AssertionSuccess();
      },
      .folder = prefix,
  });
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

  RunWritersAtOnce(writers, [&](int writer) {
    return std::vector<std::string>{WriterProgram(), "add-to-hive", prefix, std::to_string(writer),
                                    std::to_string(kValuesEach)};
  });

  const HiveState hive = ReadHive(prefix);
  EXPECT_EQ(hive.problems, std::vector<std::string>{});
  EXPECT_EQ(Differences(WritersValues(writers, kValuesEach), hive.values), "");
  EXPECT_EQ(hive.outside, outside);
  EXPECT_EQ(NamesIn(prefix), prefixNames);
  std::printf("%d writers at once in one hive: %zu values there\n", writers, hive.values.size());
}

INSTANTIATE_TEST_SUITE_P(Writers, HiveWritersTest, testing::Values(2, 4),
                         [](const testing::TestParamInfo<int>& param) {
                           return std::to_string(param.param) + "Writers";
                         });

}  // namespace
}  // namespace stress
