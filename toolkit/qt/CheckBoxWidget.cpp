// The check box's widget: made, kept in step with the box's state, and its clicks reported.

#include <QCheckBox>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

namespace {

// The whole control reacts to the mouse, as a classic check or radio box does, not only
// its mark and text: a click beside a short caption still toggles it.
class TCheckBoxWidget : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

Qt::CheckState ToQt(TCheckBoxState state) {
  return state == cbChecked  ? Qt::Checked
         : state == cbGrayed ? Qt::PartiallyChecked
                             : Qt::Unchecked;
}

}  // namespace

HWND TCheckBox::CreateWidget(HWND ParentWidget) {
  auto* box = new TCheckBoxWidget(FromHandle<QWidget>(ParentWidget));
  QObject::connect(box, &QCheckBox::clicked, box, [this] { UserToggled(); });
  return ToHandle<QWidget>(box);
}

void TCheckBox::WidgetCreated() {
  inherited::WidgetCreated();
  auto* box = WidgetOf<QCheckBox>(this);
  box->setText(QString::fromStdString(Caption()));
  // Tristate first: Qt makes a box tristate itself when its state is set to grayed.
  ShowAllowGrayed();
  ShowState();
  ShowAlignment();
}

void TCheckBox::ShowAlignment() {
  if (auto* box = WidgetOf<QCheckBox>(this)) {
    box->setLayoutDirection(alignment_ == taLeftOfText ? Qt::RightToLeft : Qt::LeftToRight);
  }
}

void TCheckBox::ShowAllowGrayed() {
  if (auto* box = WidgetOf<QCheckBox>(this)) box->setTristate(allowGrayed_);
}

void TCheckBox::ShowState() {
  if (auto* box = WidgetOf<QCheckBox>(this)) box->setCheckState(ToQt(state_));
}

// The user's click: the state follows the box, and the click is reported as by program.
void TCheckBox::UserToggled() {
  auto* box = WidgetOf<QCheckBox>(this);
  if (box == nullptr || ComponentState().Contains(csDestroying)) return;
  const Qt::CheckState state = box->checkState();
  const TCheckBoxState next = state == Qt::Checked            ? cbChecked
                              : state == Qt::PartiallyChecked ? cbGrayed
                                                              : cbUnchecked;
  if (next == state_) return;
  state_ = next;
  Click();
}

void TCheckBox::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (auto* box = WidgetOf<QCheckBox>(this)) {
    box->setText(QString::fromStdString(Caption()));
  }
}
