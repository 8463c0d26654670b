#pragma once

// Makes a prefix look as if a Wine server ran on it, the way the platform tells: the server's
// lock, held by a child process, where Debian's Wine keeps it for that prefix. No Wine needed.

#include <string>

namespace testsupport {

class FakeWineServer {
 public:
  // Fails the current test when the lock cannot be taken.
  explicit FakeWineServer(const std::string& prefixDir);
  ~FakeWineServer();
  FakeWineServer(const FakeWineServer&) = delete;
  FakeWineServer& operator=(const FakeWineServer&) = delete;

 private:
  void Start();

  std::string prefixDir_;
  std::string baseDir_;
  int child_ = -1;
};

}  // namespace testsupport
