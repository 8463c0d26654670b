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

Status InvalidName(std::string_view path, const std::string& reason) {
  return {ErrorCode::InvalidName, "Invalid path \"" + std::string(path) + "\": " + reason};
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
  return WinPath(drive, std::move(components));
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
  return Status::Ok();
}

}  // namespace platform
