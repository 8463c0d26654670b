#pragma once

// One registry value as Windows holds it: a name, a type number and raw bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Value types, numbered as Windows numbers them.
enum RegType : uint32_t {
  REG_NONE = 0,
  REG_SZ = 1,
  REG_EXPAND_SZ = 2,
  REG_BINARY = 3,
  REG_DWORD = 4,
  REG_DWORD_BIG_ENDIAN = 5,
  REG_LINK = 6,
  REG_MULTI_SZ = 7,
  REG_QWORD = 11,
};

struct RegValue {
  std::string name;  // UTF-8; empty for the default value ("@" in a hive file)
  uint32_t type = REG_NONE;
  // The bytes as Windows stores them: strings are UTF-16LE with their final NUL,
  // a DWORD is 4 bytes little-endian, and so on.
  std::string data;

  // A REG_SZ (or REG_EXPAND_SZ) value holding `text`, NUL-terminated as Windows stores it.
  static RegValue String(std::string name, std::string_view text, uint32_t type = REG_SZ);
  static RegValue Dword(std::string name, uint32_t number);

  // The text of a REG_SZ or REG_EXPAND_SZ value, up to its first NUL; nothing for other
  // types or for data that is not whole UTF-16 code units.
  std::optional<std::string> AsString() const;

  bool SameData(const RegValue& other) const { return type == other.type && data == other.data; }
};

}  // namespace platform
