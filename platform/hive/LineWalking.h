#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Walking hive text line by line the way Wine's loader reads it: lines end at LF, and one
// CR before the LF is not part of the line.

#include <cstddef>
#include <cstring>
#include <string_view>

#include "platform/HexDigits.h"

namespace platform {

struct HiveLine {
  size_t begin = 0;          // first byte of the line
  size_t end = 0;            // one past its LF (or the end of the text)
  std::string_view content;  // without the LF and one CR before it
};

class HiveLineCursor {
 public:
  HiveLineCursor(std::string_view text, size_t begin, size_t end)
      : text_(text.substr(0, end)), pos_(begin) {}

  // Where the next line starts.
  size_t position() const { return pos_; }
  bool Next(HiveLine& line) {
    if (pos_ >= text_.size()) return false;
    line.begin = pos_;
    const char* start = text_.data() + pos_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', text_.size() - pos_));
    size_t contentEnd = newline ? static_cast<size_t>(newline - text_.data()) : text_.size();
    line.end = newline ? contentEnd + 1 : contentEnd;
    if (newline && contentEnd > pos_ && text_[contentEnd - 1] == '\r') --contentEnd;
    line.content = text_.substr(pos_, contentEnd - pos_);
    pos_ = line.end;
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_;
};

// A line (with its LF, or the text's last line without one) as the loader reads it: no LF, and
// no CR before it.
inline std::string_view LineContent(std::string_view line) {
  if (!line.empty() && line.back() == '\n') {
    line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  }
  return line;
}

// Byte classes of the C library in the "C" locale, as the loader uses them (its hex digits
// are platform/HexDigits.h).
constexpr bool IsHiveSpace(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Index of the first byte that is not white space; stops at a NUL byte as the loader does.
inline size_t SkipHiveSpace(std::string_view text, size_t pos) {
  while (pos < text.size() && IsHiveSpace(static_cast<unsigned char>(text[pos])))
    ++pos;
  return pos;
}

// The loader compares whole lines as C strings: a NUL byte ends the text.
std::string_view CutAtNul(std::string_view text);

// strtoul() over the line as the loader calls it: leading white space, a sign, "0x" for
// base 16, digits; the unsigned long result wraps or saturates as the C library's does.
// Returns the value and sets `used` to the bytes read (0 when there were no digits).
unsigned long long ParseUnsignedLong(std::string_view text, int base, size_t& used);

}  // namespace platform
