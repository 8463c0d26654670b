#pragma once

// Runs a program as a child process, as a user's shell would, and collects what it says on
// standard output and standard error separately.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProcessResult {
  int exitCode = -1;  // -1 when it could not be started or did not exit normally
  int signal = 0;     // the signal that ended it, 0 when it exited
  std::string out;
  std::string err;
};

// Where the child's standard output or error goes.
enum class Stream {
  Collected,   // to a file, read into ProcessResult
  ClosedPipe,  // a pipe whose reader has gone (`| head -1` after its line)
  Closed,      // no stream at all (`>&-`)
  Full,        // a device every write to fails, as on a full disk (`>/dev/full`)
};

// What the child gets besides its arguments.
struct ProcessOptions {
  Stream out = Stream::Collected;
  Stream err = Stream::Collected;
  // Added to (and overriding) this process's environment.
  std::vector<std::pair<std::string, std::string>> environment;
  // Taken out of the environment the child gets, as `env -u NAME` does.
  std::vector<std::string> removed;
  // RLIMIT_FSIZE: no file the child writes may grow beyond this many bytes.
  std::optional<std::uint64_t> fileSizeLimit;
  // The child cannot write where the permission bits say no, even when it runs as root: the
  // superuser's power to override them is taken from it. See CanRunWithoutOverride.
  bool withoutPermissionOverride = false;
  // A child still running this long after its start is killed (SIGKILL) by Wait: a test of
  // something that must not hang fails instead of hanging.
  std::optional<std::chrono::milliseconds> killAfter;
};

// Whether a child can be started withoutPermissionOverride here (any user who is not root can;
// root only while allowed to give up capabilities).
bool CanRunWithoutOverride();

// A child that runs while the test goes on: it can be killed at any moment. Its output goes
// to files, not pipes, so it never waits for the test to read, however much it says.
class ChildProcess {
 public:
  // argv[0] is the program's path. A child that cannot be started ends at once with exit code
  // 127.
  ChildProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
  // Kills a child that is still running and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // SIGKILL, as a power cut or the OOM killer would end it.
  void Kill();
  // Waits for the child to end and returns what it said; once only.
  ProcessResult Wait();
  // What the child has said on its collected standard output so far, while it runs.
  std::string OutputSoFar() const;

 private:
  struct Output;
  std::unique_ptr<Output> output_;
  pid_t pid_ = -1;
  std::optional<std::chrono::steady_clock::time_point> killAt_;
};

// Runs a child to its end. `environment` is added to (and overrides) this process's; a child
// with limits is a ChildProcess with its options, waited for.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::pair<std::string, std::string>>& environment);

}  // namespace testsupport
