#include "controls/BrowseFolder.h"

#include <array>

#include "package/ShortPath.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/ShlObj.h"
#include "toolkit/forms/WindowFunctions.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("BrowseFolder.cpp 1.0");

// The shell's flag for each member of TBrowseInfoFlags, in member order.
constexpr std::uint32_t kBrowseFlags[] = {BIF_RETURNONLYFSDIRS,  BIF_DONTGOBELOWDOMAIN,
                                          BIF_STATUSTEXT,        BIF_RETURNFSANCESTORS,
                                          BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER};

// The shell's special folder for each member of TSHFolders, in member order.
constexpr int kSpecialFolders[] = {
    platform::CSIDL_DESKTOP,   platform::CSIDL_PROGRAMS,  platform::CSIDL_CONTROLS,
    platform::CSIDL_PRINTERS,  platform::CSIDL_PERSONAL,  platform::CSIDL_FAVORITES,
    platform::CSIDL_STARTUP,   platform::CSIDL_RECENT,    platform::CSIDL_SENDTO,
    platform::CSIDL_BITBUCKET, platform::CSIDL_STARTMENU, platform::CSIDL_DESKTOPDIRECTORY,
    platform::CSIDL_DRIVES,    platform::CSIDL_NETWORK,   platform::CSIDL_NETHOOD,
    platform::CSIDL_FONTS,     platform::CSIDL_TEMPLATES};

std::uint32_t ShellFlags(TBrowseInfoFlagSet Flags) {
  std::uint32_t bits = 0;
  for (int member = bfFileSysDirsOnly; member <= bfBrowseForPrinter; ++member) {
    if (Flags.Contains(static_cast<TBrowseInfoFlags>(member))) bits |= kBrowseFlags[member];
  }
  return bits;
}

// The item's file-system path; empty when it has none.
std::string PathOf(const ITEMIDLIST* Item) {
  std::array<char, MAX_PATH> path{};
  static_cast<void>(SHGetPathFromIDListA(Item, path));  // false leaves the text empty
  return path.data();
}

std::intptr_t TextParam(const std::string& Text) {
  return reinterpret_cast<std::intptr_t>(Text.c_str());
}

}  // namespace

TClass TBrowseFolder::StaticClass() {
  return DefineClass<TBrowseFolder>("TBrowseFolder", [](ClassBuilder<TBrowseFolder>& c) {
    c.Property("AutoEnableOK", &TBrowseFolder::AutoEnableOK).Default(true);
    c.Property("Caption", &TBrowseFolder::Caption, &TBrowseFolder::SetCaption);
    c.Property("Flags", &TBrowseFolder::Flags).Stored(true);
    c.Property("Folder", &TBrowseFolder::Folder).Default(foDesktop);
    c.Property("ShowFullPath", &TBrowseFolder::ShowFullPath).Default(true);
    c.Property("Status", &TBrowseFolder::Status, &TBrowseFolder::SetStatus);
    c.Property("Title", &TBrowseFolder::Title);
    c.Property("OnInitialized", &TBrowseFolder::OnInitialized);
    c.Property("OnSelectionChange", &TBrowseFolder::OnSelectionChange);
  });
}

TBrowseFolder::TBrowseFolder(TComponent* AOwner)
    : TCommonDialog(AOwner), displayName_(MAX_PATH, ' ') {}

std::string TBrowseFolder::DisplayName() const {
  const std::size_t end = displayName_.find('\0');
  return end == std::string::npos ? std::string() : displayName_.substr(0, end);
}

void TBrowseFolder::SetCaption(const std::string& Value) {
  caption_ = Value;
  Send(WM_SETTEXT, 0, TextParam(caption_));
}

void TBrowseFolder::SetStatus(const std::string& Value) {
  status_ = Value;
  SendStatusText(status_);
}

