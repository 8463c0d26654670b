#include "platform/hive/Slicing.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/hive/HiveBody.h"
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

// Reads the key line "[A\\\\B\\\\C] time" from `from` (just after its '[', or where a name
// ends) into its names, when `path` is given; false for anything but plain ASCII names
// separated by "\\\\" and closed by ']'. Empty names are skipped, as the loader skips them.
bool ReadPlainKeyPath(std::string_view keyLine, size_t from, std::vector<std::string_view>* path) {
  size_t start = from;
  for (size_t pos = NextKeyPathSpecial(keyLine, from); pos < keyLine.size();
       pos = NextKeyPathSpecial(keyLine, pos)) {
    const char c = keyLine[pos];
    if (c != ']' && c != '\\') return false;  // NUL, or a byte that is not ASCII
    if (path != nullptr && pos > start) path->push_back(keyLine.substr(start, pos - start));
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
  path_.clear();
  if (!ReadPlainKeyPath(Trimmed(LineContent(line)), 1, &path_)) return false;
  size_t decidedAt = 0;
  const Keep keep = Decide(decidedAt);
  inHeader_ = false;
  keeping_ = keep != Keep::No;
  onTheWay_ = keep == Keep::OnTheWay;
  if (onTheWay_) {
    dropPrefix_.clear();
  } else {
    const std::string_view name = path_[decidedAt];
    dropPrefix_.assign(line.data(), static_cast<size_t>(name.data() + name.size() - line.data()));
  }
  if (keeping_) {
    Append(blank_);
    Append(line);
  }
  blank_.clear();
  lastLine_.clear();
  return true;
}

HiveSlicer::Keep HiveSlicer::Decide(size_t& decidedAt) {
  size_t at = 0;
  for (decidedAt = 0; decidedAt < path_.size(); ++decidedAt) {
    if (steps_[at].wanted) return Keep::OnTheWay;  // below a wanted key
    const std::string_view name = path_[decidedAt];
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

size_t HiveSlicer::FeedLines(std::string_view text) {
  size_t pos = 0;
  while (!failed_ && pos < text.size()) {
    if (!keeping_) {
      pos = PassDroppedLines(text, pos);
      if (pos >= text.size()) break;
    }
    const void* newline = std::memchr(text.data() + pos, '\n', text.size() - pos);
    if (newline == nullptr) break;
    const size_t end = static_cast<size_t>(static_cast<const char*>(newline) - text.data()) + 1;
    Feed(text.substr(pos, end - pos));
    pos = end;
  }
  return pos;
}

// Outside the slice a line changes nothing but whether the last line was blank, until a key
// line comes; and a key line below the child that kept the last one off is off as well. So
// only the next key line is looked for ('[' as the first byte that is not white space), and
// those of them that are off go by without being read into names.
size_t HiveSlicer::PassDroppedLines(std::string_view text, size_t pos) {
  for (size_t from = pos;;) {
    const auto* bracket =
        static_cast<const char*>(std::memchr(text.data() + from, '[', text.size() - from));
    if (bracket == nullptr) {
      // `pos` starts a line, so no line end before it is the last.
      const size_t lastNewline = text.rfind('\n');
      const size_t end = lastNewline == std::string_view::npos ? pos : lastNewline + 1;
      NoteLastPassedLine(text, pos, end);
      return end;
    }
    const size_t at = static_cast<size_t>(bracket - text.data());
    size_t line = at;
    while (line > pos && text[line - 1] != '\n' &&
           IsHiveSpace(static_cast<unsigned char>(text[line - 1])))
      --line;
    if (line > pos && text[line - 1] != '\n') {
      from = at + 1;  // a '[' inside a line
      continue;
    }
    NoteLastPassedLine(text, pos, line);
    const size_t end = DroppedKeyLineEnd(text, line);
    if (end == 0) return line;  // fed as a line of its own
    blank_.clear();
    pos = from = end;
  }
}

// Where the key line at `line` ends, when it is plain, follows a blank line and starts with
// the text that kept the last key line off; 0 otherwise.
size_t HiveSlicer::DroppedKeyLineEnd(std::string_view text, size_t line) const {
  if (dropPrefix_.empty() || blank_.empty()) return 0;
  const std::string_view rest = text.substr(line);
  if (rest.substr(0, dropPrefix_.size()) != dropPrefix_) return 0;
  const size_t newline = rest.find('\n', dropPrefix_.size());
  if (newline == std::string_view::npos) return 0;  // the line goes on in the next piece
  const std::string_view content = LineContent(rest.substr(0, newline + 1));
  // The prefix must end where a name ends, and the rest of the path be plain.
  const size_t pos = dropPrefix_.size();
  if (pos >= content.size() || (content[pos] != ']' && content[pos] != '\\')) return 0;
  return ReadPlainKeyPath(content, pos, nullptr) ? line + newline + 1 : 0;
}

// What Feed would note of the last of the lines from `begin`, which starts a line, to `end`:
// whether it is blank.
void HiveSlicer::NoteLastPassedLine(std::string_view text, size_t begin, size_t end) {
  if (end == begin) return;
  const size_t previousNewline = end >= 2 ? text.rfind('\n', end - 2) : std::string_view::npos;
  const size_t start = previousNewline == std::string_view::npos ? begin : previousNewline + 1;
  const std::string_view last = text.substr(start, end - start);
  blank_.clear();
  if (LineContent(last).empty()) blank_.assign(last);
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
  const size_t fed = slicer.FeedLines(text);
  if (!slicer.Failed() && fed < text.size()) slicer.Feed(text.substr(fed));
  return slicer.Finish();
}

int ReadHiveSlice(int fd, const HiveKeyPaths& keys, std::optional<std::string>& slice) {
  HiveSlicer slicer(keys);
  std::string carried;  // a line the last read ended inside
  char buffer[1 << 16];
  while (!slicer.Failed()) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;
    std::string_view chunk(buffer, static_cast<size_t>(got));
    if (!carried.empty()) {
      const size_t newline = chunk.find('\n');
      carried.append(
          chunk.substr(0, newline == std::string_view::npos ? chunk.size() : newline + 1));
      if (newline == std::string_view::npos) continue;
      slicer.Feed(carried);
      carried.clear();
      chunk.remove_prefix(newline + 1);
    }
    carried.assign(chunk.substr(slicer.FeedLines(chunk)));
  }
  if (!slicer.Failed() && !carried.empty()) slicer.Feed(carried);
  slice = slicer.Finish();
  return 0;
}

}  // namespace platform
