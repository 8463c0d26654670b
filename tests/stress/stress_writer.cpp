// The writer process of the stress tests: makes numbered changes through the platform and the
// settings store, as the setup program makes its own, and says on standard output which ones
// are done, so that a test that kills it knows which change was in flight.
//
//   stress_writer grow-hive PREFIX FIRST [--once]
//   stress_writer grow-settings PREFIX FILE FIRST [--once]
//       change FIRST, FIRST+1, ... until killed (--once: change FIRST, then end), each change a
//       value of user.reg or an entry of the settings file FILE (a Windows path of PREFIX)
//   stress_writer add-to-hive PREFIX WRITER COUNT
//   stress_writer add-to-settings PREFIX FILE WRITER COUNT
//       COUNT values (entries) of its own, then end
//
// A change that fails ends the writer with exit code 1 and the reason on standard error.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "package/ExIniFile.h"
#include "platform/Machine.h"
#include "platform/WinRegistry.h"
#include "tests/stress/StressChanges.h"

namespace {

// The most changes one writer makes when nobody kills it: a test that forgot to is not left
// with a writer running for ever.
constexpr int kMostChanges = 100000;

// Makes one change: a name and its text; says what went wrong, or nothing.
using Change = std::function<std::string(const std::string& name, const std::string& text)>;
// The name of change `number` of writer `writer`.
using NameOf = std::string (*)(int writer, int number);

int Fail(const std::string& what) {
  std::fprintf(stderr, "stress_writer: %s\n", what.c_str());
  return 1;
}

int ToNumber(const std::string& text) {
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

std::string NumberedName(int, int number) {
  return stress::ChangeName(number);
}

// Said after the change is on disk: a kill before this line leaves the change possibly made,
// one after it leaves it made.
void Done(int number) {
  std::printf("%d\n", number);
  std::fflush(stdout);
}

int MakeChanges(const Change& change, NameOf name, int writer, int first, int count) {
  for (int number = first; number < first + count; ++number) {
    const std::string failed = change(name(writer, number), stress::ChangeData(number));
    if (!failed.empty()) return Fail(failed);
    Done(number);
  }
  return 0;
}

// The values go to the stress key of user.reg, one change each.
int ChangeHive(const std::string& prefix, NameOf name, int writer, int first, int count) {
  platform::Registry registry(prefix);
  const auto key = registry.OpenKey(platform::RootKey::CurrentUser, stress::kStressKey, false);
  if (!key) return Fail(key.status().message());
  const Change change = [&](const std::string& valueName, const std::string& text) {
    const platform::Status written = registry.WriteString(*key, valueName, text);
    return written ? std::string() : written.message();
  };
  return MakeChanges(change, name, writer, first, count);
}

// The entries go to the stress section of the settings file, each handed on by itself.
int ChangeSettings(const std::string& prefix, const std::string& file, NameOf name, int writer,
                   int first, int count) {
  const platform::Machine::Scope machine =
      platform::Machine::Use(std::make_unique<platform::Machine>(platform::WinePrefix(prefix)));
  try {
    TExIniFile store(file);
    const Change change = [&](const std::string& entry, const std::string& text) {
      try {
        store.WriteString(stress::kStressSection, entry, text);
        store.UpdateFile();
      } catch (const Exception& e) {
        return e.Message;
      }
      return std::string();
    };
    return MakeChanges(change, name, writer, first, count);
  } catch (const Exception& e) {
    return Fail(e.Message);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool once = !args.empty() && args.back() == "--once";
  if (once) args.pop_back();
  const int growing = once ? 1 : kMostChanges;
  if (args.size() == 3 && args[0] == "grow-hive") {
    return ChangeHive(args[1], NumberedName, 0, ToNumber(args[2]), growing);
  }
  if (args.size() == 4 && args[0] == "grow-settings") {
    return ChangeSettings(args[1], args[2], NumberedName, 0, ToNumber(args[3]), growing);
  }
  if (args.size() == 4 && args[0] == "add-to-hive") {
    return ChangeHive(args[1], stress::WriterValueName, ToNumber(args[2]), 0, ToNumber(args[3]));
  }
  if (args.size() == 5 && args[0] == "add-to-settings") {
    return ChangeSettings(args[1], args[2], stress::WriterValueName, ToNumber(args[3]), 0,
                          ToNumber(args[4]));
  }
  return Fail(
      "usage: stress_writer grow-hive PREFIX FIRST [--once] | grow-settings PREFIX FILE FIRST "
      "[--once] | add-to-hive PREFIX WRITER COUNT | add-to-settings PREFIX FILE WRITER COUNT");
}
