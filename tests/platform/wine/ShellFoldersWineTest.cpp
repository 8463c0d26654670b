// The special folders we resolve for a prefix are the ones Wine itself resolved when it set the
// prefix up: wineboot expands the user's shell folders and writes the results into the
// "Shell Folders" key, and creates the folders.

#include <gtest/gtest.h>

#include "platform/EnvironmentStrings.h"
#include "platform/Machine.h"
#include "platform/ShellFolders.h"
#include "platform/ShellNamespace.h"
#include "platform/Unicode.h"
#include "tests/support/TempDir.h"
#include "tests/support/WineTools.h"

namespace platform {
namespace {

TEST(ShellFoldersWineTest, OurSpecialFoldersAreTheOnesWineMade) {
  if (!testsupport::WineInstalled()) GTEST_SKIP() << "wine is not installed: interop skipped";
  const std::string& source = testsupport::TemplatePrefix();
  ASSERT_FALSE(source.empty()) << "wineboot could not make a prefix";
  testsupport::TempDir dir;
  const std::string prefix = dir / "prefix";
  ASSERT_TRUE(testsupport::CopyPrefix(source, prefix));

  Machine machine{WinePrefix(prefix)};
  ShellNamespace shell(machine);
  Result<RegistryKey> shellFolders = machine.registry().OpenKey(
      RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
      false);
  ASSERT_TRUE(shellFolders.ok()) << shellFolders.status().message();
  const struct {
    int csidl;
    const char* valueName;
  } folders[] = {
      {CSIDL_PROGRAMS, "Programs"},    {CSIDL_PERSONAL, "Personal"},
      {CSIDL_FAVORITES, "Favorites"},  {CSIDL_STARTUP, "StartUp"},
      {CSIDL_RECENT, "Recent"},        {CSIDL_SENDTO, "SendTo"},
      {CSIDL_STARTMENU, "Start Menu"}, {CSIDL_DESKTOPDIRECTORY, "Desktop"},
      {CSIDL_NETHOOD, "NetHood"},      {CSIDL_TEMPLATES, "Templates"},
      {CSIDL_FONTS, "Fonts"},
  };
  for (const auto& folder : folders) {
    Result<RegValue> wines = machine.registry().ReadValue(*shellFolders, folder.valueName);
    ASSERT_TRUE(wines.ok()) << folder.valueName;
    Result<std::string> ours = SpecialFolderPath(machine.registry(), folder.csidl);
    ASSERT_TRUE(ours.ok()) << ours.status().message();
    EXPECT_TRUE(EqualNoCase(*ours, wines->AsString().value_or("")))
        << folder.valueName << ": ours " << *ours << ", Wine's " << wines->AsString().value_or("");
    // Wine made every one of them, so the shell has an item for each.
    EXPECT_TRUE(shell.SpecialFolder(folder.csidl).ok()) << folder.valueName;
  }

  // The profile folder is the one Wine's programs see.
  const testsupport::CommandResult echo =
      testsupport::RunWithPrefix(prefix, {"wine", "cmd", "/c", "echo", "%USERPROFILE%"});
  testsupport::StopServer(prefix);
  const std::optional<std::string> profile =
      WineEnvironment(machine.registry()).Find("USERPROFILE");
  ASSERT_TRUE(profile.has_value());
  EXPECT_NE(echo.output.find(*profile + "\r\n"), std::string::npos)
      << "ours " << *profile << ", Wine says: " << echo.output;
}

}  // namespace
}  // namespace platform
