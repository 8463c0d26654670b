#include "tests/support/toolkit/FormDriver.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QImage>
#include <QStyleHints>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/qt/QtWidgets.h"

namespace toolkit_test {

namespace {

QWidget* KeyTarget() {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
  }
  return QApplication::focusWidget();
}

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = KeyTarget();
  if (target == nullptr) return;
  QTest::keyClick(target, key, modifiers);
  ProcessEvents();
}

}  // namespace

void SelectTestPlatform() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("SETUP_TEST_DISPLAY") == nullptr) {
    UseOffscreenWidgetSystem();
  }
}

void ProcessEvents() {
  Application->ProcessMessages();
}

void ShowForm(TCustomForm* Form) {
  Form->Show();
  QWidget* window = WidgetOf<QWidget>(Form);
  // The list's own clicks must not count as a double click in quick tests.
  QGuiApplication::styleHints()->setMouseDoubleClickInterval(1);
  QApplication::setActiveWindow(window);
  window->activateWindow();
  ProcessEvents();
  (void)QTest::qWaitForWindowActive(window, 1000);
  ProcessEvents();
}

void Click(TControl* Control) {
  QWidget* widget = WidgetOf<QWidget>(Control);
  ClickAt(Control, widget->width() / 2, widget->height() / 2);
}

void ClickAt(TControl* Control, int X, int Y) {
  QTest::mouseClick(WidgetOf<QWidget>(Control), Qt::LeftButton, Qt::NoModifier, QPoint(X, Y));
  ProcessEvents();
}

bool DoAccessibleAction(TControl* Control) {
  QAccessibleInterface* control = QAccessible::queryAccessibleInterface(WidgetOf<QWidget>(Control));
  QAccessibleActionInterface* actions = control != nullptr ? control->actionInterface() : nullptr;
  if (actions == nullptr || actions->actionNames().isEmpty()) return false;
  actions->doAction(actions->actionNames().front());
  ProcessEvents();
  return true;
}

std::string AccessibleNameOf(TControl* Control) {
  QAccessibleInterface* control = QAccessible::queryAccessibleInterface(WidgetOf<QWidget>(Control));
  return control->text(QAccessible::Name).toStdString();
}

std::string AccessibleDescriptionOf(TControl* Control) {
  QAccessibleInterface* control = QAccessible::queryAccessibleInterface(WidgetOf<QWidget>(Control));
  return control->text(QAccessible::Description).toStdString();
}

void TypeText(const std::string& Text) {
  QWidget* target = KeyTarget();
  if (target == nullptr) return;
  QTest::keyClicks(target, QString::fromStdString(Text));
  ProcessEvents();
}

void PressEnter() {
  Key(Qt::Key_Return);
}

void PressEscape() {
  Key(Qt::Key_Escape);
}

void PressTab(bool Backward) {
  Key(Backward ? Qt::Key_Backtab : Qt::Key_Tab, Backward ? Qt::ShiftModifier : Qt::NoModifier);
}

void PressDown() {
  Key(Qt::Key_Down);
}

void DropDownWithKey(TCustomComboBox*) {
  Key(Qt::Key_F4);
}

void ClickListItem(TCustomComboBox* ComboBox, int Index) {
  auto* box = WidgetOf<QComboBox>(ComboBox);
  QAbstractItemView* view = box->view();
  // The click that opened a list is not taken as a pick: wait out that moment.
  QTest::qWait(5);
  const QRect item = view->visualRect(view->model()->index(Index, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  ProcessEvents();
  ProcessEvents();
}

void MoveWindow(TCustomForm* Form, int X, int Y) {
  WidgetOf<QWidget>(Form)->move(X, Y);
  ProcessEvents();
}

void ResizeClientArea(TCustomForm* Form, int Width, int Height) {
  WidgetOf<QWidget>(Form)->resize(Width, Height);
  ProcessEvents();
}

void ChangeWindowState(TCustomForm* Form, TWindowState State) {
  WidgetOf<QWidget>(Form)->setWindowState(State == wsMaximized   ? Qt::WindowMaximized
                                          : State == wsMinimized ? Qt::WindowMinimized
                                                                 : Qt::WindowNoState);
  ProcessEvents();
}

bool WindowAcceptsInput(TCustomForm* Form) {
  QWidget* window = WidgetOf<QWidget>(Form);
  return window != nullptr && window->isEnabled();
}

TWinControl* FocusedControl() {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return nullptr;
  return dynamic_cast<TWinControl*>(FindControl(ToHandle<QWidget>(focus)));
}

int ScreenCursorShape() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor != nullptr ? cursor->shape() : -1;
}

int CursorShapeOf(TControl* Control) {
  QWidget* widget = WidgetOf<QWidget>(Control);
  return widget->testAttribute(Qt::WA_SetCursor) ? widget->cursor().shape() : -1;
}

bool SaveScreenshot(TCustomForm* Form, const std::string& Path) {
  ProcessEvents();
  return SaveWindowPicture(Form, Path);
}

std::uint32_t DarkestColorIn(TControl* Control, const TRect& Area) {
  ProcessEvents();
  const QImage picture = WidgetOf<QWidget>(Control)->grab().toImage();
  QRgb darkest = qRgb(255, 255, 255);
  for (int y = std::max(0, Area.Top); y < std::min(picture.height(), Area.Bottom); ++y) {
    for (int x = std::max(0, Area.Left); x < std::min(picture.width(), Area.Right); ++x) {
      const QRgb pixel = picture.pixel(x, y);
      if (qGray(pixel) < qGray(darkest)) darkest = pixel;
    }
  }
  return static_cast<std::uint32_t>(qRed(darkest)) |
         (static_cast<std::uint32_t>(qGreen(darkest)) << 8) |
         (static_cast<std::uint32_t>(qBlue(darkest)) << 16);
}

}  // namespace toolkit_test
