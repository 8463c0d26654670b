#include "tests/stress/StressRun.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/TempDir.h"

namespace stress {

namespace fs = std::filesystem;

int Count(const char* variable, int bounded) {
  const char* text = std::getenv(variable);
  if (text == nullptr || *text == '\0') return bounded;
  return std::atoi(text);
}

std::mt19937& Random() {
  static std::mt19937 generator = [] {
    const char* given = std::getenv("STRESS_SEED");
    const unsigned seed = given != nullptr && *given != '\0'
                              ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                              : std::random_device()();
    std::printf("random seed: STRESS_SEED=%u\n", seed);
    return std::mt19937(seed);
  }();
  return generator;
}

std::string WriterProgram() {
  return STRESS_WRITER;
}

std::string PrefixWithWineHive(const std::string& folder) {
  const std::string prefix = folder + "/prefix";
  fs::create_directories(prefix);
  fs::copy_file(std::string(STRESS_DATA) + "/user.reg", prefix + "/user.reg");
  return prefix;
}

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    names.insert(entry.path().filename().string());
  return names;
}

namespace {

std::string Shown(const std::string& text) {
  constexpr size_t kShown = 60;
  return "\"" + (text.size() <= kShown ? text : text.substr(0, kShown) + "...") + "\"";
}

}  // namespace

std::string Differences(const Texts& expected, const Texts& found) {
  std::string said;
  int shown = 0;
  const auto say = [&](const std::string& line) {
    if (shown++ < 8) said += "\n  " + line;
  };
  for (const auto& [name, text] : expected) {
    const auto it = found.find(name);
    if (it == found.end()) {
      say(name + ": missing");
    } else if (it->second != text) {
      say(name + ": holds " + Shown(it->second) + " instead of " + Shown(text));
    }
  }
  for (const auto& [name, text] : found) {
    if (expected.count(name) == 0) say(name + ": not expected, holds " + Shown(text));
  }
  if (shown > 8) said += "\n  and " + std::to_string(shown - 8) + " more";
  return said;
}

std::vector<int> NumbersSaid(const std::string& output) {
  std::vector<int> numbers;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    numbers.push_back(std::atoi(line.c_str()));
  return numbers;
}

}  // namespace stress
