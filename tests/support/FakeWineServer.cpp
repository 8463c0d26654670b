#include "tests/support/FakeWineServer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace testsupport {

namespace {

// The folder name the server gives itself: its prefix's device and inode in hex.
std::string ServerDirName(const std::string& prefixDir) {
  struct stat st {};
  if (::stat(prefixDir.c_str(), &st) != 0) return {};
  char name[64];
  std::snprintf(name, sizeof name, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
  return name;
}

}  // namespace

FakeWineServer::FakeWineServer(const std::string& prefixDir) : prefixDir_(prefixDir) {
  Start();
}

void FakeWineServer::Start() {
  const std::string& prefixDir = prefixDir_;
  const std::string serverDir = ServerDirName(prefixDir);
  ASSERT_FALSE(serverDir.empty()) << "no prefix at " << prefixDir;
  // Debian's Wine names its temporary folder in the prefix's "wineserver" file.
  const std::string name = "fake-wineserver-" + std::to_string(::getpid()) + "-" + serverDir;
  const char* tmp = std::getenv("TMPDIR");
  baseDir_ = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + name;
  std::filesystem::create_directories(baseDir_ + "/" + serverDir);
  {
    std::FILE* file = std::fopen((prefixDir + "/wineserver").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(name.c_str(), file);
    std::fclose(file);
  }
  const std::string lockPath = baseDir_ + "/" + serverDir + "/lock";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t parent = ::getpid();
  child_ = ::fork();
  ASSERT_GE(child_, 0);
  if (child_ == 0) {
    // Only calls that are safe after fork in a process with threads.
    // The server dies with its test, even one that crashed, and holds none of its output open:
    // an orphan left holding the test runner's pipe once kept the whole run waiting.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(0);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, STDIN_FILENO);
      ::dup2(null, STDOUT_FILENO);
      ::dup2(null, STDERR_FILENO);
    }
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_len = 1;
    const char result = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
    (void)!::write(ready[1], &result, 1);
    for (;;)
      ::pause();
  }
  ::close(ready[1]);
  char result = 'n';
  (void)!::read(ready[0], &result, 1);
  ::close(ready[0]);
  ASSERT_EQ(result, 'y') << "the fake server could not lock " << lockPath;
}

FakeWineServer::~FakeWineServer() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }
  std::error_code ec;
  std::filesystem::remove(prefixDir_ + "/wineserver", ec);
  if (!baseDir_.empty()) std::filesystem::remove_all(baseDir_, ec);
}

}  // namespace testsupport
