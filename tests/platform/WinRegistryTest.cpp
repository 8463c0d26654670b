#include "platform/WinRegistry.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/WineServer.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/TempDir.h"

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

const char* const kMachineHeader =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\Machine\n"
    "\n"
    "#arch=win64\n";
const char* const kUserHeader =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n";

// A 64-bit prefix's machine hive: the 32-bit side with its link to the shared
// classes key, and a development environment installed for 32-bit programs.
const char* const kMachineKeys =
    "\n[Software\\\\Borland\\\\Delphi\\\\5.0] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\"App\"=\"C:\\\\Native\\\\delphi32.exe\"\n"
    "\n[Software\\\\Classes\\\\Wow6432Node\\\\CLSID] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\n[Software\\\\Classes\\\\Wow6432Node\\\\Interface] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\n[Software\\\\Wow6432Node\\\\Apps] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\n[Software\\\\Wow6432Node\\\\Borland\\\\Delphi\\\\5.0] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "\"App\"=\"C:\\\\Program Files (x86)\\\\Borland\\\\Delphi5\\\\Bin\\\\delphi32.exe\"\n"
    "\n[Software\\\\Wow6432Node\\\\Classes] 1700000000\n"
    "#time=1da1b2c3d4e5f60\n"
    "#link\n"
    "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\\\n"
    "  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,53,00,6f,00,66,00,\\\n"
    "  74,00,77,00,61,00,72,00,65,00,5c,00,43,00,6c,00,61,00,73,00,73,00,65,00,73,\\\n"
    "  00,5c,00,57,00,6f,00,77,00,36,00,34,00,33,00,32,00,4e,00,6f,00,64,00,65,00\n";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "system.reg", std::string(kMachineHeader) + kMachineKeys);
  }
  std::string Text(const char* hive) { return ReadFile(dir / hive); }

  TempDir dir;
};

TEST_F(RegistryTest, ThirtyTwoBitViewLandsInWow6432Node) {
  Registry reg32(dir.path());
  auto key = reg32.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
  ASSERT_TRUE(key.ok()) << key.status().message();
  auto app = reg32.ReadValue(*key, "app");
  ASSERT_TRUE(app.ok());
  EXPECT_EQ(app->AsString(), "C:\\Program Files (x86)\\Borland\\Delphi5\\Bin\\delphi32.exe");

  Registry reg64(dir.path(), RegistryView::Win64);
  auto native = reg64.OpenKey(RootKey::LocalMachine, "SOFTWARE\\borland\\DELPHI\\5.0", false);
  ASSERT_TRUE(native.ok());
  EXPECT_EQ(reg64.ReadValue(*native, "App")->AsString(), "C:\\Native\\delphi32.exe");

  // Naming the node explicitly is not redirected a second time.
  auto explicitKey =
      reg32.OpenKey(RootKey::LocalMachine, "Software\\Wow6432Node\\Borland\\Delphi\\5.0", false);
  ASSERT_TRUE(explicitKey.ok());
  EXPECT_EQ(explicitKey->path.size(), 5u);
}

TEST_F(RegistryTest, MissingKeysAndValuesAreNotFound) {
  Registry reg(dir.path());
  auto missing = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\3.0", false);
  EXPECT_EQ(missing.status().code(), ErrorCode::NotFound);
  EXPECT_NE(missing.status().message().find("Delphi\\3.0"), std::string::npos);
  auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
  EXPECT_EQ(reg.ReadValue(*key, "Delphi 5").status().code(), ErrorCode::NotFound);
}

// A hive that cannot be read never answers "not there": whoever asks would take a missing
// key for one nobody made, while nobody knows what the file holds.
TEST_F(RegistryTest, AHiveThatCannotBeReadIsNeverNotFound) {
  struct Case {
    const char* what;
    std::function<void(const std::string& file)> spoil;
    ErrorCode code;
  };
  const std::vector<Case> cases = {
      {"a folder", [](const std::string& file) { std::filesystem::create_directory(file); },
       ErrorCode::IoError},
      {"junk", [](const std::string& file) { WriteFile(file, "junk\n"); }, ErrorCode::BadFormat},
      {"empty", [](const std::string& file) { WriteFile(file, ""); }, ErrorCode::BadFormat},
      {"another architecture",
       [](const std::string& file) { WriteFile(file, "WINE REGISTRY Version 2\n#arch=arm\n"); },
       ErrorCode::BadFormat},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(dir / "user.reg");
    c.spoil(dir / "user.reg");
    Registry reg(dir.path());
    auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Borland", false);
    EXPECT_EQ(key.status().code(), c.code) << key.status().message();
    EXPECT_NE(key.status().message().find("user.reg"), std::string::npos);
    EXPECT_TRUE(reg.OpenKey(RootKey::LocalMachine, "Software\\Borland", false));
  }
}

