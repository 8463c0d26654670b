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

void TQtWidgetSet::ShowScreenCursor(TCursor Previous, TCursor Cursor) {
  if (!WidgetSystemRunning()) return;
  if (Cursor == crDefault) {
    while (QGuiApplication::overrideCursor() != nullptr)
      QGuiApplication::restoreOverrideCursor();
  } else if (Previous == crDefault || QGuiApplication::overrideCursor() == nullptr) {
    QGuiApplication::setOverrideCursor(QCursor(ToCursorShape(Cursor)));
  } else {
    QGuiApplication::changeOverrideCursor(QCursor(ToCursorShape(Cursor)));
  }
  ProcessEvents();
}

TPoint TQtWidgetSet::ScreenSize() {
  const QRect geometry = ScreenGeometry();
  return {geometry.width(), geometry.height()};
}

TCustomForm* TQtWidgetSet::ActiveForm() {
  if (!WidgetSystemRunning()) return nullptr;
  QWidget* active = QApplication::activeWindow();
  if (active == nullptr) return nullptr;
  return dynamic_cast<TCustomForm*>(::FindControl(ToHandle<QWidget>(active)));
}
