#include "package/SettingsLine.h"
#include "platform/HexDigits.h"

#include <algorithm>

#include "package/UnitVersion.h"
#include "platform/Unicode.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("SettingsLine.cpp 1.0");

constexpr size_t npos = SettingsLine::npos;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos]))
    ++pos;
  return pos;
}

std::string_view TrimBlanks(std::string_view text) {
  const size_t begin = SkipBlanks(text, 0);
  size_t end = text.size();
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

// Reads the quoted text whose opening quote is at text[pos] into `out`. Returns the position
// after the closing quote, or npos when there is none.
size_t ReadQuoted(std::string_view text, size_t pos, std::string& out) {
  for (++pos; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') return pos + 1;
    if (c != '\\' || pos + 1 == text.size()) {
      out += c;
      continue;
    }
    switch (const char next = text[pos + 1]) {
      case '\\':
      case '"':
        out += next, ++pos;
        continue;
      case 'n':
        out += '\n', ++pos;
        continue;
      case 'r':
        out += '\r', ++pos;
        continue;
      case 't':
        out += '\t', ++pos;
        continue;
      case 'x':
        if (pos + 3 < text.size() && platform::IsHexDigit(text[pos + 2]) &&
            platform::IsHexDigit(text[pos + 3])) {
          out += static_cast<char>(platform::HexDigitValue(text[pos + 2]) * 16 +
                                   platform::HexDigitValue(text[pos + 3]));
          pos += 3;
          continue;
        }
        break;
      default:
        break;
    }
    // Any other backslash stands for itself, as in a path typed between quotes by hand.
    out += c;
  }
  return npos;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    const size_t length = platform::Utf8SequenceLength(text, i);
    if (c == '\\' || c == '"') {
      out += '\\', out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (IsControl(c) || length == 0) {
      const auto u = static_cast<unsigned char>(c);
      out += "\\x", platform::AppendHexByte(out, u);
    } else {
      out.append(text, i, length);
      i += length;
      continue;
    }
    ++i;
  }
  out += '"';
  return out;
}

// What no plain name or value may hold: it would be trimmed, cut or read as something else.
bool NeedsQuotesAnywhere(std::string_view text) {
  if (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '"'))
    return true;
  return std::any_of(text.begin(), text.end(), IsControl) || !platform::IsValidUtf8(text);
}

std::string SectionName(std::string_view name) {
  const bool plain = !NeedsQuotesAnywhere(name) && name.find(']') == npos;
  return plain ? std::string(name) : Quoted(name);
}

std::string EntryName(std::string_view name) {
  const bool plain = !NeedsQuotesAnywhere(name) && name.find('=') == npos &&
                     (name.empty() || (name[0] != '[' && name[0] != ';' && name[0] != '#'));
  return plain ? std::string(name) : Quoted(name);
}

std::string EntryValue(std::string_view value) {
  const bool plain = !NeedsQuotesAnywhere(value) && value.find(" ;") == npos;
  return plain ? std::string(value) : Quoted(value);
}

SettingsLine ParseSection(std::string_view content, size_t pos) {
  SettingsLine line;
  line.kind = SettingsLine::BrokenSection;
  pos = SkipBlanks(content, pos + 1);
  std::string name;
  if (pos < content.size() && content[pos] == '"') {
    pos = ReadQuoted(content, pos, name);
    if (pos == npos) return line;
    pos = SkipBlanks(content, pos);
    if (pos == content.size() || content[pos] != ']') return line;
  } else {
    const size_t close = content.find(']', pos);
    if (close == npos) return line;
    name = TrimBlanks(content.substr(pos, close - pos));
    pos = close;
  }
  pos = SkipBlanks(content, pos + 1);
  if (pos < content.size() && content[pos] != ';' && content[pos] != '#') return line;
  line.kind = SettingsLine::Section;
  line.name = std::move(name);
  return line;
}

// The value after the "=" at content[pos - 1], and where a comment beside it begins.
void ParseValue(std::string_view content, size_t pos, SettingsLine& line) {
  const size_t begin = SkipBlanks(content, pos);
  if (begin < content.size() && content[begin] == '"') {
    std::string text;
    const size_t end = ReadQuoted(content, begin, text);
    const size_t rest = end == npos ? npos : SkipBlanks(content, end);
    if (rest == content.size() || (rest != npos && content[rest] == ';')) {
      line.value = std::move(text);
      line.comment = rest == content.size() ? npos : end;
      return;
    }
    // Text after the closing quote: not a quoted value after all, so it is read as typed.
  }
  size_t end = begin;
  while (end < content.size() && !(content[end] == ';' && end > 0 && IsBlank(content[end - 1])))
    ++end;
  line.value = TrimBlanks(content.substr(begin, end - begin));
  if (end == content.size()) return;
  while (end > pos && IsBlank(content[end - 1]))
    --end;
  line.comment = end;
}

SettingsLine ParseEntry(std::string_view content, size_t pos) {
  SettingsLine line;
  std::string name;
  size_t equals = npos;
  if (content[pos] == '"') {
    const size_t end = ReadQuoted(content, pos, name);
    if (end == npos) return line;
    equals = SkipBlanks(content, end);
    if (equals == content.size() || content[equals] != '=') return line;
  } else {
    equals = content.find('=', pos);
    if (equals == npos) return line;
    name = TrimBlanks(content.substr(pos, equals - pos));
  }
  line.kind = SettingsLine::Entry;
  line.name = std::move(name);
  line.indent = pos;
  ParseValue(content, equals + 1, line);
  return line;
}

// Characters, not bytes: a column as an editor counts it.
size_t Columns(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

SettingsLine ParseSettingsLine(std::string_view content) {
  const size_t pos = SkipBlanks(content, 0);
  if (pos == content.size() || content[pos] == ';' || content[pos] == '#') return {};
  if (content[pos] == '[') return ParseSection(content, pos);
  return ParseEntry(content, pos);
}

std::string SectionLine(std::string_view section) {
  return "[" + SectionName(section) + "]";
}

std::string EntryLine(std::string_view name, std::string_view value) {
  return EntryName(name) + "=" + EntryValue(value);
}

std::string CommentText(std::string_view comment) {
  size_t pos = SkipBlanks(comment, 0);
  if (pos < comment.size() && comment[pos] == ';') ++pos;
  return std::string(TrimBlanks(comment.substr(pos)));
}

std::string HintText(std::string_view hint) {
  std::string text = platform::Utf16ToUtf8(platform::Utf8ToUtf16(hint));
  std::replace_if(text.begin(), text.end(), IsControl, ' ');
  return std::string(TrimBlanks(text));
}

std::string WithHint(std::string line, std::string_view hint, int position) {
  const std::string text = HintText(hint);
  if (text.empty()) return line;
  // At least one blank: a ";" right after a plain value would be read as part of it.
  const size_t column = Columns(line) + 1;
  const size_t wanted = position > 0 ? static_cast<size_t>(position) : 0;
  line.append(wanted > column ? wanted - column : 1, ' ');
  return line + "; " + text;
}
