// The folder-browse window as a user meets it: the Qt presenter's window over a machine like the
// demo machine, driven with real clicks, talking to its caller through the shell's callback.

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Machine.h"
#include "tests/support/DemoMachine.h"
#include "tests/support/TempDir.h"
#include "tests/support/toolkit/BrowseWindowDriver.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/ShlObj.h"
#include "toolkit/forms/WindowFunctions.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

using namespace toolkit_test;

class BrowseDialogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::MakeDelphiPrefix(dir.path(), {{3}, {5}}).ok());
    const passwd* user = ::getpwuid(::getuid());
    std::filesystem::create_directories(
        dir / ("drive_c/users/" + std::string(user->pw_name) + "/Documents"));
    Application->Initialize();
    info.hwndOwner = Application->Handle();
    info.lpszTitle = "Choose the folder for the package files:";
    info.ulFlags = BIF_STATUSTEXT | BIF_RETURNONLYFSDIRS;
    info.lpfn = &Callback;
    info.lParam = reinterpret_cast<std::intptr_t>(this);
  }

  // Names the window, shows the selected path in the status line, preselects a folder.
  static int Callback(HWND Wnd, std::uint32_t Msg, std::intptr_t LParam, std::intptr_t Data) {
    auto* test = reinterpret_cast<BrowseDialogWindowTest*>(Data);
    if (Msg == BFFM_INITIALIZED) {
      test->events.push_back("initialized");
      SendMessageA(Wnd, WM_SETTEXT, 0, reinterpret_cast<std::intptr_t>("Select Folder"));
      SendMessageA(Wnd, BFFM_SETSELECTIONA, 1, reinterpret_cast<std::intptr_t>(test->preselect));
      MoveWindow(Wnd, 10, 20, 400, 450, false);
    } else if (Msg == BFFM_SELCHANGED) {
      std::array<char, MAX_PATH> path{};
      static_cast<void>(SHGetPathFromIDListA(reinterpret_cast<ITEMIDLIST*>(LParam), path));
      test->events.push_back(std::string("selected ") + path.data());
      SendMessageA(Wnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<std::intptr_t>(path.data()));
      if (test->failOn == path.data()) throw std::runtime_error("handler failed");
    }
    return 0;
  }

  testsupport::TempDir dir;
  platform::Machine::Scope machine{platform::Machine::Use(
      std::make_unique<platform::Machine>(platform::WinePrefix(dir.path())))};
  BROWSEINFOA info;
  const char* preselect = "c:\\program files\\borland";
  std::string failOn = "-";
  std::vector<std::string> events;
};

TEST_F(BrowseDialogWindowTest, AUserOpensFoldersAndChoosesOne) {
  std::array<char, MAX_PATH> displayName{};
  info.pszDisplayName = displayName.data();
  WhenBrowseWindowOpens([&](HWND window) {
    EXPECT_EQ(WindowCaption(window), "Select Folder");
    EXPECT_TRUE(StatusLineShown(window));
    EXPECT_EQ(StatusLine(window), "C:\\Program Files\\Borland");
    EXPECT_TRUE(OkButtonEnabled(window));
    TRect bounds;
    EXPECT_TRUE(GetWindowRect(window, &bounds));
    EXPECT_EQ(bounds, (TRect{10, 20, 410, 470}));
    // Opened down to the preselected folder; the nodes not opened are not read yet.
    EXPECT_EQ(TreeNodes(window),
              (std::vector<std::string>{"Desktop", "  My Documents", "  My Computer",
                                        "    Local Disk (C:)", "      Program Files",
                                        "        Borland", "      users", "      windows",
                                        "    Local Disk (Z:)", "    Control Panel", "    Printers",
                                        "  Network", "  Recycle Bin"}));
    // Its names are in the controls' font (8-point MS Sans Serif), as in the window that opens it.
    EXPECT_EQ(TreeFontPixels(window), 11);
    EXPECT_TRUE(SaveBrowseWindowPicture(window, SETUP_TEST_OUTPUT_DIR "/browse-dialog.png"));

    ASSERT_TRUE(ClickTreeItem(window, {"My Computer", "Control Panel"}));
    EXPECT_FALSE(OkButtonEnabled(window));  // no file-system folder
    EXPECT_EQ(StatusLine(window), "");
    ASSERT_TRUE(ClickTreeItem(window, {"My Computer", "Local Disk (C:)", "windows"}));
    EXPECT_TRUE(OkButtonEnabled(window));
    ClickOk(window);
  });
  ITEMIDLIST* chosen = SHBrowseForFolderA(&info);
  const ScopeExit free([chosen] { CoTaskMemFree(chosen); });
  ASSERT_NE(chosen, nullptr);
  std::array<char, MAX_PATH> path{};
  EXPECT_TRUE(SHGetPathFromIDListA(chosen, path));
  EXPECT_STREQ(path.data(), "C:\\windows");
  EXPECT_STREQ(displayName.data(), "windows");
  EXPECT_EQ(events, (std::vector<std::string>{"initialized", "selected C:\\Program Files\\Borland",
                                              "selected ", "selected C:\\windows"}));
}

TEST_F(BrowseDialogWindowTest, CancelAndAFailingHandlerBothCloseTheWindow) {
  preselect = "C:\\no such folder";  // leaves the root selected
  info.pidlRoot = nullptr;
  WhenBrowseWindowOpens([](HWND window) {
    EXPECT_FALSE(OkButtonEnabled(window));  // the desktop has no path
    ClickCancel(window);
  });
  EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"initialized", "selected "}));

  failOn = "C:\\windows";
  HWND seen = nullptr;
  WhenBrowseWindowOpens([&](HWND window) {
    seen = window;
    EXPECT_TRUE(ClickTreeItem(window, {"My Computer", "Local Disk (C:)", "windows"}));
  });
  EXPECT_THROW(SHBrowseForFolderA(&info), std::runtime_error);
  EXPECT_NE(seen, nullptr);
  // The window is gone: messages to it reach nothing.
  EXPECT_EQ(SendMessageA(seen, WM_SETTEXT, 0, 0), 0);
}

}  // namespace
