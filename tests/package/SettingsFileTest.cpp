// The settings store over a settings file: text comes back exactly, the file stays readable
// and keeps what is not ours, and saving is safe.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

#include "package/ExIniFile.h"
#include "platform/Machine.h"
#include "platform/Unicode.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

// A temporary prefix as the machine in use; the settings file is C:\Zav\setup.cfg.
class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest()
      : machine_(platform::Machine::Use(
            std::make_unique<platform::Machine>(platform::WinePrefix(dir_.path())))) {
    fs::create_directories(Host("Zav"));
  }

  std::string Host(const std::string& relative) const { return dir_ / ("drive_c/" + relative); }
  std::string FileText() const { return ReadFile(Host("Zav/setup.cfg")); }

  // One save run: open, write, hand on, free.
  void Save(const std::function<void(TExIniFile&)>& Writes,
            const std::string& FileName = kFileName) {
    TExIniFile store(FileName);
    Writes(store);
    store.UpdateFile();
  }
  std::string Load(const std::string& Section, const std::string& Name,
                   const std::string& FileName = kFileName) {
    TExIniFile store(FileName);
    return store.ReadString(Section, Name, "(default)");
  }

  static constexpr const char* kFileName = "C:\\Zav\\setup.cfg";
  testsupport::TempDir dir_;
  platform::Machine::Scope machine_;
};

struct TextCase {
  const char* what;
  std::string text;
};

TEST_F(SettingsFileTest, AnyTextComesBackExactly) {
  const std::vector<TextCase> cases = {
      {"a path", "C:\\Program Files\\Zav Polyverb"},
      {"a history", "C:\\Zav;D:\\Old Folder;"},
      {"empty", ""},
      {"blanks around", "  padded  "},
      {"only blanks", "   "},
      {"a trailing blank", "x "},
      {"a comment sign after a blank", "a ;b"},
      {"a comment sign first", "; not a comment"},
      {"equals signs", "a=b=c"},
      {"quotes", "\"quoted\" text"},
      {"a quote alone", "\""},
      {"backslashes and escapes", "\\\\server\\share\\ \\n \\x41 \\\""},
      {"LF", "line1\nline2"},
      {"CR", "line1\rline2"},
      {"CR LF", "line1\r\nline2\r\n"},
      {"tab", "a\tb"},
      {"control characters", "\x01\x1b\x7f"},
      {"NUL", std::string("a\0b", 3)},
      {"non-ASCII",
       "Gr\xC3\xBC\xC3\x9F"
       "e \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80"},
      {"bytes that are not UTF-8", "\xFF\xFE x \xC3"},
      {"a section line", "[Section]"},
      {"a colour", "#FF0000"},
      {"a hint-like tail", "English ; string"},
      {"a long text", std::string(20000, 'x') + "!"},
  };
  Save([&](TExIniFile& store) {
    for (const TextCase& c : cases) {
      store.WriteString("Values", c.what, c.text);
      // The same texts as section and entry names.
      store.WriteString(c.text, c.text, c.what);
    }
  });

  TExIniFile store(kFileName);
  for (const TextCase& c : cases) {
    EXPECT_EQ(store.ReadString("Values", c.what, "(default)"), c.text) << c.what;
    EXPECT_EQ(store.ReadString(c.text, c.text, "(default)"), c.what) << c.what;
  }
  // A person can read it: it is UTF-8, and the usual values stand as they are.
  const std::string text = FileText();
  EXPECT_TRUE(platform::IsValidUtf8(text));
  EXPECT_NE(text.find("\na path=C:\\Program Files\\Zav Polyverb\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\na history=C:\\Zav;D:\\Old Folder;\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nempty=\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nblanks around=\"  padded  \"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nLF=\"line1\\nline2\"\n"), std::string::npos) << text;
}

