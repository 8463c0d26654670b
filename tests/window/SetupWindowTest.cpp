// The setup window on a real X server, driven as a person drives it: the mouse clicks where the
// form puts a control, the keyboard types and presses accelerators, and the program runs as a
// user starts it from its distribution folder, as root in a container would (no
// XDG_RUNTIME_DIR). What the run did is then read from the prefix.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>

#include "platform/WinRegistry.h"
#include "platform/WinePrefix.h"
#include "tests/support/DemoMachine.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "tests/window/XServer.h"

namespace window_test {
namespace {

namespace fs = std::filesystem;

// The centre of a control given as in the form's .dfm, its Left and Top added to its parents'.
constexpr Point Centre(int left, int top, int width, int height) {
  return {left + width / 2, top + height / 2};
}

// Places in the window's client area (installer/PolyverbInstallMain.dfm). FolderSelect in
// GroupFolder is the edit field with the square "..." button (as wide as it is high) at its right.
constexpr Point kFolderField = Centre(8 + 16, 96 + 49, 300, 25);
constexpr Point kBrowseButton = Centre(8 + 16 + 457 - 25, 96 + 49, 25, 25);
constexpr Point kLanguageBox = Centre(352, 24, 145, 21);
// The button panel (Top 328, Height 40) lays its buttons out itself: 128 by 32, 8 from the right
// edge, centred (package/ButtonPanel.h). Close is the rightmost.
constexpr Point kCloseButton = Centre(505 - 8 - 128, 328 + 4, 128, 32);

// "ZavPolyverb40.bpl", "ZavPolyverb30Design.dpl"
std::string Package(int version, const std::string& kind = "") {
  return "ZavPolyverb" + std::to_string(version) + "0" + kind + (version == 3 ? ".dpl" : ".bpl");
}

class SetupWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/xdotool", "/usr/bin/import"}) {
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

  void TearDown() override {
    if (!HasFailure() || !x || x->display().empty()) return;
    const std::string picture = PicturePath("failure");
    if (x->Picture("root", picture)) ADD_FAILURE() << "The screen at the failure: " << picture;
  }

  std::string Dist() const { return temp / "dist"; }
  std::string Prefix() const { return temp / "prefix"; }
  static std::string PicturePath(const std::string& what) {
    return std::string(PICTURE_DIR) + "/" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + "-" + what + ".png";
  }

  // Starts the program from its distribution folder; its window, once shown. In the sanitizer
  // build only the leaks of the libraries it uses are passed over (lsan-suppressions.txt).
  std::string Start() {
    testsupport::ProcessOptions options;
    options.environment = {
        {"DISPLAY", x->display()},
        {"QT_QPA_PLATFORM", "xcb"},
        {"WINEPREFIX", Prefix()},
        {"LSAN_OPTIONS", "print_suppressions=0:suppressions=" LSAN_SUPPRESSIONS}};
    options.removed = {"XDG_RUNTIME_DIR"};
    program.emplace(std::vector<std::string>{Dist() + "/PolyverbSetup"}, options);
    return x->WaitForWindow("^Zav Polyverb - Installation$");
  }

  // Continue pressed by its accelerator; the message box that ends the run answered with Enter.
  void Run(const std::string& window, const std::string& accelerator) {
    x->Keys(window, {accelerator});
    const std::string box = x->WaitForWindow("^Setup$");
    x->Keys(box, {"Return"});
    x->WaitUntilHidden(box);
  }

  // Close clicked: the program ends, and says nothing on the way.
  void Close(const std::string& window) {
    x->Click(window, kCloseButton);
    x->WaitUntilHidden(window);
    const testsupport::ProcessResult ended = program->Wait();
    EXPECT_EQ(ended.exitCode, 0);
    EXPECT_EQ(ended.err, "");
  }

  static std::set<std::string> FilesIn(const std::string& folder) {
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
  std::optional<testsupport::ChildProcess> program;
  std::set<std::string> distributed;
};

// The offered folder replaced by one typed, Continue by Alt+C, the message box by Enter, Close
// by the mouse: every file where it belongs, the package known to each Delphi, the folder
// remembered.
TEST_F(SetupWindowTest, InstallsIntoATypedFolder) {
  const std::string folder = temp / "typed folder";
  const auto typed = platform::WinePrefix(Prefix()).ToWindowsPath(folder);
  ASSERT_TRUE(typed) << typed.status().message();
  const std::string window = Start();
  x->Click(window, kFolderField);
  x->Keys(window, {"ctrl+a"});
  x->Type(window, *typed);
  Run(window, "alt+c");
  const std::string picture = PicturePath("status");
  EXPECT_TRUE(x->Picture(window, picture));
  std::cout << "The status list after the run: " << picture << std::endl;
  Close(window);

  EXPECT_EQ(FilesIn(folder), distributed);
  const std::string drive = Prefix() + "/drive_c/";
  for (int version : {3, 4, 5}) {
    const std::string bin = "Program Files\\Borland\\Delphi" + std::to_string(version) + "\\Bin";
    const std::string binFolder =
        drive + "Program Files/Borland/Delphi" + std::to_string(version) + "/Bin/";
    EXPECT_TRUE(fs::exists(binFolder + Package(version))) << version;
    EXPECT_TRUE(fs::exists(binFolder + Package(version, "Design"))) << version;
    EXPECT_TRUE(fs::exists(drive + "windows/" + Package(version))) << version;
    EXPECT_EQ(Value(testsupport::KnownPackagesKey(version),
                    "C:\\" + bin + "\\" + Package(version, "Design")),
              "Zav Polyverb");
  }
  const std::string history = Value(
      "Software\\Zav\\Designers\\Polyverb\\Install\\TPolyverbInstallForm", "FolderSelect.History");
  EXPECT_TRUE(history.starts_with(*typed + ";")) << history;
}

// German chosen from the language box, a folder chosen with "..." in the folder-browse dialog:
// only the German accelerator of Continue (Alt+W, "&Weiter") starts the run, and the files go
// into the folder chosen.
TEST_F(SetupWindowTest, InGermanIntoAFolderChosenWithTheBrowseDialog) {
  // The dialog opens at the offered folder; the folder to choose is inside it.
  const std::string chosen = Prefix() + "/drive_c/Programme/Zav Polyverb/Chosen";
  fs::create_directories(chosen);
  const std::string window = Start();

  const std::vector<std::string> before = x->VisibleWindows();
  x->Click(window, kLanguageBox);
  const std::string list = x->WaitForNewWindow(before);
  x->Keys(list, {"Down", "Return"});  // English, then Deutsch
  x->WaitUntilHidden(list);

  x->Click(window, kBrowseButton);
  const std::string dialog = x->WaitForWindow("^Browse for Folder$");
  // The offered folder is selected: opened, its first (only) folder, OK.
  x->Keys(dialog, {"Right", "Right", "Return"});
  x->WaitUntilHidden(dialog);

  Run(window, "alt+w");
  Close(window);

  EXPECT_EQ(FilesIn(chosen), distributed);
  EXPECT_EQ(Value("Software\\Zav\\Designers\\Global", "Polyverb.Language"), "Deutsch");
}

}  // namespace
}  // namespace window_test
