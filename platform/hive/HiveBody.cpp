#include "platform/hive/HiveBody.h"

#include <cstring>

#include "platform/hive/LineWalking.h"
#include "platform/hive/ValueText.h"

namespace platform {

bool MayGoOnOverNextLine(std::string_view content) {
  if (content.find('\\') == std::string_view::npos) return false;
  const std::string_view trimmed = content.substr(SkipHiveSpace(content, 0));
  if (trimmed.empty() || (trimmed[0] != '"' && trimmed[0] != '@')) return true;
  // Most value lines have a name without escapes, which ends at the next quote, and data that
  // is not hex, which never goes on: such a line needs no parsing.
  const size_t close = trimmed[0] == '"' ? trimmed.find('"', 1) : std::string_view::npos;
  if (close != std::string_view::npos &&
      trimmed.substr(1, close - 1).find('\\') == std::string_view::npos) {
    const size_t equals = SkipHiveSpace(trimmed, close + 1);
    if (equals >= trimmed.size() || trimmed[equals] != '=') return false;
    const size_t data = SkipHiveSpace(trimmed, equals + 1);
    if (data >= trimmed.size() || trimmed[data] != 'h') return false;
  }
  HiveLineCursor nothingMore({}, 0, 0);
  return ParseValueLine(trimmed, nothingMore, false).unfinished;
}

size_t HiveBody::LineEnd(size_t pos) const {
  const void* newline = std::memchr(text_.data() + pos, '\n', text_.size() - pos);
  return newline ? static_cast<size_t>(static_cast<const char*>(newline) - text_.data()) + 1
                 : text_.size();
}

size_t HiveBody::LineStart(size_t pos) const {
  const void* newline = memrchr(text_.data(), '\n', pos);
  return newline ? static_cast<size_t>(static_cast<const char*>(newline) - text_.data()) + 1 : 0;
}

std::string_view HiveBody::Content(size_t begin, size_t end) const {
  return LineContent(text_.substr(begin, end - begin));
}

std::string_view HiveBody::Trimmed(size_t begin, size_t end) const {
  const std::string_view line = Content(begin, end);
  return line.substr(SkipHiveSpace(line, 0));
}

size_t HiveBody::FindLineStarting(char c, size_t from, size_t pos, size_t end) const {
  while (pos < end) {
    const void* found = std::memchr(text_.data() + pos, c, end - pos);
    if (!found) return kEnd;
    const auto at = static_cast<size_t>(static_cast<const char*>(found) - text_.data());
    size_t start = at;
    while (start > from && text_[start - 1] != '\n' &&
           IsHiveSpace(static_cast<unsigned char>(text_[start - 1]))) {
      --start;
    }
    if (start == from || text_[start - 1] == '\n') return start;
    pos = at + 1;
  }
  return kEnd;
}

bool HiveBody::HasBackslash(size_t begin, size_t end) const {
  return std::memchr(text_.data() + begin, '\\', end - begin) != nullptr;
}

// The first of the lines before `line` (back to `from`) that all hold a backslash. The
// line before that one cannot go on over the next, so the loader starts afresh there.
size_t HiveBody::StartOfBackslashRun(size_t line, size_t from) const {
  size_t start = line;
  while (start > from) {
    const size_t before = LineStart(start - 1);
    if (!HasBackslash(before, start)) break;
    start = before;
  }
  return start;
}

bool HiveBody::IsContinuation(size_t line, size_t from) const {
  // Only a line after a backslash can be; a value line right before it decides by itself
  // (a line read as data never goes on when it starts with a quote).
  if (line <= from) return false;
  const size_t previous = LineStart(line - 1);
  if (!MayGoOnOverNextLine(Content(previous, line))) return false;
  HiveLineCursor cursor(text_, StartOfBackslashRun(previous, from), text_.size());
  HiveLine current;
  while (cursor.position() < line && cursor.Next(current)) {
    const std::string_view content = current.content.substr(SkipHiveSpace(current.content, 0));
    if (content.empty() || (content[0] != '"' && content[0] != '@')) continue;
    ParseValueLine(content, cursor, false);
    if (cursor.position() > line) return true;
  }
  return false;
}

bool HiveBody::EndsInsideValue(size_t from) const {
  if (from >= text_.size()) return false;
  const size_t last = LineStart(text_.size() - 1);
  if (last < from || !HasBackslash(last, text_.size())) return false;
  HiveLineCursor cursor(text_, StartOfBackslashRun(last, from), text_.size());
  HiveLine current;
  bool unfinished = false;
  while (cursor.Next(current)) {
    const std::string_view content = current.content.substr(SkipHiveSpace(current.content, 0));
    if (!content.empty() && (content[0] == '"' || content[0] == '@'))
      unfinished = ParseValueLine(content, cursor, false).unfinished;
  }
  return unfinished;
}

}  // namespace platform
