#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/ClassBuilder.h"

TClass TScreen::StaticClass() {
  return DefineClass<TScreen>("TScreen", [](ClassBuilder<TScreen>&) {});
}

namespace {

Qt::CursorShape ScreenCursorShape(TCursor cursor) {
  switch (cursor) {
    case crHourGlass:
    case crSQLWait:
      return Qt::WaitCursor;
    case crAppStart:
      return Qt::BusyCursor;
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crNo:
      return Qt::ForbiddenCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crNone:
      return Qt::BlankCursor;
    default:
      return Qt::ArrowCursor;
  }
}

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
    QGuiApplication::setOverrideCursor(QCursor(ScreenCursorShape(Value)));
  } else {
    QGuiApplication::changeOverrideCursor(QCursor(ScreenCursorShape(Value)));
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

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* form = ActiveForm();
  return form != nullptr ? form->FocusedControl() : nullptr;
}
