// TBrowseFolder driven as a user drives the dialog: through the test presenter, which opens
// the dialog over a prefix like the demo machine's and clicks through its tree from inside the
// modal loop.

#include "controls/BrowseFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "package/Errors.h"
#include "platform/Machine.h"
#include "tests/support/DemoMachine.h"
#include "tests/support/TempDir.h"
#include "tests/support/toolkit/FormDriver.h"
#include "tests/support/toolkit/TestPresenter.h"
#include "toolkit/forms/BrowseDialog.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassRegistry.h"
#include "toolkit/model/FormStreaming.h"

namespace {

using platform::ShellItem;
using platform::ShellItemKind;
using toolkit_test::ClickItem;
using Names = std::vector<std::string>;

class BrowseFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::MakeDelphiPrefix(dir.path(), {{3}, {5}}).ok());
    std::filesystem::create_directories(dir / ("drive_c/users/" + user + "/Documents"));
    Application->Initialize();
  }

  // The open dialog of the component under test.
  TBrowseDialog& Open() {
    TBrowseDialog* dialog = TBrowseDialog::Find(browse.DialogHandle());
    if (dialog == nullptr) throw std::logic_error("the browse dialog is not open");
    return *dialog;
  }

  const std::string user = ::getpwuid(::getuid())->pw_name;
  const std::string documents = "C:\\users\\" + user + "\\Documents";
  testsupport::TempDir dir;
  platform::Machine::Scope machine{platform::Machine::Use(
      std::make_unique<platform::Machine>(platform::WinePrefix(dir.path())))};
  toolkit_test::PresenterScope presenter;
  TBrowseFolder browse{nullptr};
  std::vector<std::string> events;
};

TEST_F(BrowseFolderTest, OkChoosesTheSelectedFolderAndTheEventsFollowTheSelection) {
  auto* form = toolkit_test::BuildForm("object Form1: TForm\n  Caption = 'Owner'\nend\n");
  const ScopeExit freeForm([form] { form->Free(); });
  toolkit_test::ShowForm(form);
  browse.Directory = "c:\\program files\\borland";
  browse.Title = "Choose a folder:";
  browse.OnShow = [&](TObject*) { events.push_back("show"); };
  browse.OnClose = [&](TObject*) { events.push_back("close"); };
  browse.OnInitialized = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &browse);
    EXPECT_TRUE(browse.IsShowing());
    EXPECT_EQ(browse.Handle(), browse.DialogHandle());
    events.push_back("initialized " + browse.Directory);
  };
  browse.OnSelectionChange = [&](TObject*) { events.push_back("selected " + browse.Directory); };
  presenter->DriveNextBrowseDialog([&](TBrowseDialog& dialog) {
    EXPECT_FALSE(toolkit_test::WindowAcceptsInput(form));  // modal for the whole application
    EXPECT_EQ(dialog.Title(), "Choose a folder:");
    EXPECT_EQ(dialog.Caption(), "Browse for Folder");  // no Caption: the shell's
    EXPECT_TRUE(dialog.HasStatusLine());
    EXPECT_EQ(dialog.StatusText(), "C:\\Program Files\\Borland");
    EXPECT_TRUE(dialog.OkEnabled());
    EXPECT_TRUE(ClickItem(
        dialog, {"My Computer", "Local Disk (C:)", "Program Files", "Borland", "Delphi5", "Bin"}));
    EXPECT_EQ(dialog.StatusText(), "C:\\...\\Borland\\Delphi5\\Bin");  // shortened to 35
    return true;
  });
  EXPECT_TRUE(browse.Execute());
  EXPECT_EQ(browse.Directory, "C:\\Program Files\\Borland\\Delphi5\\Bin");
  EXPECT_EQ(browse.DisplayName(), "Bin");
  EXPECT_EQ(browse.ImageIndex(), ShellImageIndex(ShellItem::FolderAt("C:\\x")));
  EXPECT_EQ(events, (Names{"show", "selected C:\\Program Files\\Borland",
                           "initialized C:\\Program Files\\Borland",
                           "selected C:\\Program Files\\Borland\\Delphi5\\Bin", "close"}));
  EXPECT_FALSE(browse.IsShowing());
  EXPECT_EQ(browse.DialogHandle(), nullptr);
  EXPECT_TRUE(toolkit_test::WindowAcceptsInput(form));
  ASSERT_EQ(presenter->BrowseDialogs.size(), 1U);
  EXPECT_EQ(presenter->BrowseDialogs[0].Flags, BIF_STATUSTEXT);
  EXPECT_EQ(presenter->BrowseDialogs[0].Root, ShellItem::Virtual(ShellItemKind::Desktop));
}

