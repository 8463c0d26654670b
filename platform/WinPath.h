#pragma once

// Windows path strings. A WinPath is always absolute and normalised: a drive letter and the
// names below it. Parsing follows Windows's own rules, with these choices:
// - `/` and `\` both separate names; repeated separators count as one.
// - `.` is dropped and `..` removes the name before it, never climbing above the drive root
//   (`C:\..\a` is `C:\a`).
// - A relative path is taken against the base folder, `\x` against the base folder's drive root.
// - `D:x` (a drive without a backslash) is taken against the base folder when the base is on
//   drive D, else against `D:\`. Windows keeps one current folder per drive; we keep only one.
// - Trailing dots and spaces are dropped from every name, since Windows drops them when it opens
//   a file and so can never create such a name; a name of nothing but dots and spaces vanishes.
// - A name with one of `<>:"|?*` or a control character (below 0x20) is invalid, as is an empty
//   path, a path that has no drive once resolved, and a network or device path (`\\server\x`,
//   `\\?\C:\x`): the program works on drive letters only.
// - A device name (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9, in any case, with or without
//   an extension: `aux.txt`) is invalid as the last name of the path: Windows opens the device
//   there and can never create a file or folder of that name. Earlier in the path it names a
//   folder the host made, as it does for Wine (FileSystem never creates one).
// - A path longer than kMaxPathLength characters, as written or once resolved, is invalid: it
//   is refused whole, never shortened to a path that names something else.
// Text is UTF-8; bytes above 0x7F are never separators and pass through unchanged.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Status.h"

namespace platform {

// The longest path Windows can use, in UTF-16 code units (the characters Windows counts): its
// limit of 32,767 counts the terminating null, as MAX_PATH's 260 do.
inline constexpr size_t kMaxPathLength = 32767 - 1;

class WinPath {
 public:
  // Errors are InvalidName with a message naming the path, the name and the character.
  static Result<WinPath> Parse(std::string_view path, std::string_view baseDir = {});
  static Result<WinPath> Parse(std::string_view path, const WinPath& base);
  // The root of a drive; `letter` is A to Z in either case.
  static WinPath DriveRoot(char letter);

  // 'A' to 'Z'.
  char drive() const { return drive_; }
  // The names below the drive root, never empty, never "." or "..".
  const std::vector<std::string>& components() const { return components_; }
  bool IsDriveRoot() const { return components_.empty(); }
  // The folder holding this one; a drive root is its own parent.
  WinPath Parent() const;
  // `relative` taken against this folder; an absolute `relative` stands for itself.
  Result<WinPath> Join(std::string_view relative) const { return Parse(relative, *this); }
  // "C:\a\b"; a drive root keeps its backslash: "C:\".
  std::string ToString() const;

  // Exact comparison; Windows compares without case, see platform::CompareNoCase.
  friend bool operator==(const WinPath&, const WinPath&) = default;

 private:
  WinPath(char drive, std::vector<std::string> components)
      : drive_(drive), components_(std::move(components)) {}

  char drive_;
  std::vector<std::string> components_;
};

// WinPath::Parse(path, baseDir).ToString().
Result<std::string> NormalizeWinPath(std::string_view path, std::string_view baseDir = {});

// True for a path that names a drive root ("C:\", "c:/", "C:\a\..").
bool IsDriveRoot(std::string_view path);

// Whether Windows takes `name` for a device ("nul", "Aux.txt", "COM1 .log").
bool IsDeviceName(std::string_view name);

// Whether `name` can be one name in a Windows path as it is: not empty, not "." or "..", no
// separator, no character Windows forbids, not a device name and no trailing dot or space.
// InvalidName otherwise.
Status CheckFileName(std::string_view name);

}  // namespace platform
