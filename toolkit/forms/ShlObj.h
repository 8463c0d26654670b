#pragma once

// The shell's folder-browse dialog as the Windows API offers it, over the shell namespace of
// the machine the program works on (platform/ShellNamespace.h):
//
//   BROWSEINFOA info{};
//   info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
//   if (ITEMIDLIST* chosen = SHBrowseForFolderA(&info)) {
//     std::array<char, MAX_PATH> path{};
//     SHGetPathFromIDListA(chosen, path);
//     CoTaskMemFree(chosen);
//   }
//
// The dialog is shown by the application's presenter (toolkit/forms/Presenter.h); while it is open,
// the callback hears of it and the program talks to it with the messages below
// (toolkit/forms/WindowFunctions.h). The names, values and calling rules are Windows's, so that
// code written against the shell reads the same here.

#include <array>
#include <cstdint>

#include "platform/ShellFolders.h"
#include "platform/ShellNamespace.h"
#include "toolkit/visual/Messages.h"

inline constexpr int MAX_PATH = 260;

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005U);

// Browse flags.
inline constexpr std::uint32_t BIF_RETURNONLYFSDIRS = 0x0001;   // OK only for file-system folders
inline constexpr std::uint32_t BIF_DONTGOBELOWDOMAIN = 0x0002;  // no network below the domain
inline constexpr std::uint32_t BIF_STATUSTEXT = 0x0004;         // the dialog has a status line
inline constexpr std::uint32_t BIF_RETURNFSANCESTORS = 0x0008;  // OK only for file-system items
                                                                // and the items above them
inline constexpr std::uint32_t BIF_BROWSEFORCOMPUTER = 0x1000;  // OK only for computers
inline constexpr std::uint32_t BIF_BROWSEFORPRINTER = 0x2000;   // OK only for printers

// Notifications to the callback.
inline constexpr std::uint32_t BFFM_INITIALIZED = 1;  // the window exists; lParam 0
inline constexpr std::uint32_t BFFM_SELCHANGED = 2;   // lParam: the selected ITEMIDLIST*

// Messages to the open dialog (SendMessageA).
inline constexpr std::uint32_t WM_USER = 0x0400;
// lParam: the status line's text (const char*).
inline constexpr std::uint32_t BFFM_SETSTATUSTEXTA = WM_USER + 100;
// lParam: non-zero enables OK.
inline constexpr std::uint32_t BFFM_ENABLEOK = WM_USER + 101;
// wParam non-zero: lParam is a path (const char*); else an ITEMIDLIST*.
inline constexpr std::uint32_t BFFM_SETSELECTIONA = WM_USER + 102;

// One item of the shell's namespace, made by the shell functions and freed with CoTaskMemFree.
struct ITEMIDLIST {
  platform::ShellItem Item;
};

// The dialog's notifications: Wnd is the dialog, lpData the BROWSEINFOA's lParam. Returns 0.
using BFFCALLBACK = int (*)(HWND Wnd, std::uint32_t Msg, std::intptr_t lParam,
                            std::intptr_t lpData);

struct BROWSEINFOA {
  HWND hwndOwner = nullptr;
  const ITEMIDLIST* pidlRoot = nullptr;  // the tree's root; null for the desktop
  char* pszDisplayName = nullptr;        // MAX_PATH characters for the chosen item's name
  const char* lpszTitle = nullptr;       // the text above the tree
  std::uint32_t ulFlags = 0;
  BFFCALLBACK lpfn = nullptr;
  std::intptr_t lParam = 0;
  int iImage = 0;  // out: the chosen item's ShellImageIndex
};

// Runs the dialog modally. Returns the chosen item (free it with CoTaskMemFree), or null when
// the user cancelled. An exception that escapes the callback closes the dialog and leaves this
// function once the window is gone.
ITEMIDLIST* SHBrowseForFolderA(BROWSEINFOA* lpbi);

// The item's file-system path; false and an empty text for an item without one, or with a path
// that does not fit MAX_PATH.
bool SHGetPathFromIDListA(const ITEMIDLIST* pidl, std::array<char, MAX_PATH>& pszPath);

// The item of a special folder (CSIDL_..., platform/ShellFolders.h); E_FAIL and null when the
// folder does not exist or the identifier is unknown.
HRESULT SHGetSpecialFolderLocation(HWND hwndOwner, int nFolder, ITEMIDLIST** ppidl);

// Frees an item the shell functions returned; null is allowed.
void CoTaskMemFree(ITEMIDLIST* pv);

// The image the shell shows for an item, by kind: one number per kind of item, the same the
// dialog's tree shows.
int ShellImageIndex(const platform::ShellItem& Item);
