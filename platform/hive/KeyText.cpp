#include "platform/hive/KeyText.h"

#include <cstdio>

#include "platform/FileTime.h"
#include "platform/Unicode.h"
#include "platform/hive/Escaping.h"
#include "platform/hive/LineWalking.h"

namespace platform {

bool ParseKeyLine(std::string_view content, std::u16string& path) {
  path.clear();
  return ParseHiveEscaped(content.substr(1), ']', &path) != std::string_view::npos;
}

std::optional<uint32_t> ParseKeySeconds(std::string_view afterPath) {
  // What Wine writes, " " and up to ten digits, is read directly.
  if (afterPath.size() >= 2 && afterPath.size() <= 11 && afterPath[0] == ' ') {
    uint64_t number = 0;
    size_t i = 1;
    for (; i < afterPath.size() && afterPath[i] >= '0' && afterPath[i] <= '9'; ++i)
      number = number * 10 + static_cast<uint64_t>(afterPath[i] - '0');
    if (i == afterPath.size()) return static_cast<uint32_t>(number);
  }
  size_t digits = 0;
  const auto number = ParseUnsignedLong(afterPath, 10, digits);
  if (digits == 0) return std::nullopt;
  return static_cast<uint32_t>(number);
}

std::vector<std::u16string_view> SplitKeyPath(std::u16string_view path) {
  std::vector<std::u16string_view> components;
  SplitKeyPath(path, components);
  return components;
}

void SplitKeyPath(std::u16string_view path, std::vector<std::u16string_view>& components) {
  components.clear();
  size_t start = 0;
  while (start <= path.size()) {
    size_t stop = path.find(u'\\', start);
    if (stop == std::u16string_view::npos) stop = path.size();
    if (stop > start) components.push_back(path.substr(start, stop - start));
    start = stop + 1;
  }
}

FileTime ParseTimeOption(std::string_view content) {
  FileTime time = 0;
  for (size_t i = 6; i < content.size(); ++i) {
    const unsigned digit = kHexDigitValue[static_cast<unsigned char>(content[i])];
    if (digit > 15) break;
    time = (time << 4) | digit;
  }
  return time;
}

std::optional<std::u16string> ParseClassOption(std::string_view content) {
  if (content.size() < 8 || content[7] != '"') return std::nullopt;
  std::u16string className;
  if (ParseHiveEscaped(content.substr(8), '"', &className) == std::string_view::npos)
    return std::nullopt;
  return className;
}

void AppendKeyHeader(std::string& out, std::string_view escapedPath, FileTime time,
                     const std::u16string* className, bool link) {
  char buffer[64];
  out += "\n[";
  out += escapedPath;
  int n = std::snprintf(buffer, sizeof buffer, "] %u\n#time=%x%08x\n", UnixSecondsOf(time),
                        static_cast<unsigned>(time >> 32), static_cast<unsigned>(time));
  out.append(buffer, static_cast<size_t>(n));
  if (className) {
    out += "#class=\"";
    AppendHiveEscaped(out, *className, '"', '"');
    out += "\"\n";
  }
  if (link) out += "#link\n";
}

std::string NewHiveHeader(std::string_view relativeTo, std::string_view arch) {
  std::string header(kHiveSignature);
  header += "\n;; All keys relative to ";
  const std::u16string branch = Utf8ToUtf16(relativeTo);
  bool first = true;
  for (std::u16string_view component : SplitKeyPath(branch)) {
    if (!first) header += "\\\\";
    AppendHiveEscaped(header, component, '[', ']');
    first = false;
  }
  header += '\n';
  if (!arch.empty()) {
    header += "\n#arch=";
    header += arch;
    header += '\n';
  }
  return header;
}

}  // namespace platform
