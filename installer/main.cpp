// Until the installer window exists, the program reports what it sees of the
// Windows machine: the Wine prefix, its drives, the Windows folder, its own
// folder, and the Delphi versions installed there.

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/Registry.h"
#include "platform/WinePrefix.h"

namespace {

struct DelphiVersion {
  const char* name;
  const char* key;
  const char* value;
};

// Where each version records its program path, as a 32-bit program reads it.
constexpr DelphiVersion kVersions[] = {
    {"Delphi 3", "Software\\Borland\\Delphi\\3.0", "Delphi 3"},
    {"Delphi 4", "Software\\Borland\\Delphi\\4.0", "Delphi 4"},
    {"Delphi 5", "Software\\Borland\\Delphi\\5.0", "App"},
};

std::string Describe(const platform::Status& status) {
  return status.message();
}

void ReportDelphi(platform::Registry& registry, const DelphiVersion& version) {
  auto key = registry.OpenKey(platform::RootKey::LocalMachine, version.key, false);
  if (!key) {
    std::printf("  %s: not installed (%s)\n", version.name, Describe(key.status()).c_str());
    return;
  }
  auto value = registry.ReadValue(*key, version.value);
  if (!value) {
    std::printf("  %s: not installed (%s)\n", version.name, Describe(value.status()).c_str());
    return;
  }
  const auto text = value->AsString();
  if (!text) {
    std::printf("  %s: the value \"%s\" is not text\n", version.name, version.value);
    return;
  }
  std::printf("  %s: %s\n", version.name, text->c_str());
}

}  // namespace

int main() {
  const platform::WinePrefix prefix = platform::WinePrefix::FromEnvironment();
  struct stat st {};
  const bool exists = ::stat(prefix.folder().c_str(), &st) == 0;
  std::printf("Wine prefix: %s%s\n", prefix.folder().c_str(),
              exists ? "" : " (does not exist yet: an empty Windows installation)");

  std::printf("Drives:\n");
  for (const platform::DriveMapping& drive : prefix.Drives()) {
    std::printf("  %c: -> %s\n", drive.letter, drive.root.c_str());
  }

  const std::string windowsDir = platform::WinePrefix::WindowsDir();
  auto windowsHost = prefix.ToHostPath(windowsDir);
  std::printf("Windows folder: %s (%s)\n", windowsDir.c_str(),
              windowsHost ? windowsHost->c_str() : Describe(windowsHost.status()).c_str());

  auto appDir = prefix.ApplicationDir();
  std::printf("Program folder: %s\n", appDir ? appDir->c_str() : Describe(appDir.status()).c_str());

  platform::Registry registry(prefix.folder());
  std::printf("Delphi versions (HKEY_LOCAL_MACHINE, 32-bit view):\n");
  for (const DelphiVersion& version : kVersions)
    ReportDelphi(registry, version);

  for (const std::string& problem : registry.Problems()) {
    std::printf("Registry note: %s\n", problem.c_str());
  }
  return 0;
}
