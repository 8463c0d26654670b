#include "platform/HiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/FileDescriptor.h"
#include "platform/WineServer.h"

namespace platform {

struct HiveFile::Identity {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{};

  static Identity Of(const struct stat& st) {
    Identity id;
    id.exists = true;
    id.dev = st.st_dev;
    id.ino = st.st_ino;
    id.size = st.st_size;
    id.mtime = st.st_mtim;
    return id;
  }

  bool operator==(const Identity& o) const {
    return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
           mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
  }
};

namespace {

Status SystemError(const std::string& what, const std::string& path, int err) {
  return {ErrorCodeFromErrno(err), what + " " + path + ": " + std::strerror(err)};
}

Status ReadWhole(int fd, const std::string& path, std::string& out) {
  out.clear();
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return SystemError("cannot read", path, errno);
    }
    if (n == 0) return Status::Ok();
    out.append(buf, static_cast<size_t>(n));
  }
}

Status WriteAll(int fd, const std::string& path, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return SystemError("cannot write", path, errno);
    }
    done += static_cast<size_t>(n);
  }
  return Status::Ok();
}

// The file a hive path stands for: a hive that is a symbolic link is written
// through to its target, so the link survives.
std::string WriteTarget(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
      ::realpath(path.c_str(), resolved) != nullptr) {
    return resolved;
  }
  return path;
}

std::string DirOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Held while a change is applied and saved; shared by every process of ours
// that writes to this prefix (an advisory lock on the prefix folder itself, so
// nothing extra is left in the user's prefix).
class PrefixLock {
 public:
  static Result<std::unique_ptr<PrefixLock>> Acquire(const std::string& prefixDir) {
    const int fd = ::open(prefixDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return SystemError("cannot open the prefix", prefixDir, errno);
    while (::flock(fd, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return SystemError("cannot lock the prefix", prefixDir, err);
    }
    return std::unique_ptr<PrefixLock>(new PrefixLock(fd));
  }
  ~PrefixLock() { ::close(fd_); }  // closing releases the lock
  PrefixLock(const PrefixLock&) = delete;
  PrefixLock& operator=(const PrefixLock&) = delete;

 private:
  explicit PrefixLock(int fd) : fd_(fd) {}
  int fd_;
};

// The temporary files of a hive are named "<hive>.tmp-<process>-<number>".
std::string TemporaryPrefix(const std::string& target) {
  return target.substr(target.rfind('/') + 1) + ".tmp-";
}

// A writer killed while it wrote leaves its temporary file behind. Every writer of ours writes
// under the prefix lock, so a temporary file found while we hold it belongs to a writer that
// is gone: without this it would stay beside the hive for good (and, once its process number
// comes round again, block that writer's own temporary file name).
void RemoveAbandonedTemporaries(const std::string& target) {
  namespace fs = std::filesystem;
  const std::string prefix = TemporaryPrefix(target);
  std::error_code ec;
  for (auto it = fs::directory_iterator(DirOf(target), ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0) ::unlink(it->path().c_str());
  }
}

Status MakeDirs(const std::string& dir) {
  if (dir.empty() || dir == "/") return Status::Ok();
  struct stat st {};
  if (::stat(dir.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Status::Ok();
    return {ErrorCode::PathNotFound, dir + " is not a folder"};
  }
  if (Status parent = MakeDirs(DirOf(dir)); !parent) return parent;
  if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
    return SystemError("cannot create the folder", dir, errno);
  }
  return Status::Ok();
}

}  // namespace

HiveFile::HiveFile(std::string prefixDir, std::string fileName, std::string relativeTo)
    : prefixDir_(std::move(prefixDir)),
      path_(prefixDir_ + "/" + fileName),
      relativeTo_(std::move(relativeTo)) {}

HiveFile::~HiveFile() = default;

Status HiveFile::LoadIfChanged() {
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT && errno != ENOTDIR) return SystemError("cannot open", path_, errno);
    // No hive yet: an empty Windows installation.
    Identity none;
    if (hive_ && loaded_ && *loaded_ == none) return Status::Ok();
    hive_ = std::make_unique<Hive>(Hive::CreateEmpty(relativeTo_));
    loaded_ = std::make_unique<Identity>(none);
    return Status::Ok();
  }
  FileDescriptor guard(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return SystemError("cannot examine", path_, errno);
  const Identity now = Identity::Of(st);
  if (hive_ && loaded_ && *loaded_ == now) return Status::Ok();
  std::string text;
  if (Status s = ReadWhole(fd, path_, text); !s) return s;
  hive_ = std::make_unique<Hive>(Hive::Parse(std::move(text)));
  loaded_ = std::make_unique<Identity>(now);
  return Status::Ok();
}

