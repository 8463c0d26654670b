// The Qt side of every control: making and freeing widgets, pushing the control's state to them,
// and turning Qt's input events into the toolkit's.

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/Controls.h"

namespace {

constexpr const char* kControlProperty = "toolkitControl";

QColor ToQColor(TColor color) {
  const std::uint32_t rgb = ColorToRGB(color);
  return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>((rgb >> 16) & 0xFF));
}

// The classic virtual key code of a Qt key; 0 for keys without one.
std::uint16_t VirtualKey(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return static_cast<std::uint16_t>('A' + key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<std::uint16_t>('0' + key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return static_cast<std::uint16_t>(0x70 + key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    default:
      return 0;
  }
}

// The character a key press produces, as the classic key press event sees it; 0 for none.
char KeyChar(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Backspace:
      return VK_BACK;
    default:
      break;
  }
  const QString text = event->text();
  if (text.size() != 1) return 0;
  const char16_t unit = text.at(0).unicode();
  return unit >= 32 && unit < 127 ? static_cast<char>(unit) : 0;
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers) {
  TShiftState shift;
  if (modifiers & Qt::ShiftModifier) shift.Include(ssShift);
  if (modifiers & Qt::AltModifier) shift.Include(ssAlt);
  if (modifiers & Qt::ControlModifier) shift.Include(ssCtrl);
  return shift;
}

bool Alive(const TControl* control) {
  return control != nullptr && control->WindowHandle() != nullptr &&
         !control->ComponentState().Contains(csDestroying) &&
         !control->ComponentState().Contains(csDesigning);
}

}  // namespace

// Sits on each control's widget and reports input to the control.
class TWidgetEventFilter : public QObject {
 public:
  TWidgetEventFilter(TControl* control, QWidget* widget) : QObject(widget), control_(control) {}

  void Detach() { control_ = nullptr; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!Alive(control_) || watched != WidgetOf<QWidget>(control_)) return false;
    switch (event->type()) {
      case QEvent::KeyPress:
        return KeyPressed(static_cast<QKeyEvent*>(event));
      case QEvent::MouseButtonRelease:
        return MouseReleased(static_cast<QMouseEvent*>(event));
      default:
        return false;
    }
  }

 private:
  bool KeyPressed(QKeyEvent* event) {
    auto* win = dynamic_cast<TWinControl*>(control_);
    if (win == nullptr) return false;
    // Tab belongs to the form, which moves the focus in its own order.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) return false;
    const std::uint16_t key = VirtualKey(event->key());
    if (key != 0 && win->HandleKeyDown(key, ShiftOf(event->modifiers()))) return true;
    if (!Alive(win)) return true;
    const char ch = KeyChar(event);
    if (ch != 0 && win->HandleKeyPress(ch)) return true;
    if (!Alive(win)) return true;
    if (ch == VK_RETURN || ch == VK_ESCAPE) return DialogKey(win, ch);
    return false;
  }

  // Enter and Escape that no control wanted go to the form (default and cancel buttons).
  static bool DialogKey(TWinControl* win, char ch) {
    if (win->Perform(CM_WANTSPECIALKEY, ch) != 0) return false;
    TCustomForm* form = GetParentForm(win);
    if (form == nullptr) return false;
    return form->Perform(CM_DIALOGKEY, ch) != 0;
  }

  bool MouseReleased(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || control_->ClicksFromWidget()) return false;
    if (!control_->ControlStyle().Contains(csClickEvents)) return false;
    if (!WidgetOf<QWidget>(control_)->rect().contains(event->position().toPoint())) return false;
    control_->Click();
    return false;
  }

  TControl* control_;
};

QFont ToQFont(const TFont* font) {
  QFont result;
  // The classic dialog faces stand for the desktop's sans face.
  static const char* const sansFaces[] = {
      "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif",
      "Tahoma",        "Arial",        "Helvetica"};
  bool sans = false;
  for (const char* face : sansFaces) {
    if (QString::fromStdString(font->Name()).compare(QLatin1String(face), Qt::CaseInsensitive) ==
        0) {
      sans = true;
    }
  }
  if (sans) {
    result.setFamily(QStringLiteral("Sans Serif"));
    result.setStyleHint(QFont::SansSerif);
  } else {
    result.setFamily(QString::fromStdString(font->Name()));
  }
  result.setPixelSize(font->PixelSize());
  const TFontStyles style = font->Style();
  result.setBold(style.Contains(fsBold));
  result.setItalic(style.Contains(fsItalic));
  result.setUnderline(style.Contains(fsUnderline));
  result.setStrikeOut(style.Contains(fsStrikeOut));
  return result;
}

QWidget* ParentWidget(HWND Parent) {
  InitWidgetSystem();
  return FromHandle<QWidget>(Parent);
}

HWND Adopt(TControl& Control, QWidget* Widget) {
  Widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(&Control)));
  Widget->installEventFilter(new TWidgetEventFilter(&Control, Widget));
  return ToHandle<QWidget>(Widget);
}

HWND TQtWidgetSet::CreatePlainWindow(TControl& Control, HWND Parent) {
  return Adopt(Control, new QWidget(ParentWidget(Parent)));
}

