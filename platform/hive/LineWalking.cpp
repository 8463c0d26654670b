#include "platform/hive/LineWalking.h"

#include <cstring>
#include <limits>

namespace platform {

std::string_view CutAtNul(std::string_view text) {
  const size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

namespace {

int DigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

unsigned long long ParseUnsignedLong(std::string_view text, int base, size_t& used) {
  using Limits = std::numeric_limits<unsigned long>;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  size_t pos = SkipHiveSpace(text, 0);
  bool negative = false;
  if (pos < size && (bytes[pos] == '+' || bytes[pos] == '-')) negative = bytes[pos++] == '-';
  if (base == 16 && pos + 2 < size && bytes[pos] == '0' && (bytes[pos + 1] | 0x20) == 'x' &&
      IsHexDigit(bytes[pos + 2])) {
    pos += 2;
  }
  const size_t digits = pos;
  const auto radix = static_cast<unsigned long>(base);
  unsigned long value = 0;
  bool overflow = false;
  for (; pos < size; ++pos) {
    const auto d = static_cast<unsigned long>(DigitValue(bytes[pos]));
    if (d >= radix) break;
    overflow |= __builtin_mul_overflow(value, radix, &value);
    overflow |= __builtin_add_overflow(value, d, &value);
  }
  if (pos == digits) {
    used = 0;
    return 0;
  }
  used = pos;
  if (overflow) return Limits::max();
  return negative ? 0 - value : value;
}

}  // namespace platform
