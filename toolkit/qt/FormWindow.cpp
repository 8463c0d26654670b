// A form's window: made and kept in step with the form, and what the user does to it (closing,
// moving, resizing, Tab) handed to the form.

#include <QCloseEvent>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "toolkit/forms/Forms.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/qt/QtWidgets.h"

// A form's window: its close button asks the form, and Tab follows the form's order.
class TFormWindow : public QWidget {
 public:
  explicit TFormWindow(TCustomForm* form) : form_(form) {}
  void Detach() { form_ = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (form_ != nullptr) form_->WindowCloseRequested();
  }
  // The user moved, resized, maximized or minimized the window: the form takes it over.
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (form_ != nullptr) form_->WindowGeometryChanged();
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (form_ != nullptr) form_->WindowGeometryChanged();
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (form_ != nullptr && event->type() == QEvent::WindowStateChange) {
      form_->WindowStateChanged();
    }
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
  TCustomForm* form_;
};

HWND TCustomForm::CreateWidget(HWND) {
  auto* window = new TFormWindow(this);
  window->setAutoFillBackground(true);
  return ToHandle<QWidget>(window);
}

void TCustomForm::WidgetCreated() {
  inherited::WidgetCreated();
  auto* window = WidgetOf<QWidget>(this);
  window->setWindowTitle(QString::fromStdString(Caption()));
  UpdateWindowFlags();
}

void TCustomForm::WidgetDestroying() {
  WidgetOf<TFormWindow>(this)->Detach();
  inherited::WidgetDestroying();
}

void TCustomForm::UpdateWindowFlags() {
  auto* window = WidgetOf<QWidget>(this);
  if (window == nullptr) return;
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (borderStyle_ == bsNone) flags = Qt::Window | Qt::FramelessWindowHint;
  if (borderStyle_ == bsDialog) flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (borderIcons_.Contains(biSystemMenu)) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  }
  if (borderStyle_ != bsDialog && borderIcons_.Contains(biMinimize)) {
    flags |= Qt::WindowMinimizeButtonHint;
  }
  if (borderStyle_ != bsDialog && borderIcons_.Contains(biMaximize)) {
    flags |= Qt::WindowMaximizeButtonHint;
  }
  if (borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin) {
    flags |= Qt::MSWindowsFixedSizeDialogHint;
  }
  const bool shown = window->isVisible();
  window->setWindowFlags(flags);
  if (shown) window->show();
}

void TCustomForm::WindowGeometryChanged() {
  auto* window = WidgetOf<QWidget>(this);
  if (window == nullptr || updatingBounds_ || ComponentState().Contains(csDestroying)) return;
  // Left, Top, Width and Height are the normal bounds, which a maximized or minimized
  // window comes back to; only a window in its normal state changes them.
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
    return;
  }
  const TPoint frame = FrameSize();
  const QPoint position = window->pos();
  const ScopedValue taking(takingWindowBounds_, true);
  SetBounds(position.x(), position.y(), window->width() + frame.X, window->height() + frame.Y);
}

void TCustomForm::WindowStateChanged() {
  auto* window = WidgetOf<QWidget>(this);
  if (window == nullptr || ComponentState().Contains(csDestroying)) return;
  const Qt::WindowStates state = window->windowState();
  windowState_ = state & Qt::WindowMinimized   ? wsMinimized
                 : state & Qt::WindowMaximized ? wsMaximized
                                               : wsNormal;
}

void TCustomForm::UpdateWidgetBounds() {
  auto* window = WidgetOf<QWidget>(this);
  if (window == nullptr || takingWindowBounds_) return;
  // Setting the window's geometry reports it back; that is not a move by the user.
  const ScopedValue updating(updatingBounds_, true);
  const int width = std::max(1, ClientWidth());
  const int height = std::max(1, ClientHeight());
  if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin) {
    window->setMinimumSize(0, 0);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window->resize(width, height);
  } else {
    window->setFixedSize(width, height);
  }
  window->move(Left(), Top());
  window->setEnabled(Enabled());
}

void TCustomForm::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (auto* window = WidgetOf<QWidget>(this)) {
    window->setWindowTitle(QString::fromStdString(Caption()));
  }
}

void TCustomForm::ShowWindowState() {
  if (auto* window = WidgetOf<QWidget>(this)) {
    window->setWindowState(windowState_ == wsMaximized   ? Qt::WindowMaximized
                           : windowState_ == wsMinimized ? Qt::WindowMinimized
                                                         : Qt::WindowNoState);
  }
}

void TCustomForm::ActivateWindow() {
  if (auto* window = WidgetOf<QWidget>(this)) window->activateWindow();
}

void TCustomForm::SetWindowShown(bool Shown) {
  auto* window = WidgetOf<QWidget>(this);
  if (Shown) {
    window->show();
  } else {
    window->hide();
  }
}

void TCustomForm::Release() {
  if (auto* window = WidgetOf<QWidget>(this)) {
    // Freed once the handler that closed it has returned.
    QTimer::singleShot(0, window, [this] { Free(); });
  } else {
    Free();
  }
}

// The window remembers its focus widget also while another window is active.
void TCustomForm::MoveWidgetFocusOutOf(TWinControl* Control) {
  auto* window = WidgetOf<QWidget>(this);
  auto* inside = WidgetOf<QWidget>(Control);
  QWidget* focus = window != nullptr ? window->focusWidget() : nullptr;
  if (focus != nullptr && inside != nullptr && (focus == inside || inside->isAncestorOf(focus))) {
    window->setFocus(Qt::OtherFocusReason);
  }
}
