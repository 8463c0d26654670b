// Files and folders that try to get past the file system's rules: permission bits a copy must
// not widen, texts too long to be a path, device names, a folder creation that fails deep down,
// the temporary files of copies killed in earlier runs. Each case acts once through FileSystem
// and says what the drive holds afterwards.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/Files.h"
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
  std::string Outside(const std::string& name) const { return dir_ / name; }
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
  pid_t RunningOtherProgram() {
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl("/bin/sleep", "sleep", "600", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    children_.push_back(child);
    // Once the child runs the other program, its executable says so.
    const std::string exe = "/proc/" + std::to_string(child) + "/exe";
    std::error_code ec;
    for (int wait = 0; wait < 10000 && fs::read_symlink(exe, ec).filename() != "sleep"; ++wait)
      ::usleep(1000);
    EXPECT_EQ(fs::read_symlink(exe, ec).filename(), "sleep");
    return child;
  }
  // The name of a copy's temporary file as the writer `pid` names it.
  static std::string CopyTemporary(pid_t pid) { return ".~copy-" + std::to_string(pid) + "-7.tmp"; }

  const FileSystem& files() const { return files_; }

 private:
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

std::string Repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i)
    all += text;
  return all;
}

const std::vector<std::string> kCopied = {"dst", "dst/src.txt", "src.txt"};

std::vector<Hostile> Cases() {
  const auto modeIs = [](const std::string& relative, mode_t mode) {
    return [=](const Drive& d, const Status&) {
      EXPECT_EQ(d.Mode(relative), mode) << std::oct << d.Mode(relative);
    };
  };
  // A text of any length is refused in a message of a line.
  const auto shortMessage = [](const Drive&, const Status& status) {
    EXPECT_LT(status.message().size(), 300u) << status.message();
  };
  std::vector<Hostile> cases = {
      {"A private source is copied private", [](Drive& d) { SourceAndFolder(d, 0600); }, CopySource,
       ErrorCode::None, "", kCopied, modeIs("dst/src.txt", 0600)},
      {"A source its group may read is copied so", [](Drive& d) { SourceAndFolder(d, 0640); },
       CopySource, ErrorCode::None, "", kCopied, modeIs("dst/src.txt", 0640)},
      {"The umask has its say over a source everybody may write",
       [](Drive& d) { SourceAndFolder(d, 0666); }, CopySource, ErrorCode::None, "", kCopied,
       modeIs("dst/src.txt", 0644)},
      {"A link to a file only its owner may read",
       [](Drive& d) {
         testsupport::WriteFile(d.Outside("secret"), "secret");
         ::chmod(d.Outside("secret").c_str(), 0600);
         fs::create_directories(d.C("dst"));
         fs::create_symlink(d.Outside("secret"), d.C("src.txt"));
       },
       CopySource, ErrorCode::None, "", kCopied, modeIs("dst/src.txt", 0600)},
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

      {"A text longer than a path that names C Wanted",
       nullptr,
       [](Drive& d) {
         return d.files().ForceDirectories("C:\\" + Repeat(".\\", 16385) + "Wanted");
       },
       ErrorCode::InvalidName,
       "32779 characters",
       {},
       shortMessage},
      {"A text of a megabyte",
       [](Drive& d) { fs::create_directories(d.C("dst")); },
       [](Drive& d) {
         return d.files().CopyFile("C:\\dst\\" + std::string(1 << 20, 'a'), "C:\\dst\\a");
       },
       ErrorCode::InvalidName,
       "at most 32766",
       {"dst"},
       shortMessage},

      {"A device name as a folder on the way",
       nullptr,
       [](Drive& d) { return d.files().ForceDirectories("C:\\a\\CON\\b"); },
       ErrorCode::InvalidName,
       "\"CON\" is the name of a device",
       {}},
      {"A device name with an extension as a copy's target",
       [](Drive& d) { SourceAndFolder(d, 0644); },
       [](Drive& d) { return d.files().CopyFile("C:\\src.txt", "C:\\dst\\Aux.txt"); },
       ErrorCode::InvalidName,
       "device",
       {"dst", "src.txt"}},
      {"A device name in lower case as a new folder",
       nullptr,
       [](Drive& d) { return d.files().CreateDirectory("C:\\lpt9"); },
       ErrorCode::InvalidName,
       "device",
       {}},

      {"A folder creation that fails deep down",
       nullptr,
       [](Drive& d) { return d.files().ForceDirectories("C:\\" + Repeat("level.0123\\", 400)); },
       ErrorCode::InvalidName,
       "File name too long",
       {}},

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
       },
       CopySource,
       ErrorCode::None,
       "",
       {"dst", "dst/.~copy-<running>-7.tmp", "dst/.~copy-notes.tmp", "dst/src.txt", "src.txt"}},
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
