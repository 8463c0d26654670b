// A form's window, the same with every backend: made and kept in step with the form, and what
// the user does to it taken over by the form.

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSet.h"
#include "toolkit/model/ScopeGuards.h"

HWND TCustomForm::CreateWidget(HWND) {
  return WidgetSet().CreateFormWindow(*this);
}

void TCustomForm::WidgetCreated() {
  inherited::WidgetCreated();
  WidgetSet().ShowFormCaption(*this);
  UpdateWindowFlags();
}

void TCustomForm::UpdateWindowFlags() {
  if (HandleAllocated()) WidgetSet().ShowFormFrame(*this);
}

// Setting the window's geometry reports it back; that is not a move by the user.
void TCustomForm::UpdateWidgetBounds() {
  if (!HandleAllocated() || takingWindowBounds_) return;
  const ScopedValue updating(updatingBounds_, true);
  WidgetSet().ShowFormBounds(*this);
}

// Left, Top, Width and Height are the normal bounds, which a maximized or minimized window
// comes back to; the window reports only those of its normal state.
void TCustomForm::WindowGeometryChanged(int ALeft, int ATop, int AClientWidth, int AClientHeight) {
  if (updatingBounds_ || ComponentState().Contains(csDestroying)) return;
  const TPoint frame = FrameSize();
  const ScopedValue taking(takingWindowBounds_, true);
  SetBounds(ALeft, ATop, AClientWidth + frame.X, AClientHeight + frame.Y);
}

void TCustomForm::WindowStateChanged(TWindowState State) {
  if (ComponentState().Contains(csDestroying)) return;
  windowState_ = State;
}

void TCustomForm::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (HandleAllocated()) WidgetSet().ShowFormCaption(*this);
}

void TCustomForm::ShowWindowState() {
  if (HandleAllocated()) WidgetSet().ShowFormWindowState(*this);
}

void TCustomForm::ActivateWindow() {
  if (HandleAllocated()) WidgetSet().ActivateFormWindow(*this);
}

void TCustomForm::SetWindowShown(bool Shown) {
  if (HandleAllocated()) WidgetSet().ShowFormShown(*this, Shown);
}

// The handler that closed the form may still use it: it is freed once the handler has
// returned, from the event loop, or at once when it has no window.
void TCustomForm::Release() {
  if (HandleAllocated()) {
    WidgetSet().PostToWindow(WindowHandle(), [this] { Free(); });
  } else {
    Free();
  }
}

void TCustomForm::MoveWidgetFocusOutOf(TWinControl* Control) {
  if (HandleAllocated() && Control->HandleAllocated()) WidgetSet().MoveFocusOutOf(*this, *Control);
}
