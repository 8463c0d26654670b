#pragma once

// Files and folders with Windows semantics, addressed by Windows paths through a Wine prefix.
// - The read-only attribute is the missing owner write bit. Our own checks enforce it, so it
//   holds even for root, whom the kernel would let write anyway.
// - A read-only file cannot be deleted or overwritten (AccessDenied); a folder is not a file.
// - CopyFile never leaves a half-written target and never destroys the file it replaces: it
//   writes a temporary file beside the target, flushes it and renames it over the target. The
//   temporary of a run killed in between is removed by the next run that copies into that
//   folder, deletes from it or removes it.
// - Every call reports success or a reason naming the Windows path; nothing throws.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Status.h"
#include "platform/WinePrefix.h"
#include "platform/Writes.h"

namespace platform {

// File attribute bits, with the values Windows gives them.
inline constexpr std::uint32_t faReadOnly = 0x01;
inline constexpr std::uint32_t faDirectory = 0x10;
inline constexpr std::uint32_t faArchive = 0x20;
inline constexpr std::uint32_t faNormal = 0x80;

class OverlayFiles;

class FileSystem {
 public:
  // With Writes::KeptInOverlay every call goes to an overlay over the prefix (OverlayFiles.h);
  // copies of this object share it.
  explicit FileSystem(WinePrefix prefix, Writes writes = Writes::ToDisk);

  const WinePrefix& prefix() const { return prefix_; }

  // False as well when the path is invalid or cannot be examined; GetAttributes says why.
  bool FileExists(std::string_view path) const;
  bool DirectoryExists(std::string_view path) const;

  // faDirectory or faArchive, with faReadOnly when the owner may not write.
  Result<std::uint32_t> GetAttributes(std::string_view path) const;
  // Only faReadOnly has an effect: set, it clears every write bit; clear (faNormal, say), it
  // gives the owner write access back. The other bits are accepted and ignored.
  Status SetAttributes(std::string_view path, std::uint32_t attributes) const;

  // Copies the content and the modification time; the copy is read-only when the source is.
  // Its permission bits are never wider than the source's: a new file gets the source's bits
  // less the umask, a replaced one the bits it had and the source has both.
  // NotFound when the source is missing, PathNotFound when the target's folder is, AccessDenied
  // for a read-only target, AlreadyExists for any target when `overwrite` is false, DiskFull
  // when the disk fills up.
  Status CopyFile(std::string_view source, std::string_view target, bool overwrite = true) const;
  // What a copy found at its target, for a caller that tells whether the copy changed anything.
  struct CopyReport {
    // The target was there with the source's bytes (compared as SameContent compares).
    bool replacedSameBytes = false;
  };
  // The same copy, which also fills `report` when it succeeds: one walk of the paths where
  // SameContent and CopyFile would each make their own.
  Status CopyFile(std::string_view source, std::string_view target, bool overwrite,
                  CopyReport& report) const;

  // Whether two paths name one existing file or folder: another spelling, a link, a drive
  // that maps onto the other's folder. False when either does not exist.
  bool SameFile(std::string_view a, std::string_view b) const;

  // Refuses a read-only file and a folder (AccessDenied), as Windows does.
  Status DeleteFile(std::string_view path) const;

  // The whole content of a file. NotFound when it does not exist (PathNotFound when its folder
  // does not), AccessDenied for a folder or anything else that is not a plain file.
  Result<std::string> ReadFile(std::string_view path) const;

  // Whether two files hold the same bytes: false at once when their sizes differ, and read a
  // piece at a time up to the first difference, never whole. What ReadFile answers for a file
  // that cannot be read.
  Result<bool> SameContent(std::string_view a, std::string_view b) const;

  // What RewriteFile asks for: the new content, given the file's content now (nothing when
  // the file does not exist yet).
  using FileChange = std::function<Result<std::string>(const std::optional<std::string>& current)>;
  // Changes a file under the lock of its folder that all our processes share, so that two of
  // them changing one file take turns and neither loses what the other wrote: reads the file
  // as it is now, asks `change` for the new content and replaces the file with it as CopyFile
  // replaces a target (never half-written, the old file kept on failure). The same content
  // leaves the file alone. A file reached through a link is written at the link's target and
  // keeps its mode. AccessDenied for a read-only file or a folder, PathNotFound when the folder
  // is missing; a failure of `change` comes back as it is, with nothing written.
  Status RewriteFile(std::string_view path, const FileChange& change) const;

  // One level: PathNotFound when the parent folder is missing, AlreadyExists when the name is
  // taken (by a folder or a file).
  Status CreateDirectory(std::string_view path) const;
  // Every missing level. A drive root that does not exist yet is created only when it lies
  // inside the prefix (drive_c of a new prefix); other drives must exist already. A call that
  // fails removes the levels it created.
  Status ForceDirectories(std::string_view path) const;
  // An empty folder only, its last level only: NotEmpty otherwise. A drive root stays.
  Status RemoveDirectory(std::string_view path) const;

 private:
  Status Copy(std::string_view source, std::string_view target, bool overwrite,
              CopyReport* report) const;

  WinePrefix prefix_;
  // Null on the real path: one test of a pointer is all the overlay costs there.
  std::shared_ptr<OverlayFiles> overlay_;
};

}  // namespace platform
