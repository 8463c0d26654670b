// The speed button's widget: a tool button that takes no focus, showing the button's state.

#include <QToolButton>

#include "toolkit/qt/GlyphIcon.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/Buttons.h"

HWND TSpeedButton::CreateWidget(HWND ParentWidget) {
  auto* button = new QToolButton(FromHandle<QWidget>(ParentWidget));
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QObject::connect(button, &QToolButton::clicked, button, [this] { UserClicked(); });
  return ToHandle<QWidget>(button);
}

void TSpeedButton::WidgetCreated() {
  inherited::WidgetCreated();
  UpdateButton();
}

void TSpeedButton::UpdateButton() {
  auto* button = WidgetOf<QToolButton>(this);
  if (button == nullptr) return;
  button->setText(QString::fromStdString(Caption()));
  button->setAutoRaise(flat_);
  button->setCheckable(groupIndex_ != 0);
  button->setChecked(down_);
  ApplyGlyph(WindowHandle(), glyph_, numGlyphs_);
  button->setToolButtonStyle(glyph_->Empty()     ? Qt::ToolButtonTextOnly
                             : Caption().empty() ? Qt::ToolButtonIconOnly
                                                 : Qt::ToolButtonTextBesideIcon);
}