TEST_F(SettingsFileTest, AFileEditedByHandReadsAsAPersonMeantIt) {
  WriteFile(Host("Zav/setup.cfg"),
            "; Settings of the setup program, edited by hand\n"
            "[Other Program] # note\n"
            "Key=kept\n"
            "\n"
            "[global]\n"
            "  polyverb.language =  Deutsch   ; chosen by hand\n"
            "Padded = \"  two words  \"\n"
            "Unquoted = \"open quote\n"
            "Path=\"C:\\Program Files\\Zav\"\n"
            "garbage without an equals sign\n"
            "; the folders used last\n"
            "[TPolyverbInstallForm]\n"
            "FolderSelect.History = C:\\Zav;D:\\Old;\n");

  EXPECT_EQ(Load("Global", "Polyverb.Language"), "Deutsch");
  EXPECT_EQ(Load("GLOBAL", "Padded"), "  two words  ");
  EXPECT_EQ(Load("Global", "Unquoted"), "\"open quote");
  EXPECT_EQ(Load("Global", "Path"), "C:\\Program Files\\Zav");  // \P is no escape
  EXPECT_EQ(Load("TPolyverbInstallForm", "FolderSelect.History"), "C:\\Zav;D:\\Old;");
  EXPECT_EQ(Load("Other Program", "Key"), "kept");
  EXPECT_EQ(Load("Global", "Missing"), "(default)");

  Save([](TExIniFile& store) {
    store.WriteString("GLOBAL", "POLYVERB.LANGUAGE", "English");
    store.WriteString("Global", "New", "added after the last entry");
    store.WriteString("TPolyverbInstallForm", "FolderSelect.History", "C:\\Zav;D:\\Old;");
    store.WriteString("Another", "Entry", "1");
  });
  EXPECT_EQ(FileText(),
            "; Settings of the setup program, edited by hand\n"
            "[Other Program] # note\n"
            "Key=kept\n"
            "\n"
            "[global]\n"
            "  polyverb.language=English   ; chosen by hand\n"
            "Padded = \"  two words  \"\n"
            "Unquoted = \"open quote\n"
            "Path=\"C:\\Program Files\\Zav\"\n"
            "New=added after the last entry\n"
            "garbage without an equals sign\n"
            "; the folders used last\n"
            "[TPolyverbInstallForm]\n"
            "FolderSelect.History = C:\\Zav;D:\\Old;\n"
            "\n"
            "[Another]\n"
            "Entry=1\n");
}

TEST_F(SettingsFileTest, AForeignFileKeepsEveryByteItDoesNotOwn) {
  const std::string longLine = "x=" + std::string(200000, 'y');
  const std::string before = std::string("\xEF\xBB\xBF") +
                             "[Global]\r\n"
                             "Polyverb.Language=English\r\n"
                             "Binary=\xFF\xFE\x80 kept\r\n" +
                             std::string("Nul=a\0b\r\n", 9) + longLine +
                             "\r\n"
                             "[Newer Program]\r\n"
                             "Format=7";  // no final line break
  WriteFile(Host("Zav/setup.cfg"), before);
  EXPECT_EQ(Load("Global", "Nul"), std::string("a\0b", 3));
  EXPECT_EQ(Load("Global", "Binary"), "\xFF\xFE\x80 kept");

  Save([](TExIniFile& store) {
    store.WriteString("Global", "Polyverb.Language", "Deutsch");
    store.WriteString("Global", "Added", "1");
    store.WriteString("Third", "Added", "2");
  });
  const std::string after = std::string("\xEF\xBB\xBF") +
                            "[Global]\r\n"
                            "Polyverb.Language=Deutsch\r\n"
                            "Binary=\xFF\xFE\x80 kept\r\n" +
                            std::string("Nul=a\0b\r\n", 9) + longLine +
                            "\r\n"
                            "Added=1\r\n"
                            "[Newer Program]\r\n"
                            "Format=7\r\n"
                            "\r\n"
                            "[Third]\r\n"
                            "Added=2";
  EXPECT_TRUE(FileText() == after) << "the file was changed beyond the entries written";
}

