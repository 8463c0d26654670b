#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"
#include "toolkit/visual/StdCtrls.h"

TClass TGroupBox::StaticClass() {
  return DefineClass<TGroupBox>("TGroupBox", [](ClassBuilder<TGroupBox>& c) {
    PublishControlProperties(c, {"Align", "Caption", "Color", "Enabled", "Font", "ParentColor",
                                 "ParentFont", "ParentShowHint", "ShowHint", "TabOrder", "TabStop",
                                 "Visible", "OnClick", "OnEnter", "OnExit"});
  });
}

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ =
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 105);
}

// Aligned children stay below the caption and inside the frame.
void TGroupBox::AdjustClientRect(TRect& Rect) const {
  const int captionHeight = std::max(TextExtent("0").Y, 1);
  Rect.Top += captionHeight;
  Rect.Left += 2;
  Rect.Right -= 2;
  Rect.Bottom -= 2;
}

HWND TGroupBox::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateGroupBox(*this, ParentWidget);
}

void TGroupBox::WidgetCreated() {
  inherited::WidgetCreated();
  Widgets()->ShowGroupBoxCaption(*this);
}

void TGroupBox::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (TControlWidgets* widgets = Widgets()) widgets->ShowGroupBoxCaption(*this);
}
