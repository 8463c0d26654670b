#include "platform/hive/Escaping.h"

#include <cstdio>

#include "platform/HexDigits.h"

namespace platform {

namespace {

bool IsOctalDigit(unsigned char c) {
  return c >= '0' && c <= '7';
}

// The C escape letter of a control unit, or 0 when it is written in octal.
char ControlEscape(char16_t unit) {
  switch (unit) {
    case 7:
      return 'a';
    case 8:
      return 'b';
    case 9:
      return 't';
    case 10:
      return 'n';
    case 11:
      return 'v';
    case 12:
      return 'f';
    case 13:
      return 'r';
    case 27:
      return 'e';
    default:
      return 0;
  }
}

// Bytes that follow a UTF-8 lead byte, as Wine's loader counts them: overlong leads
// (C0, C1) and leads past U+10FFFF (F5 and up) start nothing and are dropped.
int Utf8Followers(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}
  // The byte at `i`, or NUL past the end: the loader sees a C string.
  unsigned char At(size_t i) const {
    return i < text_.size() ? static_cast<unsigned char>(text_[i]) : 0;
  }

 private:
  std::string_view text_;
};

// Decodes one UTF-8 sequence starting at `pos` as Wine's loader does. A broken sequence
// is dropped along with the continuation bytes read so far; the byte that broke it is
// read again as the start of the next character. Encoded surrogates are kept.
size_t DecodeUtf8(const Reader& in, size_t pos, char16_t*& out) {
  const unsigned char lead = in.At(pos++);
  const int followers = Utf8Followers(lead);
  if (followers == 0) return pos;
  static constexpr unsigned char kLeadMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
  static constexpr char32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  char32_t cp = lead & kLeadMask[followers];
  for (int k = 0; k < followers; ++k) {
    const unsigned char bits = in.At(pos) ^ 0x80;
    if (bits >= 0x40) return pos;
    cp = (cp << 6) | bits;
    ++pos;
  }
  if (cp < kMinimum[followers] || cp > 0x10FFFF) return pos;
  if (cp <= 0xFFFF) {
    *out++ = static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 | (cp >> 10));
    *out++ = static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
  }
  return pos;
}

}  // namespace

void AppendHiveEscaped(std::string& out, std::u16string_view units, char delimiter1,
                       char delimiter2) {
  char buffer[16];
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    const bool hasNext = i + 1 < units.size();
    const char16_t next = hasNext ? units[i + 1] : 0;
    if (unit > 0x7F) {
      // A hex digit after the escape would be read as part of it, so pad to four digits.
      const bool pad = hasNext && next < 0x80 && IsHexDigit(static_cast<unsigned char>(next));
      const int n = std::snprintf(buffer, sizeof buffer, pad ? "\\x%04x" : "\\x%x",
                                  static_cast<unsigned>(unit));
      out.append(buffer, static_cast<size_t>(n));
    } else if (unit < 0x20) {
      if (const char letter = ControlEscape(unit)) {
        out += '\\';
        out += letter;
      } else {
        const bool pad = hasNext && next < 0x80 && IsOctalDigit(static_cast<unsigned char>(next));
        const int n = std::snprintf(buffer, sizeof buffer, pad ? "\\%03o" : "\\%o",
                                    static_cast<unsigned>(unit));
        out.append(buffer, static_cast<size_t>(n));
      }
    } else {
      const char c = static_cast<char>(unit);
      if (c == '\\' || c == delimiter1 || c == delimiter2) out += '\\';
      out += c;
    }
  }
}

namespace {

// Finding the end of a string without decoding it: escapes and delimiters are ASCII, and
// neither escapes nor UTF-8 sequences can swallow a backslash or a delimiter, so only
// "backslash, any byte" pairs need care.
size_t SkipHiveEscaped(std::string_view text, char delimiter) {
  for (size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == delimiter) return pos + 1;
    if (c == '\0') break;
    if (c == '\\') {
      if (pos + 1 >= text.size() || text[pos + 1] == '\0') break;
      ++pos;
    }
  }
  return std::string_view::npos;
}

}  // namespace

size_t ParseHiveEscaped(std::string_view text, char delimiter, std::u16string* out) {
  if (out == nullptr) return SkipHiveEscaped(text, delimiter);
  // Every unit takes at least one byte of text, so the units fit in text.size().
  const size_t base = out->size();
  out->resize(base + text.size());
  char16_t* const start = out->data() + base;
  char16_t* w = start;
  const Reader in(text);
  const auto end = static_cast<unsigned char>(delimiter);
  size_t pos = 0;
  for (;;) {
    unsigned char c = in.At(pos);
    // Most text is plain ASCII.
    while (c != 0 && c != end && c != '\\' && c < 0x80) {
      *w++ = c;
      c = in.At(++pos);
    }
    if (c == 0 || c == end) break;
    if (c == '\\') {
      c = in.At(++pos);
      if (c == 0) break;
      unsigned unit = 0;
      switch (c) {
        case 'a':
          *w++ = u'\a', ++pos;
          continue;
        case 'b':
          *w++ = u'\b', ++pos;
          continue;
        case 'e':
          *w++ = 0x1B, ++pos;
          continue;
        case 'f':
          *w++ = u'\f', ++pos;
          continue;
        case 'n':
          *w++ = u'\n', ++pos;
          continue;
        case 'r':
          *w++ = u'\r', ++pos;
          continue;
        case 't':
          *w++ = u'\t', ++pos;
          continue;
        case 'v':
          *w++ = u'\v', ++pos;
          continue;
        case 'x':
          ++pos;
          if (!IsHexDigit(in.At(pos))) {
            *w++ = u'x';  // "\x" without a digit is a plain x
            continue;
          }
          for (int k = 0; k < 4 && IsHexDigit(in.At(pos)); ++k)
            unit = unit * 16 + HexDigitValue(in.At(pos++));
          *w++ = static_cast<char16_t>(unit);
          continue;
        default:
          if (IsOctalDigit(c)) {
            for (int k = 0; k < 3 && IsOctalDigit(in.At(pos)); ++k)
              unit = unit * 8 + (in.At(pos++) - '0');
            *w++ = static_cast<char16_t>(unit);
            continue;
          }
          break;  // any other escaped character stands for itself
      }
    }
    if (c < 0x80) {
      *w++ = c;
      ++pos;
    } else {
      pos = DecodeUtf8(in, pos, w);
    }
  }
  out->resize(base + static_cast<size_t>(w - start));
  if (in.At(pos) == 0) return std::string_view::npos;
  return pos + 1;
}

}  // namespace platform
