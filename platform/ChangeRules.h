#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Whether a change of a prefix's files may be made, decided in one place for the disk and for
// the overlay a dry run keeps. Each side only answers what a path holds (FileFacts); the rules
// ask the same questions in the same order and fail with the same words, so a plan cannot
// pass what the run refuses, nor refuse what it passes.
//
// The host's own limits are rules here too (a name's bytes, a path's bytes, the size of file
// the process may write), since otherwise only the kernel would know them and a dry run,
// which asks no kernel to create anything, would plan a step the run cannot take.
//
// Nothing is ever written into, over or through a file that is not a regular file (a device,
// a pipe, a socket, named directly or through links): a copy or a save refuses it, and a delete
// removes such a node only when it is a link.

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

#include "platform/FileInternals.h"
#include "platform/Status.h"

namespace platform::file_internals {

// What a path holds, as one side shows it.
struct Found {
  enum class Kind { Folder, File, Other };  // Other: a device, a pipe, a socket, a link itself
  Kind kind = Kind::Other;
  bool link = false;  // a symbolic link (only from a look that does not follow links)
  mode_t mode = 0;    // the permission bits
  off_t size = 0;
  timespec mtime{};
  std::string identity{};  // equal for two names of one file

  bool folder() const { return kind == Kind::Folder; }
  bool regular() const { return kind == Kind::File; }
  bool readOnly() const { return (mode & S_IWUSR) == 0; }
};

// What stat or lstat said of a file on disk.
Found FoundOf(const struct stat& info);

// The questions the rules ask of one side.
class FileFacts {
 public:
  // 0 and what `host` holds, or the error number stat (lstat without `follow`) would give.
  virtual int Look(const std::string& host, Found& found, bool follow = true) const = 0;
  // 0, or the error that creating or removing a name in the host folder `folder` would meet.
  virtual int ChangeInFolderError(const std::string& folder) const = 0;
  // 0, or the error that opening the file at `host` for reading would meet.
  virtual int ReadError(const std::string& host) const = 0;

  bool IsFolder(const std::string& host) const;

 protected:
  ~FileFacts() = default;
};

// The disk itself, as stat and access(2) answer for it.
const FileFacts& TheDisk();

// ENAMETOOLONG when the host refuses `host` as the name of a new file or folder: the path's
// bytes (PATH_MAX counts the closing NUL), or its last name's bytes in the file system of the
// nearest folder that exists on disk; 0 otherwise.
int NewNameError(const std::string& host);
// ENAMETOOLONG when a temporary file beside the targets of `folder` would be too long a path.
int TemporaryNameError(const std::string& folder);
// EFBIG when the process may not write a file of `size` bytes (RLIMIT_FSIZE); 0 otherwise.
int FileSizeError(off_t size);

// The failure of an action on `at` when it does not exist: the object itself (NotFound), or
// a folder on the way (PathNotFound).
Status Missing(const FileFacts& files, const Location& at, const std::string& action,
               const char* what);

// A copy of `from` to `to` that passed the rules, for the side that makes it.
struct CopyCheck {
  std::string action;           // "Cannot copy ... to ...", for the failures still to come
  Found source;                 // the file copied
  std::string writeTo;          // the host file written: a link's target, so the link stays
  std::optional<Found> target;  // the file the copy replaces, if any
};
Status MayCopy(const FileFacts& files, const Location& from, const Location& to, bool overwrite,
               CopyCheck& check);

// A file deleted: `action` is filled for the failures still to come.
Status MayDelete(const FileFacts& files, const Location& at, std::string& action);

// A folder removed, all but whether it is empty, which each side finds out its own way.
Status MayRemoveFolder(const FileFacts& files, const Location& at, std::string& action);

// A file rewritten (FileSystem::RewriteFile), before its new content is known.
struct RewriteCheck {
  std::string action;
  std::string target;  // the host file written: a link's target
  bool exists = false;
  Found found;  // what is there, when it exists
};
Status MayRewrite(const FileFacts& files, const Location& at, RewriteCheck& check);
// The same file replaced by `size` bytes through a temporary beside it.
Status MayReplace(const FileFacts& files, const RewriteCheck& check, off_t size);

// A hive file of the prefix folder `prefixDir`, saved at `target` (a link already followed):
// the folders it would create, the file it would replace, the temporary beside it. The
// messages are the save's own.
Status MaySaveHive(const FileFacts& files, const std::string& prefixDir, const std::string& target);
// The same hive with its new text of `size` bytes.
Status MayWriteHive(const std::string& target, off_t size);

}  // namespace platform::file_internals
