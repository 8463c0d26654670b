#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// One value of a hive file: reading a value line as Wine's loader reads it, and writing
// one as Wine's server writes it.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/hive/LineWalking.h"

namespace platform {

struct ParsedValue {
  enum class Outcome {
    Ok,
    MalformedData,  // the name was read; Wine keeps the value as an empty REG_NONE
    MalformedName,  // nothing is created
  };
  Outcome outcome = Outcome::Ok;
  std::u16string name;
  uint32_t type = 0;
  std::string data;         // the bytes as Windows holds them
  bool unfinished = false;  // hex data still going on where the text ends
};

// Reads the value whose line content is `content` (starting at its '"' or '@'). Hex data
// continued with a trailing backslash takes further lines from `more`. With `decode`
// false only the lines the value spans are consumed; name and data stay empty.
ParsedValue ParseValueLine(std::string_view content, HiveLineCursor& more, bool decode);

// Appends the value's line (or lines, for long hex data) as Wine's server writes it.
void AppendValueLine(std::string& out, std::u16string_view name, uint32_t type,
                     std::string_view data);

}  // namespace platform
