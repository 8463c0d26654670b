#pragma once

// A temporary folder for one test, removed with everything in it when the object goes.

#include <map>
#include <string>

namespace testsupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + relative
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

// Writes a whole file, creating missing folders; fails the current test on error.
void WriteFile(const std::string& path, const std::string& contents);
// Reads a whole file; an empty string when it cannot be read.
std::string ReadFile(const std::string& path);
// Every file and folder below `root`, keyed by its path below `root`, with its mode,
// modification time and, for a file, its bytes: two equal states mean nothing there changed.
std::map<std::string, std::string> FolderState(const std::string& root);

}  // namespace testsupport
