#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// A key's blocks in detail: reading their lines into values (when the key is first
// needed), and writing a changed key again the way Wine's server writes it.

#include <string>
#include <string_view>

#include "platform/hive/Document.h"

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

// Forgets the unreadable lines of a deleted value, so that they are not written again
// (the loader would make the value again from them).
void DropUnreadableLines(HiveDocument& doc, KeyId key, std::u16string_view name);

// Appends a changed, loaded key as Wine's server writes it, starting with the blank line
// before the key line. The lines of its blocks we cannot write from the model are kept as
// they stand: loose lines next to the value they followed, unreadable value lines at their
// value's place.
void AppendChangedKey(const HiveDocument& doc, KeyId key, std::string& out);

}  // namespace platform
