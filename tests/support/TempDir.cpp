#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "setup-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests make files read-only on purpose; give the owner write access back first.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (it->is_symlink()) continue;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

void WriteFile(const std::string& path, const std::string& contents) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::map<std::string, std::string> FolderState(const std::string& root) {
  std::map<std::string, std::string> all;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat info {};
    ::lstat(entry.path().c_str(), &info);
    std::string state = std::to_string(info.st_mode) + " " + std::to_string(info.st_mtim.tv_sec) +
                        "." + std::to_string(info.st_mtim.tv_nsec);
    if (S_ISREG(info.st_mode)) state += " " + ReadFile(entry.path());
    all[fs::relative(entry.path(), root).string()] = state;
  }
  return all;
}

}  // namespace testsupport