TEST_F(BrowseFolderTest, ItemsWithoutAPathDisableOkAndCancelKeepsTheLastSelection) {
  // A first choice with OK, so that Cancel has an image index to keep.
  presenter->DriveNextBrowseDialog([](TBrowseDialog& dialog) {
    return ClickItem(dialog, {"My Computer", "Local Disk (C:)"});
  });
  ASSERT_TRUE(browse.Execute());
  const int driveImage = browse.ImageIndex();
  EXPECT_EQ(browse.DisplayName(), "Local Disk (C:)");

  browse.Directory = "C:\\windows";
  presenter->DriveNextBrowseDialog([&](TBrowseDialog& dialog) {
    const struct {
      Names click;
      bool ok;
      std::string directory;
    } steps[] = {
        {{"My Computer", "Control Panel"}, false, ""},
        {{"My Documents"}, true, documents},
        {{"Recycle Bin"}, false, ""},
        {{}, false, ""},  // the desktop itself
        {{"My Computer", "Local Disk (C:)", "users"}, true, "C:\\users"},
        {{"Network"}, false, ""},
        {{"My Computer", "Printers"}, false, ""},
    };
    for (const auto& step : steps) {
      EXPECT_TRUE(ClickItem(dialog, step.click));
      EXPECT_EQ(dialog.OkEnabled(), step.ok) << dialog.Shell().DisplayName(dialog.Selection());
      EXPECT_EQ(browse.Directory, step.directory);
    }
    return false;
  });
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(browse.Directory, "");  // the printers, selected last
  EXPECT_EQ(browse.ImageIndex(), driveImage);
  EXPECT_EQ(browse.DisplayName(), "Local Disk (C:)");

  // Without AutoEnableOK the component leaves OK alone: an item without a path can be chosen.
  browse.AutoEnableOK = false;
  presenter->DriveNextBrowseDialog([](TBrowseDialog& dialog) {
    EXPECT_TRUE(ClickItem(dialog, {"Recycle Bin"}));
    EXPECT_TRUE(dialog.OkEnabled());
    return true;
  });
  EXPECT_TRUE(browse.Execute());
  EXPECT_EQ(browse.Directory, "");
  EXPECT_EQ(browse.DisplayName(), "Recycle Bin");
}

TEST_F(BrowseFolderTest, CaptionAndStatusSetWhileOpenShowAtOnce) {
  browse.SetCaption("Pick a folder");
  browse.SetStatus("Fixed text");
  browse.Directory = "C:\\windows";
  browse.OnInitialized = [&](TObject*) {
    EXPECT_EQ(Open().Caption(), "Pick a folder");
    EXPECT_EQ(Open().StatusText(), "Fixed text");
    browse.SetCaption("Changed in the handler");
    EXPECT_EQ(Open().Caption(), "Changed in the handler");
  };
  presenter->DriveNextBrowseDialog([&](TBrowseDialog& dialog) {
    EXPECT_TRUE(ClickItem(dialog, {"My Computer", "Local Disk (C:)"}));
    EXPECT_EQ(dialog.StatusText(), "Fixed text");  // a fixed text wins over ShowFullPath
    browse.OnSelectionChange = [&](TObject*) { browse.SetStatus("Now " + browse.Directory); };
    EXPECT_TRUE(ClickItem(dialog, {"My Computer", "Local Disk (C:)", "users"}));
    EXPECT_EQ(dialog.StatusText(), "Now C:\\users");
    browse.SetStatus("");
    browse.OnSelectionChange = [&](TObject*) { browse.Directory = "changed by the handler"; };
    EXPECT_TRUE(ClickItem(dialog, {"My Computer", "Local Disk (Z:)"}));
    EXPECT_EQ(dialog.StatusText(), "changed by the handler");  // taken after the event
    return false;
  });
  EXPECT_FALSE(browse.Execute());

  // Set while closed: stored, shown at the next Execute. No status line without bfStatusText,
  // and the path is not shown without ShowFullPath.
  browse.OnInitialized = nullptr;
  browse.OnSelectionChange = nullptr;
  browse.SetCaption("Next time");
  browse.Flags = {};
  browse.ShowFullPath = false;
  presenter->DriveNextBrowseDialog([](TBrowseDialog& dialog) {
    EXPECT_EQ(dialog.Caption(), "Next time");
    EXPECT_FALSE(dialog.HasStatusLine());
    EXPECT_TRUE(ClickItem(dialog, {"My Computer", "Local Disk (C:)"}));
    EXPECT_EQ(dialog.StatusText(), "");
    return false;
  });
  EXPECT_FALSE(browse.Execute());
}

