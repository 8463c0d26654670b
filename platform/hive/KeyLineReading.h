#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Turns the key lines of a hive file, one after another, into keys of the tree.
// Consecutive key lines share most of their path (Wine writes keys depth first), so the
// part of a line's text that equals the previous line's text up to a path separator
// names the same keys, and only the rest is decoded and looked up.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hive/Document.h"

namespace platform {

// The first byte at or after `pos` that a key path's name cannot simply go on over (']', '\\',
// NUL, a byte that is not ASCII), or the end of the text.
size_t NextKeyPathSpecial(std::string_view text, size_t pos);

// One component of a key path in the line's text.
struct PathSpan {
  size_t begin = 0;
  size_t end = 0;
  bool plain = true;  // ASCII without escapes
};

// Finds the components of an escaped path (the text after a key line's '[') from `from` to
// its closing ']', returning the offset of the ']' in `close`. Empty components are left
// out, as the loader leaves them out. False on a NUL byte or a missing ']': such a line
// takes the plain way (ParseKeyLine).
bool FindKeyPathComponents(std::string_view path, size_t from, std::vector<PathSpan>& spans,
                           size_t& close);

// What one component of a path reads as.
enum class KeyNameReading {
  Name,
  NoName,    // only bytes that are not UTF-8: the loader makes no key of it
  Unusable,  // an escaped backslash (\x5c), or a NUL unit first in the path: the plain way
};
KeyNameReading ReadKeyName(std::string_view path, const PathSpan& span, std::u16string& name);

// How many bytes two texts share at their start.
size_t SharedPrefixLength(std::string_view a, std::string_view b);

// How many of the previous key line's components name the same keys in `path`, which shares
// its first `same` bytes with that line; `endOf(i)` is where the previous line's component i
// ends. A component is the same key if its text is unchanged and ends here too, at a separator
// or at the closing ']'. When one does, so do all before it: their separators lie in the
// shared text.
template <class EndOf>
size_t SameComponents(std::string_view path, size_t same, size_t count, EndOf endOf) {
  size_t reused = count;
  while (reused > 0 && endOf(reused - 1) > same)
    --reused;
  if (reused > 0) {
    const size_t end = endOf(reused - 1);
    const bool closes = end < path.size() && path[end] == ']';
    const bool separates = end + 1 < path.size() && path[end] == '\\' && path[end + 1] == '\\';
    if (!closes && !separates) --reused;
  }
  return reused;
}

class HiveKeyLineReader {
 public:
  explicit HiveKeyLineReader(HiveDocument& doc) : doc_(doc) {}

  // Reads a key line whose content starts at its '[', creating missing keys (with no
  // time yet). Nothing when the line has no closing ']' (Wine: "Malformed key").
  std::optional<KeyId> Read(std::string_view content);

 private:
  bool ReadReusing(std::string_view path, KeyId& key, size_t& close);
  std::optional<KeyId> ReadPlain(std::string_view content);
  void Forget();

  HiveDocument& doc_;
  // The previous line's path text up to and including its ']' (the document's text does
  // not change while it is read), the offset in it where each of its components ends,
  // and the key each component names.
  std::string_view previous_;
  std::vector<size_t> ends_;
  std::vector<KeyId> chain_;
  // Scratch space kept from line to line.
  std::vector<PathSpan> spans_;
  std::u16string name_;
  std::u16string path_;
};

}  // namespace platform
