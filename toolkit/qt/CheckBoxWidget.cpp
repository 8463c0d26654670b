// The check box's widget: made, kept in step with the box's state, and its clicks reported.

#include <QCheckBox>
#include <QSignalBlocker>

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

HWND TQtWidgetSet::CreateCheckBox(TCheckBox& Box, HWND Parent) {
  auto* box = new TCheckBoxWidget(ParentWidget(Parent));
  // Every change the program does not make is the user's: a click, Space, or assistive
  // technology's toggle action, which clicks nothing.
  QObject::connect(box, &QCheckBox::stateChanged, box, [&Box](int state) {
    Box.UserToggled(state == Qt::Checked            ? cbChecked
                    : state == Qt::PartiallyChecked ? cbGrayed
                                                    : cbUnchecked);
  });
  return Adopt(Box, box);
}

void TQtWidgetSet::ShowCheckBoxCaption(TCheckBox& Box) {
  WidgetOf<QCheckBox>(&Box)->setText(QString::fromStdString(Box.Caption()));
}

void TQtWidgetSet::ShowCheckBoxAlignment(TCheckBox& Box) {
  WidgetOf<QCheckBox>(&Box)->setLayoutDirection(Box.Alignment() == taLeftOfText ? Qt::RightToLeft
                                                                                : Qt::LeftToRight);
}

// Qt makes a box tristate itself when its state is set to grayed: the control shows this first.
void TQtWidgetSet::ShowCheckBoxAllowGrayed(TCheckBox& Box) {
  WidgetOf<QCheckBox>(&Box)->setTristate(Box.AllowGrayed());
}

void TQtWidgetSet::ShowCheckBoxState(TCheckBox& Box) {
  auto* box = WidgetOf<QCheckBox>(&Box);
  const QSignalBlocker block(box);
  box->setCheckState(ToQt(Box.State()));
}
