#include "platform/EnvironmentStrings.h"

#include <pwd.h>
#include <unistd.h>

#include "platform/Unicode.h"
#include "platform/WinRegistry.h"
#include "platform/WinePrefix.h"

namespace platform {

void Environment::Set(std::string_view name, std::string value) {
  for (auto& [known, text] : variables_) {
    if (EqualNoCase(known, name)) {
      text = std::move(value);
      return;
    }
  }
  variables_.emplace_back(std::string(name), std::move(value));
}

std::optional<std::string> Environment::Find(std::string_view name) const {
  for (const auto& [known, text] : variables_) {
    if (EqualNoCase(known, name)) return text;
  }
  return std::nullopt;
}

std::string Environment::Expand(std::string_view text) const {
  std::string result;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('%', at);
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    result.append(text.substr(at, open - at));
    const std::string_view name = text.substr(open + 1, close - open - 1);
    if (std::optional<std::string> value = name.empty() ? std::nullopt : Find(name)) {
      result += *value;
      at = close + 1;
    } else {
      // The closing percent sign stays in the text and may open the next name.
      result.append(text.substr(open, close - open));
      at = close;
    }
  }
  result.append(text.substr(at));
  return result;
}

namespace {

constexpr std::string_view kProfileList =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// The one user of a Wine prefix always has this security identifier.
constexpr std::string_view kWineUserSid = "S-1-5-21-0-0-0-1000";

std::optional<std::string> ReadText(Registry& registry, RootKey root, std::string_view key,
                                    std::string_view name) {
  Result<RegistryKey> opened = registry.OpenKey(root, key, false);
  if (!opened) return std::nullopt;
  Result<RegValue> value = registry.ReadValue(*opened, name);
  if (!value) return std::nullopt;
  return value->AsString();
}

// Every text value of a key, expanded against the environment so far, in the key's order.
void AddValuesOf(Registry& registry, RootKey root, std::string_view key, Environment& environment) {
  Result<RegistryKey> opened = registry.OpenKey(root, key, false);
  if (!opened) return;
  Result<std::vector<RegValue>> values = registry.Values(*opened);
  if (!values) return;
  for (const RegValue& value : *values) {
    std::optional<std::string> text = value.AsString();
    if (text && !value.name.empty()) environment.Set(value.name, environment.Expand(*text));
  }
}

// Wine names the profile folder after the login name of the user who runs it.
std::string LoginName() {
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_name != nullptr)
    return user->pw_name;
  return "user";
}

}  // namespace

Environment WineEnvironment(Registry& registry) {
  Environment environment;
  const std::string windows = WinePrefix::WindowsDir();
  environment.Set("SystemDrive", windows.substr(0, 2));
  environment.Set("SystemRoot", windows);
  environment.Set("windir", windows);

  const auto profileValue = [&](std::string_view key, std::string_view name, std::string fallback) {
    std::optional<std::string> text = ReadText(registry, RootKey::LocalMachine, key, name);
    return text && !text->empty() ? environment.Expand(*text) : std::move(fallback);
  };
  const std::string programData = profileValue(kProfileList, "ProgramData", "C:\\ProgramData");
  environment.Set("ALLUSERSPROFILE", programData);
  environment.Set("ProgramData", programData);
  environment.Set("PUBLIC", profileValue(kProfileList, "Public", "C:\\users\\Public"));
  environment.Set("USERPROFILE",
                  profileValue(std::string(kProfileList) + "\\" + std::string(kWineUserSid),
                               "ProfileImagePath", "C:\\users\\" + LoginName()));

  AddValuesOf(registry, RootKey::LocalMachine,
              "System\\CurrentControlSet\\Control\\Session Manager\\Environment", environment);
  AddValuesOf(registry, RootKey::CurrentUser, "Environment", environment);
  AddValuesOf(registry, RootKey::CurrentUser, "Volatile Environment", environment);
  return environment;
}

}  // namespace platform
