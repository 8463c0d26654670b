// The push button's widget, also under bitmap buttons: made, its caption, default state and
// glyph shown, and its clicks reported.

#include <QPushButton>
#include <QStyle>
#include <iterator>

#include "toolkit/qt/GlyphIcon.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/qt/ShowWatcher.h"
#include "toolkit/visual/Buttons.h"

HWND TButton::CreateWidget(HWND ParentWidget) {
  auto* button = new QPushButton(FromHandle<QWidget>(ParentWidget));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this] {
    if (WindowHandle() != nullptr && !ComponentState().Contains(csDestroying)) Click();
  });
  return ToHandle<QWidget>(button);
}

void TButton::WidgetCreated() {
  inherited::WidgetCreated();
  auto* button = WidgetOf<QPushButton>(this);
  button->setText(QString::fromStdString(Caption()));
  button->setDefault(default_);
}

void TButton::ShowDefault() {
  if (auto* button = WidgetOf<QPushButton>(this)) button->setDefault(default_);
}

void TButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (auto* button = WidgetOf<QPushButton>(this)) {
    button->setText(QString::fromStdString(Caption()));
  }
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

}  // namespace

void TBitBtn::UpdateIcon() {
  if (!HandleAllocated()) return;
  // A standard icon is read from Qt's image files when first used: a button nobody sees (in an
  // unattended run's hidden window) takes its icon when it is shown, if ever.
  if (!FromHandle<QWidget>(WindowHandle())->isVisible()) {
    iconBehind_ = true;
    return;
  }
  iconBehind_ = false;
  ApplyGlyph(WindowHandle(), glyph_, numGlyphs_, kKindIcons[kind_]);
}

void TBitBtn::ShowLayout() {
  if (auto* button = WidgetOf<QPushButton>(this)) {
    button->setLayoutDirection(layout_ == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
  }
}

void TBitBtn::WidgetCreated() {
  inherited::WidgetCreated();
  // Qt counts a widget visible before it sends the show event, so the icon goes on now.
  new ShowWatcher(FromHandle<QWidget>(WindowHandle()), [this] {
    if (iconBehind_) UpdateIcon();
  });
  UpdateIcon();
  ShowLayout();
}
