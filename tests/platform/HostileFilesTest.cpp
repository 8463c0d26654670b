// Files that try to get past the file system's rules where the program's own runs do not reach:
// the permission bits of a copy against the umask and a target it replaces, and the temporary
// files of copies killed in earlier runs. Each case acts once through FileSystem and says what
// the drive holds afterwards.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestNames.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// A prefix whose drive C the cases work on, and the processes a case needs running.
class Drive {
 public:
  Drive() : previousUmask_(::umask(022)) {}
  ~Drive() {
    for (const pid_t child : children_) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    ::umask(previousUmask_);
  }

  // The host path of a name on drive C.
  std::string C(const std::string& relative) const { return dir_ / ("drive_c/" + relative); }
  void Put(const std::string& relative, mode_t mode) {
    testsupport::WriteFile(C(relative), relative);
    ::chmod(C(relative).c_str(), mode);
  }
  mode_t Mode(const std::string& relative) const {
    struct stat info {};
    return ::stat(C(relative).c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }
  // Every name below drive C, at any depth; the id of a process the case runs is "<running>".
  std::vector<std::string> Tree() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(C(""))) {
      std::string name = entry.path().string().substr(C("").size());
      for (const pid_t child : children_) {
        const std::string id = "-" + std::to_string(child) + "-";
        if (const size_t at = name.find(id); at != std::string::npos)
          name.replace(at + 1, id.size() - 2, "<running>");
      }
      names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // A process id that no process has any more.
  static pid_t DeadProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
  }
  // A process of this program, running until the case ends.
  pid_t RunningCopyOfThisProgram() {
    const pid_t child = ::fork();
    if (child == 0) {
      for (;;)
        ::pause();
    }
    children_.push_back(child);
    return child;
  }
  // A process of another program, running until the case ends.
  pid_t RunningOtherProgram() { return Running("/bin/sleep"); }
  // A process of this program's name whose executable was deleted after it started, as when
  // a newer version replaces the program while it runs; running until the case ends.
  pid_t RunningReplacedCopyOfThisProgram() {
    const std::string copy = dir_ / fs::read_symlink("/proc/self/exe").filename().string();
    fs::copy_file("/bin/sleep", copy);
    const pid_t child = Running(copy);
    fs::remove(copy);
    return child;
  }
  // The name of a copy's temporary file as the writer `pid` names it.
  static std::string CopyTemporary(pid_t pid) { return ".~copy-" + std::to_string(pid) + "-7.tmp"; }

  const FileSystem& files() const { return files_; }

