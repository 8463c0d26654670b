#pragma once

// Running the real Wine against throwaway prefixes, for the interoperability tests.
// They never touch the user's own prefix: every call names its prefix.

#include <string>
#include <vector>

namespace testsupport {

// wine, wineboot and wineserver are all on the PATH.
bool WineInstalled();

struct CommandResult {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

// Runs `argv` with WINEPREFIX set to `prefix` and Wine's debug output off.
CommandResult RunWithPrefix(const std::string& prefix, const std::vector<std::string>& argv);

// A prefix made with wineboot, once per test program (that takes seconds),
// removed when the program ends. Empty when it could not be made.
const std::string& TemplatePrefix();

// Copies a prefix (links kept as links).
bool CopyPrefix(const std::string& from, const std::string& to);

// Starts a server that stays up between commands, so a series of "wine reg"
// calls does not pay for a server start each.
void StartServer(const std::string& prefix);
// Stops the prefix's server (it saves the registry first) and waits for it to end.
void StopServer(const std::string& prefix);

}  // namespace testsupport
