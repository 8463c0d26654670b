#pragma once

// The Qt backend's private header: what its files share about the widgets under the controls.
// A window handle is the address of the control's QWidget (Messages.h), so a control's widget
// is reached through that class, whatever class made it:
//
//   if (auto* box = WidgetOf<QCheckBox>(&Box)) box->setChecked(Box.Checked());

#include <QFont>
#include <QWidget>

#include "toolkit/qt/QtWidgetSet.h"
#include "toolkit/visual/Controls.h"

// A control's widget as the class that made it; null while the control has none.
template <class Widget>
Widget* WidgetOf(const TControl* Control) {
  return static_cast<Widget*>(FromHandle<QWidget>(Control->WindowHandle()));
}

// The Qt font a control's font stands for.
QFont ToQFont(const TFont* Font);

// The shape Qt shows for a cursor: over a control, and over every window while the screen's
// cursor is set.
Qt::CursorShape ToCursorShape(TCursor Cursor);

// The parent widget a new widget goes into (null: a window of its own), with the widget system
// started for it.
QWidget* ParentWidget(HWND Parent);

// The parent a dialog owned by Owner (null: the application) is shown on.
QWidget* DialogParentFor(HWND Owner);

class QAccessibleInterface;
// What assistive technology sees of a form's window.
QAccessibleInterface* FormWindowAccessible(const QString& ClassName, QObject* Object);

// Names Widget for assistive technology (an editable combo box with its edit field).
void SetAccessibleName(QWidget* Widget, const std::string& Name);

// Makes Widget the window of Control: Control's input reaches the control, and FindControl
// finds it. Returns the window handle.
HWND Adopt(TControl& Control, QWidget* Widget);

// A widget that reports to its control by its own means: told to stop when the control lets go
// of it, before it goes.
class TReportingWidget {
 public:
  virtual void Detach() = 0;

 protected:
  ~TReportingWidget() = default;
};
