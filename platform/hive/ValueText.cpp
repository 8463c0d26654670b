#include "platform/hive/ValueText.h"

#include <cstdio>

#include "platform/RegValue.h"
#include "platform/hive/Escaping.h"

namespace platform {

namespace {

unsigned char At(std::string_view text, size_t i) {
  return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// How the data after "=" is written, and the type it gives.
struct DataTag {
  enum class Form { String, Dword, Hex, Bad };
  Form form = Form::Bad;
  uint32_t type = REG_NONE;
  size_t length = 0;  // bytes of the tag, including a string's opening quote
};

DataTag ReadDataTag(std::string_view text) {
  using Form = DataTag::Form;
  switch (At(text, 0)) {
    case '"':
      return {Form::String, REG_SZ, 1};
    case 's':
      if (StartsWith(text, "str:\"")) return {Form::String, REG_SZ, 5};
      if (StartsWith(text, "str(2):\"")) return {Form::String, REG_EXPAND_SZ, 8};
      if (StartsWith(text, "str(7):\"")) return {Form::String, REG_MULTI_SZ, 8};
      return {};
    case 'd':
      if (StartsWith(text, "dword:")) return {Form::Dword, REG_DWORD, 6};
      return {};
    case 'h':
      if (StartsWith(text, "hex:")) return {Form::Hex, REG_BINARY, 4};
      if (StartsWith(text, "hex(")) {
        // The loader takes any strtoul() result here, even none at all: "hex():" is type 0.
        size_t used = 0;
        const auto type = static_cast<uint32_t>(ParseUnsignedLong(text.substr(4), 16, used));
        const size_t close = 4 + used;
        if (text.substr(close, 2) != "):") return {};
        return {Form::Hex, type, close + 2};
      }
      return {};
    default:
      return {};
  }
}

void AppendUnits(std::string& data, std::u16string_view units) {
  for (char16_t unit : units) {
    data += static_cast<char>(unit & 0xFF);
    data += static_cast<char>(unit >> 8);
  }
}

// One run of comma-separated hex bytes, as the loader's parse_hex() reads it: each byte
// is a strtoul() in base 16 that must stay below 0x100; white space and one comma may
// follow. Returns false on a byte above 0xff. Bytes are appended to `data` when given.
template <bool kDecode>
bool ReadHexBytes(std::string_view text, size_t& pos, std::string* data) {
  const size_t size = text.size();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  auto skipSpace = [&] {
    while (pos < size && IsHiveSpace(bytes[pos]))
      ++pos;
  };
  // Wine writes "hh," runs: two digits cannot overflow or carry a "0x" prefix.
  const size_t runStart = pos;
  while (pos + 3 <= size && bytes[pos + 2] == ',' &&
         (kHexDigitValue[bytes[pos]] | kHexDigitValue[bytes[pos + 1]]) < 16) {
    if constexpr (kDecode)
      *data += static_cast<char>(kHexDigitValue[bytes[pos]] * 16 + kHexDigitValue[bytes[pos + 1]]);
    pos += 3;
  }
  if (pos != runStart) skipSpace();  // white space may follow a comma, never lead
  while (IsHexDigit(At(text, pos))) {
    unsigned long long value = 0;
    if (IsHexDigit(At(text, pos + 1)) && !IsHexDigit(At(text, pos + 2))) {
      value = HexDigitValue(bytes[pos]) * 16 + HexDigitValue(bytes[pos + 1]);
      pos += 2;
    } else {
      size_t used = 0;
      value = ParseUnsignedLong(text.substr(pos), 16, used);
      if (value > 0xFF) return false;
      pos += used;
    }
    if constexpr (kDecode) *data += static_cast<char>(value);
    skipSpace();
    if (pos < size && bytes[pos] == ',') ++pos;
    skipSpace();
  }
  return true;
}

// Hex data, continued over lines that end in a backslash (whatever follows it is ignored).
bool ReadHexData(std::string_view text, HiveLineCursor& more, std::string* data, bool& unfinished) {
  size_t pos = 0;
  for (;;) {
    if (!(data ? ReadHexBytes<true>(text, pos, data) : ReadHexBytes<false>(text, pos, data)))
      return false;
    pos = SkipHiveSpace(text, pos);
    const unsigned char c = At(text, pos);
    if (c == 0) return true;
    if (c != '\\') return false;
    HiveLine line;
    if (!more.Next(line)) {
      unfinished = true;
      return false;
    }
    text = line.content;
    pos = SkipHiveSpace(text, 0);
  }
}

}  // namespace

ParsedValue ParseValueLine(std::string_view content, HiveLineCursor& more, bool decode) {
  ParsedValue value;
  std::u16string* name = decode ? &value.name : nullptr;
  size_t pos = 1;
  if (At(content, 0) != '@') {
    const size_t used = ParseHiveEscaped(content.substr(1), '"', name);
    if (used == std::string_view::npos) {
      value.outcome = ParsedValue::Outcome::MalformedName;
      return value;
    }
    pos += used;
  }
  pos = SkipHiveSpace(content, pos);
  if (At(content, pos) != '=') {
    value.outcome = ParsedValue::Outcome::MalformedName;
    return value;
  }
  pos = SkipHiveSpace(content, pos + 1);

  const std::string_view rest = content.substr(pos);
  const DataTag tag = ReadDataTag(rest);
  const std::string_view body = rest.substr(tag.length);
  // Only hex data with a backslash goes on over more lines; when just the extent is
  // wanted, anything else ends with this line.
  if (!decode && (tag.form != DataTag::Form::Hex || body.find('\\') == std::string_view::npos)) {
    return value;
  }
  std::string* data = decode ? &value.data : nullptr;
  bool ok = false;
  switch (tag.form) {
    case DataTag::Form::String: {
      std::u16string units;
      ok = ParseHiveEscaped(body, '"', decode ? &units : nullptr) != std::string_view::npos;
      if (ok && decode) {
        units += u'\0';  // the loader always keeps a terminating NUL
        AppendUnits(value.data, units);
      }
      break;
    }
    case DataTag::Form::Dword: {
      size_t used = 0;
      const auto number = static_cast<uint32_t>(ParseUnsignedLong(body, 16, used));
      for (int shift = 0; decode && shift < 32; shift += 8)
        value.data += static_cast<char>((number >> shift) & 0xFF);
      ok = true;  // the loader does not check: "dword:xyz" is 0
      break;
    }
    case DataTag::Form::Hex:
      ok = ReadHexData(body, more, data, value.unfinished);
      break;
    case DataTag::Form::Bad:
      break;
  }
  if (!ok) {
    value.outcome = ParsedValue::Outcome::MalformedData;
    value.type = REG_NONE;
    value.data.clear();
    return value;
  }
  value.type = tag.type;
  return value;
}

namespace {

bool IsProperString(uint32_t type, std::string_view data) {
  if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return false;
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  return data[data.size() - 1] == 0 && data[data.size() - 2] == 0;
}

std::u16string UnitsOf(std::string_view data) {
  std::u16string units;
  units.reserve(data.size() / 2);
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                   (static_cast<unsigned char>(data[i + 1]) << 8));
  }
  return units;
}

}  // namespace