Result<const Hive*> HiveFile::Read() {
  if (Status s = LoadIfChanged(); !s) return s;
  return static_cast<const Hive*>(hive_.get());
}

Status HiveFile::Modify(const std::function<Result<bool>(Hive&)>& change) {
  auto refuseWhileServerRuns = [&]() -> Status {
    const WineServerState server = QueryWineServer(prefixDir_);
    if (!server.running) return Status::Ok();
    return {ErrorCode::AccessDenied,
            "the registry of the Wine prefix " + prefixDir_ +
                " is in use by a running Wine server (process " + std::to_string(server.pid) +
                "), which would overwrite the change; close the Windows programs of that prefix "
                "(or run \"wineserver -k\") and try again"};
  };
  if (Status s = refuseWhileServerRuns(); !s) return s;
  if (Status s = MakeDirs(prefixDir_); !s) return s;
  auto lock = PrefixLock::Acquire(prefixDir_);
  if (!lock) return lock.status();
  // The server may have started while we waited for the lock.
  if (Status s = refuseWhileServerRuns(); !s) return s;

  if (Status s = LoadIfChanged(); !s) return s;
  if (!hive_->writable()) {
    return {ErrorCode::BadFormat,
            "the registry file " + path_ +
                " is not in a form this program can safely rewrite: " + hive_->refusal()};
  }
  Result<bool> changed = change(*hive_);
  Status status = changed ? Status::Ok() : changed.status();
  if (status && changed.value()) status = Save(*hive_);
  if (!status) {
    // The cached hive may hold a change the disk does not: forget it.
    hive_.reset();
    loaded_.reset();
    return status;
  }
  // The cache now matches what was written; remember the new file so the next
  // read does not parse it again.
  struct stat st {};
  if (::stat(path_.c_str(), &st) == 0) {
    loaded_ = std::make_unique<Identity>(Identity::Of(st));
  } else {
    loaded_.reset();
  }
  return Status::Ok();
}

Status HiveFile::Save(const Hive& hive) {
  const std::string target = WriteTarget(path_);
  const std::string dir = DirOf(target);
  RemoveAbandonedTemporaries(target);
  static std::atomic<unsigned> counter{0};
  const std::string temp = dir + "/" + TemporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                           std::to_string(counter.fetch_add(1));

  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  const mode_t mode = existed ? (old.st_mode & 07777) : 0666;  // umask applies to a new file

  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return SystemError("cannot create a temporary file beside", target, errno);
  Status status;
  {
    FileDescriptor guard(fd);
    if (existed) {
      // Keep the hive's mode (and, where we may, its owner) exactly as it was.
      if (::fchmod(fd, mode) != 0) status = SystemError("cannot set the mode of", temp, errno);
      if (::geteuid() == 0) (void)::fchown(fd, old.st_uid, old.st_gid);
    }
    if (status) status = WriteAll(fd, temp, hive.Render());
    if (status && ::fsync(fd) != 0) status = SystemError("cannot flush", temp, errno);
  }
  if (status && ::rename(temp.c_str(), target.c_str()) != 0) {
    status = SystemError("cannot replace", target, errno);
  }
  if (!status) {
    ::unlink(temp.c_str());
    return status;
  }
  // Make the rename itself durable.
  if (const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
    (void)::fsync(dfd);
    ::close(dfd);
  }
  return Status::Ok();
}

}  // namespace platform
