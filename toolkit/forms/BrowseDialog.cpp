#include "toolkit/forms/BrowseDialog.h"

#include <algorithm>
#include <utility>

using platform::ShellItem;
using platform::ShellItemKind;

namespace {

// The dialogs open now; a modal dialog's event handler may open another.
std::vector<TBrowseDialog*>& OpenDialogs() {
  static std::vector<TBrowseDialog*> dialogs;
  return dialogs;
}

std::string TextOf(std::intptr_t LParam) {
  const auto* text = reinterpret_cast<const char*>(LParam);
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

bool BrowseFlagsAllowOk(std::uint32_t Flags, const ShellItem& Item) {
  const bool hasPath = !platform::ShellNamespace::PathOf(Item).empty();
  // The namespace holds no computers and no printers (the Printers folder is none).
  if ((Flags & (BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER)) != 0) return false;
  if ((Flags & BIF_RETURNONLYFSDIRS) != 0) return hasPath;
  if ((Flags & BIF_RETURNFSANCESTORS) != 0) {
    return hasPath || Item.kind == ShellItemKind::Desktop || Item.kind == ShellItemKind::MyComputer;
  }
  return true;
}

TBrowseDialog::TBrowseDialog(platform::ShellNamespace& Shell, ShellItem Root,
                             const BROWSEINFOA& Info)
    : shell_(Shell),
      root_(std::move(Root)),
      owner_(Info.hwndOwner),
      title_(Info.lpszTitle != nullptr ? Info.lpszTitle : ""),
      flags_(Info.ulFlags),
      callback_(Info.lpfn),
      callbackData_(Info.lParam),
      selection_{root_} {}

TBrowseDialog::~TBrowseDialog() {
  std::erase(OpenDialogs(), this);
}

TBrowseDialog* TBrowseDialog::Find(HWND Handle) {
  if (Handle == nullptr) return nullptr;
  for (TBrowseDialog* dialog : OpenDialogs()) {
    if (dialog->handle_ == Handle) return dialog;
  }
  return nullptr;
}

void TBrowseDialog::Initialize(HWND Handle, const TRect& Rect) {
  handle_ = Handle;
  rect_ = Rect;
  OpenDialogs().push_back(this);
  Notify(BFFM_INITIALIZED, 0);
  if (!selected_) Select({});
}

void TBrowseDialog::Select(std::vector<ShellItem> Chain) {
  if (Closing()) return;
  ShellItem item = Chain.empty() ? root_ : Chain.back();
  if (selected_ && item == selection_.Item) return;
  selected_ = true;
  selection_.Item = std::move(item);
  chain_ = std::move(Chain);
  okEnabled_ = BrowseFlagsAllowOk(flags_, selection_.Item);
  Changed(TBrowseChange::Selection);
  Changed(TBrowseChange::OkEnabled);
  Notify(BFFM_SELCHANGED, reinterpret_cast<std::intptr_t>(&selection_));
}

bool TBrowseDialog::SelectItem(const ShellItem& Item) {
  if (Item == root_) {
    Select({});
    return true;
  }
  if (!platform::ShellNamespace::PathOf(Item).empty()) {
    platform::Result<std::vector<ShellItem>> chain =
        shell_.PathFromRoot(root_, platform::ShellNamespace::PathOf(Item));
    if (!chain) return false;
    Select(std::move(chain).value());
    return true;
  }
  // An item without a path is found where the tree shows it: one or two levels down.
  platform::Result<std::vector<ShellItem>> top = shell_.Children(root_);
  if (!top) return false;
  for (const ShellItem& child : *top) {
    if (child == Item) {
      Select({child});
      return true;
    }
  }
  for (const ShellItem& child : *top) {
    if (child.kind != ShellItemKind::MyComputer) continue;
    platform::Result<std::vector<ShellItem>> below = shell_.Children(child);
    if (below && std::find(below->begin(), below->end(), Item) != below->end()) {
      Select({child, Item});
      return true;
    }
  }
  return false;
}

std::intptr_t TBrowseDialog::Perform(std::uint32_t Msg, std::intptr_t WParam,
                                     std::intptr_t LParam) {
  switch (Msg) {
    case WM_SETTEXT:
      caption_ = TextOf(LParam);
      Changed(TBrowseChange::Caption);
      return 1;
    case BFFM_SETSTATUSTEXTA:
      status_ = TextOf(LParam);
      Changed(TBrowseChange::Status);
      return 0;
    case BFFM_ENABLEOK:
      okEnabled_ = LParam != 0;
      Changed(TBrowseChange::OkEnabled);
      return 0;
    case BFFM_SETSELECTIONA:
      if (WParam != 0) {
        // A path the tree does not hold leaves the selection as it is, as the shell does.
        platform::Result<std::vector<ShellItem>> chain = shell_.PathFromRoot(root_, TextOf(LParam));
        if (chain) Select(std::move(chain).value());
      } else if (const auto* item = reinterpret_cast<const ITEMIDLIST*>(LParam)) {
        static_cast<void>(SelectItem(item->Item));  // likewise: an item not in the tree
      }
      return 0;
    default:
      return 0;
  }
}

void TBrowseDialog::MoveTo(const TRect& Rect) {
  rect_ = Rect;
  Changed(TBrowseChange::Bounds);
}

void TBrowseDialog::RethrowHandlerError() const {
  if (error_) std::rethrow_exception(error_);
}

void TBrowseDialog::Notify(std::uint32_t Msg, std::intptr_t LParam) {
  if (callback_ == nullptr || Closing()) return;
  // The callback runs inside the window's event loop, which no exception may cross: its error
  // closes the dialog and is thrown again once the window is gone (RethrowHandlerError).
  try {
    callback_(handle_, Msg, LParam, callbackData_);
  } catch (...) {
    error_ = std::current_exception();
    Changed(TBrowseChange::Close);
  }
}

void TBrowseDialog::Changed(TBrowseChange What) {
  if (OnChange) OnChange(What);
}
