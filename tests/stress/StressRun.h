#pragma once

// What the stress tests share: how much they do, their randomness, the writer process, and a
// look at a folder for files left beside the ones it should hold.

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

// The first few entries that are missing, different or extra, for a readable failure; empty
// when the two are the same.
std::string Differences(const Texts& expected, const Texts& found);

// The numbers a writer said it has done, one per line.
std::vector<int> NumbersSaid(const std::string& output);

}  // namespace stress
