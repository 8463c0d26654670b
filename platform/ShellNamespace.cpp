#include "platform/ShellNamespace.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Machine.h"
#include "platform/ShellFolders.h"
#include "platform/Unicode.h"
#include "platform/WinPath.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string JoinWindowsPath(const std::string& folder, std::string_view name) {
  std::string joined = folder;
  if (joined.empty() || joined.back() != '\\') joined += '\\';
  joined += name;
  return joined;
}

// A folder the tree shows: Wine hides names that start with a dot, and a host name that Windows
// cannot spell could not be opened through its path anyway.
bool ShownName(std::string_view name) {
  return !name.empty() && name.front() != '.' && CheckFileName(name).ok();
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

int CompareShellNames(std::string_view a, std::string_view b) {
  const std::u16string x = Utf8ToUtf16(a);
  const std::u16string y = Utf8ToUtf16(b);
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < x.size() && j < y.size()) {
    if (IsDigit(x[i]) && IsDigit(y[j])) {
      // Numbers compare by value: without leading zeros, the longer run is the larger.
      while (i < x.size() && x[i] == u'0')
        ++i;
      while (j < y.size() && y[j] == u'0')
        ++j;
      std::size_t endX = i;
      std::size_t endY = j;
      while (endX < x.size() && IsDigit(x[endX]))
        ++endX;
      while (endY < y.size() && IsDigit(y[endY]))
        ++endY;
      if (endX - i != endY - j) return endX - i < endY - j ? -1 : 1;
      const int digits = x.compare(i, endX - i, y, j, endY - j);
      if (digits != 0) return digits < 0 ? -1 : 1;
      i = endX;
      j = endY;
      continue;
    }
    const char16_t c = FoldCase(x[i]);
    const char16_t d = FoldCase(y[j]);
    if (c != d) return c < d ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < x.size()) return 1;
  if (j < y.size()) return -1;
  return 0;
}

std::string ShellNamespace::DisplayName(const ShellItem& item) {
  switch (item.kind) {
    case ShellItemKind::Desktop:
      return "Desktop";
    case ShellItemKind::MyDocuments:
      return "My Documents";
    case ShellItemKind::MyComputer:
      return "My Computer";
    case ShellItemKind::ControlPanel:
      return "Control Panel";
    case ShellItemKind::Printers:
      return "Printers";
    case ShellItemKind::Network:
      return "Network";
    case ShellItemKind::RecycleBin:
      return "Recycle Bin";
    case ShellItemKind::Folder:
      break;
  }
  if (IsDriveRoot(item.path)) return "Local Disk (" + item.path.substr(0, 2) + ")";
  const std::size_t slash = item.path.find_last_of('\\');
  return slash == std::string::npos ? item.path : item.path.substr(slash + 1);
}

Result<ShellItem> ShellNamespace::SpecialFolder(int csidl) {
  switch (csidl) {
    case CSIDL_DESKTOP:
      return ShellItem::Virtual(ShellItemKind::Desktop);
    case CSIDL_DRIVES:
      return ShellItem::Virtual(ShellItemKind::MyComputer);
    case CSIDL_CONTROLS:
      return ShellItem::Virtual(ShellItemKind::ControlPanel);
    case CSIDL_PRINTERS:
      return ShellItem::Virtual(ShellItemKind::Printers);
    case CSIDL_NETWORK:
      return ShellItem::Virtual(ShellItemKind::Network);
    case CSIDL_BITBUCKET:
      return ShellItem::Virtual(ShellItemKind::RecycleBin);
    default:
      break;
  }
  Result<std::string> path = SpecialFolderPath(machine_.registry(), csidl);
  if (!path) return path.status();
  Result<ShellItem> folder = ItemFromPath(*path);
  if (!folder) return folder.status();
  if (csidl == CSIDL_PERSONAL) return ShellItem{ShellItemKind::MyDocuments, folder->path};
  return folder;
}

Result<std::vector<ShellItem>> ShellNamespace::Children(const ShellItem& item) {
  switch (item.kind) {
    case ShellItemKind::Desktop: {
      std::vector<ShellItem> children;
      if (Result<ShellItem> documents = SpecialFolder(CSIDL_PERSONAL))
        children.push_back(std::move(documents).value());
      children.push_back(ShellItem::Virtual(ShellItemKind::MyComputer));
      children.push_back(ShellItem::Virtual(ShellItemKind::Network));
      children.push_back(ShellItem::Virtual(ShellItemKind::RecycleBin));
      // The folders on the desktop; a desktop folder that does not exist holds none.
      if (Result<ShellItem> desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY)) {
        if (auto folders = SubFolders(desktop->path, false)) {
          children.insert(children.end(), folders->begin(), folders->end());
        }
      }
      return children;
    }
    case ShellItemKind::MyComputer: {
      std::vector<ShellItem> children;
      for (const DriveMapping& drive : machine_.prefix().Drives())
        children.push_back(ShellItem::FolderAt(WinPath::DriveRoot(drive.letter).ToString()));
      children.push_back(ShellItem::Virtual(ShellItemKind::ControlPanel));
      children.push_back(ShellItem::Virtual(ShellItemKind::Printers));
      return children;
    }
    case ShellItemKind::MyDocuments:
    case ShellItemKind::Folder:
      return SubFolders(item.path, false);
    case ShellItemKind::ControlPanel:
    case ShellItemKind::Printers:
    case ShellItemKind::Network:
    case ShellItemKind::RecycleBin:
      break;
  }
  return std::vector<ShellItem>{};
}

