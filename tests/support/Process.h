#pragma once

// Runs a program as a child process, as a user's shell would, and collects what it says on
// standard output and standard error separately.

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProcessResult {
  int exitCode = -1;  // -1 when it could not be started or did not exit normally
  std::string out;
  std::string err;
};

// argv[0] is the program's path. `environment` is added to (and overrides) this process's.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::pair<std::string, std::string>>& environment);

}  // namespace testsupport
