#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Wine writes a blank line before every key line, and a file's first pass gives that line to
// the block of the key after it. It belongs to the block before instead when hex data there
// goes on over it. Keys read as needed leave that question open until it matters: until
// the lines of either block are read, or a new block comes after the one before.

#include <cstdint>

#include "platform/hive/Document.h"

namespace platform {

// Settles the start of a block the file's pass left open; nothing for any other block.
void SettleBlockStart(HiveDocument& doc, uint32_t block);

// Settles both ends of a block, before its lines are read.
void SettleBlockEnds(HiveDocument& doc, uint32_t block);

}  // namespace platform
