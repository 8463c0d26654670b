#pragma once

// The shell's special folders by identifier, and where a Wine prefix keeps the ones that are
// file-system folders.

#include "platform/Status.h"

namespace platform {

class Registry;

// Special folder identifiers, with the values Windows gives them.
inline constexpr int CSIDL_DESKTOP = 0x00;
inline constexpr int CSIDL_PROGRAMS = 0x02;
inline constexpr int CSIDL_CONTROLS = 0x03;
inline constexpr int CSIDL_PRINTERS = 0x04;
inline constexpr int CSIDL_PERSONAL = 0x05;
inline constexpr int CSIDL_FAVORITES = 0x06;
inline constexpr int CSIDL_STARTUP = 0x07;
inline constexpr int CSIDL_RECENT = 0x08;
inline constexpr int CSIDL_SENDTO = 0x09;
inline constexpr int CSIDL_BITBUCKET = 0x0A;
inline constexpr int CSIDL_STARTMENU = 0x0B;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x10;
inline constexpr int CSIDL_DRIVES = 0x11;
inline constexpr int CSIDL_NETWORK = 0x12;
inline constexpr int CSIDL_NETHOOD = 0x13;
inline constexpr int CSIDL_FONTS = 0x14;
inline constexpr int CSIDL_TEMPLATES = 0x15;

// The Windows path of a special folder that is a file-system folder, whether or not it exists
// yet, resolved as Wine resolves it:
// - the user's folders from the value of their name in the key User Shell Folders (below
//   HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer), environment
//   strings expanded in a REG_EXPAND_SZ value; else in its neighbour "Shell Folders" (which older
//   programs set), else Wine's default below the user's profile folder ("%USERPROFILE%\Documents",
//   ...); a value that is empty or no absolute path counts as missing;
// - the Windows folder's own folders (Fonts) below the Windows folder, as Wine never asks
//   the registry for them.
// NotFound for the folders that have no path (desktop, My Computer, Control Panel, Printers,
// Recycle Bin, Network) and for identifiers this program does not know.
Result<std::string> SpecialFolderPath(Registry& registry, int csidl);

}  // namespace platform