TEST_F(BrowseFolderTest, TheDialogIsCentredRoundingTowardZero) {
  const int screenWidth = Screen->Width();
  const int screenHeight = Screen->Height();
  const struct {
    TRect window;
    TRect centred;
  } cases[] = {
      {{0, 0, screenWidth - 101, screenHeight - 40}, {50, 20, screenWidth - 51, screenHeight - 20}},
      {{7, 9, screenWidth + 201 + 7, screenHeight + 3 + 9},
       {-100, -1, screenWidth + 101, screenHeight + 2}},
      {{-5, 300, screenWidth - 5, screenHeight + 300}, {0, 0, screenWidth, screenHeight}},
  };
  for (const auto& c : cases) {
    TRect seen;
    presenter->DriveNextBrowseDialog(
        [&](TBrowseDialog& dialog) {
          seen = dialog.WindowRect();
          return false;
        },
        c.window);
    EXPECT_FALSE(browse.Execute());
    EXPECT_EQ(seen, c.centred) << c.window.Left << "," << c.window.Top;
  }
}

TEST_F(BrowseFolderTest, ExecuteWhileOpenRaisesAndLeavesTheOpenDialogAlone) {
  HWND open = nullptr;
  browse.OnSelectionChange = [&](TObject*) {
    if (open != nullptr) return;
    open = browse.DialogHandle();
    try {
      browse.Execute();
      ADD_FAILURE() << "a second Execute ran";
    } catch (const EBrowseDialogAlreadyShowing& error) {
      EXPECT_EQ(error.Message, "The browse dialog is already showing");
      EXPECT_STREQ(error.ClassName(), "EBrowseDialogAlreadyShowing");
    }
    EXPECT_TRUE(browse.IsShowing());
    EXPECT_EQ(browse.DialogHandle(), open);
  };
  presenter->DriveNextBrowseDialog([&](TBrowseDialog& dialog) {
    EXPECT_EQ(TBrowseDialog::Find(open), &dialog);
    return ClickItem(dialog, {"My Computer", "Local Disk (C:)", "windows"});
  });
  EXPECT_TRUE(browse.Execute());
  EXPECT_EQ(browse.Directory, "C:\\windows");
  EXPECT_EQ(presenter->BrowseDialogs.size(), 1U);
}

TEST_F(BrowseFolderTest, AnErrorInAHandlerReachesTheCallerAfterTheCleanUp) {
  auto* form = toolkit_test::BuildForm("object Form1: TForm\n  Caption = 'Owner'\nend\n");
  const ScopeExit freeForm([form] { form->Free(); });
  toolkit_test::ShowForm(form);
  browse.OnClose = [&](TObject*) { events.push_back("close"); };
  browse.OnSelectionChange = [&](TObject*) {
    if (browse.Directory == "C:\\windows") throw std::runtime_error("handler failed");
  };
  bool goneOn = false;
  presenter->DriveNextBrowseDialog([&](TBrowseDialog& dialog) {
    EXPECT_TRUE(ClickItem(dialog, {"My Computer", "Local Disk (C:)", "windows"}));
    EXPECT_TRUE(dialog.Closing());
    goneOn = true;
    return true;
  });
  EXPECT_THROW(browse.Execute(), std::runtime_error);
  EXPECT_TRUE(goneOn);
  EXPECT_FALSE(browse.IsShowing());
  EXPECT_EQ(browse.DialogHandle(), nullptr);
  EXPECT_TRUE(toolkit_test::WindowAcceptsInput(form));
  EXPECT_EQ(events, Names{});  // the user did not close it

  // The same instance opens again.
  browse.OnSelectionChange = nullptr;
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(events, Names{"close"});
}

