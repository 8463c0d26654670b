#pragma once

// An X server of the test's own (Xvfb), and a person at it: xdotool moves the mouse, clicks and
// types; imagemagick's import takes pictures. Windows are X window ids as xdotool prints them.
// A step that fails throws std::runtime_error saying what failed, so the test ends there.

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace window_test {

struct Point {
  int x;
  int y;
};

class XServer {
 public:
  // Starts Xvfb on a display number it finds free; fails the current test when it cannot.
  XServer();
  // Ends the server, also when the test failed.
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  // ":N"; empty when the server could not be started.
  const std::string& display() const { return display_; }

  // The visible window whose title matches `name` (a regular expression, which xdotool matches
  // ignoring case), waited for.
  std::string WaitForWindow(const std::string& name) const;
  // A visible window that is not among `known`, waited for.
  std::string WaitForNewWindow(const std::vector<std::string>& known) const;
  // Waits until `window` is no longer shown.
  void WaitUntilHidden(const std::string& window) const;
  std::vector<std::string> VisibleWindows() const;

  // A click of the left button at `at` in the window's client area.
  void Click(const std::string& window, Point at) const;
  // Gives `window` the keyboard, then presses each key ("alt+c", "Return") or types `text`.
  void Keys(const std::string& window, const std::vector<std::string>& keys) const;
  void Type(const std::string& window, const std::string& text) const;

  // Saves a picture of `window` ("root": the whole screen) as a PNG file; false when it cannot.
  bool Picture(const std::string& window, const std::string& file) const;

 private:
  // xdotool run against this server, ended when it takes too long.
  testsupport::ProcessResult RunXdotool(const std::vector<std::string>& args) const;
  // Its standard output; throws when it fails.
  std::string Xdotool(const std::vector<std::string>& args) const;

  testsupport::TempDir dir_;  // the server's own messages
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace window_test
