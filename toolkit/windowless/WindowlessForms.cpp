// Forms, the application and the screen without widgets: a form's window is a token, nothing is
// shown or activated, and the screen is one nobody sees.

#include <iostream>
#include <memory>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/Presenter.h"
#include "toolkit/windowless/PendingReleases.h"
#include "toolkit/windowless/WindowToken.h"

TApplication::~TApplication() {
  DestroyComponents();
  delete handle_;
}

HWND TApplication::Handle() {
  if (handle_ == nullptr) handle_ = NewWindowToken(nullptr);
  return handle_;
}

// No form is on the screen, so none is disabled around a modal one.
TTaskWindowList TApplication::DisableTaskWindows(TCustomForm*) {
  return {};
}

void TApplication::EnableTaskWindows(const TTaskWindowList&) {}

// Nobody can be asked without widgets: message boxes are told on standard error and answered
// with their first button, and file and folder dialogs are cancelled.
std::unique_ptr<TPresenter> CreateDefaultPresenter() {
  return std::make_unique<TConsolePresenter>(std::cerr);
}

void TScreen::SetCursor(TCursor Value) {
  cursor_ = Value;
}

// The size of a common desktop, so that a centred form lies where it would be seen.
int TScreen::Width() const {
  return 1024;
}

int TScreen::Height() const {
  return 768;
}

TCustomForm* TScreen::ActiveForm() const {
  return nullptr;
}

HWND TCustomForm::CreateWidget(HWND) {
  return NewWindowToken(this);
}

void TCustomForm::WidgetCreated() {
  inherited::WidgetCreated();
}

void TCustomForm::WidgetDestroying() {
  inherited::WidgetDestroying();
}

void TCustomForm::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
}

void TCustomForm::UpdateWindowFlags() {}
void TCustomForm::UpdateWidgetBounds() {}
void TCustomForm::ShowWindowState() {}
void TCustomForm::ActivateWindow() {}
void TCustomForm::SetWindowShown(bool) {}
void TCustomForm::MoveWidgetFocusOutOf(TWinControl*) {}
// Only a window the user moves or resizes reports its geometry and state.
void TCustomForm::WindowGeometryChanged() {}
void TCustomForm::WindowStateChanged() {}

// The handler that closed the form may still use it: it is freed at the next pass over events,
// as a widget system's deferred call would free it, or when the program ends.
void TCustomForm::Release() {
  if (WindowHandle() != nullptr) {
    windowless::ReleaseLater(WindowHandle());
  } else {
    Free();
  }
}