TEST_F(BrowseFolderTest, FolderAndFlagsReachTheShell) {
  const struct {
    TSHFolders folder;
    ShellItem root;
    bool okAtStart;
  } roots[] = {
      {foDesktop, ShellItem::Virtual(ShellItemKind::Desktop), false},
      {foMyComputer, ShellItem::Virtual(ShellItemKind::MyComputer), false},
      {foPrinters, ShellItem::Virtual(ShellItemKind::Printers), false},
      {foFonts, ShellItem::Virtual(ShellItemKind::Desktop), false},  // no Fonts folder yet
      {foFavorites, ShellItem::Virtual(ShellItemKind::Desktop), false},
      {foPersonal, {ShellItemKind::MyDocuments, documents}, true},
  };
  for (const auto& r : roots) {
    browse.Folder = r.folder;
    bool ok = false;
    presenter->DriveNextBrowseDialog([&](TBrowseDialog& dialog) {
      ok = dialog.OkEnabled();
      return false;
    });
    EXPECT_FALSE(browse.Execute());
    EXPECT_EQ(presenter->BrowseDialogs.back().Root, r.root) << r.folder;
    EXPECT_EQ(ok, r.okAtStart) << r.folder;
  }
  browse.Flags = {bfFileSysDirsOnly,  bfDontGoBelowDomain, bfStatusText,
                  bfFileSysAncestors, bfBrowseForComputer, bfBrowseForPrinter};
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(presenter->BrowseDialogs.back().Flags, 0x300FU);
  browse.Flags = {bfFileSysAncestors};
  EXPECT_FALSE(browse.Execute());
  EXPECT_EQ(presenter->BrowseDialogs.back().Flags, 0x0008U);

  browse.Folder = static_cast<TSHFolders>(foTemplates + 1);  // a mistake of the program
  EXPECT_THROW(browse.Execute(), ECriticalError);
  EXPECT_FALSE(browse.IsShowing());
}

// The published properties in their order, defaults left out (Flags always written), and read
// back from the text.
TEST(BrowseFolderDescriptionTest, PropertiesAreWrittenAndReadBack) {
  RegisterClass(TBrowseFolder::StaticClass());
  auto* form = new TForm(Application);
  const ScopeExit freeForm([form] { form->Free(); });
  form->SetName("Form1");
  auto* browse = new TBrowseFolder(form);
  browse->SetName("Browse");
  const std::string defaults = WriteComponentText(form);
  EXPECT_NE(defaults.find("  object Browse: TBrowseFolder\n"
                          "    Flags = [bfStatusText]\n"
                          "  end\n"),
            std::string::npos)
      << defaults;

  browse->AutoEnableOK = false;
  browse->SetCaption("Pick");
  browse->Flags = {};
  browse->Folder = foFonts;
  browse->ShowFullPath = false;
  browse->SetStatus("Fixed");
  browse->Title = "Choose:";
  const std::string text = WriteComponentText(form);
  const std::string expected =
      "  object Browse: TBrowseFolder\n"
      "    AutoEnableOK = False\n"
      "    Caption = 'Pick'\n"
      "    Flags = []\n"
      "    Folder = foFonts\n"
      "    ShowFullPath = False\n"
      "    Status = 'Fixed'\n"
      "    Title = 'Choose:'\n"
      "  end\n";
  EXPECT_NE(text.find(expected), std::string::npos) << text;

  auto* again = new TForm(nullptr);  // not beside Form1 in the application
  const ScopeExit freeAgain([again] { again->Free(); });
  ReadComponentText(again, text);
  auto* read = dynamic_cast<TBrowseFolder*>(again->FindComponent("Browse"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(WriteComponentText(again), text);
  EXPECT_EQ(read->Folder, foFonts);
  EXPECT_EQ(read->Status(), "Fixed");
}

TEST(BrowseFolderConsoleTest, WithoutADisplayTheDialogIsCancelledUnseen) {
  std::ostringstream out;
  auto previous = Application->SetPresenter(std::make_unique<TConsolePresenter>(out));
  const ScopeExit restore([&] { Application->SetPresenter(std::move(previous)); });
  TBrowseFolder browse(nullptr);
  browse.Directory = "C:\\windows";
  bool heard = false;
  browse.OnSelectionChange = [&](TObject*) { heard = true; };
  EXPECT_FALSE(browse.Execute());
  EXPECT_FALSE(heard);
  EXPECT_EQ(browse.Directory, "C:\\windows");
  EXPECT_EQ(out.str(), "");
}

}  // namespace
