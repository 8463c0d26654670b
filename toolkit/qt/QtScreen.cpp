// The screen as Qt shows it: the cursor over every window, the size, the active window.

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/qt/QtWidgets.h"

namespace {

QRect ScreenGeometry() {
  InitWidgetSystem();
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect(0, 0, 800, 600);
}

}  // namespace

void TScreen::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  const TCursor previous = cursor_;
  cursor_ = Value;
  if (!WidgetSystemRunning()) return;
  if (Value == crDefault) {
    while (QGuiApplication::overrideCursor() != nullptr)
      QGuiApplication::restoreOverrideCursor();
  } else if (previous == crDefault || QGuiApplication::overrideCursor() == nullptr) {
    QGuiApplication::setOverrideCursor(QCursor(ToCursorShape(Value)));
  } else {
    QGuiApplication::changeOverrideCursor(QCursor(ToCursorShape(Value)));
  }
  ProcessWidgetEvents();
}

int TScreen::Width() const {
  return ScreenGeometry().width();
}

int TScreen::Height() const {
  return ScreenGeometry().height();
}

TCustomForm* TScreen::ActiveForm() const {
  if (!WidgetSystemRunning()) return nullptr;
  QWidget* active = QApplication::activeWindow();
  if (active == nullptr) return nullptr;
  return dynamic_cast<TCustomForm*>(FindControl(ToHandle<QWidget>(active)));
}
