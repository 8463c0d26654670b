#pragma once

// The window functions the shell's dialogs are driven with, as the Windows API names them.
// They reach the windows that the toolkit hands out as handles for that purpose: the open
// folder-browse dialog (toolkit/forms/ShlObj.h). For any other handle they do nothing and report
// failure (false, 0), as Windows does for a window that is gone.

#include <cstdint>

#include "toolkit/visual/Controls.h"
#include "toolkit/visual/Messages.h"

// The window's frame rectangle in screen coordinates.
bool GetWindowRect(HWND Wnd, TRect* Rect);
// Moves and sizes the window's frame.
bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint);
// Sends a message to the window and returns its answer.
std::intptr_t SendMessageA(HWND Wnd, std::uint32_t Msg, std::intptr_t WParam, std::intptr_t LParam);
