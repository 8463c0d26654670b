#include "installer/ControlBytes.h"

#include "package/UnitVersion.h"
#include "platform/HexDigits.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ControlBytes.cpp 1.0");

}  // namespace

std::string EscapeControlBytes(std::string_view Text) {
  std::string escaped;
  escaped.reserve(Text.size());
  for (const char c : Text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      escaped += "\\x";
      platform::AppendHexByte(escaped, byte);
    } else {
      escaped += c;
    }
  }
  return escaped;
}