void TQtWidgetSet::DestroyWindow(HWND Window) {
  QWidget* widget = FromHandle<QWidget>(Window);
  widget->setProperty(kControlProperty, QVariant());
  for (QObject* child : widget->children()) {
    if (auto* filter = dynamic_cast<TWidgetEventFilter*>(child)) filter->Detach();
  }
  if (auto* reporting = dynamic_cast<TReportingWidget*>(widget)) reporting->Detach();
  // Nothing the widget reports while it goes may reach the control.
  QObject::disconnect(widget, nullptr, nullptr, nullptr);
  delete widget;
}

// A call posted to a widget goes with the widget.
void TQtWidgetSet::PostToWindow(HWND Window, std::function<void()> Call) {
  QTimer::singleShot(0, FromHandle<QWidget>(Window), std::move(Call));
}

void TQtWidgetSet::ShowBounds(TControl& Control) {
  QWidget* widget = WidgetOf<QWidget>(&Control);
  widget->setGeometry(Control.Left(), Control.Top(), std::max(0, Control.Width()),
                      std::max(0, Control.Height()));
  widget->setEnabled(Control.Enabled());
  widget->setVisible(Control.Visible() || Control.ComponentState().Contains(csDesigning));
}

namespace {

// Greyed text for a control that is disabled itself, whatever colour its font has; the font's
// colour otherwise, also inside a disabled window or panel (Qt draws that with the Disabled
// colours too), as on the classic desktop, where a disabled form keeps its look during a run.
void SetTextColor(QPalette& palette, QPalette::ColorRole role, const QColor& text, bool enabled) {
  palette.setColor(QPalette::Active, role, text);
  palette.setColor(QPalette::Inactive, role, text);
  palette.setColor(QPalette::Disabled, role, enabled ? text : ToQColor(clGrayText));
}

}  // namespace

void TQtWidgetSet::ShowColors(TControl& Control) {
  QWidget* widget = WidgetOf<QWidget>(&Control);
  widget->setFont(ToQFont(Control.Font()));
  QPalette palette = widget->palette();
  const QColor text = ToQColor(Control.Font()->Color());
  const QColor back = ToQColor(Control.Color());
  if (Control.ColorIsTextBackground()) {
    palette.setColor(QPalette::Base, back);
    SetTextColor(palette, QPalette::Text, text, Control.Enabled());
  } else {
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Button, back);
    SetTextColor(palette, QPalette::WindowText, text, Control.Enabled());
    SetTextColor(palette, QPalette::ButtonText, text, Control.Enabled());
  }
  widget->setPalette(palette);
  if (Control.Cursor() == crDefault) {
    widget->unsetCursor();
  } else {
    widget->setCursor(QCursor(ToCursorShape(Control.Cursor())));
  }
}

void TQtWidgetSet::ShowHint(TControl& Control) {
  QWidget* widget = WidgetOf<QWidget>(&Control);
  const QString hint = QString::fromStdString(Control.Hint());
  widget->setToolTip(Control.ShowHint() ? hint : QString());
  widget->setAccessibleDescription(hint);
  // An editable combo box's edit field is what takes the keyboard.
  if (auto* box = qobject_cast<QComboBox*>(widget); box != nullptr && box->lineEdit() != nullptr) {
    box->lineEdit()->setAccessibleDescription(hint);
  }
}

void TQtWidgetSet::ShowAccessibleName(TControl& Control) {
  SetAccessibleName(WidgetOf<QWidget>(&Control), Control.AccessibleName());
}

void SetAccessibleName(QWidget* Widget, const std::string& Name) {
  const QString name = QString::fromStdString(Name);
  Widget->setAccessibleName(name);
  if (auto* box = qobject_cast<QComboBox*>(Widget); box != nullptr && box->lineEdit() != nullptr) {
    box->lineEdit()->setAccessibleName(name);
  }
}

void TQtWidgetSet::Invalidate(TControl& Control) {
  WidgetOf<QWidget>(&Control)->update();
}

void TQtWidgetSet::Update(TControl& Control) {
  WidgetOf<QWidget>(&Control)->repaint();
}

TPoint TQtWidgetSet::TextExtent(const TFont& Font, const std::string& Text) {
  InitWidgetSystem();
  const QFontMetrics metrics(ToQFont(&Font));
  const QSize size = metrics.size(Qt::TextSingleLine, QString::fromStdString(Text));
  return {size.width(), size.height()};
}

TControl* TQtWidgetSet::FindControl(HWND Widget) {
  for (QObject* object = FromHandle<QWidget>(Widget); object != nullptr;
       object = object->parent()) {
    const QVariant value = object->property(kControlProperty);
    if (value.isValid()) return static_cast<TControl*>(value.value<void*>());
  }
  return nullptr;
}

bool TQtWidgetSet::Focused(const TWinControl& Control) {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && ::FindControl(ToHandle<QWidget>(focus)) == &Control;
}

void TQtWidgetSet::SetFocus(TWinControl& Control) {
  FromHandle<QWidget>(Control.Handle())->setFocus(Qt::OtherFocusReason);
}

void TQtWidgetSet::SetFocusByTab(TWinControl& Control, bool Forward) {
  FromHandle<QWidget>(Control.Handle())
      ->setFocus(Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void TQtWidgetSet::ShowFocusPolicy(TWinControl& Control) {
  QWidget* widget = WidgetOf<QWidget>(&Control);
  if (widget->isWindow()) return;
  if (!Control.AcceptsFocus()) {
    widget->setFocusPolicy(Qt::NoFocus);
  } else {
    widget->setFocusPolicy(Control.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
  }
}
