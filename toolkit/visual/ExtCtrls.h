#pragma once

// Panels: a plain container with bevels and an optional centred caption.

#include "toolkit/visual/Controls.h"

TOOLKIT_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace)

class TCustomPanel : public TCustomControl {
  TOOLKIT_CLASS(TCustomPanel, TCustomControl)

  explicit TCustomPanel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel Value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int Value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int Value);

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void AdjustClientRect(TRect& Rect) const override;
  void CMTextChanged(TMessage& Message) override;
  bool AcceptsFocus() const override { return false; }

 private:
  void Changed();

  TAlignment alignment_ = taCenter;
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
};

class TPanel : public TCustomPanel {
  TOOLKIT_CLASS(TPanel, TCustomPanel)

  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};
