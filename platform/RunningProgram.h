#pragma once

// Which program a process runs, as the kernel tells it (the /proc/<pid>/exe link). The one
// place the program asks: its own folder, its own name and the writer of a leftover copy
// temporary all come from here.

#include <sys/types.h>

#include <string>

#include "platform/Status.h"

namespace platform {

// The host path of the running program's executable. A program replaced on disk since it
// started still gives the path it was started from.
Result<std::string> ProgramPath();
// The same for the process `pid`; fails when the system does not say (another user's
// process, one that has ended).
Result<std::string> ProgramPath(pid_t pid);

}  // namespace platform
