// The writer process of the stress tests: makes numbered changes through the platform, as the
// setup program makes its own, and says on standard output which ones are done, so that a test
// that kills it knows which change was in flight.
//
//   stress_writer grow-hive PREFIX FIRST         changes FIRST, FIRST+1, ... until killed
//   stress_writer add-to-hive PREFIX WRITER COUNT   COUNT values of its own, then ends
//
// A change that fails ends the writer with exit code 1 and the reason on standard error.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/stress/StressChanges.h"

namespace {

// The most changes one writer makes when nobody kills it: a test that forgot to is not left
// with a writer running for ever.
constexpr int kMostChanges = 100000;

int Fail(const std::string& what) {
  std::fprintf(stderr, "stress_writer: %s\n", what.c_str());
  return 1;
}

int ToNumber(const std::string& text) {
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

// Said after the change is on disk: a kill before this line leaves the change possibly made,
// one after it leaves it made.
void Done(int number) {
  std::printf("%d\n", number);
  std::fflush(stdout);
}

int ChangeHive(const std::string& prefix, int first, int count,
               std::string (*name)(int writer, int number), int writer) {
  platform::Registry registry(prefix);
  const auto key = registry.OpenKey(platform::RootKey::CurrentUser, stress::kStressKey, false);
  if (!key) return Fail(key.status().message());
  for (int number = first; number < first + count; ++number) {
    const platform::Status written =
        registry.WriteString(*key, name(writer, number), stress::ChangeData(number));
    if (!written) return Fail(written.message());
    Done(number);
  }
  return 0;
}

std::string NumberedName(int, int number) {
  return stress::ChangeName(number);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "grow-hive") {
    return ChangeHive(args[1], ToNumber(args[2]), kMostChanges, NumberedName, 0);
  }
  if (args.size() == 4 && args[0] == "add-to-hive") {
    return ChangeHive(args[1], 0, ToNumber(args[3]), stress::WriterValueName, ToNumber(args[2]));
  }
  return Fail("usage: stress_writer grow-hive PREFIX FIRST | add-to-hive PREFIX WRITER COUNT");
}
