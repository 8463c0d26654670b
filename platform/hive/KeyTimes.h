#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The times Wine's loader gives the keys of a file, worked out when first asked for.

#include "platform/hive/Document.h"

namespace platform {

// Sets the time of every key whose time no change has set: the first "#time=" the loader
// meets for the key or a key below it, else the seconds on the key line.
void ResolveFileTimes(HiveDocument& doc);

}  // namespace platform
