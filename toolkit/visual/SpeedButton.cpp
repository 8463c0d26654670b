#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"

TClass TSpeedButton::StaticClass() {
  return DefineClass<TSpeedButton>("TSpeedButton", [](ClassBuilder<TSpeedButton>& c) {
    c.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
        .Default(false);
    PublishControlProperties(c, {"Align"});
    c.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
    c.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
    PublishControlProperties(c, {"Caption", "Enabled"});
    c.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
    PublishControlProperties(c, {"Font"});
    c.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
    c.Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
    c.Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
    c.Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
        .Default(static_cast<TNumGlyphs>(1));
    PublishControlProperties(c, {"ParentFont", "ParentShowHint", "ShowHint"});
    c.Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
    PublishControlProperties(c, {"Visible", "OnClick"});
  });
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), glyph_(new TBitmap) {
  glyph_->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
  SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() {
  if (WindowHandle() != nullptr) DestroyView();
  delete glyph_;
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  numGlyphs_ = static_cast<TNumGlyphs>(std::clamp(static_cast<int>(Value), 1, 4));
  UpdateButton();
}

void TSpeedButton::SetFlat(bool Value) {
  flat_ = Value;
  UpdateButton();
}

void TSpeedButton::SetDown(bool Value) {
  if (groupIndex_ == 0) Value = false;
  if (down_ == Value) return;
  down_ = Value;
  UpdateButton();
}

void TSpeedButton::GlyphChanged(TObject*) {
  UpdateButton();
}

void TSpeedButton::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  UpdateButton();
}

// A grouped button stays down; the others of its group come up.
void TSpeedButton::UserClicked() {
  if (WindowHandle() == nullptr || ComponentState().Contains(csDestroying)) return;
  if (groupIndex_ != 0) {
    const bool next = allowAllUp_ ? !down_ : true;
    if (next && Parent() != nullptr) {
      for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other != nullptr && other != this && other->groupIndex_ == groupIndex_) {
          other->SetDown(false);
        }
      }
    }
    down_ = next;
    UpdateButton();
  }
  Click();
}

HWND TSpeedButton::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateSpeedButton(*this, ParentWidget);
}

void TSpeedButton::WidgetCreated() {
  inherited::WidgetCreated();
  UpdateButton();
}

void TSpeedButton::UpdateButton() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowSpeedButton(*this);
}
