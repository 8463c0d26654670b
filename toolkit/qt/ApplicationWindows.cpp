// The application's windows: its own hidden one, the owner of its dialogs, and the forms'
// windows it disables around a modal dialog.

#include <QApplication>
#include <QWidget>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/qt/QtWidgets.h"

HWND TQtWidgetSet::CreateApplicationWindow(TApplication& App) {
  InitWidgetSystem();
  auto* window = new QWidget;
  window->setWindowTitle(QString::fromStdString(App.Title()));
  return ToHandle<QWidget>(window);
}

bool TQtWidgetSet::DisableFormWindow(TCustomForm& Form) {
  auto* window = WidgetOf<QWidget>(&Form);
  if (!window->isVisible() || !window->isEnabled()) return false;
  window->setEnabled(false);
  return true;
}

void TQtWidgetSet::EnableFormWindow(TCustomForm& Form) {
  WidgetOf<QWidget>(&Form)->setEnabled(Form.Enabled());
  // A disabled window loses its focus; the control that had it gets it back.
  TWinControl* focused = Form.FocusedControl();
  if (focused != nullptr && focused->CanFocus() && focused->HandleAllocated()) {
    WidgetOf<QWidget>(focused)->setFocus(Qt::OtherFocusReason);
  }
}
