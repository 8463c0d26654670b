#pragma once

// The widget system under the controls: made on first need (the first window), gone
// with DoneWidgetSystem at the end of the program. Qt's platform is chosen by Qt
// (QT_QPA_PLATFORM); tests choose "offscreen".

#include <functional>
#include <string>

#include "toolkit/visual/Messages.h"

// Makes the widget system if there is none yet.
void InitWidgetSystem();
// Frees the application's forms and then the widget system.
void DoneWidgetSystem();
bool WidgetSystemRunning();
// Lets pending window messages through (paints, input, timers) without waiting.
void ProcessWidgetEvents();
// Waits for the next event and handles it.
void WaitForWidgetEvent();
// Wakes WaitForWidgetEvent.
void WakeWidgetSystem();

// Whether windows can be shown: a display is named (X11 or Wayland) or Qt's platform is
// chosen explicitly. Without one Qt could not start its default platform at all.
bool DisplayAvailable();
// Makes the widget system on Qt's offscreen platform: real widgets, nothing on screen.
// Call before the first window is made; later it changes nothing.
void UseOffscreenWidgetSystem();
// The same for a run that never shows or pictures a window: real widgets, but no fonts are
// loaded (text measures as boxes), so the font configuration, a third of such a run, is never
// read. Call before the first window is made; later it changes nothing.
void UseHeadlessWidgetSystem();

class TWinControl;
// Saves the picture of Control's window (as it would be shown) as a PNG file; false when
// the file could not be written.
bool SaveWindowPicture(TWinControl* Control, const std::string& Path);
// The same for any window of the program, by its handle (a dialog's window, for instance).
bool SaveWindowPicture(HWND Window, const std::string& Path);

// Runs Action with the handle of the next modal window named Name (a dialog's window: the
// folder-browse dialog is "BrowseForFolder") once it is shown, from inside that window's own
// event loop; what Action leaves open stays open. For tools that picture the program's dialogs
// and for tests that drive them.
void WhenModalWindowShown(const std::string& Name, std::function<void(HWND Window)> Action);
// Closes a window as its close box does (a dialog: as if cancelled).
void CloseWindow(HWND Window);