bool ShellNamespace::HasChildren(const ShellItem& item) {
  switch (item.kind) {
    case ShellItemKind::Desktop:
    case ShellItemKind::MyComputer:
      return true;
    case ShellItemKind::MyDocuments:
    case ShellItemKind::Folder: {
      Result<std::vector<ShellItem>> first = SubFolders(item.path, true);
      return first.ok() && !first->empty();
    }
    default:
      return false;
  }
}

Result<std::vector<ShellItem>> ShellNamespace::SubFolders(const std::string& windowsPath,
                                                          bool firstOnly) {
  Result<std::string> host = machine_.prefix().ToHostPath(windowsPath);
  if (!host) return host.status();
  std::error_code ec;
  if (!fs::is_directory(*host, ec))
    return Status(ErrorCode::NotFound, "The folder " + windowsPath + " does not exist");

  std::vector<ShellItem> folders;
  for (auto it = fs::directory_iterator(*host, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (!ShownName(name) || !it->is_directory(typeError)) continue;
    folders.push_back(ShellItem::FolderAt(JoinWindowsPath(windowsPath, name)));
    if (firstOnly) break;
  }
  std::sort(folders.begin(), folders.end(), [](const ShellItem& a, const ShellItem& b) {
    const int order = CompareShellNames(a.path, b.path);
    return order != 0 ? order < 0 : a.path < b.path;
  });
  return folders;
}

Result<ShellItem> ShellNamespace::ItemFromPath(std::string_view path) {
  Result<WinPath> parsed = WinPath::Parse(path);
  if (!parsed) return parsed.status();
  Result<std::string> host = machine_.prefix().ToHostPath(*parsed);
  if (!host) return host.status();
  std::error_code ec;
  if (!fs::is_directory(*host, ec))
    return Status(ErrorCode::NotFound, "The folder " + parsed->ToString() + " does not exist");

  // The host path ends in the names as they are spelled on disk, one for each Windows name.
  std::vector<std::string> hostNames;
  for (const fs::path& element : fs::path(*host))
    hostNames.push_back(element.string());
  const std::size_t count = parsed->components().size();
  std::string spelled = WinPath::DriveRoot(parsed->drive()).ToString();
  for (std::size_t i = hostNames.size() - count; i < hostNames.size(); ++i)
    spelled = JoinWindowsPath(spelled, hostNames[i]);
  return ShellItem::FolderAt(std::move(spelled));
}

Result<std::vector<ShellItem>> ShellNamespace::PathFromRoot(const ShellItem& root,
                                                            std::string_view path) {
  Result<ShellItem> target = ItemFromPath(path);
  if (!target) return target.status();
  const WinPath targetPath = WinPath::Parse(target->path).value();
  const std::vector<std::string>& names = targetPath.components();
  const Status outside(ErrorCode::NotFound,
                       "The folder " + target->path + " is not below " + DisplayName(root));

  std::vector<ShellItem> chain;
  std::string folder;
  std::size_t below = 0;  // the first of `names` below `folder`
  switch (root.kind) {
    case ShellItemKind::Desktop:
      chain.push_back(ShellItem::Virtual(ShellItemKind::MyComputer));
      [[fallthrough]];
    case ShellItemKind::MyComputer:
      folder = WinPath::DriveRoot(targetPath.drive()).ToString();
      chain.push_back(ShellItem::FolderAt(folder));
      break;
    case ShellItemKind::MyDocuments:
    case ShellItemKind::Folder: {
      Result<WinPath> rootPath = WinPath::Parse(root.path);
      if (!rootPath || rootPath->drive() != targetPath.drive()) return outside;
      const std::vector<std::string>& rootNames = rootPath->components();
      if (rootNames.size() > names.size() ||
          !std::equal(rootNames.begin(), rootNames.end(), names.begin(),
                      [](const std::string& a, const std::string& b) { return EqualNoCase(a, b); }))
        return outside;
      folder = root.path;
      below = rootNames.size();
      break;
    }
    default:
      return outside;
  }
  for (std::size_t i = below; i < names.size(); ++i) {
    if (!ShownName(names[i])) return outside;
    folder = JoinWindowsPath(folder, names[i]);
    chain.push_back(ShellItem::FolderAt(folder));
  }
  return chain;
}

}  // namespace platform
