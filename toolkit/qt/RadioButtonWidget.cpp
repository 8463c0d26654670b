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

HWND TQtWidgetSet::CreateRadioButton(TRadioButton& Button, HWND Parent) {
  auto* button = new TRadioButtonWidget(ParentWidget(Parent));
  button->setAutoExclusive(true);
  QObject::connect(button, &QRadioButton::clicked, button, [&Button, button] {
    if (button->isChecked()) Button.UserChecked();
  });
  return Adopt(Button, button);
}

void TQtWidgetSet::ShowRadioButtonCaption(TRadioButton& Button) {
  WidgetOf<QRadioButton>(&Button)->setText(QString::fromStdString(Button.Caption()));
}

// Qt keeps the checked button of a group checked; unchecking by program passes by that.
void TQtWidgetSet::ShowRadioButtonChecked(TRadioButton& Button) {
  auto* button = WidgetOf<QRadioButton>(&Button);
  if (button->isChecked() == Button.Checked()) return;
  button->setAutoExclusive(false);
  button->setChecked(Button.Checked());
  button->setAutoExclusive(true);
}
