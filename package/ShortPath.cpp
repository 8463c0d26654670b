#include "package/ShortPath.h"

#include <vector>

#include "package/UnitVersion.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ShortPath.cpp 1.0");

constexpr std::string_view kEllipsis = "...";

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::ptrdiff_t CharCount(std::string_view text) {
  std::ptrdiff_t count = 0;
  for (char c : text)
    if (!IsContinuationByte(c)) ++count;
  return count;
}

// The last Count characters of Text, never starting inside a character.
std::string_view LastChars(std::string_view text, std::ptrdiff_t count) {
  std::size_t start = text.size();
  while (start > 0 && count > 0) {
    --start;
    if (!IsContinuationByte(text[start])) --count;
  }
  return text.substr(start);
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The part that names the drive: "C:\", "C:", "\\server\share\", "\" or nothing.
std::size_t DrivePartLength(std::string_view path) {
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    return path.size() >= 3 && path[2] == '\\' ? 3 : 2;
  }
  if (path.starts_with("\\\\")) {
    const std::size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string_view::npos) return path.size();
    const std::size_t shareEnd = path.find('\\', serverEnd + 1);
    return shareEnd == std::string_view::npos ? path.size() : shareEnd + 1;
  }
  return path.starts_with('\\') ? 1 : 0;
}

// The names after the drive part; a trailing backslash stays with the last name.
std::vector<std::string_view> SplitNames(std::string_view rest) {
  std::vector<std::string_view> names;
  while (!rest.empty()) {
    std::size_t end = rest.find('\\');
    if (end == std::string_view::npos || end + 1 == rest.size()) {
      names.push_back(rest);
      break;
    }
    names.push_back(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  return names;
}

std::string Join(std::string_view drive, const std::vector<std::string_view>& names,
                 std::size_t first) {
  std::string result(drive);
  result += kEllipsis;
  for (std::size_t i = first; i < names.size(); ++i) {
    result += '\\';
    result += names[i];
  }
  return result;
}

}  // namespace

std::string ShortPath(std::string_view Path, std::ptrdiff_t MaxLength) {
  if (MaxLength <= 0) return {};
  if (CharCount(Path) <= MaxLength) return std::string(Path);
  const std::string_view drive = Path.substr(0, DrivePartLength(Path));
  const std::vector<std::string_view> names = SplitNames(Path.substr(drive.size()));

  // Dropping the first names first keeps the most of the end, which tells folders apart.
  for (std::size_t first = 1; first < names.size(); ++first) {
    std::string candidate = Join(drive, names, first);
    if (CharCount(candidate) <= MaxLength) return candidate;
  }

  const std::ptrdiff_t ellipsis = static_cast<std::ptrdiff_t>(kEllipsis.size());
  if (MaxLength < ellipsis + 1) return std::string(LastChars(Path, MaxLength));
  std::string_view keptDrive = drive;
  if (CharCount(drive) + ellipsis + 1 > MaxLength) keptDrive = {};
  std::string result(keptDrive);
  result += kEllipsis;
  result += LastChars(Path, MaxLength - CharCount(keptDrive) - ellipsis);
  return result;
}
