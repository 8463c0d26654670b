#include "platform/hive/HiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/ChangeRules.h"
#include "platform/CpuPlacement.h"
#include "platform/FileDescriptor.h"
#include "platform/FolderLock.h"
#include "platform/ReplacementFile.h"
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

// A file read and parsed apart from the object: by ReadAhead's thread.
struct HiveFile::Loaded {
  Identity identity;
  std::unique_ptr<Hive> hive;  // none when the file could not be read
  bool sliced = false;         // `hive` holds only a slice of the file
};

namespace {

Status SystemError(const std::string& what, const std::string& path, int err) {
  return {ErrorCodeFromErrno(err), what + " " + path + ": " + std::strerror(err)};
}

Status MakeDirs(const std::string& dir) {
  if (dir.empty() || dir == "/") return Status::Ok();
  struct stat st {};
  if (::stat(dir.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Status::Ok();
    return {ErrorCode::PathNotFound, dir + " is not a folder"};
  }
  if (Status parent = MakeDirs(FolderOf(dir)); !parent) return parent;
  if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
    return SystemError("cannot create the folder", dir, errno);
  }
  return Status::Ok();
}

}  // namespace

HiveFile::HiveFile(std::string prefixDir, std::string fileName, std::string relativeTo,
                   Writes writes)
    : prefixDir_(std::move(prefixDir)),
      path_(prefixDir_ + "/" + fileName),
      relativeTo_(std::move(relativeTo)),
      writes_(writes) {}

HiveFile::~HiveFile() = default;

void HiveFile::ReadAhead(HiveKeyPaths slice) {
  if (hive_ || (ahead_.valid() && slice == aheadKeys_)) return;
  // A slice answers only for the keys it was read for: one for other keys goes (a read still
  // under way is waited for as its future goes).
  slice_.reset();
  aheadKeys_ = slice;
  // The read runs while the caller goes on, so not on the caller's CPU: the kernel often starts
  // a new thread there, where the two would take turns instead.
  const int callerCpu = CurrentCpu();
  ahead_ = std::async(std::launch::async, [callerCpu, path = path_, keys = std::move(slice)] {
    StayOffCpu(callerCpu);
    auto loaded = std::make_unique<Loaded>();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return loaded;
    FileDescriptor guard(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return loaded;
    loaded->identity = Identity::Of(st);
    if (!keys.empty()) {
      std::optional<std::string> text;
      if (ReadHiveSlice(fd, keys, text) != 0) return loaded;
      if (text) {
        loaded->hive = std::make_unique<Hive>(Hive::Parse(std::move(*text)));
        loaded->sliced = true;
        return loaded;
      }
      // A file the slice cannot stand for is read whole, as without one.
      if (::lseek(fd, 0, SEEK_SET) != 0) return loaded;
    }
    std::string text;
    if (ReadAll(fd, text) != 0) return loaded;
    loaded->hive = std::make_unique<Hive>(Hive::Parse(std::move(text)));
    return loaded;
  });
}

void HiveFile::TakeAhead() {
  if (!ahead_.valid()) return;
  std::unique_ptr<Loaded> ahead = ahead_.get();
  if (!ahead->hive) return;  // the read that follows reports what went wrong
  (ahead->sliced ? slice_ : taken_) = std::move(ahead);
}

Result<const Hive*> HiveFile::ReadSlice() {
  TakeAhead();
  // A hive read whole answers everything, and a hive holding kept changes is the only one
  // that knows them.
  if (slice_ && !hive_ && !kept_) {
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0 && Identity::Of(st) == slice_->identity) {
      return static_cast<const Hive*>(slice_->hive.get());
    }
    slice_.reset();
  }
  return Read();
}

Status HiveFile::LoadIfChanged() {
  if (kept_) return Status::Ok();
  // A read ahead is taken once, and only while it is what the file holds now (checked below);
  // any failure there is left to the read that follows, which reports it.
  TakeAhead();
  const std::unique_ptr<Loaded> ahead = std::move(taken_);
  // Not blocking, so that a pipe in the hive's place is refused rather than waited on.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
  // A device would read forever or as empty; a folder says so as it is read.
  if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    return {ErrorCode::AccessDenied, "cannot read " + path_ + ": it is not a regular file"};
  }
  const Identity now = Identity::Of(st);
  if (hive_ && loaded_ && *loaded_ == now) return Status::Ok();
  if (ahead && ahead->identity == now) {
    hive_ = std::move(ahead->hive);
    loaded_ = std::make_unique<Identity>(now);
    return Status::Ok();
  }
  std::string text;
  if (const int error = ReadAll(fd, text)) return SystemError("cannot read", path_, error);
  hive_ = std::make_unique<Hive>(Hive::Parse(std::move(text)));
  loaded_ = std::make_unique<Identity>(now);
  return Status::Ok();
}

void HiveFile::Release() {
  if (!kept_) Forget();
}

void HiveFile::Forget() {
  hive_.reset();
  loaded_.reset();
  slice_.reset();
}

Result<const Hive*> HiveFile::Read() {
  if (Status s = LoadIfChanged(); !s) return s;
  return static_cast<const Hive*>(hive_.get());
}

Status HiveFile::Modify(const std::function<Result<bool>(Hive&)>& change) {
  if (writes_ == Writes::KeptInOverlay) return KeepChange(change);
  if (Status s = RefuseWhileWineServerRuns(prefixDir_); !s) return s;
  const std::string target = WriteTarget(path_);
  if (Status s = file_internals::MaySaveHive(file_internals::TheDisk(), prefixDir_, target); !s) {
    return s;
  }
  if (Status s = MakeDirs(prefixDir_); !s) return s;
  auto lock = FolderLock::Acquire(FolderOf(target));
  if (!lock) return lock.status();
  // The server may have started while we waited for the lock.
  if (Status s = RefuseWhileWineServerRuns(prefixDir_); !s) return s;

  if (Status s = LoadIfChanged(); !s) return s;
  if (!hive_->writable()) {
    return {ErrorCode::BadFormat,
            "the registry file " + path_ +
                " is not in a form this program can safely rewrite: " + hive_->refusal()};
  }
  Result<bool> changed = change(*hive_);
  Status status = changed ? Status::Ok() : changed.status();
  if (status && changed.value()) {
    const std::string text = hive_->Render();
    status = file_internals::MayWriteHive(target, static_cast<off_t>(text.size()));
    if (status) {
      if (Status saved = ReplaceFileContents(*lock.value(), target, text); !saved) {
        status = {saved.code(), "cannot save " + target + ": " + saved.message()};
      }
    }
  }
  if (!status) {
    // The cached hive may hold a change the disk does not: forget it.
    Forget();
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

}  // namespace platform
