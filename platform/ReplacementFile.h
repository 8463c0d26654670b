#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Replacing a file safely: the new content is written to a temporary file beside the target,
// flushed, and renamed over the target, so a failure or a crash at any moment leaves the old
// file or the new one, never a mix. The temporary is removed on every failure.

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FolderLock.h"
#include "platform/Status.h"

namespace platform {

// The longest name a temporary beside a target gets (".~copy-<pid>-<n>.tmp"), so that a
// change can be refused beforehand where the temporary's path would be too long.
inline constexpr size_t kLongestTemporaryName = 32;

class ReplacementFile {
 public:
  // What the temporary is for; it names it, so leftovers of a crash can be told apart.
  enum class Purpose {
    Copy,  // a file copy, written without a lock
    Save,  // a file changed under the lock of its folder (ReplaceFileContents)
  };

  // A new, empty temporary file beside `target` (a host path), with `mode` less the umask, as
  // for any new file. Errors say "creating a temporary file beside the target: ...".
  static Result<std::unique_ptr<ReplacementFile>> Create(const std::string& target, Purpose purpose,
                                                         mode_t mode = 0666);
  ~ReplacementFile();  // removes the temporary unless it was placed
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  int fd() const { return fd_; }

  // Flushes and closes the temporary and renames it over the target; without `overwrite` only
  // where the target does not exist (AlreadyExists otherwise). Then flushes the folder so that
  // the rename itself is durable. Without `durable` nothing is flushed (a file whose loss in a
  // crash costs nothing). Errors name the stage ("flushing the new file: ...").
  Status Place(bool overwrite = true, bool durable = true);

 private:
  ReplacementFile(std::string path, std::string target, int fd)
      : path_(std::move(path)), target_(std::move(target)), fd_(fd) {}

  std::string path_;
  std::string target_;
  int fd_;
  bool placed_ = false;
};

// The file a path stands for when it is written: the target of a symbolic link, so that the
// link survives; any other path itself.
std::string WriteTarget(const std::string& path);
// The folder of a host path ("." for a bare name).
std::string FolderOf(const std::string& path);

// Removes the copy temporaries in `folder` (a host path) that no running process still
// writes: a copy killed between writing its temporary and renaming it leaves one there for
// good, and a folder holding one can never be removed.
void RemoveAbandonedCopies(const std::string& folder);
// Whether a file of this name is such a temporary, one whose writer is gone.
bool IsAbandonedCopy(std::string_view name);

// Replaces `target` (a host path, a link already resolved with WriteTarget) by `contents`.
// A file that is replaced keeps its mode and, where we may set it, its owner; a new one gets
// the default mode. Runs under the lock of the target's folder, which the caller holds (any
// other lock is a mistake of the program and fails); temporaries that a crashed save left in
// that folder are removed first. Errors name the stage ("replacing the target: ...").
Status ReplaceFileContents(const FolderLock& lock, const std::string& target,
                           std::string_view contents);

}  // namespace platform
