#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Reading the key tree a level at a time. Wine writes a hive's keys depth first in its order
// of names, each key once: the keys below any key are then the run of blocks that follows its
// own. When a file's key lines come that way, loading it only checks their order, and a key's
// children are read from its run when they are first needed; a lookup reads a few levels and
// leaves the rest of a large file untouched. Any other file has its key tree read whole while
// it loads (HiveKeyLineReader).

#include <string>
#include <string_view>
#include <vector>

#include "platform/hive/Document.h"
#include "platform/hive/KeyLineReading.h"

namespace platform {

// Follows a file's key lines one after another while they come in Wine's order.
class HiveKeyLineOrder {
 public:
  // Takes the path of the next key line (the text after its '['). False when it is not read
  // the plain way (escaped backslashes, NUL bytes, a component that names no key), or does
  // not come after the previous line's key: an earlier key, the same key again, or a name
  // spelled another way.
  bool Follows(std::string_view path);

 private:
  // Whether the name at `span` comes before the one at `other`; their first `same` bytes are
  // known to be equal when both are plain.
  bool Precedes(std::string_view path, const PathSpan& span, std::string_view otherPath,
                const PathSpan& other, size_t same = 0);

  std::string_view previous_;         // the previous path up to and including its ']'
  std::vector<PathSpan> components_;  // its components
  std::vector<PathSpan> spans_;       // scratch: the new components of a line
  std::u16string before_;
  std::u16string name_;
};

// The blocks of a file whose key lines all followed in order, [0, count): the root's own
// block, when the first key line is the root's, and the run below the root.
void TakeRunsOfBlocks(HiveDocument& doc, uint32_t count);

// Reads every key not read yet, for what needs the whole tree (the keys' times, the faults
// of every block).
void ReadAllKeys(HiveDocument& doc);

// The content of a block's key line, from its '['.
std::string_view KeyLineOf(const HiveDocument& doc, uint32_t block);

}  // namespace platform
