#include "tests/support/Process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "tests/support/TempDir.h"

extern char** environ;

namespace testsupport {

namespace {

// This process's environment with `changes` applied, as "NAME=value" strings.
std::vector<std::string> EnvironmentWith(
    const std::vector<std::pair<std::string, std::string>>& changes) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const size_t equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& [name, value] : changes)
    variables[name] = value;
  std::vector<std::string> result;
  for (const auto& [name, value] : variables)
    result.push_back(name + "=" + value);
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings)
    pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::pair<std::string, std::string>>& environment) {
  ProcessResult result;
  // Files, not pipes: nothing to drain while the child runs, however much it says.
  TempDir output;
  const std::string outPath = output / "out";
  const std::string errPath = output / "err";
  std::vector<std::string> args = argv;
  std::vector<std::string> env = EnvironmentWith(environment);
  std::vector<char*> argPointers = Pointers(args);
  std::vector<char*> envPointers = Pointers(env);

  const pid_t child = ::fork();
  if (child < 0) return result;
  if (child == 0) {
    // Only calls that are safe after fork in a process with threads.
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
    ::execve(argPointers[0], argPointers.data(), envPointers.data());
    ::_exit(127);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  return result;
}

}  // namespace testsupport
