#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Conversions between Windows file times and the forms a hive file writes them in.

#include <cstdint>

#include "platform/hive/Hive.h"

namespace platform {

// The Unix seconds a key line carries ("[path] N"), computed from the key's time the way
// Wine's server does: signed division, then cut to 32 bits.
uint32_t UnixSecondsOf(FileTime time);

// The time a key line's seconds stand for, used when a key has no "#time=" line.
FileTime FileTimeFromUnixSeconds(uint32_t seconds);

}  // namespace platform
