#include "platform/hive/Slicing.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/hive/BlockLines.h"
#include "platform/hive/KeyLineReading.h"
#include "platform/hive/LineWalking.h"

namespace platform {

namespace {

bool IsPlainName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || byte >= 0x80 || c == '\\') return false;
  }
  return true;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Names compare as Wine compares them; for plain ASCII that is without case. `lower` is
// in lower case already.
bool SameName(std::string_view name, std::string_view lower) {
  if (name.size() != lower.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (Lower(name[i]) != lower[i]) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view content) {
  return content.substr(SkipHiveSpace(content, 0));
}

// Reads "[A\\\\B\\\\C] time" into its names; false for anything but plain ASCII names
// separated by "\\\\" and closed by ']'. Empty names are skipped, as the loader skips them.
bool ReadPlainKeyPath(std::string_view keyLine, std::vector<std::string_view>& path) {
  path.clear();
  size_t start = 1;
  for (size_t pos = NextKeyPathSpecial(keyLine, 1); pos < keyLine.size();
       pos = NextKeyPathSpecial(keyLine, pos)) {
    const char c = keyLine[pos];
    if (c != ']' && c != '\\') return false;  // NUL, or a byte that is not ASCII
    if (pos > start) path.push_back(keyLine.substr(start, pos - start));
    if (c == ']') return true;
    if (pos + 1 >= keyLine.size() || keyLine[pos + 1] != '\\') return false;  // an escape
    pos += 2;
    start = pos;
  }
  return false;  // never closed
}

}  // namespace

HiveSlicer::HiveSlicer(HiveKeyPaths keys) {
  for (const std::vector<std::string>& key : keys) {
    size_t at = 0;
    for (const std::string& name : key) {
      if (!IsPlainName(name)) failed_ = true;  // compared without case only when plain
      std::string lower;
      for (const char c : name)
        lower += Lower(c);
      size_t found = 0;
      for (const size_t next : steps_[at].next) {
        if (steps_[next].name == lower) found = next;
      }
      if (found == 0) {
        found = steps_.size();
        steps_[at].next.push_back(found);
        steps_.emplace_back().name = std::move(lower);
      }
      at = found;
    }
    steps_[at].wanted = true;
  }
}

bool HiveSlicer::Feed(std::string_view line) {
  if (failed_) return false;
  const std::string_view content = LineContent(line);
  const std::string_view trimmed = Trimmed(content);
  if (!trimmed.empty() && trimmed[0] == '[') {
    failed_ = !KeyLine(line);
    return !failed_;
  }
  if (keeping_) {
    Append(blank_);
    if (!content.empty() && !inHeader_) {
      Append(line);
      lastLine_.assign(content);
      // A link sends the lookup elsewhere, where the slice has nothing.
      if (onTheWay_ && trimmed.substr(0, 5) == "#link") failed_ = true;
    } else if (!content.empty()) {
      Append(line);
    }
  }
  blank_.clear();
  if (content.empty()) blank_.assign(line);
  return !failed_;
}

bool HiveSlicer::KeyLine(std::string_view line) {
  if (!inHeader_) {
    // A key line right after another line could be more hex data of a value before it; Wine
    // writes a blank line before every key.
    if (blank_.empty()) return false;
    // A block that ends inside hex data would take the blank line as more data.
    if (keeping_ && MayGoOnOverNextLine(lastLine_)) return false;
  }
  if (!ReadPlainKeyPath(Trimmed(LineContent(line)), path_)) return false;
  const Keep keep = Decide();
  inHeader_ = false;
  keeping_ = keep != Keep::No;
  onTheWay_ = keep == Keep::OnTheWay;
  if (keeping_) {
    Append(blank_);
    Append(line);
  }
  blank_.clear();
  lastLine_.clear();
  return true;
}

HiveSlicer::Keep HiveSlicer::Decide() {
  size_t at = 0;
  for (const std::string_view name : path_) {
    if (steps_[at].wanted) return Keep::OnTheWay;  // below a wanted key
    size_t next = 0;
    for (const size_t candidate : steps_[at].next) {
      if (SameName(name, steps_[candidate].name)) next = candidate;
    }
    if (next == 0) {
      // Off the way: kept when it is the first block met below that child.
      std::string& last = steps_[at].lastOtherChild;
      if (SameName(name, last)) return Keep::No;
      last.clear();
      for (const char c : name)
        last += Lower(c);
      return Keep::OtherChild;
    }
    at = next;
  }
  return Keep::OnTheWay;  // a wanted key, or one on the way to it
}

void HiveSlicer::Append(std::string_view line) {
  out_.append(line);
}

std::optional<std::string> HiveSlicer::Finish() {
  if (failed_) return std::nullopt;
  if (keeping_) Append(blank_);
  blank_.clear();
  return std::move(out_);
}

std::optional<std::string> SliceHiveText(std::string_view text, const HiveKeyPaths& keys) {
  HiveSlicer slicer(keys);
  for (size_t pos = 0; pos < text.size();) {
    const size_t newline = text.find('\n', pos);
    const size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    if (!slicer.Feed(text.substr(pos, end - pos))) break;
    pos = end;
  }
  return slicer.Finish();
}

int ReadHiveSlice(int fd, const HiveKeyPaths& keys, std::optional<std::string>& slice) {
  HiveSlicer slicer(keys);
  std::string carried;  // a line the last read ended inside
  char buffer[1 << 16];
  bool going = true;
  while (going) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;
    std::string_view chunk(buffer, static_cast<size_t>(got));
    while (going && !chunk.empty()) {
      const void* newline = std::memchr(chunk.data(), '\n', chunk.size());
      if (newline == nullptr) {
        carried.append(chunk);
        break;
      }
      const size_t end = static_cast<size_t>(static_cast<const char*>(newline) - chunk.data()) + 1;
      if (carried.empty()) {
        going = slicer.Feed(chunk.substr(0, end));
      } else {
        carried.append(chunk.substr(0, end));
        going = slicer.Feed(carried);
        carried.clear();
      }
      chunk.remove_prefix(end);
    }
  }
  if (going && !carried.empty()) slicer.Feed(carried);
  slice = slicer.Finish();
  return 0;
}

}  // namespace platform
