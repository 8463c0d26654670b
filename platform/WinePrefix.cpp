#include "platform/WinePrefix.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/FileDescriptor.h"
#include "platform/RunningProgram.h"
#include "platform/Unicode.h"
#include "platform/hive/KeyText.h"
#include "platform/hive/LineWalking.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// Absolute, lexically normal, no trailing slash (except the host root itself).
fs::path CleanPath(const fs::path& path) {
  fs::path clean = path;
  if (clean.is_relative()) {
    std::error_code ec;
    const fs::path current = fs::current_path(ec);
    if (!ec) clean = current / clean;
  }
  clean = clean.lexically_normal();
  if (!clean.has_filename() && clean.has_relative_path()) clean = clean.parent_path();
  return clean;
}

// The forms a host folder goes by: as written, and with its symbolic links resolved.
std::vector<fs::path> HostForms(const fs::path& path) {
  std::vector<fs::path> forms{CleanPath(path)};
  std::error_code ec;
  const fs::path resolved = fs::weakly_canonical(forms.front(), ec);
  if (!ec && CleanPath(resolved) != forms.front()) forms.push_back(CleanPath(resolved));
  return forms;
}

// How many elements of `path` `root` covers, when `path` lies within `root`.
std::optional<size_t> DepthWithin(const fs::path& path, const fs::path& root) {
  auto p = path.begin();
  size_t depth = 0;
  for (const fs::path& element : root) {
    if (p == path.end() || *p != element) return std::nullopt;
    ++p;
    ++depth;
  }
  return depth;
}

// `folder`/`name`, with one slash between them (the host root is "/").
std::string Child(const std::string& folder, std::string_view name) {
  std::string child = folder;
  if (child.empty() || child.back() != '/') child += '/';
  child += name;
  return child;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// The first name in `folder` that matches the Windows name `name` without regard to case,
// in directory order.
std::optional<std::string> FindByCase(const std::string& folder, const std::string& name) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return std::nullopt;
  const auto close = [](DIR* d) { ::closedir(d); };
  const std::unique_ptr<DIR, decltype(close)> closing(listing, close);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (EqualNoCase(entryName, name)) return std::string(entryName);
  }
  return std::nullopt;
}

// The name in `folder` that stands for the Windows name `name`: the exact name when it
// exists, else the first case-insensitive match. Plain system calls, no path objects:
// every path of a run comes here.
std::optional<std::string> FindEntry(const std::string& folder, const std::string& name) {
  if (Exists(Child(folder, name))) return name;
  return FindByCase(folder, name);
}

// The prefix's dosdevices folder, and the folder its relative links are relative to.
struct DosDevices {
  std::string folder;
  std::string linkBase;
};

// Every path of a run comes through here: plain system calls, no path objects.
std::optional<DosDevices> FindDosDevices(const std::string& prefix) {
  std::string dosdevices = Child(prefix, "dosdevices");
  struct stat info {};
  if (::lstat(dosdevices.c_str(), &info) != 0) return std::nullopt;
  std::string linkBase = dosdevices;
  if (S_ISLNK(info.st_mode)) {
    if (::stat(dosdevices.c_str(), &info) != 0) return std::nullopt;
    // Wine's links point to `../drive_c`: relative to where dosdevices really is.
    if (char* real = ::realpath(dosdevices.c_str(), nullptr)) {
      linkBase = real;
      std::free(real);
    }
  }
  if (!S_ISDIR(info.st_mode)) return std::nullopt;
  return DosDevices{std::move(dosdevices), std::move(linkBase)};
}