 private:
  // The program at `path` (a sleep), running until the case ends.
  pid_t Running(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl(path.c_str(), "sleep", "600", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    children_.push_back(child);
    // Once the child runs the program, its executable says so.
    const fs::path program = fs::canonical(path);
    const std::string exe = "/proc/" + std::to_string(child) + "/exe";
    std::error_code ec;
    for (int wait = 0; wait < 10000 && fs::read_symlink(exe, ec) != program; ++wait)
      ::usleep(1000);
    EXPECT_EQ(fs::read_symlink(exe, ec), program);
    return child;
  }

  testsupport::TempDir dir_;
  FileSystem files_{WinePrefix(dir_.path())};
  mode_t previousUmask_;
  std::vector<pid_t> children_;
};

struct Hostile {
  std::string name;
  std::function<void(Drive&)> prepare;
  std::function<Status(Drive&)> act;
  ErrorCode code;  // None: the act succeeds
  std::string mentions;
  std::vector<std::string> tree;  // drive C afterwards
  // What else holds afterwards.
  std::function<void(const Drive&, const Status&)> check = nullptr;
};

void PrintTo(const Hostile& c, std::ostream* os) {
  *os << c.name;
}

Status CopySource(Drive& d) {
  return d.files().CopyFile("C:\\src.txt", "C:\\dst\\src.txt");
}

void SourceAndFolder(Drive& d, mode_t mode) {
  d.Put("src.txt", mode);
  fs::create_directories(d.C("dst"));
}

const std::vector<std::string> kCopied = {"dst", "dst/src.txt", "src.txt"};

std::vector<Hostile> Cases() {
  const auto modeIs = [](const std::string& relative, mode_t mode) {
    return [=](const Drive& d, const Status&) {
      EXPECT_EQ(d.Mode(relative), mode) << std::oct << d.Mode(relative);
    };
  };
  std::vector<Hostile> cases = {
      {"The umask has its say over a source everybody may write",
       [](Drive& d) { SourceAndFolder(d, 0666); }, CopySource, ErrorCode::None, "", kCopied,
       modeIs("dst/src.txt", 0644)},
      {"A wide target takes the narrower bits of a private source",
       [](Drive& d) {
         SourceAndFolder(d, 0600);
         d.Put("dst/src.txt", 0644);
       },
       CopySource, ErrorCode::None, "", kCopied, modeIs("dst/src.txt", 0600)},
      {"A target the user narrowed stays narrow",
       [](Drive& d) {
         SourceAndFolder(d, 0644);
         d.Put("dst/src.txt", 0600);
       },
       CopySource, ErrorCode::None, "", kCopied, modeIs("dst/src.txt", 0600)},

      {"Killed copies keep no folder",
       [](Drive& d) {
         d.Put("gone/" + Drive::CopyTemporary(Drive::DeadProcess()), 0644);
         d.Put("gone/" + Drive::CopyTemporary(d.RunningOtherProgram()), 0644);
       },
       [](Drive& d) { return d.files().RemoveDirectory("C:\\gone"); },
       ErrorCode::None,
       "",
       {}},
      {"A copy still running keeps its temporary, and a user's file is the user's",
       [](Drive& d) {
         SourceAndFolder(d, 0644);
         d.Put("dst/" + Drive::CopyTemporary(Drive::DeadProcess()), 0644);
         d.Put("dst/" + Drive::CopyTemporary(d.RunningCopyOfThisProgram()), 0644);
         d.Put("dst/.~copy-notes.tmp", 0644);
         d.Put("dst/.~copy-99999999-x", 0644);  // a dead writer's id, but not our name
       },
       CopySource,
       ErrorCode::None,
       "",
       {"dst", "dst/.~copy-99999999-x", "dst/.~copy-<running>-7.tmp", "dst/.~copy-notes.tmp",
        "dst/src.txt", "src.txt"}},
      {"A copy of this program replaced while it runs keeps its temporary",
       [](Drive& d) {
         SourceAndFolder(d, 0644);
         d.Put("dst/" + Drive::CopyTemporary(d.RunningReplacedCopyOfThisProgram()), 0644);
       },
       CopySource,
       ErrorCode::None,
       "",
       {"dst", "dst/.~copy-<running>-7.tmp", "dst/src.txt", "src.txt"}},
      {"Read-only takes away everybody's write bits",
       [](Drive& d) { d.Put("shared.txt", 0666); },
       [](Drive& d) { return d.files().SetAttributes("C:\\shared.txt", faReadOnly); },
       ErrorCode::None,
       "",
       {"shared.txt"},
       modeIs("shared.txt", 0444)},
  };
  return cases;
}

class HostileFilesTest : public testing::TestWithParam<Hostile> {};

TEST_P(HostileFilesTest, IsRefusedOrKeptWithinTheRules) {
  const Hostile& c = GetParam();
  Drive drive;
  fs::create_directories(drive.C(""));
  if (c.prepare) c.prepare(drive);
  const Status status = c.act(drive);
  EXPECT_EQ(status.code(), c.code) << status.message();
  EXPECT_NE(status.message().find(c.mentions), std::string::npos) << status.message();
  EXPECT_EQ(drive.Tree(), c.tree);
  if (c.check) c.check(drive, status);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileFilesTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Hostile>& param) {
                           return testsupport::TestNameFrom(param.param.name);
                         });

}  // namespace
}  // namespace platform
