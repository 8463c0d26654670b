// The widget system of a program built without widgets: it never starts, so nothing waits for
// input and nothing is pictured. A run that needs a window has no business here and is told so
// at once.

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/windowless/PendingReleases.h"
#include "toolkit/windowless/WindowToken.h"

namespace {

std::vector<HWND>& Released() {
  static std::vector<HWND> windows;
  return windows;
}

[[noreturn]] void NoWidgets(const std::string& What) {
  throw EInvalidOperation(What + ": this program was built without widgets");
}

}  // namespace

namespace windowless {

void ReleaseLater(HWND FormWindow) {
  std::vector<HWND>& windows = Released();
  if (std::find(windows.begin(), windows.end(), FormWindow) == windows.end()) {
    windows.push_back(FormWindow);
  }
}

void ForgetWindow(HWND Window) {
  std::erase(Released(), Window);
}

// One at a time from the list itself: a form freed here may free or release others, and each
// window that goes leaves the list as it goes.
void FreeReleasedForms() {
  while (!Released().empty()) {
    HWND window = Released().front();
    Released().erase(Released().begin());
    static_cast<TCustomForm*>(window->Control)->Free();
  }
}

}  // namespace windowless

void InitWidgetSystem() {}

void DoneWidgetSystem() {
  windowless::FreeReleasedForms();
  if (Application != nullptr) Application->DestroyComponents();
}

bool WidgetSystemRunning() {
  return false;
}

void ProcessWidgetEvents() {
  windowless::FreeReleasedForms();
}

void WaitForWidgetEvent() {
  NoWidgets("Waiting for input");
}

void WakeWidgetSystem() {}

void UseOffscreenWidgetSystem() {}

void UseHeadlessWidgetSystem() {}

bool SaveWindowPicture(TWinControl*, const std::string&) {
  return false;
}

bool SaveWindowPicture(HWND, const std::string&) {
  return false;
}

void WhenModalWindowShown(const std::string& Name, std::function<void(HWND)>) {
  NoWidgets("Waiting for the window " + Name);
}

void CloseWindow(HWND) {
  NoWidgets("Closing a window");
}
