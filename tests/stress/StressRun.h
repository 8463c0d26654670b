#pragma once

// What the stress tests share: how much they do, their randomness, the writer process, the
// kill test and the writers at once, and a look at a folder for files left beside the ones it
// should hold.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace stress {

// The count named by the environment variable `variable` when it is set (scripts/stress.sh
// sets the full counts, the sanitizer build lower ones), else `bounded`, what CI runs.
int Count(const char* variable, int bounded);

// Random numbers for kill moments, seeded from STRESS_SEED when it is set, else at random;
// the seed is printed, so that a failing run can be repeated.
std::mt19937& Random();

// The writer process's path.
std::string WriterProgram();

// A prefix folder in `folder` whose user.reg is one that Wine's wineboot made.
std::string PrefixWithWineHive(const std::string& folder);

// The names in `folder` (files, folders, links), not descending.
std::set<std::string> NamesIn(const std::string& folder);

// Names and their texts: the values of a registry key or a settings section, the files of a
// folder.
using Texts = std::map<std::string, std::string>;

// Changes 0 to count-1, name to text.
Texts FirstChanges(int count);
// The values each of `writers` writers adds, name to text.
Texts WritersValues(int writers, int each);

// The first few entries that are missing, different or extra, for a readable failure; empty
// when the two are the same.
std::string Differences(const Texts& expected, const Texts& found);

// One store under the kill test: a writer killed at random moments while it makes numbered
// changes to it, one writer after the other, each going on from where the store stands.
struct KillTarget {
  std::string name;  // for the figures: "hive", "settings"
  // The writer's command line, starting with change `first`.
  std::function<std::vector<std::string>(int first)> writer;
  // How many changes the store holds, after checking that it reads without a problem, holds
  // exactly changes 0 to n-1 and nothing else was touched; a failure says what is wrong.
  std::function<testing::AssertionResult(int* changes)> read;
  // The folder of the store, where a killed writer may leave a file for a while only.
  std::string folder;
};

// Kills Count("STRESS_KILLS", 200) writers of `target` at random moments. After every kill the
// store holds the changes the writer had said were done, or one more (the change in flight), and
// at most one file is left beside it; a writer that ends normally leaves nothing. Fails the
// test fatally at the first kill that breaks that; prints the figures.
void RunKillTest(const KillTarget& target);

// Starts `writers` writers at once, the command line of each from its number, and waits for
// all of them; each must end normally.
void RunWritersAtOnce(int writers, const std::function<std::vector<std::string>(int)>& writer);

}  // namespace stress