TEST_F(RegistryTest, ClassesFollowTheLinkToTheSharedKey) {
  Registry reg(dir.path());
  auto viaMachine = reg.OpenKey(RootKey::LocalMachine, "Software\\Classes\\MyClass", true);
  ASSERT_TRUE(viaMachine.ok()) << viaMachine.status().message();
  const std::vector<std::string> expected = {"Software", "Classes", "Wow6432Node", "MyClass"};
  EXPECT_EQ(viaMachine->path, expected);
  auto viaRoot = reg.OpenKey(RootKey::ClassesRoot, "myclass", false);
  ASSERT_TRUE(viaRoot.ok()) << viaRoot.status().message();
  EXPECT_EQ(viaRoot->path, expected);
  EXPECT_NE(Text("system.reg").find("[Software\\\\Classes\\\\Wow6432Node\\\\MyClass]"),
            std::string::npos);
}

TEST_F(RegistryTest, CurrentUserIsNeverRedirected) {
  WriteFile(dir / "user.reg", std::string(kUserHeader) +
                                  "\n[Software\\\\Wow6432Node\\\\X] 1700000000\n"
                                  "#time=1da1b2c3d4e5f60\n");
  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\X", true);
  ASSERT_TRUE(key.ok());
  const std::vector<std::string> expected = {"Software", "X"};
  EXPECT_EQ(key->path, expected);
}

TEST_F(RegistryTest, NewPrefixGetsHiveWithWineHeader) {
  TempDir empty;
  const std::string prefix = empty / "new-prefix";
  {
    Registry reg(prefix);
    auto key =
        reg.OpenKey(RootKey::CurrentUser, "Software\\Borland\\Delphi\\5.0\\Known Packages", true);
    ASSERT_TRUE(key.ok()) << key.status().message();
    ASSERT_TRUE(reg.WriteString(*key, "C:\\Pkg\\Design.bpl", "Design package").ok());
  }
  const std::string text = ReadFile(prefix + "/user.reg");
  EXPECT_EQ(text.rfind(kUserHeader, 0), 0u) << text;
  EXPECT_NE(text.find("\"C:\\\\Pkg\\\\Design.bpl\"=\"Design package\""), std::string::npos);

  Registry again(prefix);
  auto key =
      again.OpenKey(RootKey::CurrentUser, "software\\borland\\delphi\\5.0\\known packages", false);
  ASSERT_TRUE(key.ok());
  EXPECT_EQ(again.ReadValue(*key, "c:\\pkg\\design.bpl")->AsString(), "Design package");
}

TEST_F(RegistryTest, ValueNamesKeepTheirFirstSpelling) {
  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Test", true);
  ASSERT_TRUE(reg.WriteString(*key, "Known", "one").ok());
  ASSERT_TRUE(reg.WriteString(*key, "KNOWN", "two").ok());
  auto values = reg.Values(*key);
  ASSERT_TRUE(values.ok());
  ASSERT_EQ(values->size(), 1u);
  EXPECT_EQ((*values)[0].name, "Known");
  EXPECT_EQ((*values)[0].AsString(), "two");

  ASSERT_TRUE(reg.DeleteValue(*key, "known").ok());
  EXPECT_EQ(reg.DeleteValue(*key, "known").code(), ErrorCode::NotFound);
  EXPECT_TRUE(reg.Values(*key)->empty());
}

TEST_F(RegistryTest, WritingTheSameDataLeavesTheFileAlone) {
  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
  const std::string before = Text("system.reg");
  struct stat st1 {};
  ::stat((dir / "system.reg").c_str(), &st1);
  ASSERT_TRUE(
      reg.WriteString(*key, "App", "C:\\Program Files (x86)\\Borland\\Delphi5\\Bin\\delphi32.exe")
          .ok());
  struct stat st2 {};
  ::stat((dir / "system.reg").c_str(), &st2);
  EXPECT_EQ(st1.st_ino, st2.st_ino);
  EXPECT_EQ(Text("system.reg"), before);
}