std::optional<DriveMapping> ReadDriveLink(const DosDevices& devices, std::string_view name) {
  // Drive links are a lower-case letter and a colon; `c::` (raw devices), com1 and the like
  // are not drives.
  if (name.size() != 2 || name[1] != ':' || name[0] < 'a' || name[0] > 'z') return std::nullopt;
  const char letter = static_cast<char>(name[0] - 'a' + 'A');
  const std::string link = Child(devices.folder, name);
  // Read as a link first: drives are links but for a rare folder.
  char read[PATH_MAX];
  const ssize_t length = ::readlink(link.c_str(), read, sizeof read);
  if (length > 0 && static_cast<size_t>(length) < sizeof read) {
    std::string target(read, static_cast<size_t>(length));
    if (target.front() != '/') target = Child(devices.linkBase, target);
    return DriveMapping{letter, CleanPath(target).string()};
  }
  struct stat info {};
  if (length < 0 && errno == EINVAL && ::lstat(link.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    return DriveMapping{letter, CleanPath(link).string()};
  }
  return std::nullopt;
}

// Wine's drives where a prefix has no dosdevices folder.
std::vector<DriveMapping> DefaultDrives(const std::string& prefix) {
  return {{'C', (fs::path(prefix) / "drive_c").string()}, {'Z', "/"}};
}

// Why the hive file at `path` cannot be read as one; empty when it can, as far as its first
// line tells.
std::string HiveFileFault(const std::string& path) {
  // Without O_NONBLOCK a FIFO in the hive's place would hold the start-up until some
  // program wrote into it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::strerror(errno);
  const FileDescriptor closing(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  // The signature and its line end are all a hive's first line holds.
  char head[kHiveSignature.size() + 2];
  ssize_t got;
  do {
    got = ::pread(fd, head, sizeof head, 0);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return std::strerror(errno);
  // The first line as the hive loader reads it.
  std::string_view first(head, static_cast<size_t>(got));
  if (const size_t end = first.find('\n'); end != first.npos)
    first = LineContent(first.substr(0, end + 1));
  if (CutAtNul(first) != kHiveSignature) {
    return "it does not start with \"" + std::string(kHiveSignature) + "\"";
  }
  return {};
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* user = ::getpwuid(::getuid());
  if (user != nullptr && user->pw_dir != nullptr) return user->pw_dir;
  return "/";
}

}  // namespace

WinePrefix::WinePrefix(std::string hostFolder) : folder_(CleanPath(hostFolder).string()) {}

WinePrefix WinePrefix::FromEnvironment() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return WinePrefix(prefix);
  return WinePrefix(HomeFolder() + "/.wine");
}

std::vector<DriveMapping> WinePrefix::Drives() const {
  const std::optional<DosDevices> devices = FindDosDevices(folder_);
  if (!devices) return DefaultDrives(folder_);
  std::vector<DriveMapping> drives;
  DIR* listing = ::opendir(devices->folder.c_str());
  if (listing == nullptr) return drives;
  const auto close = [](DIR* d) { ::closedir(d); };
  const std::unique_ptr<DIR, decltype(close)> closing(listing, close);
  while (const dirent* entry = ::readdir(listing)) {
    if (auto drive = ReadDriveLink(*devices, entry->d_name)) drives.push_back(std::move(*drive));
  }
  std::sort(drives.begin(), drives.end(),
            [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
  return drives;
}

Result<std::string> WinePrefix::DriveRoot(char letter) const {
  const WinPath root = WinPath::DriveRoot(letter);
  std::optional<DriveMapping> drive;
  if (const std::optional<DosDevices> devices = FindDosDevices(folder_)) {
    // The drive's own link alone, not the whole folder.
    const std::string name{static_cast<char>(root.drive() - 'A' + 'a'), ':'};
    drive = ReadDriveLink(*devices, name);
  } else {
    for (DriveMapping& fallback : DefaultDrives(folder_)) {
      if (fallback.letter == root.drive()) drive = std::move(fallback);
    }
  }
  if (drive) return std::move(drive->root);
  return Status(ErrorCode::PathNotFound, "Drive " + std::string(1, root.drive()) +
                                             ": is not mapped in the Wine prefix " + folder_);
}

Result<std::string> WinePrefix::ToHostPath(std::string_view windowsPath) const {
  Result<WinPath> path = WinPath::Parse(windowsPath);
  if (!path) return path.status();
  return ToHostPath(*path);
}

Result<std::string> WinePrefix::ToHostPath(const WinPath& path) const {
  Result<std::string> root = DriveRoot(path.drive());
  if (!root) return root.status();
  const std::vector<std::string>& names = path.components();
  if (names.empty()) return root;
  // Most paths stand on disk as they are spelled, or their folder does (a file about to be
  // copied): one look at each spares the walk level by level, with the same result.
  std::string folder = root.value();
  for (size_t i = 0; i + 1 < names.size(); ++i)
    folder = Child(folder, names[i]);
  std::string whole = Child(folder, names.back());
  if (Exists(whole)) return whole;
  if (names.size() > 1 && Exists(folder)) {
    const std::optional<std::string> found = FindByCase(folder, names.back());
    return Child(folder, found ? *found : names.back());
  }

  std::string host = std::move(root).value();
  bool lookingUp = true;  // once a name is missing, nothing below it can exist
  for (const std::string& name : names) {
    std::optional<std::string> found = lookingUp ? FindEntry(host, name) : std::nullopt;
    lookingUp = found.has_value();
    host = Child(host, found ? *found : name);
  }
  return host;
}

Result<std::string> WinePrefix::ToWindowsPath(std::string_view hostPath) const {
  struct Match {
    char letter;
    fs::path root;
    fs::path path;
    size_t depth;
  };
  if (hostPath.empty()) return Status(ErrorCode::InvalidName, "The host path is empty");
  std::optional<Match> best;
  const std::vector<DriveMapping> drives = Drives();
  for (const fs::path& path : HostForms(fs::path(hostPath))) {
    for (const DriveMapping& drive : drives) {
      for (const fs::path& root : HostForms(drive.root)) {
        const std::optional<size_t> depth = DepthWithin(path, root);
        if (depth && (!best || *depth > best->depth))
          best = Match{drive.letter, root, path, *depth};
      }
    }
  }
  if (!best) {
    return Status(ErrorCode::NotFound, "The host path " + std::string(hostPath) +
                                           " is outside every drive of the Wine prefix " + folder_);
  }

  std::string windowsPath{best->letter, ':', '\\'};
  const fs::path relative = best->path.lexically_relative(best->root);
  for (const fs::path& element : relative) {
    const std::string name = element.string();
    if (name == "." || name.empty()) continue;
    if (Status valid = CheckFileName(name); !valid) {
      return Status(ErrorCode::InvalidName, "The host path " + std::string(hostPath) +
                                                " has no Windows name: " + valid.message());
    }
    if (windowsPath.back() != '\\') windowsPath += '\\';
    windowsPath += name;
  }
  return windowsPath;
}

std::vector<std::string> WinePrefix::MissingHives() const {
  std::vector<std::string> missing;
  for (const char* hive : {kMachineHive, kUserHive}) {
    // Only what is not there at all: a hive that is there but cannot be read is
    // UnreadableHives'.
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(fs::path(folder_) / hive, ec).type();
    if (type == fs::file_type::not_found) missing.emplace_back(hive);
  }
  return missing;
}

std::vector<HiveFault> WinePrefix::UnreadableHives() const {
  std::vector<HiveFault> faults;
  for (const char* hive : {kMachineHive, kUserHive}) {
    const std::string path = Child(folder_, hive);
    if (!Exists(path)) continue;  // missing: MissingHives says so
    if (std::string reason = HiveFileFault(path); !reason.empty()) {
      faults.push_back({hive, std::move(reason)});
    }
  }
  return faults;
}

Result<std::string> WinePrefix::ApplicationDir() const {
  const Result<std::string> program = ProgramPath();
  if (!program) return program.status();
  return ToWindowsPath(fs::path(*program).parent_path().string());
}

}  // namespace platform
