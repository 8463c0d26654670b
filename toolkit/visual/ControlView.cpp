// A control's window, the same with every backend: when it is made and freed, and what the
// control shows in it. The backend (ControlWidgets.h) is asked only while the window exists.

#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/Controls.h"

TControlWidgets* TControl::Widgets() const {
  return widget_ != nullptr ? &ControlWidgets() : nullptr;
}

HWND TControl::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreatePlainWindow(*this, ParentWidget);
}

// A child's window is made inside its parent's, so a child whose parent has none waits for it.
void TControl::CreateView() {
  if (widget_ != nullptr) return;
  HWND parentWidget = parent_ != nullptr ? parent_->WindowHandle() : nullptr;
  if (parent_ != nullptr && parentWidget == nullptr) return;
  widget_ = CreateWidget(parentWidget);
  UpdateWidgetBounds();
  UpdateWidgetColors();
  UpdateWidgetHint();
  if (!accessibleName_.empty()) ControlWidgets().ShowAccessibleName(*this);
  WidgetCreated();
}

// The control forgets its window before the window goes, so that nothing the window reports
// while it goes finds the control half way.
void TControl::DestroyView() {
  if (widget_ == nullptr) return;
  WidgetDestroying();
  HWND widget = widget_;
  widget_ = nullptr;
  ControlWidgets().DestroyWindow(widget);
}

void TControl::UpdateWidgetBounds() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowBounds(*this);
}

void TControl::UpdateWidgetColors() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowColors(*this);
}

void TControl::UpdateWidgetHint() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowHint(*this);
}

void TControl::Invalidate() {
  if (TControlWidgets* widgets = Widgets()) widgets->Invalidate(*this);
}

void TControl::Update() {
  if (TControlWidgets* widgets = Widgets()) widgets->Update(*this);
}

void TControl::Repaint() {
  Update();
}

TPoint TControl::TextExtent(const std::string& Text) const {
  return ControlWidgets().TextExtent(*font_, Text);
}

TControl* FindControl(HWND Widget) {
  return Widget != nullptr ? ControlWidgets().FindControl(Widget) : nullptr;
}

bool TWinControl::Focused() const {
  return ControlWidgets().Focused(*this);
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ControlWidgets().SetFocus(*this);
}

void TWinControl::TakeFocusByTab(bool GoForward) {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ControlWidgets().SetFocusByTab(*this, GoForward);
}

void TWinControl::UpdateFocusPolicy() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowFocusPolicy(*this);
}