void AppendValueLine(std::string& out, std::u16string_view name, uint32_t type,
                     std::string_view data) {
  const size_t lineStart = out.size();
  if (name.empty()) {
    out += "@=";
  } else {
    out += '"';
    AppendHiveEscaped(out, name, '"', '"');
    out += "\"=";
  }
  char buffer[32];
  if (IsProperString(type, data)) {
    if (type != REG_SZ) {
      const int n = std::snprintf(buffer, sizeof buffer, "str(%x):", static_cast<unsigned>(type));
      out.append(buffer, static_cast<size_t>(n));
    }
    out += '"';
    const std::u16string units = UnitsOf(data);
    AppendHiveEscaped(out, std::u16string_view(units).substr(0, units.size() - 1), '"', '"');
    out += "\"\n";
    return;
  }
  if (type == REG_DWORD && data.size() == 4) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
      number = (number << 8) | static_cast<unsigned char>(data[i]);
    const int n = std::snprintf(buffer, sizeof buffer, "dword:%08x\n", number);
    out.append(buffer, static_cast<size_t>(n));
    return;
  }
  if (type == REG_BINARY) {
    out += "hex:";
  } else {
    const int n = std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(type));
    out.append(buffer, static_cast<size_t>(n));
  }
  // Wine counts the columns of the line so far and wraps after a comma past column 76.
  size_t count = out.size() - lineStart;
  for (size_t i = 0; i < data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    AppendHexByte(out, byte, HexCase::Lower);
    count += 2;
    if (i + 1 < data.size()) {
      out += ',';
      if (++count > 76) {
        out += "\\\n  ";
        count = 2;
      }
    }
  }
  out += '\n';
}

}  // namespace platform
