// The push button's widget, also under bitmap buttons: made, its caption, default state and
// glyph shown, and its clicks reported.

#include <QPushButton>
#include <QStyle>
#include <iterator>

#include "toolkit/qt/GlyphIcon.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/qt/ShowWatcher.h"
#include "toolkit/visual/Buttons.h"

HWND TQtWidgetSet::CreateButton(TButton& Button, HWND Parent) {
  auto* button = new QPushButton(ParentWidget(Parent));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [&Button] {
    if (Button.WindowHandle() != nullptr && !Button.ComponentState().Contains(csDestroying)) {
      Button.Click();
    }
  });
  return Adopt(Button, button);
}

void TQtWidgetSet::ShowButtonCaption(TButton& Button) {
  WidgetOf<QPushButton>(&Button)->setText(QString::fromStdString(Button.Caption()));
}

void TQtWidgetSet::ShowButtonDefault(TButton& Button) {
  WidgetOf<QPushButton>(&Button)->setDefault(Button.Default());
}

namespace {

// The style's icon of each standard kind, in the order of TBitBtnKind; a custom button has none.
constexpr int kKindIcons[] = {
    -1,
    QStyle::SP_DialogOkButton,
    QStyle::SP_DialogCancelButton,
    QStyle::SP_DialogHelpButton,
    QStyle::SP_DialogYesButton,
    QStyle::SP_DialogNoButton,
    QStyle::SP_DialogCloseButton,
    QStyle::SP_DialogAbortButton,
    QStyle::SP_DialogRetryButton,
    QStyle::SP_DialogIgnoreButton,
    QStyle::SP_DialogYesToAllButton,
};
static_assert(std::size(kKindIcons) == bkAll + 1);

// The icon changed while the button was hidden: it is put on when the button is shown.
constexpr const char* kIconBehind = "toolkitIconBehind";

}  // namespace

// Qt counts a widget visible before it sends the show event, so the icon goes on now.
HWND TQtWidgetSet::CreateBitBtn(TBitBtn& Button, HWND Parent) {
  HWND window = CreateButton(Button, Parent);
  QWidget* widget = FromHandle<QWidget>(window);
  new ShowWatcher(widget, [this, &Button, widget] {
    if (widget->property(kIconBehind).toBool()) ShowBitBtnGlyph(Button);
  });
  return window;
}

void TQtWidgetSet::ShowBitBtnGlyph(TBitBtn& Button) {
  QWidget* widget = WidgetOf<QWidget>(&Button);
  // A standard icon is read from Qt's image files when first used: a button nobody sees (in an
  // unattended run's hidden window) takes its icon when it is shown, if ever.
  if (!widget->isVisible()) {
    widget->setProperty(kIconBehind, true);
    return;
  }
  widget->setProperty(kIconBehind, false);
  ApplyGlyph(Button.WindowHandle(), Button.Glyph(), Button.NumGlyphs(), kKindIcons[Button.Kind()]);
}

void TQtWidgetSet::ShowBitBtnLayout(TBitBtn& Button) {
  WidgetOf<QPushButton>(&Button)->setLayoutDirection(
      Button.Layout() == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}
