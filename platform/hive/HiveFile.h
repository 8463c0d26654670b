#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// One hive file of a prefix on disk: read without locking, changed safely.
//
// Reading never takes a lock, so it never holds up Wine or another reader; a
// hive is only ever replaced by rename, so a reader sees the old file or the new
// one. A change runs under the lock of the hive's folder, which all our
// processes share (FolderLock), re-reads the file if it changed on disk,
// applies the change and replaces the file (ReplaceFileContents).

#include <functional>
#include <future>
#include <memory>
#include <string>

#include "platform/Status.h"
#include "platform/Writes.h"
#include "platform/hive/Hive.h"
#include "platform/hive/Slicing.h"

namespace platform {

class HiveFile {
 public:
  // `prefixDir` is the prefix folder (the server check belongs to it);
  // `fileName` the hive's name in it; `relativeTo` the branch a new file names
  // in its header.
  // With Writes::KeptInOverlay a change checks what saving it would, then stays in memory
  // (HiveFileKeptChanges.cpp): the file is never written, and reads see the change from then on.
  HiveFile(std::string prefixDir, std::string fileName, std::string relativeTo,
           Writes writes = Writes::ToDisk);
  ~HiveFile();
  HiveFile(const HiveFile&) = delete;
  HiveFile& operator=(const HiveFile&) = delete;

  const std::string& path() const { return path_; }

  // The hive as it is on disk now; a missing file reads as an empty hive.
  // The reference stays valid until the next call on this object.
  Result<const Hive*> Read();

  // Applies `change` to the current hive and saves it when the change says it
  // modified something (`change` returns true). Refused with AccessDenied while
  // a Wine server runs on the prefix, and with BadFormat for a hive we do not
  // understand. On any failure the file on disk is left as it was.
  Status Modify(const std::function<Result<bool>(Hive&)>& change);

  // Starts reading and parsing the file on another thread, so that a program's start-up can
  // do its other work meanwhile; the next read takes that hive if the file is still the one
  // read. Reads without it are as before.
  // With `slice`, the thread reads only what lookups below those keys meet (Slicing.h) when
  // the file allows it, and ReadSlice hands that out; Read still reads the whole file.
  void ReadAhead(HiveKeyPaths slice = {});

  // For a lookup below the keys given to ReadAhead: the slice read ahead while the file is
  // still the one it was read from, else the whole hive as Read gives it. Only keys below
  // those keys, and on the way to them, may be asked for in a slice.
  Result<const Hive*> ReadSlice();

  // Frees the cached hive; the next read loads the file again. A hive holding changes kept
  // from the file (a dry run's) stays, as it is the only copy of them.
  void Release();

 private:
  struct Identity;
  struct Loaded;
  Status LoadIfChanged();
  // Takes the read ahead, once it is done: a slice is kept for ReadSlice, a whole hive is
  // left in `taken_` for LoadIfChanged.
  void TakeAhead();
  Status KeepChange(const std::function<Result<bool>(Hive&)>& change);
  // Drops the cached hive: the next read loads the file again.
  void Forget();

  std::string prefixDir_;
  std::string path_;
  std::string relativeTo_;
  std::unique_ptr<Hive> hive_;
  std::unique_ptr<Identity> loaded_;            // what the cached hive was read from
  std::future<std::unique_ptr<Loaded>> ahead_;  // a read started by ReadAhead, not yet taken
  HiveKeyPaths aheadKeys_;                      // the keys it reads a slice for
  std::unique_ptr<Loaded> taken_;               // a whole hive read ahead, not yet looked at
  std::unique_ptr<Loaded> slice_;               // a slice read ahead
  Writes writes_;
  bool kept_ = false;  // the cached hive holds changes the file does not: it is the hive now
};

}  // namespace platform
