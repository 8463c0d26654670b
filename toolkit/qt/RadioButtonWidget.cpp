// The radio button's widget: made, its check kept in step with the button's, and its clicks
// reported.

#include <QRadioButton>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

namespace {

// The whole control reacts to the mouse, as a classic check or radio box does, not only
// its mark and text: a click beside a short caption still toggles it.
class TRadioButtonWidget : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace

HWND TRadioButton::CreateWidget(HWND ParentWidget) {
  auto* button = new TRadioButtonWidget(FromHandle<QWidget>(ParentWidget));
  QObject::connect(button, &QRadioButton::clicked, button, [this] {
    if (WindowHandle() == nullptr || ComponentState().Contains(csDestroying)) return;
    auto* self = WidgetOf<QRadioButton>(this);
    if (!self->isChecked()) return;
    if (!checked_) {
      checked_ = true;
      SetTabStop(true);
      TurnSiblingsOff();
    }
    Click();
  });
  return ToHandle<QWidget>(button);
}

void TRadioButton::WidgetCreated() {
  inherited::WidgetCreated();
  auto* button = WidgetOf<QRadioButton>(this);
  button->setText(QString::fromStdString(Caption()));
  button->setAutoExclusive(true);
  UpdateWidgetCheck();
}

void TRadioButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (auto* button = WidgetOf<QRadioButton>(this)) {
    button->setText(QString::fromStdString(Caption()));
  }
}

// Qt keeps the checked button of a group checked; unchecking by program passes by that.
void TRadioButton::UpdateWidgetCheck() {
  auto* button = WidgetOf<QRadioButton>(this);
  if (button == nullptr || button->isChecked() == checked_) return;
  button->setAutoExclusive(false);
  button->setChecked(checked_);
  button->setAutoExclusive(true);
}
