#include "toolkit/forms/ShlObj.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Machine.h"
#include "platform/WinPath.h"
#include "toolkit/forms/BrowseDialog.h"
#include "toolkit/forms/Forms.h"

using platform::ShellItem;
using platform::ShellItemKind;

ITEMIDLIST* SHBrowseForFolderA(BROWSEINFOA* lpbi) {
  if (lpbi == nullptr) return nullptr;
  platform::ShellNamespace shell(platform::Machine::Current());
  const ShellItem root =
      lpbi->pidlRoot != nullptr ? lpbi->pidlRoot->Item : ShellItem::Virtual(ShellItemKind::Desktop);
  TBrowseDialog dialog(shell, root, *lpbi);
  const bool chosen = Application->Presenter().BrowseForFolder(dialog);
  dialog.RethrowHandlerError();
  if (!chosen) return nullptr;

  const ShellItem& item = dialog.Selection();
  if (lpbi->pszDisplayName != nullptr) {
    const std::string name = platform::ShellNamespace::DisplayName(item);
    const std::size_t length = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(lpbi->pszDisplayName, name.data(), length);
    lpbi->pszDisplayName[length] = '\0';
  }
  lpbi->iImage = ShellImageIndex(item);
  return new ITEMIDLIST{item};
}

bool SHGetPathFromIDListA(const ITEMIDLIST* pidl, std::array<char, MAX_PATH>& pszPath) {
  pszPath[0] = '\0';
  if (pidl == nullptr) return false;
  const std::string& path = platform::ShellNamespace::PathOf(pidl->Item);
  if (path.empty() || path.size() >= pszPath.size()) return false;
  std::memcpy(pszPath.data(), path.data(), path.size());
  pszPath[path.size()] = '\0';
  return true;
}

HRESULT SHGetSpecialFolderLocation(HWND, int nFolder, ITEMIDLIST** ppidl) {
  if (ppidl == nullptr) return E_FAIL;
  *ppidl = nullptr;
  platform::ShellNamespace shell(platform::Machine::Current());
  platform::Result<ShellItem> item = shell.SpecialFolder(nFolder);
  if (!item) return E_FAIL;
  *ppidl = new ITEMIDLIST{std::move(item).value()};
  return S_OK;
}

void CoTaskMemFree(ITEMIDLIST* pv) {
  delete pv;
}

int ShellImageIndex(const ShellItem& Item) {
  switch (Item.kind) {
    case ShellItemKind::Desktop:
      return 0;
    case ShellItemKind::MyDocuments:
      return 1;
    case ShellItemKind::MyComputer:
      return 2;
    case ShellItemKind::ControlPanel:
      return 3;
    case ShellItemKind::Printers:
      return 4;
    case ShellItemKind::Network:
      return 5;
    case ShellItemKind::RecycleBin:
      return 6;
    case ShellItemKind::Folder:
      break;
  }
  return platform::IsDriveRoot(Item.path) ? 7 : 8;
}
