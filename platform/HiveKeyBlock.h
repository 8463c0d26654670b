#pragma once

// A key's blocks in detail: reading their lines into values (when the key is first
// needed), and writing a changed key again the way Wine's server writes it.

#include <string>

#include "platform/HiveDocument.h"

namespace platform {

// Reads the key's blocks into its values, class and link flag (once). As in Wine's loader,
// duplicate names keep the first spelling and the last data, and a value whose data
// cannot be read is an empty REG_NONE.
void LoadKey(HiveDocument& doc, KeyId key);

// Reads a block only to report what the loader cannot read in it (once per block).
void CheckBlock(HiveDocument& doc, uint32_t block);

// True when the key's blocks hold lines the loader ignores (comments, garbage, unknown
// options, unreadable value names); they are kept when the key is written again.
bool HasLooseLines(const HiveDocument& doc, const KeyNode& key);

// Appends a changed, loaded key as Wine's server writes it, starting with the blank line
// before the key line. Loose lines from its blocks are kept next to the value they followed.
void AppendChangedKey(const HiveDocument& doc, KeyId key, std::string& out);

}  // namespace platform
