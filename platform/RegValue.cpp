#include "platform/RegValue.h"

#include "platform/Unicode.h"

namespace platform {

RegValue RegValue::String(std::string name, std::string_view text, uint32_t type) {
  RegValue value;
  value.name = std::move(name);
  value.type = type;
  const std::u16string units = Utf8ToUtf16(text);
  value.data.reserve((units.size() + 1) * 2);
  for (char16_t unit : units) {
    value.data += static_cast<char>(unit & 0xFF);
    value.data += static_cast<char>(unit >> 8);
  }
  value.data.append(2, '\0');  // Windows keeps the terminating NUL with the data
  return value;
}

RegValue RegValue::Dword(std::string name, uint32_t number) {
  RegValue value;
  value.name = std::move(name);
  value.type = REG_DWORD;
  for (int shift = 0; shift < 32; shift += 8)
    value.data += static_cast<char>((number >> shift) & 0xFF);
  return value;
}

std::optional<std::string> RegValue::AsString() const {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  if (data.size() % 2 != 0) return std::nullopt;
  std::u16string units;
  units.reserve(data.size() / 2);
  for (size_t i = 0; i < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                            (static_cast<unsigned char>(data[i + 1]) << 8));
    if (unit == 0) break;
    units += unit;
  }
  return Utf16ToUtf8(units);
}

}  // namespace platform
