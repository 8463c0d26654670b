#include "tests/support/WineTools.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "tests/support/TempDir.h"

namespace testsupport {

namespace {

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string dirs = path;
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

bool WineInstalled() {
  return OnPath("wine") && OnPath("wineboot") && OnPath("wineserver");
}

namespace {

void SetWineEnvironment(const std::string& prefix) {
  ::setenv("WINEPREFIX", prefix.c_str(), 1);
  ::setenv("WINEDEBUG", "-all", 1);
  // No Mono or Gecko installer prompts in a test prefix.
  ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
  ::unsetenv("DISPLAY");
}

CommandResult RunOnce(const std::string& prefix, const std::vector<std::string>& argv) {
  CommandResult result;
  // Output goes to a file, not a pipe: Wine's helper processes (services,
  // devices) inherit it and outlive the command, so a pipe would never close.
  char outputPath[] = "/tmp/wine-output-XXXXXX";
  const int outputFd = ::mkstemp(outputPath);
  if (outputFd < 0) return result;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(outputFd);
    ::unlink(outputPath);
    return result;
  }
  if (child == 0) {
    if (const int devNull = ::open("/dev/null", O_RDONLY); devNull >= 0) {
      ::dup2(devNull, STDIN_FILENO);
    }
    ::dup2(outputFd, STDOUT_FILENO);
    ::dup2(outputFd, STDERR_FILENO);
    ::close(outputFd);
    SetWineEnvironment(prefix);
    std::vector<char*> args;
    for (const std::string& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(outputFd);
  int status = 0;
  ::waitpid(child, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.output = ReadFile(outputPath);
  ::unlink(outputPath);
  return result;
}

}  // namespace

CommandResult RunWithPrefix(const std::string& prefix, const std::vector<std::string>& argv) {
  CommandResult result = RunOnce(prefix, argv);
  // Wine itself now and then fails around a command, more often under load:
  // - its loader trips glibc's check in _dl_fini after the program has finished its work
  //   (exit 127, and the program's own exit code is lost);
  // - it ends with an error and says nothing at all, where reg and cmd always say why;
  // - its launcher cannot start the program at all ("ShellExecuteEx failed: Internal error").
  // A change by "reg" that says it completed did complete; anything else is run once more
  // (our commands are queries or idempotent changes).
  const bool diedAtExit =
      result.exitCode == 127 &&
      result.output.find("Inconsistency detected by ld.so: dl-fini.c") != std::string::npos;
  const bool failedSilently = result.exitCode != 0 && result.output.empty();
  const bool neverStarted =
      result.exitCode != 0 && result.output.find("ShellExecuteEx failed") != std::string::npos;
  if (!diedAtExit && !failedSilently && !neverStarted) return result;
  if (result.output.find("The operation completed successfully") != std::string::npos) {
    result.exitCode = 0;
    return result;
  }
  return RunOnce(prefix, argv);
}

const std::string& TemplatePrefix() {
  // Made on first use and kept for the whole test program.
  static std::unique_ptr<TempDir> dir;
  static std::string prefix;
  if (dir == nullptr && WineInstalled()) {
    dir = std::make_unique<TempDir>();
    const std::string candidate = *dir / "template";
    RunWithPrefix(candidate, {"wineboot", "-i"});
    StopServer(candidate);
    if (::access((candidate + "/user.reg").c_str(), R_OK) == 0) prefix = candidate;
  }
  return prefix;
}

bool CopyPrefix(const std::string& from, const std::string& to) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::execlp("cp", "cp", "-a", from.c_str(), to.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  // The copy is a new prefix: it must not claim the template's server.
  ::unlink((to + "/wineserver").c_str());
  return true;
}

void StartServer(const std::string& prefix) {
  // The server outlives this call: it must not hold a pipe of ours open.
  const pid_t child = ::fork();
  if (child == 0) {
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(devNull, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
    SetWineEnvironment(prefix);
    ::execlp("wineserver", "wineserver", "-p", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
}

void StopServer(const std::string& prefix) {
  RunWithPrefix(prefix, {"wineserver", "-k"});
  RunWithPrefix(prefix, {"wineserver", "-w"});
}

}  // namespace testsupport
