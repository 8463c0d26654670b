#include "platform/WinePrefix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include "tests/support/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class WinePrefixTest : public ::testing::Test {
 protected:
  void Link(const std::string& name, const std::string& target) {
    fs::create_directories(dir_ / "dosdevices");
    fs::create_symlink(target, dir_ / ("dosdevices/" + name));
  }
  std::string Host(std::string_view windowsPath) {
    const Result<std::string> host = prefix_.ToHostPath(windowsPath);
    EXPECT_TRUE(host.ok()) << host.status().message();
    return host.ok() ? *host : "";
  }
  std::string Windows(const std::string& hostPath) {
    const Result<std::string> path = prefix_.ToWindowsPath(hostPath);
    EXPECT_TRUE(path.ok()) << path.status().message();
    return path.ok() ? *path : "";
  }

  testsupport::TempDir dir_;
  WinePrefix prefix_{dir_.path()};
};

TEST_F(WinePrefixTest, WithoutDosdevicesWineDefaultsApply) {
  for (const bool fileInItsPlace : {false, true}) {
    if (fileInItsPlace) testsupport::WriteFile(dir_ / "dosdevices", "not a folder");
    const std::vector<DriveMapping> drives = prefix_.Drives();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].letter, 'C');
    EXPECT_EQ(drives[0].root, dir_ / "drive_c");
    EXPECT_EQ(drives[1].letter, 'Z');
    EXPECT_EQ(drives[1].root, "/");
    EXPECT_EQ(Host("C:\\x"), dir_ / "drive_c/x");
  }
}

TEST_F(WinePrefixTest, DrivesAreTheDosdevicesLinks) {
  testsupport::TempDir elsewhere;
  Link("c:", "../drive_c");
  Link("d:", elsewhere.path() + "/");
  Link("c::", "/dev/sda1");
  Link("com1", "/dev/ttyS0");
  Link("E:", "/");  // Wine only looks for lower-case names
  const std::vector<DriveMapping> drives = prefix_.Drives();
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_EQ(drives[0].root, dir_ / "drive_c");
  EXPECT_EQ(drives[1].letter, 'D');
  EXPECT_EQ(drives[1].root, elsewhere.path());

  const Result<std::string> unmapped = prefix_.DriveRoot('z');
  EXPECT_EQ(unmapped.status().code(), ErrorCode::PathNotFound);
  EXPECT_NE(unmapped.status().message().find("Drive Z:"), std::string::npos);
  EXPECT_EQ(prefix_.ToHostPath("Z:\\tmp").status().code(), ErrorCode::PathNotFound);
}

// A dosdevices folder kept elsewhere: its relative links lead from where it really is. A drive
// may be a plain folder there too.
TEST_F(WinePrefixTest, RelativeLinksLeadFromTheRealDosdevicesFolder) {
  testsupport::TempDir shared;
  fs::create_directories(shared / "devices/f:");
  fs::create_symlink("../drive_c", shared / "devices/c:");
  fs::create_symlink(shared / "devices", dir_ / "dosdevices");
  EXPECT_EQ(Host("C:\\x"), shared / "drive_c/x");
  EXPECT_EQ(Host("F:\\"), dir_ / "dosdevices/f:");
  const std::vector<DriveMapping> drives = prefix_.Drives();
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[1].root, dir_ / "dosdevices/f:");
}

TEST_F(WinePrefixTest, PrefixComesFromTheEnvironmentLikeWine) {
  {
    ScopedEnv prefix("WINEPREFIX", (dir_.path() + "/").c_str());
    EXPECT_EQ(WinePrefix::FromEnvironment().folder(), dir_.path());
  }
  ScopedEnv prefix("WINEPREFIX", "");
  ScopedEnv home("HOME", dir_.path().c_str());
  EXPECT_EQ(WinePrefix::FromEnvironment().folder(), dir_ / ".wine");
}

