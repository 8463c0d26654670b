#pragma once

// TComboBoxEx: the toolkit's combo box with a background that follows its enabled state
// (AutoColor) and two of its list notifications as events: the list closed (OnCloseUp) and
// the user confirmed an entry of the list (OnSelectionOK). Both events come after the
// toolkit's own handling of the notification.
//
// AutoColor switches between the two colours only: the window colour the box had when it
// was made (clWindow) while enabled, clBtnFace while disabled. Any other colour set for the
// box stays as it is whatever happens to Enabled.

#include "toolkit/visual/StdCtrls.h"

class TComboBoxEx : public TComboBox {
  TOOLKIT_CLASS(TComboBoxEx, TComboBox)

  explicit TComboBoxEx(TComponent* AOwner);

  bool AutoColor() const { return autoColor_; }
  void SetAutoColor(bool Value);

  TNotifyEvent OnCloseUp;
  TNotifyEvent OnSelectionOK;

 protected:
  void Loaded() override;
  virtual void CloseUp();
  virtual void SelectionOK();
  void CMEnabledChanged(TMessage& Message) override;
  void CNCommand(TMessage& Message) override;

 private:
  void UpdateAutoColor();

  TColor enabledColor_;
  TColor disabledColor_ = clBtnFace;
  bool autoColor_ = true;
};
