#pragma once

// The widget system under the controls: made on first need (the first window), gone
// with DoneWidgetSystem at the end of the program. Qt's platform is chosen by Qt
// (QT_QPA_PLATFORM); tests choose "offscreen".

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
