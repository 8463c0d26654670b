#include "tests/support/DemoMachine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/Machine.h"
#include "platform/RegValue.h"
#include "platform/WinPath.h"

namespace testsupport {

namespace fs = std::filesystem;
using platform::ErrorCode;
using platform::Result;
using platform::Status;

namespace {

constexpr DistributionFile kFiles[] = {
    {"vcl30.dpl", 3, true},
    {"vcl30.de", 3, true},
    {"vcl40.bpl", 4, true},
    {"vcl40.de", 4, true},
    {"vcl50.bpl", 5, true},
    {"vcl50.de", 5, true},
    {"ZavPolyverb30.dpl", 3, false},
    {"ZavPolyverb30.dcp", 3, false},
    {"ZavPolyverb30.dcu", 3, false},
    {"ZavPolyverb40.bpl", 4, false},
    {"ZavPolyverb40.dcp", 4, false},
    {"ZavPolyverb40.dcu", 4, false},
    {"ZavPolyverb50.bpl", 5, false},
    {"ZavPolyverb50.dcp", 5, false},
    {"ZavPolyverb50.dcu", 5, false},
    {"ZavPolyverb30Design.dpl", 3, false},
    {"ZavPolyverb40Design.bpl", 4, false},
    {"ZavPolyverb50Design.bpl", 5, false},
    {"ZavPolyverbEng.hlp", 0, false},
    {"ZavPolyverbGer.hlp", 0, false},
    {"Polyverb - History.txt", 0, false},
    {"Polyverb.int", 0, false},
    {"Demo.zip", 0, false},
    {"Demo.exe", 0, false},
    {"Install.exe", 0, false},
    {"ReadMeEng.txt", 0, false},
    {"ReadMeGer.txt", 0, false},
};

constexpr DelphiRegistration kRegistrations[] = {
    {"Software\\Borland\\Delphi\\3.0", "Delphi 3"},
    {"Software\\Borland\\Delphi\\4.0", "Delphi 4"},
    {"Software\\Borland\\Delphi\\5.0", "App"},
};

Status SystemError(int error, const std::string& action) {
  return Status(platform::ErrorCodeFromErrno(error), action + ": " + std::strerror(error));
}

Status UnsupportedVersion(int version) {
  return Status(ErrorCode::NotFound,
                "Delphi " + std::to_string(version) + " is not a version the product supports");
}

Status CheckVersions(const std::vector<int>& versions) {
  for (int version : versions) {
    if (!IsDelphiVersion(version)) return UnsupportedVersion(version);
  }
  return Status::Ok();
}

// A file that names itself, so a demo folder shows what each file stands for.
Status WritePlaceholder(const fs::path& path) {
  const std::string action = "Cannot write " + path.string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return SystemError(errno, action);
  const std::string line = "Zav Polyverb demo placeholder: " + path.filename().string() + "\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written) return SystemError(writeError, action);
  if (!closed) return SystemError(errno, action);
  return Status::Ok();
}

// The dosdevices links Wine itself makes for a new prefix; links a prefix already has stay.
Status MakeDriveLinks(const fs::path& prefix) {
  const fs::path dosdevices = prefix / "dosdevices";
  std::error_code ec;
  fs::create_directories(dosdevices, ec);
  if (ec) return SystemError(ec.value(), "Cannot create " + dosdevices.string());
  const std::pair<const char*, const char*> links[] = {{"c:", "../drive_c"}, {"z:", "/"}};
  for (const auto& [name, target] : links) {
    const fs::path link = dosdevices / name;
    if (fs::symlink_status(link, ec).type() != fs::file_type::not_found) continue;
    fs::create_directory_symlink(target, link, ec);
    if (ec) return SystemError(ec.value(), "Cannot create the drive link " + link.string());
  }
  return Status::Ok();
}

bool IsInside(const fs::path& path, const fs::path& folder) {
  std::error_code ec;
  const fs::path resolved = fs::weakly_canonical(path, ec);
  if (ec) return false;
  const fs::path root = fs::weakly_canonical(folder, ec);
  if (ec) return false;
  return std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end()).first ==
         root.end();
}

// The host path of a Windows path on one of the prefix's own drives. A drive that leads out of
// the prefix (Z:, or a c: link to elsewhere) gives nothing: only the prefix is ours to change.
std::optional<std::string> HostInPrefix(const platform::WinePrefix& prefix,
                                        const platform::WinPath& path) {
  Result<std::string> host = prefix.ToHostPath(path);
  if (!host || !IsInside(*host, prefix.folder())) return std::nullopt;
  return *host;
}

Status MakeWindowsFolder(platform::Machine& machine) {
  const Result<platform::WinPath> windows = platform::WinPath::Parse(machine.prefix().WindowsDir());
  if (!windows) return windows.status();
  if (!HostInPrefix(machine.prefix(), *windows)) return Status::Ok();
  return machine.files().ForceDirectories(windows->ToString());
}

// The program file a version's value names, so its Bin folder exists as after Delphi's own
// setup. A path the prefix cannot hold is left as a value only.
Status PlaceProgram(platform::Machine& machine, const std::string& program) {
  const Result<platform::WinPath> path = platform::WinPath::Parse(program);
  if (!path) return Status::Ok();
  const std::optional<std::string> host = HostInPrefix(machine.prefix(), *path);
  if (!host) return Status::Ok();
  if (Status made = machine.files().ForceDirectories(path->Parent().ToString()); !made) return made;
  return WritePlaceholder(*host);
}

Status WriteProgramValue(platform::Registry& registry, const platform::RegistryKey& key,
                         const std::string& valueName, ProgramValue value,
                         const std::string& program) {
  switch (value) {
    case ProgramValue::Path:
      return registry.WriteString(key, valueName, program);
    case ProgramValue::Empty:
      return registry.WriteString(key, valueName, "");
    case ProgramValue::Missing: {
      Status deleted = registry.DeleteValue(key, valueName);
      return deleted.code() == ErrorCode::NotFound ? Status::Ok() : deleted;
    }
    case ProgramValue::NotText:
      return registry.WriteValue(key, platform::RegValue::Dword(valueName, 1));
  }
  return Status::Ok();
}

Status MakePackageLists(platform::Registry& registry, int version) {
  Result<platform::RegistryKey> known =
      registry.OpenKey(platform::RootKey::CurrentUser, KnownPackagesKey(version), true);
  if (!known) return known.status();
  const std::string standardPackage =
      "$(DELPHI)\\Bin\\dclstd" + std::to_string(version) + "0." + (version == 3 ? "dpl" : "bpl");
  if (Status s = registry.WriteString(*known, standardPackage, "Borland Standard Components"); !s)
    return s;
  return registry.OpenKey(platform::RootKey::CurrentUser, DisabledPackagesKey(version), true)
      .status();
}

Status Install(platform::Machine& machine, const DelphiInstall& install) {
  const DelphiRegistration where = DelphiRegistrationOf(install.version);
  platform::Registry& registry = machine.registry();
  Result<platform::RegistryKey> key =
      registry.OpenKey(platform::RootKey::LocalMachine, where.key, true);
  if (!key) return key.status();

  const std::string defaultProgram = DefaultDelphiProgram(install.version);
  const bool named = install.value == ProgramValue::Path && !install.programPath.empty();
  const std::string program = named ? install.programPath : defaultProgram;
  if (Status s = WriteProgramValue(registry, *key, where.valueName, install.value, program); !s)
    return s;
  if (install.packageLists) {
    if (Status s = MakePackageLists(registry, install.version); !s) return s;
  }
  // A value that names no program still stands for an installed Delphi: its files are in place.
  return PlaceProgram(machine, program);
}

}  // namespace