TEST_F(SettingsFileTest, HintsStandBesideTheirEntriesAndAreReplaced) {
  Save([](TExIniFile& store) {
    store.SetHintPosition(30);
    store.WriteStringEx("Global", "Language", "English", "string");
    store.WriteStringEx("Global", "Long", std::string(40, 'L'), "string");
    store.WriteStringEx("Global", "Quoted", " q ", "string");
    store.WriteStringEx("Global", "NoHint", "x", "");
    store.SetHintsEnabled(false);
    store.WriteStringEx("Global", "HintsOff", "y", "string");
  });
  EXPECT_EQ(FileText(),
            "[Global]\n"
            "Language=English             ; string\n"
            "Long=" +
                std::string(40, 'L') +
                " ; string\n"
                "Quoted=\" q \"                 ; string\n"
                "NoHint=x\n"
                "HintsOff=y\n");
  EXPECT_EQ(Load("Global", "Language"), "English");
  EXPECT_EQ(Load("Global", "Quoted"), " q ");

  // A new hint replaces the old one; the same value and hint leave the line alone; a write
  // without a hint keeps the one that stands there.
  Save([](TExIniFile& store) {
    store.SetHintPosition(20);
    store.WriteStringEx("Global", "Language", "English", "TEarlier");  // the later hint wins
    store.WriteStringEx("Global", "Language", "English", "TLanguage");
    store.WriteStringEx("Global", "Quoted", " q ", "string");
    store.WriteString("Global", "Long", "short");
    // Its line ends right before column 20, where the hint would start.
    store.WriteStringEx("Global", "a", "bbbbbbbbbbbbbbbbb", "string");
  });
  EXPECT_EQ(FileText(),
            "[Global]\n"
            "Language=English   ; TLanguage\n"
            "Long=short ; string\n"
            "Quoted=\" q \"                 ; string\n"
            "NoHint=x\n"
            "HintsOff=y\n"
            "a=bbbbbbbbbbbbbbbbb ; string\n");
  EXPECT_EQ(Load("Global", "a"), "bbbbbbbbbbbbbbbbb");
}

