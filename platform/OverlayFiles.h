#pragma once

// The files of a prefix with changes that never reach the disk: what a dry run works on.
//
// Reads see the prefix as it is on disk with the overlay's own changes over it: a file
// "copied" exists afterwards with the source's bytes, time and read-only attribute; a folder
// "created" is found; a file or folder "deleted" is gone; a file "rewritten" reads back.
// Every change first checks what FileSystem's would (a read-only target, a missing source or
// folder, a file where a folder should be, a folder the process may not write in) and fails
// with the same code and message; only what nobody can tell beforehand (a disk that fills up)
// is not foreseen. Nothing is written, locked or cleaned up on disk.
//
// Paths are told apart by their host path, with A-Z folded: a new name must be found again
// under any case, as the prefix's lookup finds names that exist.

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"
#include "platform/Status.h"
#include "platform/WinePrefix.h"

namespace platform {

class OverlayFiles {
 public:
  explicit OverlayFiles(WinePrefix prefix);

  // As FileSystem's calls of the same names.
  bool FileExists(std::string_view path) const;
  bool DirectoryExists(std::string_view path) const;
  Result<std::uint32_t> GetAttributes(std::string_view path) const;
  Status SetAttributes(std::string_view path, std::uint32_t attributes);
  Status CopyFile(std::string_view source, std::string_view target, bool overwrite);
  bool SameFile(std::string_view a, std::string_view b) const;
  Status DeleteFile(std::string_view path);
  Result<std::string> ReadFile(std::string_view path) const;
  Status RewriteFile(std::string_view path, const FileSystem::FileChange& change);
  Status CreateDirectory(std::string_view path);
  Status ForceDirectories(std::string_view path);
  Status RemoveDirectory(std::string_view path);

 private:
  // What the overlay holds at a host path, in place of what the disk holds there.
  struct Entry {
    enum class Kind { File, Folder, Gone } kind = Kind::Gone;
    mode_t mode = 0;
    timespec mtime{};
    // A file's bytes: those of the host file `origin`, or `content` when it was rewritten.
    std::string origin{};
    std::optional<std::string> content{};
  };
  // What a path holds as the overlay shows it.
  struct Node {
    bool folder = false;
    bool regular = false;
    bool link = false;  // a symbolic link (only when not followed)
    mode_t mode = 0;
    timespec mtime{};
    std::string identity{};  // equal for two names of one file
    std::string origin{};
    std::optional<std::string> content{};
  };
  class NewFolders;

  // 0 and the node, or the error number stat (lstat when not `follow`) would give.
  int Look(const std::string& host, Node& node, bool follow = true) const;
  bool IsFolder(const std::string& host) const;
  // Whether a folder holds nothing, as the overlay shows it.
  bool IsEmpty(const std::string& host) const;
  // The error creating or removing a name in `folder` would meet on disk; 0 for none.
  int ChangeInFolderError(const std::string& folder) const;
  Status Missing(const std::string& host, const WinPath& path, const std::string& action,
                 const char* what) const;
  const Entry* Find(const std::string& host) const;
  void Put(const std::string& host, Entry entry);

  WinePrefix prefix_;
  FileSystem disk_;  // the prefix as it is, for what the overlay leaves alone
  std::map<std::string, Entry> entries_;
};

}  // namespace platform
