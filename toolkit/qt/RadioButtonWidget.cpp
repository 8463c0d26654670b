// The radio button's widget: made, its check kept in step with the button's, and its clicks
// reported.

#include <QRadioButton>
#include <QSignalBlocker>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

namespace {

// The whole control reacts to the mouse, as a classic check or radio box does, not only
// its mark and text: a click beside a short caption still toggles it.
class TRadioButtonWidget : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

  // A click checks the button and then says it clicked; assistive technology's toggle action
  // only checks it. Each reaches the control once, a click on the button checked already too.
  void Report(TRadioButton& Button) {
    connect(this, &QRadioButton::toggled, this, [&Button](bool checked) {
      if (checked) Button.UserChecked();
    });
    connect(this, &QRadioButton::clicked, this, [this, &Button] {
      const bool reported = checkedByClick_;
      checkedByClick_ = false;
      if (!reported) Button.UserChecked();
    });
  }

 protected:
  // Called for a click alone, when it checks the button (not for the button checked already).
  void nextCheckState() override {
    checkedByClick_ = true;
    QRadioButton::nextCheckState();
  }
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

 private:
  bool checkedByClick_ = false;
};

}  // namespace

HWND TQtWidgetSet::CreateRadioButton(TRadioButton& Button, HWND Parent) {
  auto* button = new TRadioButtonWidget(ParentWidget(Parent));
  button->setAutoExclusive(true);
  button->Report(Button);
  return Adopt(Button, button);
}

void TQtWidgetSet::ShowRadioButtonCaption(TRadioButton& Button) {
  WidgetOf<QRadioButton>(&Button)->setText(QString::fromStdString(Button.Caption()));
}

// Qt keeps the checked button of a group checked; unchecking by program passes by that.
void TQtWidgetSet::ShowRadioButtonChecked(TRadioButton& Button) {
  auto* button = WidgetOf<QRadioButton>(&Button);
  if (button->isChecked() == Button.Checked()) return;
  const QSignalBlocker block(button);
  button->setAutoExclusive(false);
  button->setChecked(Button.Checked());
  button->setAutoExclusive(true);
}
