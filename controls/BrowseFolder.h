#pragma once

// TBrowseFolder: the shell's folder-browse dialog as a non-visual component. Beyond the bare
// shell call it adds a chosen root, a preselected folder, the window caption, a status line
// that can show the selected path, OK enabled only for file-system folders, two events,
// centring on the screen, and a guard against opening the same instance twice.
//
//   TBrowseFolder browse(nullptr);
//   browse.Directory = "C:\\Program Files";
//   if (browse.Execute()) folder = browse.Directory;

#include <cstdint>
#include <string>

#include "toolkit/forms/Dialogs.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/visual/Messages.h"

struct ITEMIDLIST;

// Each member stands for the shell's browse flag of the same meaning.
TOOLKIT_ENUM(TBrowseInfoFlags, bfFileSysDirsOnly, bfDontGoBelowDomain, bfStatusText,
             bfFileSysAncestors, bfBrowseForComputer, bfBrowseForPrinter)
TOOLKIT_SET(TBrowseInfoFlagSet, TBrowseInfoFlags)

// The root of the tree: one of the shell's special folders.
TOOLKIT_ENUM(TSHFolders, foDesktop, foPrograms, foControls, foPrinters, foPersonal, foFavorites,
             foStartup, foRecent, foSendto, foRecycleBin, foStartMenu, foDesktopDirectory,
             foMyComputer, foNetwork, foNetworkNeighborhood, foFonts, foTemplates)

// Execute on an instance whose dialog is open.
TOOLKIT_EXCEPTION(EBrowseDialogAlreadyShowing, Exception);

class TBrowseFolder : public TCommonDialog {
  TOOLKIT_CLASS(TBrowseFolder, TCommonDialog)

  explicit TBrowseFolder(TComponent* AOwner);

  // Runs the dialog modally, with every window of the application disabled; true when the user
  // chose an item with OK. An exception from an event handler closes the dialog and reaches
  // the caller once everything is cleaned up. EBrowseDialogAlreadyShowing while it is open.
  bool Execute() override;

  // Before Execute, the folder to preselect; afterwards the path of the item selected last
  // (also on Cancel), empty for an item without a path.
  std::string Directory;

  // This instance's dialog is open.
  bool IsShowing() const { return isShowing_; }
  // The dialog's window while it is open, else null.
  HWND DialogHandle() const { return dialogHandle_; }
  // The display name of the item chosen last with OK ("Bin", "My Computer"); empty before.
  std::string DisplayName() const;
  // The shell's image of the item chosen last with OK.
  int ImageIndex() const { return imageIndex_; }

  // The window caption; empty keeps the shell's. Set while the dialog is open, it shows at once.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Value);
  // A fixed status-line text; when not empty it wins over ShowFullPath. Set while the dialog is
  // open, it shows at once.
  const std::string& Status() const { return status_; }
  void SetStatus(const std::string& Value);

  // OK is enabled only while the selection has a file-system path.
  bool AutoEnableOK = true;
  TBrowseInfoFlagSet Flags{bfStatusText};
  TSHFolders Folder = foDesktop;
  // The status line shows the selected path, shortened to fit.
  bool ShowFullPath = true;
  // The text above the tree.
  std::string Title;

  // The dialog's window exists and is set up.
  TNotifyEvent OnInitialized;
  // The selection changed; Directory holds the new path.
  TNotifyEvent OnSelectionChange;

 private:
  static int BrowseCallback(HWND Wnd, std::uint32_t Msg, std::intptr_t LParam, std::intptr_t Data);
  void Initialized(HWND Wnd);
  void SelectionChanged(const ITEMIDLIST* Item);
  void CenterDialog();
  // Sends to the open dialog; nothing while there is none.
  void Send(std::uint32_t Msg, std::intptr_t WParam, std::intptr_t LParam) const;
  void SendStatusText(const std::string& Text) const;

  bool isShowing_ = false;
  std::string displayName_;  // the shell's buffer: the name and a NUL, then whatever was there
  HWND dialogHandle_ = nullptr;
  int imageIndex_ = 0;
  std::string caption_;
  std::string status_;
};
