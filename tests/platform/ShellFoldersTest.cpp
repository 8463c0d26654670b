#include "platform/ShellFolders.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include "platform/EnvironmentStrings.h"
#include "platform/WinRegistry.h"
#include "tests/support/TempDir.h"

namespace platform {
namespace {

using testsupport::TempDir;

TEST(EnvironmentTest, ExpandsAsWindowsDoes) {
  Environment environment;
  environment.Set("USERPROFILE", "C:\\users\\ann");
  environment.Set("windir", "C:\\windows");
  environment.Set("Empty", "");
  environment.Set("userprofile", "C:\\users\\bob");  // names compare without case: replaces
  const struct {
    const char* text;
    const char* expanded;
  } cases[] = {
      {"%USERPROFILE%\\Documents", "C:\\users\\bob\\Documents"},
      {"%WinDir%\\Fonts", "C:\\windows\\Fonts"},
      {"%windir%%windir%", "C:\\windowsC:\\windows"},
      {"a%Empty%b", "ab"},
      {"%UNDEFINED%\\x", "%UNDEFINED%\\x"},
      {"%X%windir%", "%XC:\\windows"},  // the closing sign of an unknown name opens the next
      {"100%", "100%"},
      {"%%", "%%"},
      {"50% of %windir", "50% of %windir"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(environment.Expand(c.text), c.expanded) << c.text;
}

std::string LoginName() {
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr ? user->pw_name : "user";
}

constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class ShellFoldersTest : public ::testing::Test {
 protected:
  void Write(RootKey root, const char* key, const char* name, const char* text,
             uint32_t type = REG_SZ) {
    Result<RegistryKey> opened = registry.OpenKey(root, key, true);
    ASSERT_TRUE(opened.ok()) << opened.status().message();
    ASSERT_TRUE(registry.WriteValue(*opened, RegValue::String(name, text, type)).ok());
  }
  std::string Path(int csidl) {
    Result<std::string> path = SpecialFolderPath(registry, csidl);
    return path.ok() ? path.value() : "error: " + path.status().message();
  }

  TempDir dir;
  Registry registry{dir.path()};
};

TEST_F(ShellFoldersTest, UserFoldersComeFromTheRegistryElseFromWinesDefaults) {
  Write(RootKey::LocalMachine,
        "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-0-0-0-1000",
        "ProfileImagePath", "%SystemDrive%\\users\\ann", REG_EXPAND_SZ);
  Write(RootKey::CurrentUser, "Volatile Environment", "APPDATA", "D:\\Roaming");
  Write(RootKey::CurrentUser, kUserShellFolders, "Personal", "%USERPROFILE%\\My Files",
        REG_EXPAND_SZ);
  Write(RootKey::CurrentUser, kShellFolders, "Personal", "C:\\not this one");
  Write(RootKey::CurrentUser, kShellFolders, "Favorites", "c:/Favs/");
  Write(RootKey::CurrentUser, kUserShellFolders, "Templates", "");
  Write(RootKey::CurrentUser, kShellFolders, "Templates", "C:\\T");
  Write(RootKey::CurrentUser, kUserShellFolders, "Recent", "relative\\path", REG_EXPAND_SZ);
  Write(RootKey::CurrentUser, kUserShellFolders, "Start Menu", "%APPDATA%\\Start", REG_EXPAND_SZ);
  Write(RootKey::CurrentUser, kUserShellFolders, "Desktop", "C:\\%USERPROFILE%");  // REG_SZ
  Write(RootKey::CurrentUser, kUserShellFolders, "Fonts", "C:\\elsewhere");

  EXPECT_EQ(Path(CSIDL_PERSONAL), "C:\\users\\ann\\My Files");
  EXPECT_EQ(Path(CSIDL_FAVORITES), "C:\\Favs");
  EXPECT_EQ(Path(CSIDL_TEMPLATES), "C:\\T");
  EXPECT_EQ(Path(CSIDL_RECENT), "C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
  EXPECT_EQ(Path(CSIDL_STARTMENU), "D:\\Roaming\\Start");
  EXPECT_EQ(Path(CSIDL_DESKTOPDIRECTORY), "C:\\%USERPROFILE%");
  EXPECT_EQ(Path(CSIDL_PROGRAMS),
            "C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
  EXPECT_EQ(Path(CSIDL_STARTUP),
            "C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
  EXPECT_EQ(Path(CSIDL_SENDTO), "C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\SendTo");
  EXPECT_EQ(Path(CSIDL_NETHOOD),
            "C:\\users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Network Shortcuts");
  EXPECT_EQ(Path(CSIDL_FONTS), "C:\\windows\\Fonts");

  for (int csidl : {CSIDL_DESKTOP, CSIDL_DRIVES, CSIDL_CONTROLS, CSIDL_PRINTERS, CSIDL_BITBUCKET,
                    CSIDL_NETWORK, 0x7F}) {
    EXPECT_EQ(SpecialFolderPath(registry, csidl).status().code(), ErrorCode::NotFound) << csidl;
  }
}

TEST_F(ShellFoldersTest, APrefixWineNeverStartedHasItsProfileUnderTheLoginName) {
  EXPECT_EQ(Path(CSIDL_PERSONAL), "C:\\users\\" + LoginName() + "\\Documents");
  EXPECT_EQ(Path(CSIDL_DESKTOPDIRECTORY), "C:\\users\\" + LoginName() + "\\Desktop");
  const Environment environment = WineEnvironment(registry);
  EXPECT_EQ(environment.Find("ALLUSERSPROFILE"), "C:\\ProgramData");
  EXPECT_EQ(environment.Find("public"), "C:\\users\\Public");
  EXPECT_EQ(environment.Find("WINDIR"), "C:\\windows");
}

}  // namespace
}  // namespace platform