bool IsDelphiVersion(int version) {
  return version >= 3 && version <= 5;
}

std::span<const DistributionFile> DistributionFiles() {
  return kFiles;
}

Result<std::vector<std::string>> MakeDistribution(const std::string& folder,
                                                  const std::vector<int>& versions,
                                                  const DistributionOptions& options) {
  if (Status valid = CheckVersions(versions); !valid) return valid;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return SystemError(ec.value(), "Cannot create the distribution folder " + folder);

  std::vector<std::string> written;
  for (const DistributionFile& file : kFiles) {
    const bool chosen = file.version == 0 ||
                        std::find(versions.begin(), versions.end(), file.version) != versions.end();
    if (!chosen || (file.optional && !options.vclFiles)) continue;
    if (Status s = WritePlaceholder(fs::path(folder) / file.name); !s) return s;
    written.emplace_back(file.name);
  }
  return written;
}

DelphiRegistration DelphiRegistrationOf(int version) {
  if (!IsDelphiVersion(version)) return {"", ""};
  return kRegistrations[version - 3];
}

std::string KnownPackagesKey(int version) {
  return std::string(DelphiRegistrationOf(version).key) + "\\Known Packages";
}

std::string DisabledPackagesKey(int version) {
  return std::string(DelphiRegistrationOf(version).key) + "\\Disabled Packages";
}

