#include "platform/hive/KeyLineReading.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/hive/Escaping.h"
#include "platform/hive/KeyText.h"
#include "platform/hive/LineWalking.h"

namespace platform {

namespace {

// Bytes a path component cannot simply go on over: the delimiters, NUL, and what is not plain
// ASCII.
constexpr auto kPathSpecial = [] {
  std::array<bool, 256> special{};
  for (int c = 0x80; c < 256; ++c)
    special[c] = true;
  special[0] = special[']'] = special['\\'] = true;
  return special;
}();

}  // namespace

// Key paths are mostly plain ASCII, so the text is looked at a word at a time: a word's flagged
// bytes are its NUL bytes, its bytes with the high bit set, and the bytes that equal ']' once their
// low bit is set (']' and '\\', which differ only in that bit). The lowest flag is exact: a false
// one can only follow a true one within the word.
size_t NextKeyPathSpecial(std::string_view text, size_t pos) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighs = 0x8080808080808080u;
    for (; pos + 8 <= text.size(); pos += 8) {
      uint64_t word = 0;
      std::memcpy(&word, text.data() + pos, 8);
      const uint64_t delimiter = (word | kOnes) ^ (kOnes * ']');
      const uint64_t flags =
          (((delimiter - kOnes) & ~delimiter) | ((word - kOnes) & ~word) | word) & kHighs;
      if (flags != 0) return pos + static_cast<size_t>(std::countr_zero(flags)) / 8;
    }
  }
  while (pos < text.size() && !kPathSpecial[static_cast<unsigned char>(text[pos])])
    ++pos;
  return pos;
}

// Only "\\\\" separates components here: a backslash always takes the byte after it, and
// neither escapes nor UTF-8 sequences can swallow a '\\' or a ']', so these are exactly the
// places where Wine's decoder meets them.
bool FindKeyPathComponents(std::string_view path, size_t from, std::vector<PathSpan>& spans,
                           size_t& close) {
  spans.clear();
  PathSpan span{from, from, true};
  for (size_t pos = NextKeyPathSpecial(path, from); pos < path.size();) {
    const auto c = static_cast<unsigned char>(path[pos]);
    size_t next = pos + 1;
    if (c == ']' || (c == '\\' && pos + 1 < path.size() && path[pos + 1] == '\\')) {
      span.end = pos;
      if (span.end > span.begin) spans.push_back(span);
      if (c == ']') {
        close = pos;
        return true;
      }
      span = {pos + 2, pos + 2, true};
      next = pos + 2;
    } else if (c == '\\') {
      if (pos + 1 >= path.size() || path[pos + 1] == '\0') return false;
      span.plain = false;
      next = pos + 2;  // the escaped byte, whatever it is
    } else if (c == '\0') {
      return false;
    } else {
      span.plain = false;  // not ASCII
    }
    pos = NextKeyPathSpecial(path, next);
  }
  return false;
}

KeyNameReading ReadKeyName(std::string_view path, const PathSpan& span, std::u16string& name) {
  const std::string_view text = path.substr(span.begin, span.end - span.begin);
  name.clear();
  if (span.plain) {
    // ASCII without escapes reads as it stands.
    name.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i)
      name[i] = static_cast<char16_t>(text[i]);
    return KeyNameReading::Name;
  }
  ParseHiveEscaped(text, ']', &name);
  // An escaped backslash other than "\\\\" (such as \x5c) separates components too, and a
  // path starting with a NUL unit is special.
  if (name.find(u'\\') != std::u16string::npos ||
      (span.begin == 0 && !name.empty() && name[0] == 0))
    return KeyNameReading::Unusable;
  return name.empty() ? KeyNameReading::NoName : KeyNameReading::Name;
}

// Compared a word at a time.
size_t SharedPrefixLength(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t x = 0;
    uint64_t y = 0;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < n && a[i] == b[i])
    ++i;
  return i;
}

std::optional<KeyId> HiveKeyLineReader::Read(std::string_view content) {
  KeyId key = Hive::kRoot;
  size_t close = 0;
  if (!ReadReusing(content.substr(1), key, close)) return ReadPlain(content);
  return key;
}

bool HiveKeyLineReader::ReadReusing(std::string_view path, KeyId& key, size_t& close) {
  const size_t reused = SameComponents(path, SharedPrefixLength(path, previous_), ends_.size(),
                                       [this](size_t i) { return ends_[i]; });
  const size_t from = reused == 0 ? 0 : ends_[reused - 1];
  if (!FindKeyPathComponents(path, from, spans_, close)) return false;

  key = reused == 0 ? Hive::kRoot : chain_[reused - 1];
  ends_.resize(reused);
  chain_.resize(reused);
  for (const PathSpan& span : spans_) {
    const KeyNameReading reading = ReadKeyName(path, span, name_);
    if (reading == KeyNameReading::Unusable) {
      Forget();
      return false;
    }
    if (reading == KeyNameReading::NoName) continue;
    key = doc_.FindOrAddChild(key, name_, 0);
    ends_.push_back(span.end);
    chain_.push_back(key);
  }
  previous_ = path.substr(0, close + 1);
  return true;
}

std::optional<KeyId> HiveKeyLineReader::ReadPlain(std::string_view content) {
  Forget();
  if (!ParseKeyLine(content, path_)) return std::nullopt;
  KeyId key = Hive::kRoot;
  // Wine's loader reads a path whose first unit is NUL as the branch root itself.
  if (!path_.empty() && path_[0] == 0) return key;
  for (std::u16string_view component : SplitKeyPath(path_))
    key = doc_.FindOrAddChild(key, component, 0);
  return key;
}

void HiveKeyLineReader::Forget() {
  previous_ = {};
  ends_.clear();
  chain_.clear();
}

}  // namespace platform