TEST_F(SettingsFileTest, NothingChangedWritesNothing) {
  TExIniFile empty(kFileName);
  empty.UpdateFile();
  EXPECT_FALSE(fs::exists(Host("Zav/setup.cfg"))) << "a save without writes created the file";

  auto writeAll = [](TExIniFile& store) {
    store.WriteStringEx("Global", "Language", "English", "string");
    store.WriteString("Global", "Folder", "C:\\Zav");
  };
  Save(writeAll);
  struct stat before {};
  ASSERT_EQ(::stat(Host("Zav/setup.cfg").c_str(), &before), 0);
  Save(writeAll);
  struct stat after {};
  ASSERT_EQ(::stat(Host("Zav/setup.cfg").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
}

TEST_F(SettingsFileTest, TwoStoresSavingDifferentEntriesKeepBoth) {
  WriteFile(Host("Zav/setup.cfg"), "[Global]\nShared=old\n");
  TExIniFile first(kFileName);
  TExIniFile second(kFileName);
  first.WriteString("Global", "First", "1");
  second.WriteString("Global", "Second", "2");
  second.WriteString("Other", "Second", "3");
  first.UpdateFile();
  second.UpdateFile();
  // Each store still reads its own writes and what it found when it was opened.
  EXPECT_EQ(second.ReadString("Global", "Second", ""), "2");
  EXPECT_EQ(second.ReadString("Global", "Shared", ""), "old");

  EXPECT_EQ(FileText(), "[Global]\nShared=old\nFirst=1\nSecond=2\n\n[Other]\nSecond=3\n");
}

TEST_F(SettingsFileTest, ASaveKeepsTheModeAndWritesThroughALink) {
  WriteFile(Host("Shared/real.cfg"), "[Global]\nOld=1\n");
  ::chmod(Host("Shared/real.cfg").c_str(), 0640);
  ASSERT_EQ(::symlink(Host("Shared/real.cfg").c_str(), Host("Zav/setup.cfg").c_str()), 0);
  // What a save that crashed before us left behind.
  WriteFile(Host("Shared/.~save-99999-0.tmp"), "half a file");

  Save([](TExIniFile& store) { store.WriteString("Global", "New", "2"); });
  EXPECT_TRUE(fs::is_symlink(Host("Zav/setup.cfg")));
  EXPECT_EQ(ReadFile(Host("Shared/real.cfg")), "[Global]\nOld=1\nNew=2\n");
  struct stat info {};
  ASSERT_EQ(::stat(Host("Shared/real.cfg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Host("Shared")))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"real.cfg"}) << "a temporary file is left";
}

TEST_F(SettingsFileTest, AFailedSaveLeavesTheOldFile) {
  const std::string before = "[Global]\nOld=" + std::string(4096, 'o') + "\n";
  WriteFile(Host("Zav/setup.cfg"), before);
  TExIniFile store(kFileName);
  store.WriteString("Global", "New", std::string(4096, 'n'));
  {
    // The disk fills up halfway through the new file.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(store.UpdateFile(), EExIniFileError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
  }
  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(Host("Zav")), fs::directory_iterator()), 1)
      << "a temporary file is left";
  // The writes are still there to hand on.
  store.UpdateFile();
  EXPECT_EQ(Load("Global", "New"), std::string(4096, 'n'));
}

struct FailureCase {
  const char* what;
  std::function<void()> prepare;  // may be empty
  std::string fileName;
  bool failsOnOpen;
  std::string message;     // how the message begins
  bool mustExist = false;  // opened for a load that needs the file
};

TEST_F(SettingsFileTest, FailuresNameTheFileAndTheReason) {
  const std::vector<FailureCase> cases = {
      {"a folder in its place", [this] { fs::create_directories(Host("Zav/dir.cfg")); },
       "C:\\Zav\\dir.cfg", true,
       "The settings file C:\\Zav\\dir.cfg cannot be read: it is a folder, not a file"},
      {"a pipe in its place", [this] { ::mkfifo(Host("Zav/pipe.cfg").c_str(), 0644); },
       "C:\\Zav\\pipe.cfg", true,
       "The settings file C:\\Zav\\pipe.cfg cannot be read: it is not a plain file"},
      {"a name Windows forbids", nullptr, "C:\\Zav\\a|b.cfg", true,
       "The settings file C:\\Zav\\a|b.cfg cannot be read: Invalid path"},
      {"a read-only file",
       [this] {
         WriteFile(Host("Zav/locked.cfg"), "[Global]\nOld=1\n");
         ::chmod(Host("Zav/locked.cfg").c_str(), 0444);
       },
       "C:\\Zav\\locked.cfg", false,
       "The settings file C:\\Zav\\locked.cfg cannot be saved: the file is read-only"},
      {"a missing folder", nullptr, "C:\\Missing\\setup.cfg", false,
       "The settings file C:\\Missing\\setup.cfg cannot be saved: the folder C:\\Missing does "
       "not exist"},
      {"a file where its folder should be", [this] { WriteFile(Host("Zav/file"), "x"); },
       "C:\\Zav\\file\\setup.cfg", false,
       "The settings file C:\\Zav\\file\\setup.cfg cannot be saved: the folder"},
      {"a drive the machine does not have", nullptr, "Q:\\setup.cfg", false,
       "The settings file Q:\\setup.cfg cannot be saved: Drive Q"},
      {"a missing file a load needs", nullptr, "C:\\Zav\\none.cfg", true,
       "The settings file C:\\Zav\\none.cfg cannot be read: the file does not exist", true},
      {"a missing folder a load needs", nullptr, "C:\\Missing\\setup.cfg", true,
       "The settings file C:\\Missing\\setup.cfg cannot be read: the folder C:\\Missing does "
       "not exist",
       true},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.prepare) c.prepare();
    const std::string before = ReadFile(Host("Zav/locked.cfg"));
    try {
      TExIniFile store(c.fileName, c.mustExist);
      EXPECT_FALSE(c.failsOnOpen) << "opened";
      store.WriteString("Global", "New", "2");
      EXPECT_EQ(store.StoreName(), c.fileName);
      store.UpdateFile();
      ADD_FAILURE() << "saved";
    } catch (const EExIniFileError& e) {
      EXPECT_EQ(e.Message.substr(0, c.message.size()), c.message);
    }
    EXPECT_EQ(ReadFile(Host("Zav/locked.cfg")), before);
  }

  // With CreateFolders the missing folders are made.
  TExIniFile store("C:\\Missing\\Deeper\\setup.cfg");
  store.SetCreateFolders(true);
  store.WriteString("Global", "New", "2");
  store.UpdateFile();
  EXPECT_EQ(ReadFile(Host("Missing/Deeper/setup.cfg")), "[Global]\nNew=2\n");
}

}  // namespace