bool TBrowseFolder::Execute() {
  if (isShowing_) throw EBrowseDialogAlreadyShowing("The browse dialog is already showing");
  if (Folder < foDesktop || Folder > foTemplates) CaseError("TBrowseFolder.Folder", Folder);
  BROWSEINFOA info{};
  ITEMIDLIST* root = nullptr;
  ITEMIDLIST* chosen = nullptr;
  const TTaskWindowList disabled = Application->DisableTaskWindows();
  // However the dialog ends, an error from an event handler included.
  const ScopeExit cleanUp([&] {
    Application->EnableTaskWindows(disabled);
    isShowing_ = false;
    dialogHandle_ = nullptr;
    handle_ = nullptr;
    CoTaskMemFree(chosen);
    CoTaskMemFree(root);
  });

  isShowing_ = true;
  info.hwndOwner = Application->Handle();
  // A special folder that cannot be resolved leaves the root empty: the tree starts at the
  // desktop, so the result needs no check.
  static_cast<void>(
      SHGetSpecialFolderLocation(Application->Handle(), kSpecialFolders[Folder], &root));
  info.pidlRoot = root;
  info.pszDisplayName = displayName_.data();
  info.lpszTitle = Title.c_str();
  info.ulFlags = ShellFlags(Flags);
  info.lpfn = &TBrowseFolder::BrowseCallback;
  info.lParam = reinterpret_cast<std::intptr_t>(this);
  info.iImage = 0;
  DoShow();

  // An exception from an event handler closes the dialog and leaves SHBrowseForFolderA; the
  // clean-up above runs and the exception goes on to our caller, without the close
  // notification, which stands for a dialog the user ended.
  chosen = SHBrowseForFolderA(&info);
  const bool result = chosen != nullptr;
  if (result) {
    Directory = PathOf(chosen);
    imageIndex_ = info.iImage;
  }
  DoClose();
  return result;
}

int TBrowseFolder::BrowseCallback(HWND Wnd, std::uint32_t Msg, std::intptr_t LParam,
                                  std::intptr_t Data) {
  auto* self = reinterpret_cast<TBrowseFolder*>(Data);
  switch (Msg) {
    case BFFM_INITIALIZED:
      self->Initialized(Wnd);
      break;
    case BFFM_SELCHANGED:
      self->SelectionChanged(reinterpret_cast<const ITEMIDLIST*>(LParam));
      break;
    default:
      break;
  }
  return 0;
}

void TBrowseFolder::Initialized(HWND Wnd) {
  dialogHandle_ = Wnd;
  handle_ = Wnd;
  CenterDialog();
  if (!caption_.empty()) Send(WM_SETTEXT, 0, TextParam(caption_));
  if (!status_.empty()) SendStatusText(status_);
  // Selecting changes Directory at once: the dialog is given a copy to read.
  const std::string preselect = Directory;
  Send(BFFM_SETSELECTIONA, 1, TextParam(preselect));
  if (OnInitialized) OnInitialized(this);
}

void TBrowseFolder::SelectionChanged(const ITEMIDLIST* Item) {
  Directory = PathOf(Item);
  if (AutoEnableOK) Send(BFFM_ENABLEOK, 0, Directory.empty() ? 0 : 1);
  if (OnSelectionChange) OnSelectionChange(this);
  // After the event: a handler that changes Directory changes what the status line shows.
  if (ShowFullPath && status_.empty()) SendStatusText(ShortPath(Directory, 35));
}

void TBrowseFolder::CenterDialog() {
  TRect bounds;
  if (!GetWindowRect(dialogHandle_, &bounds)) return;
  const int width = bounds.Right - bounds.Left;
  const int height = bounds.Bottom - bounds.Top;
  // Integer division rounds toward zero: a dialog larger than the screen starts above and left
  // of it by half the difference, rounded toward zero.
  const int left = (Screen->Width() - width) / 2;
  const int top = (Screen->Height() - height) / 2;
  MoveWindow(dialogHandle_, left, top, width, height, false);
}

void TBrowseFolder::Send(std::uint32_t Msg, std::intptr_t WParam, std::intptr_t LParam) const {
  if (dialogHandle_ != nullptr) SendMessageA(dialogHandle_, Msg, WParam, LParam);
}

void TBrowseFolder::SendStatusText(const std::string& Text) const {
  Send(BFFM_SETSTATUSTEXTA, 0, TextParam(Text));
}
