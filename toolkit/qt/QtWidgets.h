#pragma once

// A control's Qt widget as the class that made it, for the toolkit's .cpp files, which
// know the widget classes; null while the control has none:
//
//   if (auto* box = WidgetOf<QCheckBox>(this)) box->setChecked(Checked());
//
// A window handle is the address of the control's QWidget (Messages.h); the cast goes
// through that class, so it stays right for any widget class. No Qt name is written here:
// the QWidget base is named as what every widget's parentWidget() returns.

#include <type_traits>
#include <utility>

#include "toolkit/visual/Controls.h"

template <class Widget>
Widget* WidgetOf(const TControl* Control) {
  using QtWidget = std::remove_pointer_t<decltype(std::declval<const Widget&>().parentWidget())>;
  return static_cast<Widget*>(FromHandle<QtWidget>(Control->WindowHandle()));
}
