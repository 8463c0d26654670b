#include "platform/WinPath.h"

#include <cstdio>

namespace platform {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char UpperLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool IsForbidden(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x20) return true;
  switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
      return true;
    default:
      return false;
  }
}

// "'*'" for a visible character, "the control character 0x01" otherwise.
std::string DescribeCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x20) return std::string("'") + c + "'";
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", u);
  return std::string("the control character ") + hex;
}

// The path as a message quotes it: a path of any length would make a message of that length,
// so a long one shows its start only.
std::string Quoted(std::string_view path) {
  constexpr size_t kShown = 100;
  if (path.size() <= kShown) return "\"" + std::string(path) + "\"";
  size_t end = kShown;
  while (end > 0 && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80)
    --end;  // not inside a character
  return "\"" + std::string(path.substr(0, end)) + "...\"";
}

Status InvalidName(std::string_view path, const std::string& reason) {
  return {ErrorCode::InvalidName, "Invalid path " + Quoted(path) + ": " + reason};
}

// The characters Windows counts in UTF-8 text: UTF-16 code units, two for a character beyond
// U+FFFF (a lead byte of four bytes), one for any other lead byte and any stray byte.
size_t Utf16Length(std::string_view text) {
  size_t length = 0;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u & 0xC0) != 0x80) length += u >= 0xF0 ? 2 : 1;
  }
  return length;
}

Status TooLong(std::string_view path, size_t length, const char* what) {
  return InvalidName(path, what + std::to_string(length) +
                               " characters, and Windows allows at most " +
                               std::to_string(kMaxPathLength));
}

std::string DeviceNameReason(std::string_view name) {
  return "\"" + std::string(name) +
         "\" is the name of a device, which Windows does not allow for a file or folder";
}

// The first forbidden character of `name`, or npos.
size_t FindForbidden(std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsForbidden(name[i])) return i;
  }
  return std::string_view::npos;
}

std::string_view StripTrailingDotsAndSpaces(std::string_view name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' '))
    name.remove_suffix(1);
  return name;
}

}  // namespace

Result<WinPath> WinPath::Parse(std::string_view path, std::string_view baseDir) {
  if (baseDir.empty()) {
    // Without a base only a path with a drive and a root can stand; the walk below says why.
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
      return Parse(path, DriveRoot(path[0]));
    }
    if (path.empty()) return InvalidName(path, "the path is empty");
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
      return InvalidName(path, "network and device paths are not supported, only drive letters");
    }
    return InvalidName(path, "the path has no drive letter");
  }
  Result<WinPath> base = Parse(baseDir);
  if (!base) {
    return Status(ErrorCode::InvalidName, "Invalid base folder for \"" + std::string(path) +
                                              "\": " + base.status().message());
  }
  return Parse(path, *base);
}

Result<WinPath> WinPath::Parse(std::string_view path, const WinPath& base) {
  if (path.empty()) return InvalidName(path, "the path is empty");
  if (const size_t length = Utf16Length(path); length > kMaxPathLength) {
    return TooLong(path, length, "the path has ");
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    return InvalidName(path, "network and device paths are not supported, only drive letters");
  }

  // Where the walk starts: a drive root, or a folder on the base's drive.
  char drive = base.drive_;
  std::vector<std::string> components;
  std::string_view rest = path;
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    drive = UpperLetter(path[0]);
    rest.remove_prefix(2);
    const bool driveRelative = rest.empty() || !IsSeparator(rest[0]);
    if (driveRelative && drive == base.drive_) components = base.components_;
  } else if (!IsSeparator(path[0])) {
    components = base.components_;
  }

  while (!rest.empty()) {
    const size_t end = rest.find_first_of("\\/");
    const std::string_view name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (const size_t bad = FindForbidden(name); bad != std::string_view::npos) {
      return InvalidName(path, "the name \"" + std::string(name) + "\" contains " +
                                   DescribeCharacter(name[bad]) + ", which Windows does not allow");
    }
    if (name == ".") continue;
    if (name == "..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    const std::string_view kept = StripTrailingDotsAndSpaces(name);
    if (!kept.empty()) components.emplace_back(kept);
  }
  // Windows takes only the last name for a device; a folder of such a name on the way exists
  // only where the host made it (a distribution below ~/aux, say), and is passed through.
  if (!components.empty() && IsDeviceName(components.back())) {
    return InvalidName(path, DeviceNameReason(components.back()));
  }
  WinPath parsed(drive, std::move(components));
  // A relative path grows by its base.
  if (const size_t length = Utf16Length(parsed.ToString()); length > kMaxPathLength) {
    return TooLong(path, length, "resolved, the path has ");
  }
  return parsed;
}

WinPath WinPath::DriveRoot(char letter) {
  return WinPath(UpperLetter(letter), {});
}

WinPath WinPath::Parent() const {
  WinPath parent = *this;
  if (!parent.components_.empty()) parent.components_.pop_back();
  return parent;
}

std::string WinPath::ToString() const {
  std::string text{drive_, ':', '\\'};
  for (size_t i = 0; i < components_.size(); ++i) {
    if (i > 0) text += '\\';
    text += components_[i];
  }
  return text;
}

Result<std::string> NormalizeWinPath(std::string_view path, std::string_view baseDir) {
  Result<WinPath> parsed = WinPath::Parse(path, baseDir);
  if (!parsed) return parsed.status();
  return parsed->ToString();
}

bool IsDriveRoot(std::string_view path) {
  const Result<WinPath> parsed = WinPath::Parse(path);
  return parsed && parsed->IsDriveRoot();
}

// The part before the first dot, less trailing spaces, is a device's name in any case. The ports
// go from 0 to 9 and include the superscript digits 1 to 3, which Windows reads as digits.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ')
    stem.remove_suffix(1);
  std::string upper;
  for (const char c : stem)
    upper += UpperLetter(c);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0)) {
    return false;
  }
  const std::string_view number = std::string_view(upper).substr(3);
  return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
         number == "\xC2\xB2" || number == "\xC2\xB3";
}

Status CheckFileName(std::string_view name) {
  const auto invalid = [name](const std::string& reason) {
    return Status(ErrorCode::InvalidName, "Invalid name \"" + std::string(name) + "\": " + reason);
  };
  if (name.empty()) return invalid("the name is empty");
  if (name == "." || name == "..") return invalid("the name stands for a folder");
  if (const size_t sep = name.find_first_of("\\/"); sep != std::string_view::npos) {
    return invalid(std::string("the name contains the separator '") + name[sep] + "'");
  }
  if (const size_t bad = FindForbidden(name); bad != std::string_view::npos) {
    return invalid("the name contains " + DescribeCharacter(name[bad]) +
                   ", which Windows does not allow");
  }
  if (name.back() == '.' || name.back() == ' ') {
    return invalid("Windows drops a trailing dot or space from a name");
  }
  if (IsDeviceName(name)) return invalid(DeviceNameReason(name));
  return Status::Ok();
}

}  // namespace platform
