#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Finding lines inside a key's block without reading every line: the lines that start
// with a given byte, and whether a line is really more hex data of a value above it.
// Used by the first pass over a file and by the later look at the keys' options.

#include <cstddef>
#include <string_view>

namespace platform {

// Whether hex data may go on from the line with this content over the next one: true where
// the line alone cannot tell, false for a line without a backslash or a value line that ends.
bool MayGoOnOverNextLine(std::string_view content);

class HiveBody {
 public:
  static constexpr size_t kEnd = std::string_view::npos;

  explicit HiveBody(std::string_view text) : text_(text) {}

  // One past the LF that ends the line at `pos` (or the end of the text).
  size_t LineEnd(size_t pos) const;
  // The start of the line holding the byte at `pos`.
  size_t LineStart(size_t pos) const;
  // The line's content as the loader reads it: no line end, no CR before it.
  std::string_view Content(size_t begin, size_t end) const;
  // The same without the white space the loader skips at its start.
  std::string_view Trimmed(size_t begin, size_t end) const;

  // The start of the first line in [pos, end) whose first byte after white space is `c`;
  // `from` is where the body (and so the first line) starts.
  size_t FindLineStarting(char c, size_t from, size_t pos, size_t end) const;

  // Whether the line at `line` is read as more hex data of a value before it, in a body
  // that starts at `from` (the line after a key line).
  bool IsContinuation(size_t line, size_t from) const;

  // Whether the text ends inside hex data that wants another line, in a body that starts
  // at `from`.
  bool EndsInsideValue(size_t from) const;

 private:
  bool HasBackslash(size_t begin, size_t end) const;
  size_t StartOfBackslashRun(size_t line, size_t from) const;

  std::string_view text_;
};

}  // namespace platform
