#include "platform/ShellNamespace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Machine.h"
#include "platform/ShellFolders.h"
#include "tests/support/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;
using testsupport::WriteFile;

// A prefix with drives C: and E:, a user "ann" with documents and a desktop.
class ShellNamespaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder :
         {"drive_c/windows/Fonts", "drive_c/users/ann/Documents/Disk 10",
          "drive_c/users/ann/Documents/disk 2", "drive_c/users/ann/Documents/Alpha",
          "drive_c/users/ann/Documents/.hidden/inner", "drive_c/users/ann/Desktop/Projects",
          "extra", "dosdevices"}) {
      fs::create_directories(dir / folder);
    }
    WriteFile(dir / "drive_c/users/ann/Documents/notes.txt", "a file, not a folder\n");
    fs::create_directory_symlink("../drive_c", dir / "dosdevices/c:");
    fs::create_directory_symlink("../extra", dir / "dosdevices/e:");
    Registry& registry = machine.registry();
    const Result<RegistryKey> profile = registry.OpenKey(
        RootKey::LocalMachine,
        "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-0-0-0-1000", true);
    ASSERT_TRUE(profile.ok());
    ASSERT_TRUE(registry.WriteString(*profile, "ProfileImagePath", "C:\\users\\ann").ok());
  }

  // Display names of an item's children, or the error.
  std::vector<std::string> ChildNames(const ShellItem& item) {
    Result<std::vector<ShellItem>> children = shell.Children(item);
    if (!children) return {"error: " + children.status().message()};
    std::vector<std::string> names;
    for (const ShellItem& child : *children)
      names.push_back(ShellNamespace::DisplayName(child));
    return names;
  }

  TempDir dir;
  Machine machine{WinePrefix(dir.path())};
  ShellNamespace shell{machine};
};

const ShellItem kDesktop = ShellItem::Virtual(ShellItemKind::Desktop);
const ShellItem kMyComputer = ShellItem::Virtual(ShellItemKind::MyComputer);

TEST_F(ShellNamespaceTest, SpecialFoldersAreVirtualItemsOrExistingFolders) {
  const struct {
    int csidl;
    ShellItem item;
  } cases[] = {
      {CSIDL_DESKTOP, kDesktop},
      {CSIDL_DRIVES, kMyComputer},
      {CSIDL_CONTROLS, ShellItem::Virtual(ShellItemKind::ControlPanel)},
      {CSIDL_PRINTERS, ShellItem::Virtual(ShellItemKind::Printers)},
      {CSIDL_BITBUCKET, ShellItem::Virtual(ShellItemKind::RecycleBin)},
      {CSIDL_NETWORK, ShellItem::Virtual(ShellItemKind::Network)},
      {CSIDL_PERSONAL, {ShellItemKind::MyDocuments, "C:\\users\\ann\\Documents"}},
      {CSIDL_DESKTOPDIRECTORY, ShellItem::FolderAt("C:\\users\\ann\\Desktop")},
      {CSIDL_FONTS, ShellItem::FolderAt("C:\\windows\\Fonts")},
  };
  for (const auto& c : cases) {
    Result<ShellItem> item = shell.SpecialFolder(c.csidl);
    ASSERT_TRUE(item.ok()) << c.csidl << ": " << item.status().message();
    EXPECT_EQ(*item, c.item) << c.csidl;
  }
  // The shell gives no item for a special folder that does not exist (yet).
  EXPECT_EQ(shell.SpecialFolder(CSIDL_FAVORITES).status().code(), ErrorCode::NotFound);
  EXPECT_EQ(shell.SpecialFolder(0x7F).status().code(), ErrorCode::NotFound);
  for (const auto& c : cases) {
    const bool fileSystem =
        c.item.kind == ShellItemKind::Folder || c.item.kind == ShellItemKind::MyDocuments;
    EXPECT_EQ(ShellNamespace::PathOf(c.item).empty(), !fileSystem) << c.csidl;
  }
}

TEST_F(ShellNamespaceTest, ChildrenInTheShellsOrder) {
  EXPECT_EQ(ChildNames(kDesktop), (std::vector<std::string>{"My Documents", "My Computer",
                                                            "Network", "Recycle Bin", "Projects"}));
  EXPECT_EQ(ChildNames(kMyComputer), (std::vector<std::string>{"Local Disk (C:)", "Local Disk (E:)",
                                                               "Control Panel", "Printers"}));
  const ShellItem documents{ShellItemKind::MyDocuments, "C:\\users\\ann\\Documents"};
  EXPECT_EQ(ChildNames(documents), (std::vector<std::string>{"Alpha", "disk 2", "Disk 10"}));
  EXPECT_EQ(ChildNames(ShellItem::FolderAt("C:\\users\\ann\\Documents")), ChildNames(documents));
  EXPECT_EQ(ChildNames(ShellItem::FolderAt("E:\\")), std::vector<std::string>{});
  for (ShellItemKind kind : {ShellItemKind::ControlPanel, ShellItemKind::Printers,
                             ShellItemKind::Network, ShellItemKind::RecycleBin}) {
    EXPECT_EQ(ChildNames(ShellItem::Virtual(kind)), std::vector<std::string>{});
    EXPECT_FALSE(shell.HasChildren(ShellItem::Virtual(kind)));
  }
  EXPECT_EQ(shell.Children(ShellItem::FolderAt("C:\\gone")).status().code(), ErrorCode::NotFound);
  const Result<std::vector<ShellItem>> drives = shell.Children(kMyComputer);
  ASSERT_TRUE(drives.ok());
  EXPECT_EQ(drives->front(), ShellItem::FolderAt("C:\\"));

  EXPECT_TRUE(shell.HasChildren(kDesktop));
  EXPECT_TRUE(shell.HasChildren(documents));
  EXPECT_FALSE(shell.HasChildren(ShellItem::FolderAt("C:\\users\\ann\\Documents\\Alpha")));
  EXPECT_FALSE(shell.HasChildren(ShellItem::FolderAt("E:\\")));
}

