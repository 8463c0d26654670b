// The application's windows: its own hidden one, the owner of its dialogs, and the forms'
// windows it disables around a modal dialog.

#include <QApplication>
#include <QWidget>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/qt/QtWidgets.h"

TApplication::~TApplication() {
  DestroyComponents();
  delete FromHandle<QWidget>(handle_);
}

HWND TApplication::Handle() {
  if (handle_ == nullptr) {
    InitWidgetSystem();
    auto* window = new QWidget;
    window->setWindowTitle(QString::fromStdString(title_));
    handle_ = ToHandle<QWidget>(window);
  }
  return handle_;
}

TTaskWindowList TApplication::DisableTaskWindows(TCustomForm* Except) {
  TTaskWindowList list;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    auto* window = WidgetOf<QWidget>(form);
    if (form == Except || window == nullptr || !window->isVisible() || !window->isEnabled()) {
      continue;
    }
    window->setEnabled(false);
    list.push_back(form);
  }
  return list;
}

// A form freed meanwhile is no longer on the screen's list and is passed over.
void TApplication::EnableTaskWindows(const TTaskWindowList& List) {
  for (TCustomForm* form : List) {
    bool known = false;
    for (int i = 0; i < Screen->FormCount(); ++i)
      known = known || Screen->Forms(i) == form;
    if (!known) continue;
    auto* window = WidgetOf<QWidget>(form);
    if (window == nullptr) continue;
    window->setEnabled(form->Enabled());
    // A disabled window loses its focus; the control that had it gets it back.
    TWinControl* focused = form->FocusedControl();
    if (focused != nullptr && focused->CanFocus() && focused->HandleAllocated()) {
      WidgetOf<QWidget>(focused)->setFocus(Qt::OtherFocusReason);
    }
  }
}
