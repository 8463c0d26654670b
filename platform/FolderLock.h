#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The lock every process of ours takes before it re-reads, changes and replaces a file: one
// exclusive lock per folder, held on the folder itself (an advisory lock on its descriptor),
// so nothing extra is ever left in the user's folders. Two of our processes that change files
// of one folder take turns; readers never lock, because a file is only ever replaced by rename.

#include <memory>
#include <string>

#include "platform/Status.h"

namespace platform {

class FolderLock {
 public:
  // Waits until the lock is free. Fails when the folder cannot be opened.
  static Result<std::unique_ptr<FolderLock>> Acquire(std::string folder);
  ~FolderLock();  // closing the descriptor releases the lock
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  const std::string& folder() const { return folder_; }
  // Whether `folder` is the locked folder, under whatever name.
  bool Covers(const std::string& folder) const;

 private:
  FolderLock(std::string folder, int fd) : folder_(std::move(folder)), fd_(fd) {}

  std::string folder_;
  int fd_;
};

}  // namespace platform
