#include "tests/support/Process.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <thread>

#include "tests/support/TempDir.h"

extern char** environ;

namespace testsupport {

namespace {

// This process's environment with `changes` applied and `removed` taken out, as "NAME=value"
// strings.
std::vector<std::string> EnvironmentWith(
    const std::vector<std::pair<std::string, std::string>>& changes,
    const std::vector<std::string>& removed) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const size_t equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& [name, value] : changes)
    variables[name] = value;
  for (const std::string& name : removed)
    variables.erase(name);
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

// Whether this process holds `capability` in its effective set.
bool HasCapability(int capability) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("CapEff:", 0) != 0) continue;
    const unsigned long long set = std::strtoull(line.c_str() + 7, nullptr, 16);
    return ((set >> capability) & 1) != 0;
  }
  return false;
}

// In the child, between fork and exec: only calls that are safe there in a process with
// threads. Root keeps its capabilities across exec except those dropped from the bounding
// set, so dropping CAP_DAC_OVERRIDE (any access) and CAP_DAC_READ_SEARCH (reading and
// searching) there makes the permission bits bind the program.
bool PrepareChild(const ProcessOptions& options, const rlimit& fileSize) {
  if (options.fileSizeLimit && ::setrlimit(RLIMIT_FSIZE, &fileSize) != 0) return false;
  if (options.withoutPermissionOverride && ::geteuid() == 0 &&
      (::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0 ||
       ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) != 0)) {
    return false;
  }
  return true;
}

}  // namespace

bool CanRunWithoutOverride() {
  return ::geteuid() != 0 || HasCapability(CAP_SETPCAP);
}

struct ChildProcess::Output {
  TempDir dir;
  std::string out = dir / "out";
  std::string err = dir / "err";
};

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options)
    : output_(std::make_unique<Output>()) {
  std::vector<std::string> args = argv;
  std::vector<std::string> env = EnvironmentWith(options.environment, options.removed);
  std::vector<char*> argPointers = Pointers(args);
  std::vector<char*> envPointers = Pointers(env);
  rlimit fileSize{};
  if (options.fileSizeLimit) fileSize.rlim_cur = fileSize.rlim_max = *options.fileSizeLimit;
  const char* outPath = output_->out.c_str();
  const char* errPath = output_->err.c_str();

  // A pipe nobody reads from any more: its reading end goes before the child starts.
  int goneReader[2] = {-1, -1};
  if (::pipe2(goneReader, O_CLOEXEC) == 0) ::close(goneReader[0]);

  pid_ = ::fork();
  if (pid_ == 0) {
    // Only calls that are safe after fork in a process with threads.
    const auto redirect = [&](Stream stream, const char* path, int fd) {
      if (stream == Stream::Closed) return ::close(fd) == 0 || errno == EBADF;
      const int from = stream == Stream::ClosedPipe ? goneReader[1]
                       : stream == Stream::Full     ? ::open("/dev/full", O_WRONLY)
                                                : ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
      return from >= 0 && ::dup2(from, fd) >= 0;
    };
    if (!redirect(options.out, outPath, 1) || !redirect(options.err, errPath, 2)) ::_exit(127);
    if (!PrepareChild(options, fileSize)) ::_exit(127);
    ::execve(argPointers[0], argPointers.data(), envPointers.data());
    ::_exit(127);
  }
  if (goneReader[1] >= 0) ::close(goneReader[1]);
  if (options.killAfter) killAt_ = std::chrono::steady_clock::now() + *options.killAfter;
}

ChildProcess::~ChildProcess() {
  if (pid_ <= 0) return;
  Kill();
  (void)Wait();
}

void ChildProcess::Kill() {
  if (pid_ > 0) ::kill(pid_, SIGKILL);
}

ProcessResult ChildProcess::Wait() {
  ProcessResult result;
  if (pid_ <= 0) return result;
  int status = 0;
  pid_t ended = -1;
  // Until the time is up, a look every few milliseconds; then the kill, and the wait for it.
  while (killAt_ && (ended = ::waitpid(pid_, &status, WNOHANG)) == 0) {
    if (std::chrono::steady_clock::now() >= *killAt_) {
      Kill();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  while (ended <= 0) {
    ended = ::waitpid(pid_, &status, 0);
    if (ended < 0 && errno != EINTR) break;
  }
  pid_ = -1;
  if (ended > 0 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (ended > 0 && WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = ReadFile(output_->out);
  result.err = ReadFile(output_->err);
  return result;
}

std::string ChildProcess::OutputSoFar() const {
  return ReadFile(output_->out);
}

ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::pair<std::string, std::string>>& environment) {
  ProcessOptions options;
  options.environment = environment;
  return ChildProcess(argv, options).Wait();
}

}  // namespace testsupport
