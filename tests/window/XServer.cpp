#include "tests/window/XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/Process.h"

namespace window_test {

namespace {

using Clock = std::chrono::steady_clock;

// However slow the machine, a window comes or goes well within this; a step that takes longer
// has failed.
constexpr std::chrono::seconds kPatience(60);
const std::string kPatienceSeconds = std::to_string(kPatience.count());

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// The display number Xvfb writes to `fd` once it takes connections; empty when it ends first
// or says nothing in time.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  const auto deadline = Clock::now() + kPatience;
  while (number.find('\n') == std::string::npos) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd ready{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return {};
    char buffer[16];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) return {};
    number.append(buffer, static_cast<size_t>(got));
  }
  return number.substr(0, number.find('\n'));
}

}  // namespace

XServer::XServer() {
  int ready[2] = {-1, -1};
  if (::pipe2(ready, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "no pipe for Xvfb";
    return;
  }
  const std::string log = dir_ / "Xvfb.log";
  // -noreset: a server resets when its last client leaves, and refuses connections meanwhile.
  // The accessibility bus connects and leaves as a screen reader's session starts, just when
  // the program under test connects.
  std::vector<std::string> args = {"Xvfb",      "-displayfd", std::to_string(ready[1]),
                                   "-screen",   "0",          "1024x768x24",
                                   "-nolisten", "tcp",        "-noreset"};
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_ = ::fork();
  if (pid_ == 0) {
    // The server goes with the test, also when the test is killed.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0) ::_exit(127);
    if (::fcntl(ready[1], F_SETFD, 0) != 0) ::_exit(127);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(ready[1]);
  const std::string number = pid_ > 0 ? ReadDisplayNumber(ready[0]) : std::string();
  ::close(ready[0]);
  if (number.empty()) {
    ADD_FAILURE() << "Xvfb did not start: " << testsupport::ReadFile(log);
    return;
  }
  display_ = ":" + number;
}

XServer::~XServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

testsupport::ProcessResult XServer::RunXdotool(const std::vector<std::string>& args) const {
  std::vector<std::string> argv = {"/usr/bin/timeout", kPatienceSeconds, "xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return testsupport::RunProcess(argv, {{"DISPLAY", display_}});
}

std::string XServer::Xdotool(const std::vector<std::string>& args) const {
  const testsupport::ProcessResult result = RunXdotool(args);
  if (result.exitCode == 0) return result.out;
  std::string command = "xdotool";
  for (const std::string& arg : args)
    command += " '" + arg + "'";
  throw std::runtime_error(command + " failed (exit code " + std::to_string(result.exitCode) +
                           (result.exitCode == 124 ? ", timed out" : "") + "): " + result.err);
}

std::string XServer::WaitForWindow(const std::string& name) const {
  try {
    return Lines(Xdotool({"search", "--sync", "--onlyvisible", "--name", name})).front();
  } catch (const std::runtime_error& failed) {
    throw std::runtime_error("no window named '" + name + "' was shown: " + failed.what());
  }
}

std::vector<std::string> XServer::VisibleWindows() const {
  // Exit code 1 is no window at all.
  const testsupport::ProcessResult result = RunXdotool({"search", "--onlyvisible", "--name", ""});
  if (result.exitCode > 1) throw std::runtime_error("xdotool search failed: " + result.err);
  return Lines(result.out);
}

std::string XServer::WaitForNewWindow(const std::vector<std::string>& known) const {
  for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
    for (const std::string& window : VisibleWindows()) {
      if (std::find(known.begin(), known.end(), window) == known.end()) return window;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  throw std::runtime_error("no new window was shown");
}

void XServer::WaitUntilHidden(const std::string& window) const {
  for (const auto deadline = Clock::now() + kPatience; Clock::now() < deadline;) {
    const std::vector<std::string> shown = VisibleWindows();
    if (std::find(shown.begin(), shown.end(), window) == shown.end()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  throw std::runtime_error("window " + window + " is still shown");
}

void XServer::Click(const std::string& window, Point at) const {
  // The server takes the move before the click, so the click lands where the pointer went.
  Xdotool(
      {"mousemove", "--window", window, std::to_string(at.x), std::to_string(at.y), "click", "1"});
}

void XServer::Keys(const std::string& window, const std::vector<std::string>& keys) const {
  std::vector<std::string> args = {"windowfocus", "--sync", window, "key"};
  args.insert(args.end(), keys.begin(), keys.end());
  Xdotool(args);
}

void XServer::Type(const std::string& window, const std::string& text) const {
  Xdotool({"windowfocus", "--sync", window, "type", text});
}

bool XServer::Picture(const std::string& window, const std::string& file) const {
  return testsupport::RunProcess({"/usr/bin/import", "-window", window, file},
                                 {{"DISPLAY", display_}})
             .exitCode == 0;
}

}  // namespace window_test
