#pragma once

// The widget system under the controls: made on first need (the first window), gone
// with DoneWidgetSystem at the end of the program. Qt's platform is chosen by Qt
// (QT_QPA_PLATFORM); tests choose "offscreen".

#include <string>

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

class TWinControl;
// Saves the picture of Control's window (as it would be shown) as a PNG file; false when
// the file could not be written.
bool SaveWindowPicture(TWinControl* Control, const std::string& Path);
