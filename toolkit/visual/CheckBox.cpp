#include <QCheckBox>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/ControlProperties.h"
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

TClass TCheckBox::StaticClass() {
  return DefineClass<TCheckBox>("TCheckBox", [](ClassBuilder<TCheckBox>& c) {
    c.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightOfText);
    c.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    PublishControlProperties(c, {"Caption"});
    c.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Stored(false);
    PublishControlProperties(c, {"Color", "Cursor", "Enabled", "Font", "ParentColor", "ParentFont",
                                 "ParentShowHint", "Hint", "ShowHint"});
    c.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    PublishControlProperties(c, {"TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit",
                                 "OnKeyDown", "OnKeyPress"});
  });
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetAlignment(TLeftRight Value) {
  alignment_ = Value;
  if (auto* box = WidgetOf<QCheckBox>(this)) {
    box->setLayoutDirection(Value == taLeftOfText ? Qt::RightToLeft : Qt::LeftToRight);
  }
}

void TCheckBox::SetAllowGrayed(bool Value) {
  allowGrayed_ = Value;
  if (auto* box = WidgetOf<QCheckBox>(this)) {
    box->setTristate(Value);
  }
}

void TCheckBox::SetState(TCheckBoxState Value) {
  if (state_ == Value) return;
  state_ = Value;
  if (auto* box = WidgetOf<QCheckBox>(this)) {
    box->setCheckState(ToQt(Value));
  }
  if (!clicksDisabled_ && !ComponentState().Contains(csLoading)) Click();
}

HWND TCheckBox::CreateWidget(HWND ParentWidget) {
  auto* box = new TCheckBoxWidget(FromHandle<QWidget>(ParentWidget));
  QObject::connect(box, &QCheckBox::clicked, box, [this] { UserToggled(); });
  return ToHandle<QWidget>(box);
}

void TCheckBox::WidgetCreated() {
  inherited::WidgetCreated();
  auto* box = WidgetOf<QCheckBox>(this);
  box->setText(QString::fromStdString(Caption()));
  box->setTristate(allowGrayed_);
  box->setCheckState(ToQt(state_));
  box->setLayoutDirection(alignment_ == taLeftOfText ? Qt::RightToLeft : Qt::LeftToRight);
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
