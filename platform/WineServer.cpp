#include "platform/WineServer.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace platform {

namespace {

// "server-<dev>-<ino>" as the server names its folder, printed the way it prints them.
std::string ServerDirName(const struct stat& st) {
  auto hex = [](unsigned long long v) {
    char buf[40];
    if (v > ULONG_MAX) {
      std::snprintf(buf, sizeof buf, "%lx%08lx", static_cast<unsigned long>(v >> 32),
                    static_cast<unsigned long>(v & 0xffffffffULL));
    } else {
      std::snprintf(buf, sizeof buf, "%lx", static_cast<unsigned long>(v));
    }
    return std::string(buf);
  };
  return "server-" + hex(st.st_dev) + "-" + hex(st.st_ino);
}

std::vector<std::string> CandidateBaseDirs(const std::string& prefixDir) {
  std::vector<std::string> bases;
  const std::string uid = std::to_string(::getuid());
  // Debian's build: the per-user runtime folder when it exists...
  const std::string runUser = "/run/user/" + uid;
  if (DIR* d = ::opendir(runUser.c_str())) {
    ::closedir(d);
    bases.push_back(runUser + "/wine");
  }
  // ...else a folder in the temporary directory named by the prefix's "wineserver" file.
  std::ifstream nameFile(prefixDir + "/wineserver", std::ios::binary);
  std::string name;
  if (nameFile && std::getline(nameFile, name) && !name.empty() &&
      name.find('/') == std::string::npos) {
    const char* tmp = std::getenv("TMPDIR");
    bases.push_back(std::string(tmp && *tmp ? tmp : "/tmp") + "/" + name);
    if (tmp && *tmp) bases.push_back("/tmp/" + name);
  }
  // Upstream Wine.
  bases.push_back("/tmp/.wine-" + uid);
  return bases;
}

bool LockHeld(const std::string& serverDir, long& pid) {
  const std::string lockPath = serverDir + "/lock";
  const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 1;
  bool held = false;
  if (::fcntl(fd, F_GETLK, &fl) == 0) {
    held = fl.l_type != F_UNLCK;
    if (held) pid = fl.l_pid;
  } else if (errno == ENOLCK) {
    // Without record locks the server relies on its socket; so do we.
    struct stat st {};
    held = ::stat((serverDir + "/socket").c_str(), &st) == 0;
  }
  ::close(fd);
  return held;
}

}  // namespace

WineServerState QueryWineServer(const std::string& prefixDir) {
  WineServerState state;
  struct stat st {};
  if (::stat(prefixDir.c_str(), &st) != 0) return state;  // no prefix, no server
  const std::string dirName = ServerDirName(st);
  for (const std::string& base : CandidateBaseDirs(prefixDir)) {
    long pid = 0;
    if (LockHeld(base + "/" + dirName, pid)) {
      state.running = true;
      state.pid = pid;
      return state;
    }
  }
  return state;
}

Status RefuseWhileWineServerRuns(const std::string& prefixDir) {
  const WineServerState server = QueryWineServer(prefixDir);
  if (!server.running) return Status::Ok();
  return {ErrorCode::AccessDenied,
          "the registry of the Wine prefix " + prefixDir +
              " is in use by a running Wine server (process " + std::to_string(server.pid) +
              "), which would overwrite the change; close the Windows programs of that prefix "
              "(or run \"wineserver -k\") and try again"};
}

}  // namespace platform