// A hive read ahead counts only while it is still what the file holds, whether the whole file
// was read or only what the lookups of a few keys meet.
TEST_F(RegistryTest, AReadAheadOfAnOlderFileIsNotTaken) {
  const char* const path = "Software\\Wow6432Node\\Borland\\Delphi\\5.0";
  const auto app = [&](Registry& reg) {
    auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
    auto value = key ? reg.ReadValue(*key, "App") : platform::Result<RegValue>(key.status());
    return value ? value->AsString().value_or("not a string") : value.status().message();
  };
  for (const std::vector<std::string>& keys :
       {std::vector<std::string>{}, std::vector<std::string>{"Software\\Borland\\Delphi\\5.0"}}) {
    SCOPED_TRACE(keys.empty() ? "the whole file" : "a slice");
    SetUp();
    Registry ahead(dir.path());
    ahead.ReadAhead(keys);
    EXPECT_EQ(app(ahead), "C:\\Program Files (x86)\\Borland\\Delphi5\\Bin\\delphi32.exe");
    // Lookups elsewhere read the whole file: the slice holds only the first key below each
    // other child on the way.
    const char* const elsewhere = "Software\\Classes\\Wow6432Node\\Interface";
    Registry opener(dir.path(), RegistryView::Win64);
    auto opened = opener.OpenKey(RootKey::LocalMachine, elsewhere, false);
    ASSERT_TRUE(opened);
    Registry native(dir.path(), RegistryView::Win64);
    native.ReadAhead(keys);
    EXPECT_TRUE(native.Values(*opened));
    Registry other(dir.path(), RegistryView::Win64);
    other.ReadAhead(keys);
    EXPECT_TRUE(other.OpenKey(RootKey::LocalMachine, elsewhere, false));

    Registry late(dir.path());
    late.ReadAhead(keys);
    ::usleep(50000);  // the read ahead has all but surely read the old file by now
    Registry writer(dir.path());
    auto key = writer.OpenKey(RootKey::LocalMachine, path, false);
    ASSERT_TRUE(key && writer.WriteString(*key, "App", "D:\\New\\delphi32.exe"));
    EXPECT_EQ(app(late), "D:\\New\\delphi32.exe");
  }
}

// A slice answers only for the keys it was read for.
TEST_F(RegistryTest, AReadAheadForOtherKeysIsTheOneThatCounts) {
  Registry reg(dir.path(), RegistryView::Win64);
  reg.ReadAhead({"Software\\Borland\\Delphi\\5.0"});
  reg.ReadAhead({"Software\\Classes\\Wow6432Node\\Interface"});
  EXPECT_TRUE(
      reg.OpenKey(RootKey::LocalMachine, "Software\\Classes\\Wow6432Node\\Interface", false));
}

TEST_F(RegistryTest, HiveWeDoNotUnderstandIsNeverWritten) {
  const std::string odd = "WINE REGISTRY Version 3\n\n[Software\\\\X] 1\n\"a\"=\"b\"\n";
  WriteFile(dir / "user.reg", odd);
  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\X", true);
  EXPECT_EQ(key.status().code(), ErrorCode::BadFormat);
  EXPECT_NE(key.status().message().find("user.reg"), std::string::npos) << key.status().message();
  EXPECT_EQ(Text("user.reg"), odd);
  EXPECT_FALSE(reg.Problems().empty());
}

