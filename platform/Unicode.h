#pragma once

// UTF-8 <-> UTF-16 conversion and the case folding Windows and Wine use for names.
// Text is UTF-8 everywhere in the program; UTF-16 appears only where a Windows
// format demands it (hive escapes, registry value bytes).

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The length (1 to 4) of the well-formed UTF-8 sequence that starts at text[i]; 0 where the
// bytes are not one (a stray continuation byte, an overlong form, a surrogate, a code point
// beyond U+10FFFF, a sequence cut short) or i is past the end.
size_t Utf8SequenceLength(std::string_view text, size_t i);
bool IsValidUtf8(std::string_view text);

// Invalid UTF-8 bytes are dropped, as Wine's hive loader drops them.
// Code points above U+FFFF become surrogate pairs.
std::u16string Utf8ToUtf16(std::string_view text);

// Lone surrogates become U+FFFD, so the result is always valid UTF-8.
std::string Utf16ToUtf8(std::u16string_view text);

// Appends one code point as UTF-8; the caller keeps it to U+10FFFF and off the surrogates.
void AppendUtf8(std::string& out, char32_t codePoint);

// Simple lower-case mapping of one UTF-16 code unit (Latin, Greek, Cyrillic and
// the other bicameral blocks of the Basic Multilingual Plane).
char16_t FoldCase(char16_t c);

// Case-insensitive three-way comparison in the order Wine keeps registry names
// and compares file names: both sides folded, compared unit by unit over the
// shorter length, the shorter name first on a tie. Returns <0, 0 or >0.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
int CompareNoCase(std::string_view utf8A, std::string_view utf8B);
inline bool EqualNoCase(std::string_view utf8A, std::string_view utf8B) {
  return CompareNoCase(utf8A, utf8B) == 0;
}

}  // namespace platform
