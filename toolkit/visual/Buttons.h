#pragma once

// Buttons with a glyph: TBitBtn, a push button that takes the focus and knows the
// standard kinds (OK, Cancel, ...), and TSpeedButton, a button that takes no focus.

#include "toolkit/visual/Graphics.h"
#include "toolkit/visual/StdCtrls.h"

TOOLKIT_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
             bkIgnore, bkAll)
TOOLKIT_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)

// The number of images side by side in a glyph (up, disabled, down, held down): 1 to 4.
enum TNumGlyphs : std::int32_t {};
PTypeInfo TypeInfoOf(const TNumGlyphs*);

class TBitBtn : public TButton {
  TOOLKIT_CLASS(TBitBtn, TButton)

  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind Value);
  TBitmap* Glyph() const { return glyph_; }
  void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
  TNumGlyphs NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return margin_; }
  void SetMargin(int Value) { margin_ = Value; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value) { spacing_ = Value; }

  void Click() override;

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;

 private:
  bool IsCustomCaption() const;
  void GlyphChanged(TObject* Sender);
  // The glyph, else the standard kind's icon.
  void UpdateIcon();
  void ShowLayout();

  TBitBtnKind kind_ = bkCustom;
  TBitmap* glyph_;
  TNumGlyphs numGlyphs_ = static_cast<TNumGlyphs>(1);
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

class TSpeedButton : public TGraphicControl {
  TOOLKIT_CLASS(TSpeedButton, TGraphicControl)

  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  TBitmap* Glyph() const { return glyph_; }
  void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
  TNumGlyphs NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs Value);
  bool Flat() const { return flat_; }
  void SetFlat(bool Value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int Value) { groupIndex_ = Value; }
  bool Down() const { return down_; }
  void SetDown(bool Value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool Value) { allowAllUp_ = Value; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout Value) { layout_ = Value; }
  int Margin() const { return margin_; }
  void SetMargin(int Value) { margin_ = Value; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value) { spacing_ = Value; }

  bool ClicksFromWidget() const override { return true; }
  // What the window reports: the user clicked the button.
  void UserClicked();

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  void CMTextChanged(TMessage& Message) override;

 private:
  void GlyphChanged(TObject* Sender);
  void UpdateButton();

  TBitmap* glyph_;
  TNumGlyphs numGlyphs_ = static_cast<TNumGlyphs>(1);
  bool flat_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};
