#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The files of a prefix with changes that never reach the disk: what a dry run works on.
//
// Reads see the prefix as it is on disk with the overlay's own changes over it: a file
// "copied" exists afterwards with the source's bytes, time and read-only attribute; a folder
// "created" is found; a file or folder "deleted" is gone; a file "rewritten" reads back.
// Every change is decided by the rules FileSystem's is decided by (ChangeRules.h), asked of
// the overlay instead of the disk, so it fails with the same code and message; only what nobody
// can tell beforehand (a disk that fills up) is not foreseen. Nothing is written, locked or
// cleaned up on disk.
//
// Paths are told apart by their host path, with A-Z folded: a new name must be found again
// under any case, as the prefix's lookup finds names that exist.

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ChangeRules.h"
#include "platform/FileSystem.h"
#include "platform/Status.h"
#include "platform/WinePrefix.h"

namespace platform {

class OverlayFiles final : private file_internals::FileFacts {
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
    off_t size = 0;  // of the host file `origin`, when the bytes are its
    timespec mtime{};
    // A file's bytes: those of the host file `origin`, or `content` when it was rewritten.
    std::string origin{};
    std::optional<std::string> content{};
  };
  // What a path holds as the overlay shows it, and where its bytes are.
  struct Node : file_internals::Found {
    std::string origin{};
    std::optional<std::string> content{};
  };
  class NewFolders;

  // 0 and the node, or the error number stat (lstat when not `follow`) would give.
  int LookNode(const std::string& host, Node& node, bool follow = true) const;
  // ENOENT below a folder the overlay removed, ENOTDIR below a file it put in a folder's
  // place, 0 where the folders above are as the disk has them or the overlay made them.
  int AboveError(const std::string& host) const;
  // ENOENT for a name that is not there, or ENAMETOOLONG where the kernel would refuse the
  // name itself before it looked: a name longer than its folder's file system takes.
  int MissingName(const std::string& host) const;
  // Whether a folder holds nothing, as the overlay shows it.
  bool IsEmpty(const std::string& host) const;

  // What the rules ask (ChangeRules.h), answered from the overlay.
  int Look(const std::string& host, file_internals::Found& found, bool follow) const override;
  int ChangeInFolderError(const std::string& folder) const override;
  int ReadError(const std::string& host) const override;

  const Entry* Find(const std::string& host) const;
  void Put(const std::string& host, Entry entry);

  WinePrefix prefix_;
  FileSystem disk_;  // the prefix as it is, for what the overlay leaves alone
  std::map<std::string, Entry> entries_;
};

}  // namespace platform
