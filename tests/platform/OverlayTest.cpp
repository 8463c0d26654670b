// A machine that keeps its changes in an overlay answers every call as the real machine does
// afterwards, and leaves the disk as it was: the same script runs on the overlay, then on the
// disk itself, and the two transcripts must match word for word.

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/FileApi.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/ReplacementFile.h"
#include "platform/WinRegistry.h"
#include "platform/hive/HiveFile.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/LongNames.h"
#include "tests/support/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::Accents;
using testsupport::FolderState;
using testsupport::ReadFile;
using testsupport::WriteFile;

std::string Said(const Status& status) {
  return status ? "ok" : std::to_string(static_cast<int>(status.code())) + " " + status.message();
}

std::string Attributes(const FileSystem& files, const std::string& path) {
  const Result<std::uint32_t> attributes = files.GetAttributes(path);
  return attributes ? std::to_string(*attributes) : Said(attributes.status());
}

std::string Content(const FileSystem& files, const std::string& path) {
  const Result<std::string> content = files.ReadFile(path);
  return content ? "\"" + *content + "\"" : Said(content.status());
}

std::string Exists(const FileSystem& files, const std::string& path) {
  return std::string(files.FileExists(path) ? "file" : "-") +
         (files.DirectoryExists(path) ? " folder" : "");
}

// A Windows path below `path` whose host path has exactly `bytes` bytes, in names of `fill`.
std::string HostLong(const FileSystem& f, size_t bytes, char fill, const std::string& path = "C:") {
  return testsupport::GrownTo(path, f.prefix().ToHostPath(path + "\\").value().size(), bytes, fill);
}

// A folder whose host path has `folder` bytes, and a copy into it of a name of `name` bytes.
std::string CopyInto(FileSystem& f, size_t folder, size_t name, char fill) {
  const std::string into = HostLong(f, folder, fill);
  const std::string made = Said(f.ForceDirectories(into));
  return made + " " + Said(f.CopyFile("C:\\dist\\a.dll", into + "\\" + std::string(name, 'n')));
}

std::string Appended(FileSystem& f, const char* path) {
  return Said(f.RewriteFile(path, [](const std::optional<std::string>& now) -> Result<std::string> {
    return now.value_or("") + "x";
  }));
}