TEST_F(WinePrefixTest, FindsNamesWithoutRegardToCase) {
  testsupport::WriteFile(dir_ / "drive_c/Windows/System32/Setup.LOG", "x");
  EXPECT_EQ(Host("C:\\WINDOWS\\system32\\setup.log"), dir_ / "drive_c/Windows/System32/Setup.LOG");
  // Missing names keep the case they were written in, so they can be created.
  EXPECT_EQ(Host("c:\\windows\\NewDir\\Sub"), dir_ / "drive_c/Windows/NewDir/Sub");
  EXPECT_EQ(Host("C:\\windows\\..\\..\\Windows"), dir_ / "drive_c/Windows");
  EXPECT_EQ(Host("C:\\"), dir_ / "drive_c");
}

TEST_F(WinePrefixTest, AnExactNameWinsOverOneThatDiffersInCase) {
  fs::create_directories(dir_ / "drive_c/abc");
  fs::create_directories(dir_ / "drive_c/ABC");
  EXPECT_EQ(Host("C:\\abc"), dir_ / "drive_c/abc");
  EXPECT_EQ(Host("C:\\ABC"), dir_ / "drive_c/ABC");
  const std::string either = Host("C:\\Abc");
  EXPECT_TRUE(either == dir_ / "drive_c/abc" || either == dir_ / "drive_c/ABC") << either;
}

TEST_F(WinePrefixTest, APrefixThatDoesNotExistIsAnEmptyMachine) {
  const WinePrefix fresh(dir_ / "not-yet");
  EXPECT_EQ(*fresh.ToHostPath("C:\\windows\\win.ini"), dir_ / "not-yet/drive_c/windows/win.ini");
  EXPECT_FALSE(fs::exists(dir_ / "not-yet"));
}

TEST_F(WinePrefixTest, HostPathsMapToTheClosestDrive) {
  fs::create_directories(dir_ / "drive_c/Windows");
  EXPECT_EQ(Windows(dir_ / "drive_c/Windows/x.dll"), "C:\\Windows\\x.dll");
  EXPECT_EQ(Windows(dir_ / "drive_c"), "C:\\");
  EXPECT_EQ(Windows(dir_ / "drive_c/"), "C:\\");
  EXPECT_EQ(Windows("/usr/lib/../share"), "Z:\\usr\\share");  // z: is the host root
  std::string outside = dir_ / "outside";
  std::replace(outside.begin(), outside.end(), '/', '\\');
  EXPECT_EQ(Windows(dir_ / "outside"), "Z:" + outside);
}

TEST_F(WinePrefixTest, DriveRootsAreMatchedThroughTheirLinks) {
  testsupport::TempDir real;
  fs::create_directory_symlink(real.path(), dir_ / "via-link");
  Link("c:", "../drive_c");
  Link("d:", dir_ / "via-link");
  EXPECT_EQ(Windows(real / "sub/file"), "D:\\sub\\file");
  EXPECT_EQ(Windows(dir_ / "via-link/sub"), "D:\\sub");
  // A link inside a drive stays on that drive (Wine links the Desktop to the home folder).
  fs::create_directories(dir_ / "drive_c/users/me");
  fs::create_directory_symlink(real.path(), dir_ / "drive_c/users/me/Desktop");
  EXPECT_EQ(Windows(dir_ / "drive_c/users/me/Desktop/a.txt"), "C:\\users\\me\\Desktop\\a.txt");

  const Result<std::string> outside = prefix_.ToWindowsPath("/usr");  // no z: here
  EXPECT_EQ(outside.status().code(), ErrorCode::NotFound);
  EXPECT_NE(outside.status().message().find("/usr"), std::string::npos);
}

TEST_F(WinePrefixTest, HostNamesWindowsCannotSpellAreRefused) {
  EXPECT_EQ(prefix_.ToWindowsPath(dir_ / "drive_c/a:b").status().code(), ErrorCode::InvalidName);
  EXPECT_EQ(prefix_.ToWindowsPath(dir_ / "drive_c/a\\b").status().code(), ErrorCode::InvalidName);
  EXPECT_EQ(prefix_.ToWindowsPath(dir_ / "drive_c/dot.").status().code(), ErrorCode::InvalidName);
}

