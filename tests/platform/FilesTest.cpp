#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "platform/FolderLock.h"
#include "platform/ReplacementFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  // The host path of a name on drive C:.
  std::string C(const std::string& relative) const { return dir_ / ("drive_c/" + relative); }
  void Put(const std::string& relative, const std::string& content) {
    testsupport::WriteFile(C(relative), content);
  }
  std::string Get(const std::string& relative) const { return testsupport::ReadFile(C(relative)); }
  void MakeReadOnly(const std::string& relative) {
    fs::permissions(C(relative),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  std::vector<std::string> Entries(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(C(relative))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  bool IsReadOnly(std::string_view path) const {
    const Result<std::uint32_t> attributes = files_.GetAttributes(path);
    EXPECT_TRUE(attributes.ok()) << attributes.status().message();
    return attributes.ok() && (*attributes & faReadOnly) != 0;
  }

  testsupport::TempDir dir_;
  FileSystem files_{WinePrefix(dir_.path())};
};

void ExpectFailure(const Status& status, ErrorCode code, const std::string& mentions) {
  EXPECT_EQ(status.code(), code) << status.message();
  EXPECT_NE(status.message().find(mentions), std::string::npos) << status.message();
}

TEST_F(FilesTest, TellsFilesFromFoldersWithoutRegardToCase) {
  Put("Windows/Win.INI", "x");
  EXPECT_TRUE(files_.FileExists("c:\\windows\\win.ini"));
  EXPECT_FALSE(files_.FileExists("C:\\Windows"));
  EXPECT_TRUE(files_.DirectoryExists("C:\\WINDOWS"));
  EXPECT_FALSE(files_.DirectoryExists("C:\\Windows\\win.ini"));
  EXPECT_FALSE(files_.FileExists("C:\\Windows\\missing.ini"));
  EXPECT_FALSE(files_.FileExists("C:\\Windows\\win?.ini"));
  EXPECT_FALSE(files_.DirectoryExists("Q:\\"));
  EXPECT_FALSE(FileSystem(WinePrefix(dir_ / "none")).DirectoryExists("C:\\"));
}

TEST_F(FilesTest, AttributesAreTheOwnerWriteBit) {
  Put("a.txt", "x");
  fs::create_directories(C("dir"));
  EXPECT_EQ(*files_.GetAttributes("C:\\a.txt"), faArchive);
  EXPECT_EQ(*files_.GetAttributes("C:\\dir"), faDirectory);
  ASSERT_TRUE(files_.SetAttributes("C:\\A.TXT", faReadOnly | faArchive).ok());
  EXPECT_EQ(fs::status(C("a.txt")).permissions() & fs::perms::all & ~fs::perms::owner_read &
                ~fs::perms::group_read & ~fs::perms::others_read,
            fs::perms::none);
  EXPECT_EQ(*files_.GetAttributes("C:\\a.txt"), faArchive | faReadOnly);
  ASSERT_TRUE(files_.SetAttributes("C:\\a.txt", faNormal).ok());
  EXPECT_FALSE(IsReadOnly("C:\\a.txt"));
  ExpectFailure(files_.SetAttributes("C:\\b.txt", faNormal), ErrorCode::NotFound, "C:\\b.txt");
  ExpectFailure(files_.GetAttributes("C:\\no\\b.txt").status(), ErrorCode::PathNotFound,
                "C:\\no does not exist");
}

TEST_F(FilesTest, CopiesContentTimeAndReadOnlyAttribute) {
  Put("src/Setup.bpl", "package");
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(C("src/Setup.bpl"), old);
  MakeReadOnly("src/Setup.bpl");
  fs::create_directories(C("dst"));
  ASSERT_TRUE(files_.CopyFile("C:\\SRC\\setup.bpl", "C:\\dst\\Setup.bpl").ok());
  EXPECT_EQ(Get("dst/Setup.bpl"), "package");
  EXPECT_EQ(fs::last_write_time(C("dst/Setup.bpl")), old);
  EXPECT_TRUE(IsReadOnly("C:\\dst\\Setup.bpl"));
  EXPECT_EQ(Entries("dst"), std::vector<std::string>{"Setup.bpl"});  // no temporary file left
}

// The kernel's copy (copy_file_range) of some files ends at once although they have bytes:
// files of the kernel's own (procfs and the like) say they are empty, and some kernels copy
// nothing of them where others refuse. The link option --wrap=copy_file_range sends the
// platform's calls here, so that a test can have the kernel answer so for any file.
bool kernelCopyEndsAtOnce = false;

extern "C" ssize_t __real_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset,
                                          size_t length, unsigned flags);
extern "C" ssize_t __wrap_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset,
                                          size_t length, unsigned flags) {
  if (kernelCopyEndsAtOnce) return 0;
  return __real_copy_file_range(in, inOffset, out, outOffset, length, flags);
}