// Each call with what it answered, the questions after a change included.
const std::vector<std::pair<const char*, std::function<std::string(FileSystem&)>>> kScript = {
    {"copy",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\target\\a.dll")); }},
    {"read the copy", [](FileSystem& f) { return Content(f, "C:\\TARGET\\A.DLL"); }},
    {"copy a missing source",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\none.dll", "C:\\target\\n.dll")); }},
    {"copy over a read-only target",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\target\\old.dll")); }},
    {"copy into a missing folder",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\nowhere\\a.dll")); }},
    {"copy onto a folder",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\empty")); }},
    {"copy a folder", [](FileSystem& f) { return Said(f.CopyFile("C:\\empty", "C:\\e.dll")); }},
    {"copy a file onto itself",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "c:\\DIST\\a.dll")); }},
    {"copy without overwriting",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\target\\a.dll", false)); }},
    {"copy a read-only source",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\ro.dll", "C:\\target\\ro.dll")); }},
    {"its attributes", [](FileSystem& f) { return Attributes(f, "C:\\target\\ro.dll"); }},
    {"made writable",
     [](FileSystem& f) { return Said(f.SetAttributes("C:\\target\\ro.dll", faNormal)); }},
    {"its attributes then", [](FileSystem& f) { return Attributes(f, "C:\\target\\ro.dll"); }},
    {"copy over the copy",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\b.dll", "C:\\target\\ro.dll")); }},
    {"read it", [](FileSystem& f) { return Content(f, "C:\\target\\ro.dll"); }},
    {"folders", [](FileSystem& f) { return Said(f.ForceDirectories("C:\\new\\deep\\er")); }},
    {"found", [](FileSystem& f) { return Exists(f, "c:\\NEW\\deep\\ER"); }},
    {"copy into them",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\new\\Deep\\er\\a.dll")); }},
    {"a file on the way",
     [](FileSystem& f) { return Said(f.ForceDirectories("C:\\blocker\\sub")); }},
    {"a file in the way", [](FileSystem& f) { return Said(f.ForceDirectories("C:\\blocker")); }},
    {"nothing left of it", [](FileSystem& f) { return Exists(f, "C:\\blocker\\sub"); }},
    {"a folder there", [](FileSystem& f) { return Said(f.CreateDirectory("C:\\empty")); }},
    {"a folder below a missing one",
     [](FileSystem& f) { return Said(f.CreateDirectory("C:\\nowhere\\x")); }},
    {"delete a read-only file",
     [](FileSystem& f) { return Said(f.DeleteFile("C:\\target\\old.dll")); }},
    {"delete a folder", [](FileSystem& f) { return Said(f.DeleteFile("C:\\empty")); }},
    {"delete a file", [](FileSystem& f) { return Said(f.DeleteFile("C:\\target\\keep.txt")); }},
    {"gone", [](FileSystem& f) { return Exists(f, "C:\\target\\keep.txt"); }},
    {"read it again", [](FileSystem& f) { return Content(f, "C:\\target\\keep.txt"); }},
    {"delete it again", [](FileSystem& f) { return Said(f.DeleteFile("C:\\target\\keep.txt")); }},
    {"remove a full folder", [](FileSystem& f) { return Said(f.RemoveDirectory("C:\\full")); }},
    {"empty it", [](FileSystem& f) { return Said(f.DeleteFile("C:\\full\\one.txt")); }},
    {"remove it", [](FileSystem& f) { return Said(f.RemoveDirectory("C:\\full")); }},
    {"below it",
     [](FileSystem& f) {
       return Content(f, "C:\\full\\one.txt") + Exists(f, "C:\\full\\.~copy-99999999-1.tmp") + " " +
              Said(f.DeleteFile(HostLong(f, PATH_MAX, 'v', "C:\\full")));
     }},
    {"remove a file", [](FileSystem& f) { return Said(f.RemoveDirectory("C:\\target\\a.dll")); }},
    {"remove the new folder with its copy",
     [](FileSystem& f) { return Said(f.RemoveDirectory("C:\\new\\deep\\er")); }},
    {"empty the new folder",
     [](FileSystem& f) { return Said(f.DeleteFile("C:\\new\\deep\\er\\a.dll")); }},
    {"remove the new folder",
     [](FileSystem& f) { return Said(f.RemoveDirectory("C:\\new\\deep\\er")); }},
    {"what is left",
     [](FileSystem& f) { return Exists(f, "C:\\new\\deep") + Exists(f, "C:\\new\\deep\\er"); }},
    {"remove and make again",
     [](FileSystem& f) {
       const std::string removed = Said(f.RemoveDirectory("C:\\empty"));
       return removed + " " + Said(f.CreateDirectory("C:\\Empty"));
     }},
    {"a drive root", [](FileSystem& f) { return Said(f.RemoveDirectory("C:\\")); }},
    {"save a new file",
     [](FileSystem& f) {
       const auto add = [](const std::optional<std::string>& now) -> Result<std::string> {
         return now.value_or("") + "x";
       };
       std::string said = Said(f.RewriteFile("C:\\target\\settings.ini", add));
       said += " " + Said(f.RewriteFile("C:\\target\\settings.ini", add));
       return said + " " + Content(f, "C:\\target\\settings.ini");
     }},
    {"save over a read-only file",
     [](FileSystem& f) {
       return Said(f.RewriteFile("C:\\target\\old.dll",
                                 [](const std::optional<std::string>& now) -> Result<std::string> {
                                   return *now + "x";
                                 }));
     }},
    {"same content",
     [](FileSystem& f) {
       const auto same = [&f](const char* a, const char* b) {
         const Result<bool> said = f.SameContent(a, b);
         return said ? std::to_string(*said) : Said(said.status());
       };
       return same("C:\\dist\\a.dll", "C:\\target\\a.dll") + " " +
              same("C:\\dist\\b.dll", "C:\\target\\RO.dll") + " " +
              same("C:\\dist\\a.dll", "C:\\dist\\b.dll") + " " +
              same("C:\\dist\\a.dll", "C:\\target\\keep.txt");
     }},
    {"one file, two names",
     [](FileSystem& f) {
       return std::to_string(f.SameFile("C:\\dist\\a.dll", "c:\\DIST\\A.dll")) +
              std::to_string(f.SameFile("C:\\dist\\a.dll", "C:\\target\\a.dll")) +
              std::to_string(f.SameFile("C:\\target\\a.dll", "C:\\TARGET\\a.dll"));
     }},
    {"levels made up to a device name",
     [](FileSystem& f) {
       const std::string made = Said(f.ForceDirectories("C:\\made\\Aux\\x"));
       return made + " " + Exists(f, "C:\\made");
     }},
    {"below a file put in a folder's place",
     [](FileSystem& f) {
       const std::string copied = Said(f.CopyFile("C:\\dist\\a.dll", "C:\\full"));
       return copied + " " + Attributes(f, "C:\\full\\two.txt") + " " +
              Attributes(f, "C:\\full\\one.txt");
     }},
    // Nodes that are not files stay what they are, however they are reached.
    {"copy onto a pipe",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\target\\pipe")); }},
    {"copy through a link to a device outside the drives",
     [](FileSystem& f) { return Said(f.CopyFile("C:\\dist\\a.dll", "C:\\target\\to-device")); }},
    {"save over a device", [](FileSystem& f) { return Appended(f, "C:\\target\\to-device"); }},
    {"delete a pipe", [](FileSystem& f) { return Said(f.DeleteFile("C:\\target\\pipe")); }},
    {"delete a link to a device",
     [](FileSystem& f) {
       const std::string deleted = Said(f.DeleteFile("C:\\target\\to-device"));
       return deleted + " " + Exists(f, "C:\\target\\to-device");
     }},
    // The host's limits: a name's bytes (255 here; an é is two), a path's (4095 and its NUL),
    // the temporary's path beside a target, and the size of file the process may write.
    {"a name at the limit",
     [](FileSystem& f) {
       const std::string folder = "C:\\" + Accents(127) + "x";
       const std::string named = Said(f.ForceDirectories("C:\\" + std::string(255, 'x')));
       const std::string made = Said(f.ForceDirectories(folder));
       return named + " " + made + " " +
              Said(f.CopyFile("C:\\dist\\a.dll", folder + "\\" + std::string(255, 'y')));
     }},
    {"a name over it",
     [](FileSystem& f) {
       const std::string e = Accents(128);
       const std::string made = Said(f.ForceDirectories("C:\\new\\" + e));
       const std::string copied = Said(f.CopyFile("C:\\dist\\a.dll", "C:\\new\\deep\\" + e));
       const std::string deleted = Said(f.DeleteFile("C:\\new\\deep\\" + e));
       return made + " " + copied + " " + deleted + " " +
              Said(f.ForceDirectories("C:\\" + std::string(256, 'x')));
     }},
    {"a path at the limit and over it",
     [](FileSystem& f) {
       const std::string at = Said(f.ForceDirectories(HostLong(f, PATH_MAX - 1, 'p')));
       const std::string over = Said(f.ForceDirectories(HostLong(f, PATH_MAX, 'q')));
       return at + " " + over + " " + Exists(f, HostLong(f, PATH_MAX - 1, 'p'));
     }},
    {"a copy's path at the limit and over it",
     [](FileSystem& f) {
       const std::string at = CopyInto(f, 4000, PATH_MAX - 1 - 4001, 'r');
       return at + " " + CopyInto(f, 4000, PATH_MAX - 4001, 's');
     }},
    {"a temporary's path at the limit and over it",
     [](FileSystem& f) {
       const std::string at = CopyInto(f, PATH_MAX - 2 - kLongestTemporaryName, 5, 't');
       return at + " " + CopyInto(f, PATH_MAX - 1 - kLongestTemporaryName, 5, 'u');
     }},
    {"a copy and a save beyond the file size limit",
     [](FileSystem& f) {
       const testsupport::FileSizeLimit limit(1);
       const std::string one = Said(f.CopyFile("C:\\dist\\a.dll", "C:\\target\\one.dll"));
       const std::string big = Said(f.CopyFile("C:\\dist\\big.dll", "C:\\target\\big.dll"));
       return one + " " + big + " " + Appended(f, "C:\\target\\keep.txt");
     }},
};

class OverlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(C("dist/a.dll"), "A");
    WriteFile(C("dist/b.dll"), "B");
    WriteFile(C("dist/ro.dll"), "R");
    WriteFile(C("target/old.dll"), "old");
    WriteFile(C("target/keep.txt"), "keep");
    WriteFile(C("full/one.txt"), "1");
    // What a copy killed halfway left: the real removal takes it away with the folder.
    WriteFile(C("full/.~copy-99999999-1.tmp"), "half");
    WriteFile(C("blocker"), "a file");
    WriteFile(C("dist/big.dll"), "two");
    ASSERT_EQ(::mkfifo(C("target/pipe").c_str(), 0666), 0);
    // Only root may make a device; a pipe stands in for it otherwise.
    const std::string device = dir_ / "device";
    if (::geteuid() == 0) {
      ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    } else {
      ASSERT_EQ(::mkfifo(device.c_str(), 0666), 0);
    }
    fs::create_symlink(device, C("target/to-device"));
    fs::create_directories(C("empty"));
    fs::permissions(C("dist/ro.dll"), fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);
    fs::permissions(C("target/old.dll"), fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);
  }
  std::string C(const std::string& relative) const { return dir_ / ("drive_c/" + relative); }

  std::vector<std::string> Run(FileSystem files) {
    std::vector<std::string> said;
    for (const auto& [what, call] : kScript)
      said.push_back(std::string(what) + ": " + call(files));
    return said;
  }

  testsupport::TempDir dir_;
};

TEST_F(OverlayTest, AnswersAsTheDiskWouldAndLeavesItAlone) {
  const auto before = FolderState(dir_.path());
  const std::vector<std::string> planned =
      Run(FileSystem(WinePrefix(dir_.path()), Writes::KeptInOverlay));
  EXPECT_EQ(FolderState(dir_.path()), before) << "the overlay wrote to the disk";
  const std::vector<std::string> done = Run(FileSystem(WinePrefix(dir_.path())));
  ASSERT_EQ(planned.size(), done.size());
  for (size_t line = 0; line < planned.size(); ++line)
    EXPECT_EQ(planned[line], done[line]);
  EXPECT_NE(FolderState(dir_.path()), before) << "the script changes nothing: it tests nothing";
  // Refused, not only alike: nothing was written over a node that is not a file, and a link
  // to one went; a file of the size limit's bytes was copied, one byte more was not.
  EXPECT_EQ(FolderState(dir_.path()).at("device"), before.at("device"));
  struct stat pipe {};
  EXPECT_TRUE(::lstat(C("target/pipe").c_str(), &pipe) == 0 && S_ISFIFO(pipe.st_mode));
  EXPECT_FALSE(fs::exists(fs::symlink_status(C("target/to-device"))));
  EXPECT_EQ(done.back().substr(0, done.back().find("big.dll")),
            "a copy and a save beyond the file size limit: ok 7 Cannot copy C:\\dist\\");
}

// A copy made in the overlay keeps the source's bytes even when the source changes later in
// the same overlay, as the file on disk would.
TEST_F(OverlayTest, ACopyKeepsWhatItCopied) {
  const FileSystem files(WinePrefix(dir_.path()), Writes::KeptInOverlay);
  ASSERT_TRUE(files.CopyFile("C:\\dist\\a.dll", "C:\\target\\a.dll"));
  ASSERT_TRUE(files.CopyFile("C:\\dist\\b.dll", "C:\\dist\\a.dll"));
  EXPECT_EQ(Content(files, "C:\\target\\a.dll"), "\"A\"");
  EXPECT_EQ(Content(files, "C:\\dist\\a.dll"), "\"B\"");
}

class OverlayRegistryTest : public OverlayTest {
 protected:
  void SetUp() override {
    OverlayTest::SetUp();
    WriteFile(dir_ / "system.reg",
              "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
              "#arch=win64\n\n[Software\\\\Borland\\\\Delphi\\\\5.0] 1700000000\n"
              "#time=1da1b2c3d4e5f60\n\"App\"=\"C:\\\\D5\\\\Bin\\\\delphi32.exe\"\n");
    WriteFile(dir_ / "user.reg",
              "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-"
              "1000\n\n#arch=win64\n\n[Software\\\\Zav] 1700000000\n#time=1da1b2c3d4e5f60\n"
              "\"Lang\"=\"English\"\n");
  }
  static std::string Value(Registry& registry, RootKey root, const char* key, const char* name) {
    const Result<RegistryKey> open = registry.OpenKey(root, key, false);
    if (!open) return Said(open.status());
    const Result<RegValue> value = registry.ReadValue(*open, name);
    return value ? value->AsString().value_or("(not text)") : Said(value.status());
  }
};

// The settings and the package lists go through these calls; a machine in overlay mode
// answers them from its own changes, and the hives stay byte for byte as they were.
TEST_F(OverlayRegistryTest, ChangesReadBackAndNeverReachTheHives) {
  const auto before = FolderState(dir_.path());
  const auto scope = Machine::Use(std::make_unique<Machine>(
      WinePrefix(dir_.path()), RegistryView::Win32, Writes::KeptInOverlay));
  Registry& registry = Machine::Current().registry();
  const Result<RegistryKey> zav = registry.OpenKey(RootKey::CurrentUser, "Software\\Zav", true);
  ASSERT_TRUE(zav);
  ASSERT_TRUE(registry.WriteString(*zav, "Lang", "Deutsch"));
  const Result<RegistryKey> known = registry.OpenKey(
      RootKey::CurrentUser, "Software\\Borland\\Delphi\\5.0\\Known Packages", true);
  ASSERT_TRUE(known);
  ASSERT_TRUE(registry.WriteString(*known, "C:\\D5\\Bin\\x.bpl", "Zav"));
  // A change refused for one of its keys makes none of its writes, and the overlay's earlier
  // changes stay.
  EXPECT_FALSE(registry.WriteValues(RootKey::CurrentUser,
                                    {{"Software\\Zav", RegValue::String("Lang", "Français")},
                                     {"Software\\Missing", RegValue::String("x", "y")}},
                                    false));
  EXPECT_EQ(Value(registry, RootKey::CurrentUser, "Software\\Zav", "Lang"), "Deutsch");
  EXPECT_EQ(Value(registry, RootKey::CurrentUser, "Software\\Borland\\Delphi\\5.0\\Known Packages",
                  "C:\\D5\\Bin\\x.bpl"),
            "Zav");
  ASSERT_TRUE(registry.DeleteValue(*zav, "Lang"));
  EXPECT_EQ(registry.ReadValue(*zav, "Lang").status().code(), ErrorCode::NotFound);
  // The files are the overlay's as well.
  ASSERT_TRUE(ForceDirectories("C:\\Zav"));
  ASSERT_TRUE(CopyFileA("C:\\dist\\a.dll", "C:\\Zav\\a.dll", false));
  EXPECT_TRUE(FileExists("C:\\zav\\A.dll"));
  EXPECT_EQ(FolderState(dir_.path()), before);

  // A change that changes nothing keeps nothing of the hive.
  const char* const d5 = "Software\\Borland\\Delphi\\5.0";
  const Result<RegistryKey> app = registry.OpenKey(RootKey::LocalMachine, d5, false);
  ASSERT_TRUE(app && registry.WriteString(*app, "App", "C:\\D5\\Bin\\delphi32.exe"));

  // Another program changes the hives on disk meanwhile, and the start-up's hives are released:
  // the overlay's changes are not lost, and the hive it changed nothing in is read anew.
  Registry disk(dir_.path());
  const Result<RegistryKey> other = disk.OpenKey(RootKey::CurrentUser, "Software\\Other", true);
  ASSERT_TRUE(other && disk.WriteString(*other, "x", "y"));
  const Result<RegistryKey> moved = disk.OpenKey(RootKey::LocalMachine, d5, false);
  ASSERT_TRUE(moved && disk.WriteString(*moved, "App", "C:\\D5\\delphi32.exe"));
  registry.Release();
  EXPECT_EQ(Value(registry, RootKey::CurrentUser, "Software\\Borland\\Delphi\\5.0\\Known Packages",
                  "C:\\D5\\Bin\\x.bpl"),
            "Zav");
  EXPECT_EQ(Value(registry, RootKey::LocalMachine, d5, "App"), "C:\\D5\\delphi32.exe");
}

// While a Wine server owns the registry a change is refused as the real one is, and the
// overlay takes nothing in.
TEST_F(OverlayRegistryTest, ARunningWineServerRefusesAsOnDisk) {
  testsupport::FakeWineServer server(dir_.path());
  const auto before = FolderState(dir_.path());
  std::vector<std::string> said;
  for (const Writes writes : {Writes::KeptInOverlay, Writes::ToDisk}) {
    Registry registry(dir_.path(), RegistryView::Win32, writes);
    const Result<RegistryKey> zav = registry.OpenKey(RootKey::CurrentUser, "Software\\Zav", false);
    ASSERT_TRUE(zav);
    said.push_back(Said(registry.WriteString(*zav, "Lang", "Deutsch")) + " / " +
                   Said(registry.OpenKey(RootKey::CurrentUser, "Software\\New", true).status()) +
                   " / " + Value(registry, RootKey::CurrentUser, "Software\\Zav", "Lang"));
  }
  EXPECT_EQ(said[0], said[1]);
  EXPECT_NE(said[0].find("Wine"), std::string::npos) << said[0];
  EXPECT_EQ(FolderState(dir_.path()), before);
}

// A change that fails after part of its work leaves no part of it: the hive goes back to the
// overlay's earlier changes, or to the file when there are none. No registry call fails once
// it has changed the hive (each looks its keys up in the hive it changes, and refuses before
// it writes), so the hive file is given such a change directly.
TEST_F(OverlayRegistryTest, AChangeThatFailsHalfwayLeavesNoPartOfIt) {
  const auto before = FolderState(dir_.path());
  const auto setLang = [](const std::string& lang, bool fails) {
    return [=](Hive& hive) -> Result<bool> {
      const std::optional<Hive::KeyId> zav = hive.FindChild(Hive::kRoot, "Software\\Zav");
      if (!zav) return Status(ErrorCode::NotFound, "no Software\\Zav");
      hive.SetValue(*zav, RegValue::String("Lang", lang), FileTimeNow());
      if (fails) return Status(ErrorCode::IoError, "failed halfway");
      return true;
    };
  };
  for (const bool earlier : {false, true}) {
    HiveFile file(dir_.path(), "user.reg", "REGISTRY\\User\\S-1-5-21-0-0-0-1000",
                  Writes::KeptInOverlay);
    if (earlier) {
      ASSERT_TRUE(file.Modify(setLang("Deutsch", false)));
    }
    EXPECT_FALSE(file.Modify(setLang("Français", true)));
    const Result<const Hive*> hive = file.Read();
    ASSERT_TRUE(hive);
    const RegValue* lang =
        (*hive)->FindValue(*(*hive)->FindChild(Hive::kRoot, "Software\\Zav"), "Lang");
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->AsString(), earlier ? "Deutsch" : "English");
  }
  EXPECT_EQ(FolderState(dir_.path()), before);
}

}  // namespace
}  // namespace platform