// A hive that is there but cannot be read is told with why, as the loader would refuse it by
// its first line; the look never waits, also on a FIFO.
TEST_F(WinePrefixTest, HivesThatCannotBeReadAreToldWithTheirReason) {
  const std::string notAHive = "it does not start with \"WINE REGISTRY Version 2\"";
  const auto text = [](std::string bytes) {
    return [bytes](const std::string& file) { testsupport::WriteFile(file, bytes); };
  };
  struct Case {
    const char* what;
    std::function<void(const std::string& file)> make;
    std::string reason;  // empty: readable
  };
  const std::vector<Case> cases = {
      {"Wine's first line", text("WINE REGISTRY Version 2\n;; All keys relative to \n"), ""},
      {"with CR LF", text("WINE REGISTRY Version 2\r\n"), ""},
      {"the first line alone, without its end", text("WINE REGISTRY Version 2"), ""},
      {"a NUL that ends the line for the loader",
       text(std::string("WINE REGISTRY Version 2\0x\n", 26)), ""},
      {"a link to a hive",
       [&](const std::string& file) {
         testsupport::WriteFile(dir_ / "real.reg", "WINE REGISTRY Version 2\n");
         fs::create_symlink(dir_ / "real.reg", file);
       },
       ""},
      {"junk", text("junk\x01\n"), notAHive},
      {"an empty file", text(""), notAHive},
      {"more on the first line", text("WINE REGISTRY Version 23\n"), notAHive},
      {"a CR that no LF follows", text("WINE REGISTRY Version 2\r"), notAHive},
      {"a folder", [](const std::string& file) { fs::create_directory(file); }, "Is a directory"},
      {"a FIFO", [](const std::string& file) { ::mkfifo(file.c_str(), 0600); },
       "it is not a regular file"},
      {"a link that leads nowhere",
       [&](const std::string& file) { fs::create_symlink(dir_ / "nowhere", file); },
       "No such file or directory"},
      // The permission bits do not stop root.
      {"no permission to read it",
       [](const std::string& file) {
         testsupport::WriteFile(file, "WINE REGISTRY Version 2\n");
         ::chmod(file.c_str(), 0);
       },
       ::geteuid() == 0 ? "" : "Permission denied"},
  };
  for (const char* hive : {WinePrefix::kMachineHive, WinePrefix::kUserHive}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(hive) + ": " + c.what);
      testsupport::TempDir dir;
      for (const char* other : {WinePrefix::kMachineHive, WinePrefix::kUserHive})
        if (std::string_view(other) != hive)
          testsupport::WriteFile(dir / other, "WINE REGISTRY Version 2\n");
      c.make(dir / hive);
      const WinePrefix prefix(dir.path());
      EXPECT_TRUE(prefix.MissingHives().empty());
      const std::vector<HiveFault> faults = prefix.UnreadableHives();
      if (c.reason.empty()) {
        EXPECT_TRUE(faults.empty()) << faults.front().reason;
      } else {
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_EQ(faults[0].hive, hive);
        EXPECT_EQ(faults[0].reason, c.reason);
      }
    }
  }
  // A hive that is not there is missing, not unreadable.
  EXPECT_EQ(prefix_.MissingHives(), (std::vector<std::string>{"system.reg", "user.reg"}));
  EXPECT_TRUE(prefix_.UnreadableHives().empty());
}

TEST_F(WinePrefixTest, ApplicationDirIsTheProgramsFolder) {
  const Result<std::string> dir = prefix_.ApplicationDir();
  ASSERT_TRUE(dir.ok()) << dir.status().message();
  EXPECT_EQ(dir->substr(0, 3), "Z:\\");
  const fs::path program = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(fs::path(*prefix_.ToHostPath(*dir)), program.parent_path());
  EXPECT_EQ(WinePrefix::WindowsDir(), "C:\\windows");
}

}  // namespace
}  // namespace platform
