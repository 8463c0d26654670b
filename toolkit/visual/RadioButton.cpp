#include <QRadioButton>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/ControlProperties.h"
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

TClass TRadioButton::StaticClass() {
  return DefineClass<TRadioButton>("TRadioButton", [](ClassBuilder<TRadioButton>& c) {
    c.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
        .Default(taRightOfText);
    PublishControlProperties(c, {"Caption"});
    c.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    PublishControlProperties(
        c, {"Color", "Cursor", "Enabled", "Font", "ParentColor", "ParentFont", "ParentShowHint",
            "Hint", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnEnter", "OnExit",
            "OnKeyDown", "OnKeyPress"});
  });
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetTabStop(false);
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  SetTabStop(Value);
  UpdateWidgetCheck();
  if (!Value) return;
  TurnSiblingsOff();
  if (!clicksDisabled_ && !ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::TurnSiblingsOff() {
  if (Parent() == nullptr) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
    if (sibling != nullptr && sibling != this && sibling->checked_) {
      sibling->checked_ = false;
      sibling->SetTabStop(false);
      sibling->UpdateWidgetCheck();
    }
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