TEST_F(FilesTest, CopiesWholeWhatTheKernelCannotCopy) {
  std::string big;
  for (int line = 0; big.size() < 300 * 1024; ++line)
    big += "line " + std::to_string(line) + "\n";
  Put("big.bin", big);
  // With drive links, every drive needs its own.
  fs::create_directories(dir_ / "dosdevices");
  fs::create_directory_symlink("../drive_c", dir_ / "dosdevices/c:");
  fs::create_directory_symlink("/", dir_ / "dosdevices/z:");
  fs::create_directory_symlink("/proc", dir_ / "dosdevices/p:");  // a drive mapped to /proc
  fs::create_directories(C("dst"));
  struct Case {
    std::string source;
    std::string content;
    bool endsAtOnce;
  };
  const std::vector<Case> cases = {
      {"Z:\\proc\\version", testsupport::ReadFile("/proc/version"), false},
      {"P:\\self\\cmdline", testsupport::ReadFile("/proc/self/cmdline"), false},
      {"P:\\self\\cmdline", testsupport::ReadFile("/proc/self/cmdline"), true},
      {"C:\\big.bin", big, true},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const std::string target = "copy" + std::to_string(i);  // kernel files are read-only
    kernelCopyEndsAtOnce = c.endsAtOnce;
    const Status copied = files_.CopyFile(c.source, "C:\\dst\\" + target);
    kernelCopyEndsAtOnce = false;
    EXPECT_TRUE(copied.ok()) << c.source << ": " << copied.message();
    EXPECT_FALSE(c.content.empty()) << c.source;
    EXPECT_TRUE(Get("dst/" + target) == c.content)
        << c.source << (c.endsAtOnce ? ", the kernel's copy ending at once" : "") << ": "
        << Get("dst/" + target).size() << " bytes of " << c.content.size();
  }
}

