#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Wine's escaping of UTF-16 code units in hive files (names, string data, key paths,
// classes), in both directions. The file itself is bytes: ASCII as written by Wine, or
// raw UTF-8 where a person edited it.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Appends `units` as Wine's server writes them: backslash and the two delimiters get a
// backslash, controls become C or octal escapes, units above 0x7f become \x escapes
// (padded to four digits before a hex digit), everything else stays raw.
void AppendHiveEscaped(std::string& out, std::u16string_view units, char delimiter1,
                       char delimiter2);

// Reads an escaped string the way Wine's loader does, up to the first unescaped
// `delimiter`. `text` runs to the end of the line; a NUL byte ends it too. Decoded units
// are appended to `out` when it is given. Returns the bytes read including the delimiter,
// or npos when there is no delimiter (the line is malformed).
size_t ParseHiveEscaped(std::string_view text, char delimiter, std::u16string* out);

}  // namespace platform