std::string DefaultDelphiProgram(int version) {
  return "C:\\Program Files\\Borland\\Delphi" + std::to_string(version) + "\\Bin\\delphi32.exe";
}

Status MakeDelphiPrefix(const std::string& prefixDir, const std::vector<DelphiInstall>& installs) {
  for (const DelphiInstall& install : installs) {
    if (!IsDelphiVersion(install.version)) return UnsupportedVersion(install.version);
  }
  const auto missing = [&](const char* hive) {
    std::error_code ec;
    return fs::symlink_status(fs::path(prefixDir) / hive, ec).type() == fs::file_type::not_found;
  };
  const bool freshHive = missing("system.reg");
  const bool freshUserHive = missing("user.reg");
  if (Status s = MakeDriveLinks(prefixDir); !s) return s;

  platform::Machine machine{platform::WinePrefix(prefixDir)};
  if (Status s = MakeWindowsFolder(machine); !s) return s;
  if (freshHive) {
    // A new hive is a 64-bit one, and 64-bit Wine always has the 32-bit side; with it in place
    // the values land where "wine reg add ... /reg:32" and 32-bit Delphi itself put them.
    Result<platform::RegistryKey> wow =
        machine.registry().OpenKey(platform::RootKey::LocalMachine, "Software\\Wow6432Node", true);
    if (!wow) return wow.status();
  }
  if (freshUserHive) {
    // Every prefix that Wine has made has both hives; the setup refuses a folder without them.
    Result<platform::RegistryKey> software =
        machine.registry().OpenKey(platform::RootKey::CurrentUser, "Software", true);
    if (!software) return software.status();
  }
  for (const DelphiInstall& install : installs) {
    if (Status s = Install(machine, install); !s) return s;
  }
  return Status::Ok();
}

platform::Status CopySetupProgram(const std::string& program, const std::string& folder) {
  const fs::path built(program);
  std::vector<fs::path> files = {built};
  // The window's module, which the program loads from its own folder.
  const fs::path module = built.parent_path() / "PolyverbSetupWindow.so";
  std::error_code ec;
  if (fs::is_regular_file(module, ec)) files.push_back(module);
  for (const fs::path& file : files) {
    const fs::path target = fs::path(folder) / file.filename();
    fs::copy_file(file, target, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::permissions(target, fs::status(file, ec).permissions(), ec);
    if (ec) {
      return platform::Status(
          platform::ErrorCode::IoError,
          "Cannot copy " + file.string() + " to " + target.string() + ": " + ec.message());
    }
  }
  return platform::Status::Ok();
}

}  // namespace testsupport