TEST_F(FilesTest, OverwritesTheFileThatMatchesWithoutCase) {
  Put("new.txt", "new");
  Put("dst/Old.TXT", "old");
  fs::permissions(C("dst/Old.TXT"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(files_.CopyFile("C:\\new.txt", "C:\\dst\\old.txt").ok());
  EXPECT_EQ(Entries("dst"), std::vector<std::string>{"Old.TXT"});
  EXPECT_EQ(Get("dst/Old.TXT"), "new");
  EXPECT_EQ(fs::status(C("dst/Old.TXT")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  ExpectFailure(files_.CopyFile("C:\\new.txt", "C:\\dst\\old.txt", false), ErrorCode::AlreadyExists,
                "the target exists");
}

TEST_F(FilesTest, ARefusedCopyLeavesTheTargetAlone) {
  Put("new.txt", "new");
  Put("dst/locked.txt", "old");
  MakeReadOnly("dst/locked.txt");
  // Root could write the file anyway; the refusal must come from our own check.
  ExpectFailure(files_.CopyFile("C:\\new.txt", "C:\\dst\\locked.txt"), ErrorCode::AccessDenied,
                "read-only");
  EXPECT_EQ(Get("dst/locked.txt"), "old");

  ExpectFailure(files_.CopyFile("C:\\missing.txt", "C:\\dst\\x.txt"), ErrorCode::NotFound,
                "C:\\missing.txt");
  ExpectFailure(files_.CopyFile("C:\\no\\missing.txt", "C:\\dst\\x.txt"), ErrorCode::PathNotFound,
                "C:\\no does not exist");
  ExpectFailure(files_.CopyFile("C:\\new.txt", "C:\\nowhere\\x.txt"), ErrorCode::PathNotFound,
                "C:\\nowhere does not exist");
  ExpectFailure(files_.CopyFile("C:\\dst", "C:\\x"), ErrorCode::AccessDenied, "source is a folder");
  ExpectFailure(files_.CopyFile("C:\\new.txt", "C:\\dst"), ErrorCode::AccessDenied,
                "target is a folder");
  ExpectFailure(files_.CopyFile("C:\\new.txt", "C:\\NEW.TXT"), ErrorCode::AccessDenied,
                "same file");
  EXPECT_EQ(Get("new.txt"), "new");
  EXPECT_EQ(Entries("dst"), std::vector<std::string>{"locked.txt"});
}

// A copy larger than the process may write is refused before it starts, as the dry run foresees
// it; the copy that fails halfway is the one below whose source cannot be read.
TEST_F(FilesTest, ACopyBeyondTheFileSizeLimitKeepsTheOldTarget) {
  Put("big.bin", std::string(256 * 1024, 'b'));
  Put("dst/big.bin", "old");
  {
    testsupport::FileSizeLimit limit(100 * 1024);
    ExpectFailure(files_.CopyFile("C:\\big.bin", "C:\\dst\\big.bin"), ErrorCode::DiskFull,
                  "writing the copy");
  }
  EXPECT_EQ(Get("dst/big.bin"), "old");
  EXPECT_EQ(Entries("dst"), std::vector<std::string>{"big.bin"});
}

// What checks a copy or a save before it starts, the replacement itself checks once more: a
// node that took the target's place meanwhile is refused, never replaced.
TEST(ReplacementFileTest, NeverReplacesANodeThatIsNotAFile) {
  testsupport::TempDir dir;
  const std::string pipe = dir.path() + "/pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
  const Result<std::unique_ptr<FolderLock>> lock = FolderLock::Acquire(dir.path());
  ASSERT_TRUE(lock);
  EXPECT_FALSE(ReplaceFileContents(*lock.value(), pipe, "saved"));
  Result<std::unique_ptr<ReplacementFile>> copy =
      ReplacementFile::Create(pipe, ReplacementFile::Purpose::Copy);
  ASSERT_TRUE(copy);
  EXPECT_FALSE(copy.value()->Place());
  copy.value().reset();
  struct stat info {};
  EXPECT_TRUE(::lstat(pipe.c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(FilesTest, ASourceThatCannotBeReadKeepsTheOldTarget) {
  Put("dst/mem", "old");
  // Reading a process's memory from address 0 fails: an unreadable regular file.
  const Status status = files_.CopyFile("Z:\\proc\\self\\mem", "C:\\dst\\mem");
  ExpectFailure(status, ErrorCode::IoError, "reading the source");
  EXPECT_EQ(Get("dst/mem"), "old");
  EXPECT_EQ(Entries("dst"), std::vector<std::string>{"mem"});
}

TEST_F(FilesTest, AFolderTheKernelRefusesKeepsTheOldTarget) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  Put("new.txt", "new");
  Put("dst/a.txt", "old");
  fs::permissions(C("dst"), fs::perms::owner_write, fs::perm_options::remove);
  ExpectFailure(files_.CopyFile("C:\\new.txt", "C:\\dst\\a.txt"), ErrorCode::AccessDenied,
                "C:\\dst\\a.txt");
  EXPECT_EQ(Get("dst/a.txt"), "old");
}

// Files a megabyte long and more are compared a piece at a time: a difference in the last byte
// of a later piece counts as much as one in the first, for SameContent and for a copy.
TEST_F(FilesTest, SameContentAndACopyCompareEveryByte) {
  const std::string big(3 << 20, 'x');
  std::string lastDiffers = big;
  lastDiffers.back() = 'y';
  Put("a.bin", big);
  Put("copy.bin", big);
  Put("last.bin", lastDiffers);
  Put("short.bin", big.substr(1));
  Put("empty.bin", "");
  Put("empty2.bin", "");
  fs::create_directories(C("folder"));
  const auto said = [&](const char* a, const char* b) {
    const Result<bool> same = files_.SameContent(a, b);
    return same ? std::string(*same ? "same" : "differ") : same.status().message();
  };
  EXPECT_EQ(said("C:\\a.bin", "C:\\copy.bin"), "same");
  EXPECT_EQ(said("C:\\a.bin", "C:\\last.bin"), "differ");
  EXPECT_EQ(said("C:\\a.bin", "C:\\short.bin"), "differ");
  EXPECT_EQ(said("C:\\empty.bin", "C:\\EMPTY2.BIN"), "same");
  EXPECT_EQ(said("C:\\a.bin", "c:\\A.BIN"), "same");
  EXPECT_EQ(said("C:\\a.bin", "C:\\none.bin"), "Cannot read C:\\none.bin: the file does not exist");
  EXPECT_EQ(said("C:\\folder", "C:\\a.bin"), "Cannot read C:\\folder: it is not a plain file");

  // A copy tells what it replaced as SameContent said before it, and is made in every case.
  for (const auto& [target, same] : std::vector<std::pair<std::string, bool>>{
           {"copy.bin", true}, {"last.bin", false}, {"short.bin", false}, {"none.bin", false}}) {
    FileSystem::CopyReport report{.replacedSameBytes = !same};
    ASSERT_TRUE(files_.CopyFile("C:\\a.bin", "C:\\" + target, true, report)) << target;
    EXPECT_EQ(report.replacedSameBytes, same) << target;
    EXPECT_EQ(Get(target), big) << target;
  }
}

TEST_F(FilesTest, DeletesFilesButNotReadOnlyOnesOrFolders) {
  Put("a.txt", "x");
  Put("locked.txt", "x");
  MakeReadOnly("locked.txt");
  fs::create_directories(C("dir"));
  ASSERT_TRUE(files_.DeleteFile("C:\\A.txt").ok());
  EXPECT_FALSE(fs::exists(C("a.txt")));
  ExpectFailure(files_.DeleteFile("C:\\locked.txt"), ErrorCode::AccessDenied,
                "Cannot delete C:\\locked.txt: the file is read-only");
  EXPECT_TRUE(fs::exists(C("locked.txt")));
  ExpectFailure(files_.DeleteFile("C:\\dir"), ErrorCode::AccessDenied, "folder");
  ExpectFailure(files_.DeleteFile("C:\\a.txt"), ErrorCode::NotFound, "does not exist");
  ExpectFailure(files_.DeleteFile("C:\\no\\a.txt"), ErrorCode::PathNotFound, "C:\\no");
  // The uninstaller's way: clear the attribute, then delete.
  ASSERT_TRUE(files_.SetAttributes("C:\\locked.txt", faNormal).ok());
  EXPECT_TRUE(files_.DeleteFile("C:\\locked.txt").ok());
}

TEST_F(FilesTest, RemovesOnlyEmptyFolders) {
  Put("full/a.txt", "x");
  fs::create_directories(C("outer/Empty"));
  ExpectFailure(files_.RemoveDirectory("C:\\full"), ErrorCode::NotEmpty, "not empty");
  ExpectFailure(files_.RemoveDirectory("C:\\outer"), ErrorCode::NotEmpty, "C:\\outer");
  ASSERT_TRUE(files_.RemoveDirectory("C:\\OUTER\\empty").ok());
  EXPECT_FALSE(fs::exists(C("outer/Empty")));
  EXPECT_TRUE(fs::exists(C("outer")));  // one level only
  ExpectFailure(files_.RemoveDirectory("C:\\full\\a.txt"), ErrorCode::InvalidName, "not a folder");
  ExpectFailure(files_.RemoveDirectory("C:\\gone"), ErrorCode::NotFound, "C:\\gone");
  fs::remove_all(C("full"));
  fs::remove_all(C("outer"));
  ExpectFailure(files_.RemoveDirectory("C:\\"), ErrorCode::AccessDenied, "drive root");
}

TEST_F(FilesTest, CreatesOneLevel) {
  fs::create_directories(C("Program Files"));
  ASSERT_TRUE(files_.CreateDirectory("C:\\program files\\Zav").ok());
  EXPECT_TRUE(fs::is_directory(C("Program Files/Zav")));
  ExpectFailure(files_.CreateDirectory("C:\\Program Files\\ZAV"), ErrorCode::AlreadyExists,
                "C:\\Program Files\\ZAV");
  ExpectFailure(files_.CreateDirectory("C:\\a\\b"), ErrorCode::PathNotFound,
                "C:\\a does not exist");
  Put("file", "x");
  ExpectFailure(files_.CreateDirectory("C:\\file"), ErrorCode::AlreadyExists, "taken");
  ExpectFailure(files_.CreateDirectory("C:\\file\\sub"), ErrorCode::PathNotFound, "C:\\file");
}

TEST_F(FilesTest, ForceDirectoriesCreatesEveryMissingLevel) {
  fs::create_directories(C("Program Files"));
  ASSERT_TRUE(files_.ForceDirectories("C:\\PROGRAM FILES\\Zav\\Polyverb\\bin").ok());
  EXPECT_TRUE(fs::is_directory(C("Program Files/Zav/Polyverb/bin")));
  EXPECT_EQ(Entries(""), std::vector<std::string>{"Program Files"});
  EXPECT_TRUE(files_.ForceDirectories("c:\\program files\\zav").ok());  // already there

  Put("file", "x");
  ExpectFailure(files_.ForceDirectories("C:\\file\\sub"), ErrorCode::PathNotFound,
                "C:\\file is taken by a file");
  ExpectFailure(files_.ForceDirectories("C:\\file"), ErrorCode::AlreadyExists, "C:\\file");
}

TEST_F(FilesTest, ForceDirectoriesStartsANewPrefixButNoOtherDrive) {
  const FileSystem fresh{WinePrefix(dir_ / "new-prefix")};
  ASSERT_TRUE(fresh.ForceDirectories("C:\\windows\\Fonts").ok());
  EXPECT_TRUE(fs::is_directory(dir_ / "new-prefix/drive_c/windows/Fonts"));

  testsupport::TempDir elsewhere;
  fs::create_directories(dir_ / "dosdevices");
  fs::create_directory_symlink(elsewhere / "nowhere", dir_ / "dosdevices/d:");
  ExpectFailure(files_.ForceDirectories("D:\\x"), ErrorCode::PathNotFound, "D:\\x");
  EXPECT_FALSE(fs::exists(elsewhere / "nowhere"));
  ExpectFailure(files_.ForceDirectories("E:\\x"), ErrorCode::PathNotFound, "Drive E:");
}

TEST(ErrorCodeFromErrnoTest, MapsTheSystemErrorsWindowsCallersCareAbout) {
  EXPECT_EQ(ErrorCodeFromErrno(EROFS), ErrorCode::AccessDenied);
  EXPECT_EQ(ErrorCodeFromErrno(EPERM), ErrorCode::AccessDenied);
  EXPECT_EQ(ErrorCodeFromErrno(ENOTDIR), ErrorCode::PathNotFound);
  EXPECT_EQ(ErrorCodeFromErrno(EDQUOT), ErrorCode::DiskFull);
  EXPECT_EQ(ErrorCodeFromErrno(ENAMETOOLONG), ErrorCode::InvalidName);
  EXPECT_EQ(ErrorCodeFromErrno(EIO), ErrorCode::IoError);
}

TEST_F(FilesTest, ConcurrentRewritesLoseNothing) {
  // Each process appends its lines one rewrite at a time; the lock makes them take turns.
  constexpr int kWriters = 3;
  constexpr int kLinesEach = 20;
  Put("shared.txt", "");
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      bool ok = true;
      for (int i = 0; ok && i < kLinesEach; ++i) {
        ok = files_
                 .RewriteFile(
                     "C:\\shared.txt",
                     [&](const std::optional<std::string>& current) {
                       return Result<std::string>(current.value_or("") + std::to_string(w) + "\n");
                     })
                 .ok();
      }
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::string text = Get("shared.txt");
  for (int w = 0; w < kWriters; ++w) {
    EXPECT_EQ(std::count(text.begin(), text.end(), static_cast<char>('0' + w)), kLinesEach);
  }
  EXPECT_EQ(Entries(""), std::vector<std::string>{"shared.txt"});  // no temporary file left
}

}  // namespace
}  // namespace platform