TEST_F(ShellNamespaceTest, PathToItemAndBack) {
  Result<ShellItem> item = shell.ItemFromPath("c:/USERS/Ann/documents/DISK 2/");
  ASSERT_TRUE(item.ok()) << item.status().message();
  EXPECT_EQ(ShellNamespace::PathOf(*item), "C:\\users\\ann\\Documents\\disk 2");
  EXPECT_EQ(ShellNamespace::DisplayName(*item), "disk 2");
  EXPECT_EQ(shell.ItemFromPath("e:")->path, "E:\\");
  EXPECT_EQ(shell.ItemFromPath("C:\\users\\ann\\Documents\\notes.txt").status().code(),
            ErrorCode::NotFound);
  EXPECT_EQ(shell.ItemFromPath("C:\\missing").status().code(), ErrorCode::NotFound);
  EXPECT_EQ(shell.ItemFromPath("Q:\\").status().code(), ErrorCode::PathNotFound);
  EXPECT_EQ(shell.ItemFromPath("C:\\a|b").status().code(), ErrorCode::InvalidName);
  EXPECT_EQ(shell.ItemFromPath("").status().code(), ErrorCode::InvalidName);
}

TEST_F(ShellNamespaceTest, PathFromRootFollowsTheTree) {
  const auto chain = [&](const ShellItem& root, std::string_view path) {
    std::vector<std::string> steps;
    Result<std::vector<ShellItem>> items = shell.PathFromRoot(root, path);
    if (!items) return std::vector<std::string>{ErrorCodeName(items.status().code())};
    for (const ShellItem& item : *items)
      steps.push_back(item.path.empty() ? ShellNamespace::DisplayName(item) : item.path);
    return steps;
  };
  const ShellItem documents{ShellItemKind::MyDocuments, "C:\\users\\ann\\Documents"};
  using Steps = std::vector<std::string>;
  EXPECT_EQ(chain(kDesktop, "c:\\users\\ANN"),
            (Steps{"My Computer", "C:\\", "C:\\users", "C:\\users\\ann"}));
  EXPECT_EQ(chain(kMyComputer, "E:\\"), (Steps{"E:\\"}));
  EXPECT_EQ(chain(documents, "C:\\Users\\ann\\documents\\alpha"),
            (Steps{"C:\\users\\ann\\Documents\\Alpha"}));
  EXPECT_EQ(chain(documents, "C:\\users\\ann\\Documents"), Steps{});
  EXPECT_EQ(chain(documents, "C:\\users"), Steps{"not found"});
  EXPECT_EQ(chain(documents, "E:\\"), Steps{"not found"});
  EXPECT_EQ(chain(ShellItem::Virtual(ShellItemKind::Printers), "C:\\"), Steps{"not found"});
  EXPECT_EQ(chain(kDesktop, "C:\\users\\ann\\Documents\\.hidden\\inner"), Steps{"not found"});
  EXPECT_EQ(chain(kDesktop, "C:\\missing"), Steps{"not found"});

  // Every step is a child of the one before, so a tree can walk it.
  const Result<std::vector<ShellItem>> steps =
      shell.PathFromRoot(kDesktop, "C:\\users\\ann\\Documents\\Disk 10");
  ASSERT_TRUE(steps.ok());
  ShellItem parent = kDesktop;
  for (const ShellItem& step : *steps) {
    const Result<std::vector<ShellItem>> children = shell.Children(parent);
    ASSERT_TRUE(children.ok());
    EXPECT_NE(std::find(children->begin(), children->end(), step), children->end()) << step.path;
    parent = step;
  }
}

TEST(ShellNamesTest, OrderIgnoresCaseAndReadsNumbers) {
  const char* const ordered[] = {"", "1", "01a", "2", "10", "a", "A1", "a2", "a10", "B", "é"};
  for (std::size_t i = 0; i + 1 < std::size(ordered); ++i) {
    EXPECT_LT(CompareShellNames(ordered[i], ordered[i + 1]), 0)
        << ordered[i] << " < " << ordered[i + 1];
    EXPECT_GT(CompareShellNames(ordered[i + 1], ordered[i]), 0);
  }
  EXPECT_EQ(CompareShellNames("Folder", "FOLDER"), 0);
  EXPECT_EQ(CompareShellNames("x007", "x7"), 0);
}

}  // namespace
}  // namespace platform
