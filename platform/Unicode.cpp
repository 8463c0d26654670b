#include "platform/Unicode.h"

#include <cstdint>

namespace platform {

namespace {

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (cp >> 10));
    out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
  }
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The code point of the sequence at text[i] and its length, or 0 for a malformed one.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  size_t extra = 0;
  char32_t min = 0;
  if ((c & 0xE0) == 0xC0) {
    extra = 1, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3, cp = c & 0x07, min = 0x10000;
  } else {
    return 0;  // a stray continuation byte or a lead byte no sequence has
  }
  if (i + extra >= text.size()) return 0;  // cut short by the end
  for (size_t k = 1; k <= extra; ++k) {
    const auto cc = static_cast<unsigned char>(text[i + k]);
    if (!IsContinuation(cc)) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return extra + 1;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

size_t Utf8SequenceLength(std::string_view text, size_t i) {
  char32_t cp = 0;
  return i < text.size() ? DecodeUtf8(text, i, cp) : 0;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    const size_t length = DecodeUtf8(text, i, cp);
    if (length == 0) {
      ++i;  // malformed: drop the lead byte only, the rest is rescanned
      continue;
    }
    AppendUtf16(out, cp);
    i += length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + 32) : c;
  // Latin-1: À..Þ except ×
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  // Latin Extended-A: pairs (upper even, lower odd), with the shifted runs.
  if (c == 0x130) return u'i';
  if (c >= 0x100 && c <= 0x137) return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
  if (c >= 0x139 && c <= 0x148) return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
  if (c >= 0x14A && c <= 0x177) return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
  // Greek
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return static_cast<char16_t>(c + 37);
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return static_cast<char16_t>(c + 63);
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
  // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x460 && c <= 0x4BF) return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
  // Armenian
  if (c >= 0x531 && c <= 0x556) return static_cast<char16_t>(c + 48);
  // Latin Extended Additional, Greek Extended pairs
  if (c >= 0x1E00 && c <= 0x1EFF) return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
  // Full-width Latin
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 32);
  return c;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t ca = FoldCase(a[i]);
    const char16_t cb = FoldCase(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareNoCase(std::string_view utf8A, std::string_view utf8B) {
  // ASCII fast path: the common case for file and registry names.
  const size_t n = utf8A.size() < utf8B.size() ? utf8A.size() : utf8B.size();
  size_t i = 0;
  for (; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(utf8A[i]);
    const auto cb = static_cast<unsigned char>(utf8B[i]);
    if (ca >= 0x80 || cb >= 0x80) break;
    const char16_t fa = FoldCase(ca);
    const char16_t fb = FoldCase(cb);
    if (fa != fb) return fa < fb ? -1 : 1;
  }
  if (i == n) {
    if (utf8A.size() == utf8B.size()) return 0;
    return utf8A.size() < utf8B.size() ? -1 : 1;
  }
  return CompareNoCase(Utf8ToUtf16(utf8A.substr(i)), Utf8ToUtf16(utf8B.substr(i)));
}

}  // namespace platform
