#pragma once

// An open folder-browse dialog: what it shows and what it does, apart from the window that
// shows it. SHBrowseForFolderA makes one and hands it to the application's presenter; the
// presenter's window (or a test's driver) calls Initialize once the window exists and Select as
// the user picks items, mirrors the dialog's state (OnChange says what changed), and ends with
// OK or Cancel. The program reaches it through its window handle (toolkit/forms/WindowFunctions.h).

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/ShellNamespace.h"
#include "toolkit/forms/ShlObj.h"
#include "toolkit/visual/Controls.h"

enum class TBrowseChange { Caption, Status, OkEnabled, Selection, Bounds, Close };

class TBrowseDialog {
 public:
  // Info gives the owner, title, flags and callback; Root is the item its pidlRoot names.
  TBrowseDialog(platform::ShellNamespace& Shell, platform::ShellItem Root, const BROWSEINFOA& Info);
  ~TBrowseDialog();
  TBrowseDialog(const TBrowseDialog&) = delete;
  TBrowseDialog& operator=(const TBrowseDialog&) = delete;

  platform::ShellNamespace& Shell() const { return shell_; }
  HWND Owner() const { return owner_; }
  const platform::ShellItem& Root() const { return root_; }
  const std::string& Title() const { return title_; }
  std::uint32_t Flags() const { return flags_; }
  bool HasStatusLine() const { return (flags_ & BIF_STATUSTEXT) != 0; }
  const std::string& Caption() const { return caption_; }
  const std::string& StatusText() const { return status_; }
  bool OkEnabled() const { return okEnabled_; }
  // The selected item (the root until something is selected) and the items from the root
  // (exclusive) down to it.
  const platform::ShellItem& Selection() const { return selection_.Item; }
  const std::vector<platform::ShellItem>& SelectionChain() const { return chain_; }
  HWND Handle() const { return handle_; }
  const TRect& WindowRect() const { return rect_; }
  // An event handler failed: the window closes as cancelled, and the error waits in
  // RethrowHandlerError.
  bool Closing() const { return error_ != nullptr; }

  // Told of every change the window has to show.
  std::function<void(TBrowseChange)> OnChange;

  // The window exists, not shown yet, with this handle and frame: the callback hears
  // BFFM_INITIALIZED, and when it selected nothing the root is selected.
  void Initialize(HWND Handle, const TRect& Rect);
  // The user selected the item at the end of Chain (the root when Chain is empty). A new
  // selection sets OK as the browse flags allow and notifies BFFM_SELCHANGED.
  void Select(std::vector<platform::ShellItem> Chain);
  // Selects an item wherever it is in the tree; false when the tree does not hold it.
  bool SelectItem(const platform::ShellItem& Item);
  // The user moved or resized the window.
  void WindowMoved(const TRect& Rect) { rect_ = Rect; }

  // The messages of the program (SendMessageA): WM_SETTEXT, BFFM_SETSTATUSTEXTA, BFFM_ENABLEOK,
  // BFFM_SETSELECTIONA. Others are answered with 0.
  std::intptr_t Perform(std::uint32_t Msg, std::intptr_t WParam, std::intptr_t LParam);
  // MoveWindow.
  void MoveTo(const TRect& Rect);

  // Throws the error of a failed event handler, if there was one.
  void RethrowHandlerError() const;

  // The open dialog with this handle, or null.
  static TBrowseDialog* Find(HWND Handle);

 private:
  void Notify(std::uint32_t Msg, std::intptr_t LParam);
  void Changed(TBrowseChange What);

  platform::ShellNamespace& shell_;
  platform::ShellItem root_;
  HWND owner_;
  std::string title_;
  std::uint32_t flags_;
  BFFCALLBACK callback_;
  std::intptr_t callbackData_;

  std::string caption_ = "Browse for Folder";
  std::string status_;
  bool okEnabled_ = true;
  bool selected_ = false;  // the first selection is always news, even of the root
  ITEMIDLIST selection_;   // what BFFM_SELCHANGED points the callback to
  std::vector<platform::ShellItem> chain_;
  HWND handle_ = nullptr;
  TRect rect_;
  std::exception_ptr error_;
};

// Whether the browse flags let OK choose this item.
bool BrowseFlagsAllowOk(std::uint32_t Flags, const platform::ShellItem& Item);
