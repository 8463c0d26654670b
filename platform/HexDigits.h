#pragma once

// Hex digits as every text format of the program writes and reads them (hive files, form
// descriptions, settings files, quoted command lines): 0-9 and A-F in either case, bytes
// taken as unsigned so that the answer never depends on the locale or on char's sign.

#include <array>
#include <string>

namespace platform {

constexpr bool IsHexDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}
// The value of a hex digit (any other byte gives nonsense).
constexpr unsigned HexDigitValue(unsigned char c) {
  return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}
// For text held in chars, whatever char's sign.
constexpr bool IsHexDigit(char c) {
  return IsHexDigit(static_cast<unsigned char>(c));
}
constexpr unsigned HexDigitValue(char c) {
  return HexDigitValue(static_cast<unsigned char>(c));
}
// The same for every byte, with 16 for those that are not hex digits: one lookup, no branch,
// for the hot loops over hive data.
inline constexpr auto kHexDigitValue = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    table[byte] = static_cast<unsigned char>(IsHexDigit(byte) ? HexDigitValue(byte) : 16);
  }
  return table;
}();

enum class HexCase { Upper, Lower };
// Appends Byte as two hex digits.
inline void AppendHexByte(std::string& out, unsigned char byte, HexCase letters = HexCase::Upper) {
  const char* digits = letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
  out += digits[byte >> 4];
  out += digits[byte & 0xF];
}

}  // namespace platform
