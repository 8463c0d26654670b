// A form's window: made and kept in step with the form, and what the user does to it (closing,
// moving, resizing, Tab) handed to the form.

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QEvent>
#include <QWidget>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/qt/QtWidgets.h"

// A form's window: its close button asks the form, and Tab follows the form's order.
class TFormWindow : public QWidget, public TReportingWidget {
 public:
  explicit TFormWindow(TCustomForm* form) : form_(form) {}
  void Detach() override { form_ = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (form_ != nullptr) form_->WindowCloseRequested();
  }
  // The user moved, resized, maximized or minimized the window: the form takes it over.
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    GeometryChanged();
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    GeometryChanged();
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (form_ == nullptr || event->type() != QEvent::WindowStateChange) return;
    const Qt::WindowStates state = windowState();
    form_->WindowStateChanged(state & Qt::WindowMinimized   ? wsMinimized
                              : state & Qt::WindowMaximized ? wsMaximized
                                                            : wsNormal);
  }
  bool focusNextPrevChild(bool next) override {
    if (form_ == nullptr) return QWidget::focusNextPrevChild(next);
    // Qt asks too when it disables the window while the window itself has the focus: a disabled
    // window keeps no focus, and enabling it gives the focus back to the form's focused control.
    if (!isEnabled()) return false;
    form_->SelectNext(form_->FocusedControl(), next, true);
    return true;
  }

 private:
  // Only the normal state's geometry is the form's bounds.
  void GeometryChanged() {
    if (form_ == nullptr ||
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
      return;
    }
    form_->WindowGeometryChanged(pos().x(), pos().y(), width(), height());
  }

  TCustomForm* form_;
};

// A form's window is a frame to assistive technology, as a main window or a dialog is; Qt takes
// a plain widget for a filler.
QAccessibleInterface* FormWindowAccessible(const QString&, QObject* object) {
  auto* window = dynamic_cast<TFormWindow*>(object);
  return window != nullptr ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

HWND TQtWidgetSet::CreateFormWindow(TCustomForm& Form) {
  InitWidgetSystem();
  auto* window = new TFormWindow(&Form);
  window->setAutoFillBackground(true);
  return Adopt(Form, window);
}

void TQtWidgetSet::ShowFormCaption(TCustomForm& Form) {
  WidgetOf<QWidget>(&Form)->setWindowTitle(QString::fromStdString(Form.Caption()));
}

void TQtWidgetSet::ShowFormFrame(TCustomForm& Form) {
  auto* window = WidgetOf<QWidget>(&Form);
  const TFormBorderStyle border = Form.BorderStyle();
  const TBorderIcons icons = Form.BorderIcons();
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (border == bsNone) flags = Qt::Window | Qt::FramelessWindowHint;
  if (border == bsDialog) flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (icons.Contains(biSystemMenu)) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  }
  if (border != bsDialog && icons.Contains(biMinimize)) {
    flags |= Qt::WindowMinimizeButtonHint;
  }
  if (border != bsDialog && icons.Contains(biMaximize)) {
    flags |= Qt::WindowMaximizeButtonHint;
  }
  if (border != bsSizeable && border != bsSizeToolWin) {
    flags |= Qt::MSWindowsFixedSizeDialogHint;
  }
  const bool shown = window->isVisible();
  window->setWindowFlags(flags);
  if (shown) window->show();
}

void TQtWidgetSet::ShowFormBounds(TCustomForm& Form) {
  auto* window = WidgetOf<QWidget>(&Form);
  const int width = std::max(1, Form.ClientWidth());
  const int height = std::max(1, Form.ClientHeight());
  if (Form.BorderStyle() == bsSizeable || Form.BorderStyle() == bsSizeToolWin) {
    window->setMinimumSize(0, 0);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window->resize(width, height);
  } else {
    window->setFixedSize(width, height);
  }
  window->move(Form.Left(), Form.Top());
  window->setEnabled(Form.Enabled());
}

void TQtWidgetSet::ShowFormWindowState(TCustomForm& Form) {
  const TWindowState state = Form.WindowState();
  WidgetOf<QWidget>(&Form)->setWindowState(state == wsMaximized   ? Qt::WindowMaximized
                                           : state == wsMinimized ? Qt::WindowMinimized
                                                                  : Qt::WindowNoState);
}

void TQtWidgetSet::ActivateFormWindow(TCustomForm& Form) {
  WidgetOf<QWidget>(&Form)->activateWindow();
}

void TQtWidgetSet::ShowFormShown(TCustomForm& Form, bool Shown) {
  auto* window = WidgetOf<QWidget>(&Form);
  if (Shown) {
    window->show();
  } else {
    window->hide();
  }
}

// The window remembers its focus widget also while another window is active.
void TQtWidgetSet::MoveFocusOutOf(TCustomForm& Form, TWinControl& Control) {
  auto* window = WidgetOf<QWidget>(&Form);
  auto* inside = WidgetOf<QWidget>(&Control);
  QWidget* focus = window->focusWidget();
  if (focus != nullptr && (focus == inside || inside->isAncestorOf(focus))) {
    window->setFocus(Qt::OtherFocusReason);
  }
}
