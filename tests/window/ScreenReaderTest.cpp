// The setup window as a screen reader meets it: read_setup_window.py reads its accessibility
// tree through AT-SPI in English and in German, in a D-Bus session of its own on the test's own
// X server, and makes one run through AT-SPI actions alone (Delphi 3 left out of the
// registration, Continue pressed in German). Each check the reader finds broken is one failure
// here; what the run did is then read from the prefix.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "platform/WinRegistry.h"
#include "tests/support/DemoMachine.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "tests/window/XServer.h"

namespace window_test {
namespace {

namespace fs = std::filesystem;

// pyatspi comes with Debian's own Python, whichever python3 comes first on the PATH.
constexpr const char* kPython = "/usr/bin/python3";
// The reader waits at most a minute for each step; the whole reading ends well within this.
constexpr int kReaderSeconds = 240;
// The reader's exit codes besides 0 (every check held) and 1 (some failed).
constexpr int kCannotGoOn = 2;
constexpr int kNoPyatspi = 77;

class ScreenReaderTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/dbus-run-session", kPython,
                             "/usr/libexec/at-spi-bus-launcher"}) {
      if (!fs::exists(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh)";
    }
    x.emplace();
    ASSERT_FALSE(x->display().empty());
    const auto written = testsupport::MakeDistribution(Dist(), {3, 4, 5});
    ASSERT_TRUE(written) << written.status().message();
    distributed = {written->begin(), written->end()};
    const platform::Status copied = testsupport::CopySetupProgram(SETUP_PROGRAM, Dist());
    ASSERT_TRUE(copied) << copied.message();
    const platform::Status made =
        testsupport::MakeDelphiPrefix(Prefix(), {{.version = 3}, {.version = 4}, {.version = 5}});
    ASSERT_TRUE(made) << made.message();
  }

  std::string Dist() const { return temp / "dist"; }
  std::string Prefix() const { return temp / "prefix"; }

  // The reader in a D-Bus session of its own (the accessibility bus is started in it on
  // demand); it starts the program from its distribution folder and ends it.
  testsupport::ProcessResult Read() const {
    testsupport::ProcessOptions options;
    options.environment = {
        {"DISPLAY", x->display()},
        {"QT_QPA_PLATFORM", "xcb"},
        {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"},
        {"WINEPREFIX", Prefix()},
        {"SETUP_PROGRAM", Dist() + "/PolyverbSetup"},
        {"LSAN_OPTIONS", "print_suppressions=0:suppressions=" LSAN_SUPPRESSIONS}};
    options.removed = {"XDG_RUNTIME_DIR"};
    options.killAfter = std::chrono::seconds(kReaderSeconds + 20);
    testsupport::ChildProcess reader(
        {"/usr/bin/timeout", "-k", "10", std::to_string(kReaderSeconds),
         "/usr/bin/dbus-run-session", "--", kPython, READER_SCRIPT},
        options);
    return reader.Wait();
  }

  std::set<std::string> FilesIn(const std::string& folder) const {
    std::set<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
      names.insert(entry.path().filename().string());
    return names;
  }

  // A text value below HKEY_CURRENT_USER, as the prefix's user.reg holds it.
  std::string Value(const std::string& key, const std::string& name) const {
    platform::Registry registry(Prefix());
    const auto opened = registry.OpenKey(platform::RootKey::CurrentUser, key, false);
    if (!opened) return "<no key " + key + ">";
    const auto value = registry.ReadValue(*opened, name);
    return value ? value->AsString().value_or("<not text>") : "<no value " + name + ">";
  }

  testsupport::TempDir temp;
  std::optional<XServer> x;
  std::set<std::string> distributed;
};

TEST_F(ScreenReaderTest, ReadsAndRunsTheWindowInEnglishAndGerman) {
  const testsupport::ProcessResult read = Read();
  if (read.exitCode == kNoPyatspi) GTEST_SKIP() << read.out << " (scripts/install-deps.sh)";
  std::istringstream lines(read.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("FAILED: ")) ADD_FAILURE() << line.substr(8);
  }
  EXPECT_TRUE(read.exitCode == 0 || read.exitCode == 1)
      << "the reader ended with exit code " << read.exitCode << ", signal " << read.signal;
  if (HasFailure()) std::cout << "What the reader read:\n" << read.out << read.err << std::endl;
  ASSERT_NE(read.exitCode, kCannotGoOn);

  // The run went into the offered folder, registered to Delphi 4 and 5 only, in German.
  EXPECT_EQ(FilesIn(Prefix() + "/drive_c/Programme/Zav Polyverb"), distributed);
  for (int version : {3, 4, 5}) {
    const std::string package =
        "ZavPolyverb" + std::to_string(version) + "0Design" + (version == 3 ? ".dpl" : ".bpl");
    const std::string registered =
        Value(testsupport::KnownPackagesKey(version),
              "C:\\Program Files\\Borland\\Delphi" + std::to_string(version) + "\\Bin\\" + package);
    if (version == 3) {
      EXPECT_NE(registered, "Zav Polyverb") << "Delphi 3, left out by the Toggle action of its box";
    } else {
      EXPECT_EQ(registered, "Zav Polyverb") << "Delphi " << version;
    }
  }
  EXPECT_EQ(Value("Software\\Zav\\Designers\\Global", "Polyverb.Language"), "Deutsch");
}

}  // namespace
}  // namespace window_test
