#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/ControlWidgets.h"

namespace {

struct KindInfo {
  const char* caption;
  TModalResult result;
};

KindInfo InfoOf(TBitBtnKind kind) {
  switch (kind) {
    case bkOK:
      return {"OK", mrOk};
    case bkCancel:
      return {"Cancel", mrCancel};
    case bkHelp:
      return {"&Help", mrNone};
    case bkYes:
      return {"&Yes", mrYes};
    case bkNo:
      return {"&No", mrNo};
    case bkClose:
      return {"&Close", mrNone};
    case bkAbort:
      return {"Abort", mrAbort};
    case bkRetry:
      return {"&Retry", mrRetry};
    case bkIgnore:
      return {"&Ignore", mrIgnore};
    case bkAll:
      return {"&All", mrAll};
    case bkCustom:
      break;
  }
  return {"", mrNone};
}

}  // namespace

PTypeInfo TypeInfoOf(const TNumGlyphs*) {
  static const TTypeInfo info = [] {
    TTypeInfo numGlyphs = MakeIntegerTypeInfo("TNumGlyphs");
    numGlyphs.MinValue = 1;
    numGlyphs.MaxValue = 4;
    return numGlyphs;
  }();
  return &info;
}

TClass TBitBtn::StaticClass() {
  return DefineClass<TBitBtn>("TBitBtn", [](ClassBuilder<TBitBtn>& c) {
    c.Property("Caption", &TBitBtn::Caption, &TBitBtn::SetCaption)
        .TypeName("TCaption")
        .Stored(&TBitBtn::IsCustomCaption);
    c.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
    c.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    c.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
    c.Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
    c.Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
        .Default(static_cast<TNumGlyphs>(1));
    c.Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
  });
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), glyph_(new TBitmap) {
  glyph_->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

TBitBtn::~TBitBtn() {
  if (HandleAllocated()) DestroyView();
  delete glyph_;
}

// A standard kind brings its caption (unless one is being read), modal result and glyph.
void TBitBtn::SetKind(TBitBtnKind Value) {
  if (kind_ == Value) return;
  kind_ = Value;
  if (Value != bkCustom) {
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
    const KindInfo info = InfoOf(Value);
    if (!ComponentState().Contains(csLoading) || Caption().empty()) SetCaption(info.caption);
    SetModalResult(info.result);
  }
  UpdateIcon();
}

bool TBitBtn::IsCustomCaption() const {
  return kind_ == bkCustom || Caption() != InfoOf(kind_).caption;
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value) {
  numGlyphs_ = static_cast<TNumGlyphs>(std::clamp(static_cast<int>(Value), 1, 4));
  UpdateIcon();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  layout_ = Value;
  ShowLayout();
}

void TBitBtn::GlyphChanged(TObject*) {
  UpdateIcon();
}

// A Close button closes its form.
void TBitBtn::Click() {
  if (kind_ == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      inherited::Click();
      form->Close();
      return;
    }
  }
  inherited::Click();
}

HWND TBitBtn::CreateWidget(HWND ParentWidget) {
  return ControlWidgets().CreateBitBtn(*this, ParentWidget);
}

void TBitBtn::WidgetCreated() {
  inherited::WidgetCreated();
  UpdateIcon();
  ShowLayout();
}

void TBitBtn::UpdateIcon() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowBitBtnGlyph(*this);
}

void TBitBtn::ShowLayout() {
  if (TControlWidgets* widgets = Widgets()) widgets->ShowBitBtnLayout(*this);
}
