#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Whether a Wine server runs on a prefix. While one does, it owns the prefix's
// registry: it read the hives when it started and overwrites them on its next
// save, so a change we write to the files would be lost.

#include <optional>
#include <string>

#include "platform/Status.h"

namespace platform {

struct WineServerState {
  bool running = false;
  long pid = 0;  // the server's process id when running and known
};

// Looks for the server's lock file in every place Wine (upstream or Debian's
// build) keeps it, and asks the kernel whether the lock is held. Never takes
// the lock itself: a server starting at that moment would fail.
WineServerState QueryWineServer(const std::string& prefixDir);

// AccessDenied, with a message that says why and what to do, while a server runs on the
// prefix; success otherwise. Every change to the registry's files asks this first.
Status RefuseWhileWineServerRuns(const std::string& prefixDir);

}  // namespace platform