TEST_F(RegistryTest, KeepsModeAndWritesThroughALinkedHive) {
  TempDir elsewhere;
  WriteFile(elsewhere / "user.reg", kUserHeader);
  ::chmod((elsewhere / "user.reg").c_str(), 0600);
  ASSERT_EQ(::symlink((elsewhere / "user.reg").c_str(), (dir / "user.reg").c_str()), 0);

  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Linked", true);
  ASSERT_TRUE(key.ok()) << key.status().message();
  ASSERT_TRUE(reg.WriteString(*key, "v", "1").ok());

  struct stat st {};
  ASSERT_EQ(::lstat((dir / "user.reg").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(::stat((elsewhere / "user.reg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_NE(ReadFile(elsewhere / "user.reg").find("[Software\\\\Linked]"), std::string::npos);
}

TEST_F(RegistryTest, FailedSaveLeavesTheOldHive) {
  const std::string before = Text("system.reg");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file size limit below the hive's size makes the temporary file fail midway.
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      64, 64
    };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    Registry reg(dir.path());
    auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
    const Status s = reg.WriteString(*key, "New", "value");
    ::_exit(!s.ok() && !s.message().empty() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Text("system.reg"), before);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
        << "temporary file left behind: " << entry.path();
  }
}

// A writer that dies while it writes (here the file size limit's signal ends it, as a kill
// would) leaves its temporary file; the next change of the hive removes it.
TEST_F(RegistryTest, TheNextChangeRemovesWhatAKilledWriterLeft) {
  const std::string before = Text("system.reg");
  const auto besideTheHive = [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      if (entry.path().filename() != "system.reg") names.push_back(entry.path().filename());
    }
    return names;
  };
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    struct rlimit limit {
      64, 64
    };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    Registry reg(dir.path());
    auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
    (void)reg.WriteString(*key, "New", "value");
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  EXPECT_EQ(Text("system.reg"), before);
  EXPECT_EQ(besideTheHive().size(), 1u) << "the killed writer's temporary file";

  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
  ASSERT_TRUE(key.ok());
  ASSERT_TRUE(reg.WriteString(*key, "New", "value").ok());
  EXPECT_EQ(besideTheHive(), std::vector<std::string>{});
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
  constexpr int kWriters = 3;
  constexpr int kValuesEach = 20;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Registry reg(dir.path());
      auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Shared", true);
      bool ok = key.ok();
      for (int i = 0; ok && i < kValuesEach; ++i) {
        ok = reg.WriteString(*key, "w" + std::to_string(w) + "_" + std::to_string(i), "x").ok();
      }
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::CurrentUser, "Software\\Shared", false);
  ASSERT_TRUE(key.ok());
  EXPECT_EQ(reg.Values(*key)->size(), size_t{kWriters * kValuesEach});
}

TEST_F(RegistryTest, ReadsDoNotWaitForTheWriteLock) {
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
  EXPECT_TRUE(key.ok());
  EXPECT_TRUE(reg.ReadValue(*key, "App").ok());
  ::close(fd);
}

// Whether a process waits for the lock on `folder` (/proc/locks lists a waiter with "->").
bool SomeoneWaitsForTheLockOf(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return false;
  const std::string inode = ":" + std::to_string(info.st_ino) + " ";
  std::istringstream locks(ReadFile("/proc/locks"));
  for (std::string line; std::getline(locks, line);) {
    if (line.find("-> FLOCK") != std::string::npos && line.find(inode) != std::string::npos) {
      return true;
    }
  }
  return false;
}

// The server can start while a write waits for the prefix's lock: once the write has the lock,
// the registry is the server's.
TEST_F(RegistryTest, AWriteThatWaitedWhileAServerStartedIsRefused) {
  const std::string before = Text("system.reg");
  Registry reg(dir.path());
  auto key = reg.OpenKey(RootKey::LocalMachine, "Software\\Borland\\Delphi\\5.0", false);
  ASSERT_TRUE(key.ok());
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  Status written;
  std::thread writer([&] { written = reg.WriteString(*key, "New", "value"); });
  for (int wait = 0; wait < 60000 && !SomeoneWaitsForTheLockOf(dir.path()); ++wait)
    ::usleep(1000);
  const bool waited = SomeoneWaitsForTheLockOf(dir.path());
  {
    testsupport::FakeWineServer server(dir.path());
    // Unlocked, not only closed: the server's process holds a copy of the descriptor.
    ::flock(fd, LOCK_UN);
    ::close(fd);
    writer.join();
  }
  ASSERT_TRUE(waited) << "the write never waited for the lock";
  EXPECT_EQ(written.code(), ErrorCode::AccessDenied) << written.message();
  EXPECT_NE(written.message().find("running Wine server"), std::string::npos) << written.message();
  EXPECT_EQ(Text("system.reg"), before);
}

// A test that dies leaves no server behind: an orphan would keep the lock and the runner's output.
TEST_F(RegistryTest, TheFakeServerDiesWithItsTest) {
  const pid_t test = ::fork();
  ASSERT_GE(test, 0);
  if (test == 0) {
    testsupport::FakeWineServer server(dir.path());
    ::_exit(QueryWineServer(dir.path()).running ? 0 : 1);  // skips the server's destructor
  }
  int status = 0;
  ASSERT_EQ(::waitpid(test, &status, 0), test);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the server never ran";
  bool running = true;
  for (int i = 0; i < 500 && running; ++i, ::usleep(10000))
    running = QueryWineServer(dir.path()).running;
  EXPECT_FALSE(running);
  const char* tmp = std::getenv("TMPDIR");
  const std::string left = "fake-wineserver-" + std::to_string(test) + "-";
  for (const auto& entry :
       std::filesystem::directory_iterator(tmp != nullptr && *tmp ? tmp : "/tmp"))
    if (entry.path().filename().string().starts_with(left))
      std::filesystem::remove_all(entry.path());
}

TEST_F(RegistryTest, UsersRootListsBothUsers) {
  Registry reg(dir.path());
  auto users = reg.OpenKey(RootKey::Users, "", false);
  ASSERT_TRUE(users.ok());
  const std::vector<std::string> expected = {".Default", "S-1-5-21-0-0-0-1000"};
  EXPECT_EQ(*reg.SubKeyNames(*users), expected);
  EXPECT_EQ(reg.WriteString(*users, "a", "b").code(), ErrorCode::AccessDenied);
  auto mine = reg.OpenKey(RootKey::Users, "S-1-5-21-0-0-0-1000\\Software\\Mine", true);
  ASSERT_TRUE(mine.ok());
  EXPECT_EQ(mine->hive, reg.OpenKey(RootKey::CurrentUser, "Software\\Mine", false)->hive);
}

}  // namespace
}  // namespace platform
