#include "tests/stress/StressRun.h"

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "tests/stress/StressChanges.h"
#include "tests/support/Process.h"
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

Texts FirstChanges(int count) {
  Texts texts;
  for (int number = 0; number < count; ++number)
    texts[ChangeName(number)] = ChangeData(number);
  return texts;
}

Texts WritersValues(int writers, int each) {
  Texts texts;
  for (int writer = 0; writer < writers; ++writer) {
    for (int number = 0; number < each; ++number)
      texts[WriterValueName(writer, number)] = ChangeData(number);
  }
  return texts;
}

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

namespace {

// The numbers a writer said it has done, one per line.
std::vector<int> NumbersSaid(const std::string& output) {
  std::vector<int> numbers;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    numbers.push_back(std::atoi(line.c_str()));
  return numbers;
}

// The latest moment after its start at which a writer is killed. A writer needs a few
// milliseconds to start and a few for each change (most of it flushing the file), so kills
// fall on its start, on its changes and between them.
constexpr int kLatestKillMicroseconds = 60000;

}  // namespace

void RunKillTest(const KillTarget& target) {
  using testsupport::ChildProcess;
  using testsupport::ProcessResult;
  const int kills = Count("STRESS_KILLS", 200);
  const std::set<std::string> ownNames = NamesIn(target.folder);
  std::uniform_int_distribution<int> killMoment(0, kLatestKillMicroseconds);

  int onDisk = 0;        // changes the store holds
  int beforeRename = 0;  // kills that hit a change between its temporary file and its rename
  int beforeWord = 0;    // kills between a change's rename and the writer saying it was done
  int noChange = 0;      // kills before the writer's first change
  std::set<std::string> leftBefore;
  for (int kill = 0; kill < kills; ++kill) {
    ChildProcess writer(target.writer(onDisk));
    std::this_thread::sleep_for(std::chrono::microseconds(killMoment(Random())));
    writer.Kill();
    const ProcessResult ended = writer.Wait();
    ASSERT_EQ(ended.signal, SIGKILL) << "the writer ended by itself: " << ended.err;

    const std::vector<int> said = NumbersSaid(ended.out);
    const int done = said.empty() ? onDisk : said.back() + 1;
    int found = -1;
    ASSERT_TRUE(target.read(&found)) << "after kill " << kill;
    ASSERT_TRUE(found == done || found == done + 1)
        << "after kill " << kill << " the " << target.name << " holds " << found
        << " changes; the writer had said " << done << " were done";

    // A file the killed writer left beside the store is gone once a writer writes again: at
    // most the one of the last write can be there.
    std::set<std::string> left;
    for (const std::string& name : NamesIn(target.folder)) {
      if (ownNames.count(name) == 0) left.insert(name);
    }
    ASSERT_LE(left.size(), 1u) << "after kill " << kill << " left beside the " << target.name
                               << ": " << testing::PrintToString(left);
    if (!left.empty() && leftBefore != left) ++beforeRename;
    if (found == done + 1) ++beforeWord;
    if (found == onDisk && said.empty()) ++noChange;
    leftBefore = left;
    onDisk = found;
  }

  // The next writer that ends normally leaves the folder as it found it, plus its change.
  std::vector<std::string> last = target.writer(onDisk);
  last.push_back("--once");
  const ProcessResult ended = testsupport::RunProcess(last, {});
  EXPECT_EQ(ended.exitCode, 0) << ended.err;
  EXPECT_EQ(NamesIn(target.folder), ownNames);
  std::printf(
      "%s kill test: %d kills, %d changes made; %d kills fell between a change's temporary file "
      "and its rename, %d after a rename before the writer could say so, %d before a writer's "
      "first change\n",
      target.name.c_str(), kills, onDisk, beforeRename, beforeWord, noChange);
}

void RunWritersAtOnce(int writers, const std::function<std::vector<std::string>(int)>& writer) {
  std::vector<std::unique_ptr<testsupport::ChildProcess>> running;
  for (int number = 0; number < writers; ++number)
    running.push_back(std::make_unique<testsupport::ChildProcess>(writer(number)));
  for (auto& process : running) {
    const testsupport::ProcessResult ended = process->Wait();
    EXPECT_EQ(ended.exitCode, 0) << ended.err;
  }
}

}  // namespace stress
