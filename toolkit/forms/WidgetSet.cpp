#include "toolkit/forms/WidgetSet.h"

#include <iostream>

namespace {

[[noreturn]] void NoWidgets(const std::string& What) {
  throw EInvalidOperation(What + ": this program was built without widgets");
}

}  // namespace

TControlWidgets& ControlWidgets() {
  return WidgetSet();
}

void TWidgetSet::WaitForEvent() {
  NoWidgets("Waiting for input");
}

void TWidgetSet::WhenModalWindowShown(const std::string& Name, std::function<void(HWND)>) {
  NoWidgets("Waiting for the window " + Name);
}

void TWidgetSet::CloseWindow(HWND) {
  NoWidgets("Closing a window");
}

// Nobody can be asked without widgets: message boxes are told on standard error and answered
// with their first button, and file and folder dialogs are cancelled.
std::unique_ptr<TPresenter> TWidgetSet::CreatePresenter() {
  return std::make_unique<TConsolePresenter>(std::cerr);
}

std::unique_ptr<TPresenter> CreateDefaultPresenter() {
  return WidgetSet().CreatePresenter();
}
