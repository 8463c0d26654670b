#pragma once

// The Wine prefix that stands for the Windows machine: its drives, and the mapping between
// Windows paths and host paths. Wine's own conventions throughout, so that Wine and this
// program always see the same files:
// - Drives are the prefix's `dosdevices/x:` links (a relative link is relative to
//   dosdevices/); without a dosdevices folder, Wine's defaults: C: is `<prefix>/drive_c` and
//   Z: the host root. A prefix that does not exist yet is an empty Windows installation.
// - Windows names are found case-insensitively, one component at a time: the exact name if it
//   exists, else the first entry in directory order that equals it without case. A component
//   that does not exist keeps the case it was written in, so it can be created.
// - A drive the prefix does not map is an error (PathNotFound), where Wine would quietly point
//   at a `dosdevices/x:` that does not exist: the message then says which drive is missing.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"
#include "platform/WinPath.h"

namespace platform {

// One drive of the prefix.
struct DriveMapping {
  char letter;       // 'A' to 'Z'
  std::string root;  // the host folder the drive's root stands for, without a trailing slash
};

// A hive of the prefix that is there but cannot be read as a hive file, and why.
struct HiveFault {
  std::string hive;    // its file name: system.reg or user.reg
  std::string reason;  // "Permission denied", "Is a directory", ...
};

class WinePrefix {
 public:
  // A relative folder is taken against the current folder.
  explicit WinePrefix(std::string hostFolder);
  // WINEPREFIX when set and not empty, else $HOME/.wine, as Wine decides.
  static WinePrefix FromEnvironment();

  // The prefix's host folder, absolute, without a trailing slash.
  const std::string& folder() const { return folder_; }

  // The drives, by letter.
  std::vector<DriveMapping> Drives() const;
  // The host folder of a drive's root; PathNotFound for a drive the prefix does not map.
  Result<std::string> DriveRoot(char letter) const;

  // The host path of a Windows path (see above for how names are found).
  Result<std::string> ToHostPath(std::string_view windowsPath) const;
  Result<std::string> ToHostPath(const WinPath& path) const;

  // The Windows path of a host path: the drive whose root holds it most closely, with symbolic
  // links of the roots and of the path resolved where that gives a closer match. NotFound
  // outside every drive; InvalidName for a host name Windows cannot spell.
  Result<std::string> ToWindowsPath(std::string_view hostPath) const;

  // The hives every prefix Wine has made holds.
  static constexpr const char* kMachineHive = "system.reg";
  static constexpr const char* kUserHive = "user.reg";

  // The hives every prefix Wine has made holds (system.reg, user.reg) that are not there: a
  // folder without them is no prefix (yet), and a program that made one of it could as well
  // be writing into any folder WINEPREFIX happens to name.
  std::vector<std::string> MissingHives() const;
  // The hives that are there but cannot be read as hive files: a folder, a file nobody lets us
  // read, one that is no registry file at all (its first line is not Wine's). Looking never
  // blocks, also on a FIFO. What a hive holds beyond its first line is the registry's to judge.
  std::vector<HiveFault> UnreadableHives() const;

  // The Windows folder, where Wine puts it.
  static std::string WindowsDir() { return "C:\\windows"; }
  // The folder of the running program, as a Windows path.
  Result<std::string> ApplicationDir() const;

 private:
  std::string folder_;
};

}  // namespace platform
