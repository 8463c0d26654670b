#include "platform/ShellFolders.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/EnvironmentStrings.h"
#include "platform/WinPath.h"
#include "platform/WinRegistry.h"
#include "platform/WinePrefix.h"

namespace platform {

namespace {

enum class FolderKind { User, WindowsPath };

struct SpecialFolder {
  int csidl;
  FolderKind kind;
  std::string_view valueName;  // in the shell folder keys; for WindowsPath, the name below it
  std::string_view fallback;   // Wine's default, before expansion
};

// The user's defaults are the ones Wine writes into User Shell Folders when it sets up a prefix.
constexpr SpecialFolder kSpecialFolders[] = {
    {CSIDL_PROGRAMS, FolderKind::User, "Programs",
     "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
    {CSIDL_PERSONAL, FolderKind::User, "Personal", "%USERPROFILE%\\Documents"},
    {CSIDL_FAVORITES, FolderKind::User, "Favorites", "%USERPROFILE%\\Favorites"},
    {CSIDL_STARTUP, FolderKind::User, "StartUp",
     "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
    {CSIDL_RECENT, FolderKind::User, "Recent",
     "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Recent"},
    {CSIDL_SENDTO, FolderKind::User, "SendTo",
     "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\SendTo"},
    {CSIDL_STARTMENU, FolderKind::User, "Start Menu",
     "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
    {CSIDL_DESKTOPDIRECTORY, FolderKind::User, "Desktop", "%USERPROFILE%\\Desktop"},
    {CSIDL_NETHOOD, FolderKind::User, "NetHood",
     "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Network Shortcuts"},
    {CSIDL_FONTS, FolderKind::WindowsPath, "Fonts", ""},
    {CSIDL_TEMPLATES, FolderKind::User, "Templates",
     "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Templates"},
};

constexpr std::string_view kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

const SpecialFolder* FindSpecialFolder(int csidl) {
  for (const SpecialFolder& folder : kSpecialFolders) {
    if (folder.csidl == csidl) return &folder;
  }
  return nullptr;
}

// The folder a shell folder key names, when it names one.
std::optional<std::string> ShellFolderValue(Registry& registry, std::string_view keyName,
                                            std::string_view valueName,
                                            const Environment& environment) {
  Result<RegistryKey> key =
      registry.OpenKey(RootKey::CurrentUser, std::string(kExplorer) + std::string(keyName), false);
  if (!key) return std::nullopt;
  Result<RegValue> value = registry.ReadValue(*key, valueName);
  if (!value) return std::nullopt;
  std::optional<std::string> text = value->AsString();
  if (!text) return std::nullopt;
  if (value->type == REG_EXPAND_SZ) text = environment.Expand(*text);
  Result<std::string> path = NormalizeWinPath(*text);
  if (!path) return std::nullopt;
  return std::move(path).value();
}

}  // namespace

Result<std::string> SpecialFolderPath(Registry& registry, int csidl) {
  const SpecialFolder* folder = FindSpecialFolder(csidl);
  if (folder == nullptr) {
    return Status(ErrorCode::NotFound,
                  "The special folder " + std::to_string(csidl) + " is no file-system folder");
  }
  if (folder->kind == FolderKind::WindowsPath)
    return WinePrefix::WindowsDir() + "\\" + std::string(folder->valueName);

  const Environment environment = WineEnvironment(registry);
  for (std::string_view keyName : {"User Shell Folders", "Shell Folders"}) {
    if (auto path = ShellFolderValue(registry, keyName, folder->valueName, environment))
      return std::move(*path);
  }
  return NormalizeWinPath(environment.Expand(folder->fallback));
}

}  // namespace platform
