#pragma once

// The shell's namespace over a Wine prefix, as the folder-browse dialog shows it: a tree of
// items from the desktop down.
//
//   Desktop
//   ├── My Documents          (the user's documents folder)
//   ├── My Computer
//   │   ├── Local Disk (C:)   (every drive of the prefix, and the folders below it)
//   │   ├── ...
//   │   ├── Control Panel     (no path)
//   │   └── Printers          (no path)
//   ├── Network               (no path)
//   ├── Recycle Bin           (no path)
//   └── the folders on the user's desktop
//
// Items without a file-system path can be selected but name no folder. Only folders are
// items: the dialog browses for folders, never for files. Nothing here throws.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace platform {

class Machine;

enum class ShellItemKind {
  Desktop,
  MyDocuments,  // the user's documents folder where the desktop shows it
  MyComputer,
  ControlPanel,
  Printers,
  Network,
  RecycleBin,
  Folder,  // a drive's root or a folder below it
};

struct ShellItem {
  ShellItemKind kind = ShellItemKind::Desktop;
  std::string path;  // Windows path of MyDocuments and Folder items; empty for the others

  static ShellItem Virtual(ShellItemKind kind) { return {kind, {}}; }
  static ShellItem FolderAt(std::string path) { return {ShellItemKind::Folder, std::move(path)}; }
  friend bool operator==(const ShellItem&, const ShellItem&) = default;
};

class ShellNamespace {
 public:
  explicit ShellNamespace(Machine& machine) : machine_(machine) {}

  // The item a special folder identifier (CSIDL_..., platform/ShellFolders.h) stands for. A
  // file-system special folder must exist (NotFound otherwise, as the shell answers);
  // CSIDL_PERSONAL is the desktop's My Documents, the other folders are Folder items.
  Result<ShellItem> SpecialFolder(int csidl);

  // The item's Windows path; empty for an item that has none.
  static const std::string& PathOf(const ShellItem& item) { return item.path; }

  // The name the tree shows: "My Computer", "Local Disk (C:)", a folder's own name.
  static std::string DisplayName(const ShellItem& item);

  // The sub-folders of an item in the order the shell shows them: the fixed items of the
  // desktop and of My Computer first, then folders by name without case, runs of digits by
  // their number ("Disk 2" before "Disk 10"). Folders whose names start with a dot are hidden,
  // as Wine hides them; host names Windows cannot spell are left out. An item without
  // sub-folders, or a folder that cannot be read, has none (an empty list); a folder that is not
  // there is NotFound.
  Result<std::vector<ShellItem>> Children(const ShellItem& item);
  // Whether Children would give at least one item (for the tree's expand marks).
  bool HasChildren(const ShellItem& item);

  // The Folder item of an existing folder, its names spelled as on disk ("c:\WINDOWS" gives
  // "C:\windows"). NotFound when there is no such folder, InvalidName for a malformed path.
  Result<ShellItem> ItemFromPath(std::string_view path);

  // The items on the way from `root` (exclusive) down to the folder `path` (inclusive), each
  // a child of the one before, as a tree rooted at `root` reaches it: through My Computer and
  // the drive from the desktop, straight down from a root that has a path. Empty when `path`
  // is the root's own folder; NotFound when the folder is not in that tree.
  Result<std::vector<ShellItem>> PathFromRoot(const ShellItem& root, std::string_view path);

 private:
  Result<std::vector<ShellItem>> SubFolders(const std::string& windowsPath, bool firstOnly);

  Machine& machine_;
};

// Name order of the shell: without case, runs of digits by their number. <0, 0 or >0.
int CompareShellNames(std::string_view a, std::string_view b);

}  // namespace platform
