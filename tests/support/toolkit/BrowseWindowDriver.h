#pragma once

// Driving the real folder-browse window (the Qt presenter's) in tests, with real input events
// on the offscreen platform. The window is modal: WhenBrowseWindowOpens queues the steps, and
// they run inside the window's own event loop once it is shown.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/visual/Messages.h"

namespace toolkit_test {

// Runs Steps with the handle of the browse window once the next one is shown; a window the
// steps leave open is cancelled.
void WhenBrowseWindowOpens(std::function<void(HWND Window)> Steps);

// Opens the tree node by node, as a user expands it, and clicks the item at the end of Names
// (display names from the root's children down). False when a name is not in the tree.
bool ClickTreeItem(HWND Window, const std::vector<std::string>& Names);
// Clicks the OK or the Cancel button.
void ClickOk(HWND Window);
void ClickCancel(HWND Window);

std::string WindowCaption(HWND Window);
std::string StatusLine(HWND Window);
bool StatusLineShown(HWND Window);
bool OkButtonEnabled(HWND Window);
// The display names of the tree's nodes that are read so far, depth first, indented by two
// spaces a level: what a user sees with every opened node expanded.
std::vector<std::string> TreeNodes(HWND Window);

// The pixel size of the font the tree shows its names in.
int TreeFontPixels(HWND Window);

// Saves the window's picture as a PNG file.
bool SaveBrowseWindowPicture(HWND Window, const std::string& Path);

}  // namespace toolkit_test
