// The speed button's widget: a tool button that takes no focus, showing the button's state.

#include <QToolButton>

#include "toolkit/qt/GlyphIcon.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/Buttons.h"

HWND TQtWidgetSet::CreateSpeedButton(TSpeedButton& Button, HWND Parent) {
  auto* button = new QToolButton(ParentWidget(Parent));
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QObject::connect(button, &QToolButton::clicked, button, [&Button] { Button.UserClicked(); });
  return Adopt(Button, button);
}

void TQtWidgetSet::ShowSpeedButton(TSpeedButton& Button) {
  auto* button = WidgetOf<QToolButton>(&Button);
  button->setText(QString::fromStdString(Button.Caption()));
  button->setAutoRaise(Button.Flat());
  button->setCheckable(Button.GroupIndex() != 0);
  button->setChecked(Button.Down());
  ApplyGlyph(Button.WindowHandle(), Button.Glyph(), Button.NumGlyphs());
  button->setToolButtonStyle(Button.Glyph()->Empty()    ? Qt::ToolButtonTextOnly
                             : Button.Caption().empty() ? Qt::ToolButtonIconOnly
                                                        : Qt::ToolButtonTextBesideIcon);
}
