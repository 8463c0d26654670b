// The widget system's functions, the same for every backend: each asks the one the program is
// linked with.

#include "toolkit/forms/WidgetSystem.h"

#include <utility>

#include "toolkit/forms/WidgetSet.h"

void InitWidgetSystem() {
  WidgetSet().StartWidgetSystem();
}

// The forms go first, with their windows, then the widget system under them.
void DoneWidgetSystem() {
  WidgetSet().RunPostedCalls();
  if (Application != nullptr) Application->DestroyComponents();
  WidgetSet().StopWidgetSystem();
}

bool WidgetSystemRunning() {
  return WidgetSet().WidgetSystemRunning();
}

void ProcessWidgetEvents() {
  WidgetSet().ProcessEvents();
}

void WaitForWidgetEvent() {
  WidgetSet().WaitForEvent();
}

void WakeWidgetSystem() {
  WidgetSet().Wake();
}

void UseOffscreenWidgetSystem() {
  WidgetSet().UseOffscreen();
}

void UseHeadlessWidgetSystem() {
  WidgetSet().UseHeadless();
}

bool SaveWindowPicture(TWinControl* Control, const std::string& Path) {
  return SaveWindowPicture(Control->Handle(), Path);
}

bool SaveWindowPicture(HWND Window, const std::string& Path) {
  return WidgetSet().SaveWindowPicture(Window, Path);
}

void WhenModalWindowShown(const std::string& Name, std::function<void(HWND Window)> Action) {
  WidgetSet().WhenModalWindowShown(Name, std::move(Action));
}

void CloseWindow(HWND Window) {
  WidgetSet().CloseWindow(Window);
}
