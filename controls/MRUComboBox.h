#pragma once

// TCustomMRUComboBox: an edit field with a drop-down history of the values accepted last,
// newest first, and a button at its right edge.
//
// A value is committed when the user confirms it (Enter, a pick from the open list, leaving
// the field), when a program sets it (SetCurrentText, History, HistoryList, ApplyText) or
// when a descendant's dialog returns one. Committing trims the text, lets OnValidate accept,
// rewrite or refuse it, moves it to the top of the history (an entry equal to it ignoring the
// case of A-Z gives way; the oldest entry falls off a full history) and fires OnChange when
// the value changed other than in letter case. A refused text stays in the field while the
// user is in it, else the field shows the committed value again.
//
// History is the list as one text, ";" after every entry ("C:\Zav;C:\Tools;"): what a form
// description and the settings store keep. The button does nothing here; a click calls
// ButtonClick, which descendants fill. A TBitBtn (ButtonTabStop, the default) takes the
// focus, so the field is left and committed first; a TSpeedButton takes none. The kind is
// chosen at design time: a form description that stores ButtonTabStop = False gets a speed
// button once it is loaded.
//
// The control is never lower than DefaultHeight nor than its combo box (unless aligned to
// the top or bottom); the button is square at the right edge and the combo box stands
// centred beside it, 4 pixels apart.

#include <cstdint>
#include <string>

#include "controls/EditEx.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/Controls.h"

// A handler may rewrite Text and decides whether it is accepted (Valid starts true).
TOOLKIT_EVENT(TOnValidate, void(TObject* Sender, std::string& Text, bool& Valid));

TOOLKIT_ENUM(TMRUComboBoxStateFlag, msHistoryAssigned, msChangeReported)
TOOLKIT_SET(TMRUComboBoxState, TMRUComboBoxStateFlag)

class TCustomMRUComboBox : public TWinControl {
  TOOLKIT_CLASS(TCustomMRUComboBox, TWinControl)

  explicit TCustomMRUComboBox(TComponent* AOwner);
  ~TCustomMRUComboBox() override;

  // The inner edit field and history list, and the button: sub-controls owned by this one.
  TComboBoxEx* ComboBox() const { return comboBox_; }
  TControl* Button() const { return button_; }

  // Closes an open list and commits the edited text. False when the text was refused; true
  // when it was accepted or nothing new was there to commit.
  bool ApplyText();

  std::string ButtonCaption() const;
  void SetButtonCaption(const std::string& Value);
  // The button's own glyph (null for a button of neither kind); assigning copies the bitmap.
  TBitmap* ButtonGlyph() const;
  void SetButtonGlyph(TBitmap* Value);
  std::string ButtonHint() const;
  void SetButtonHint(const std::string& Value);
  // What a screen reader calls the button (a "..." says nothing).
  std::string ButtonAccessibleName() const;
  void SetButtonAccessibleName(const std::string& Value);
  void SetAccessibleName(const std::string& Value) override;
  void SetHint(const std::string& Value) override;
  TNumGlyphs ButtonNumGlyphs() const;
  void SetButtonNumGlyphs(TNumGlyphs Value);
  bool ButtonTabStop() const { return buttonTabStop_; }
  // Only while the control is read from a form description or designed: else Exception.
  void SetButtonTabStop(bool Value);
  bool ButtonVisible() const;
  void SetButtonVisible(bool Value);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int Value);
  int DropDownCount() const;
  void SetDropDownCount(int Value);
  std::string History() const;
  void SetHistory(const std::string& Value);
  TStrings* HistoryList() const;
  void SetHistoryList(TStrings* Value);
  int HistoryListCount() const { return historyListCount_; }
  void SetHistoryListCount(int Value);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // The control's focus is its edit field's.
  void SetFocus() override;

  TNotifyEvent OnChange;
  TOnValidate OnValidate;
  // OnEnter and OnExit (TWinControl's) tell when the edit field gets and loses the focus.

 protected:
  // The last committed value, always trimmed.
  const std::string& CommittedText() const { return committedText_; }
  // Puts Value into the field and commits it, unless it is the committed value already.
  void SetCurrentText(const std::string& Value);
  // The heart of the control (see the header comment); false when the text was refused.
  bool CommitText();

  virtual void ArrangeControls();
  virtual void Change();
  virtual void Validate(std::string& Text, bool& Valid);
  virtual void ButtonClick();

  // The control's Text is its edit field's: what is typed there, committed or not.
  std::string GetText() const override;
  void SetTextValue(const std::string& Value) override;

  void Loaded() override;
  void CreateWnd() override;
  void DoEnter() override;
  void DoExit() override;
  bool AcceptsFocus() const override { return false; }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;

 private:
  // Body(button) with the button as a TBitBtn or a TSpeedButton; nothing for one of neither kind.
  template <class F>
  void WithButtonOfKnownKind(F&& Body) const;
  void CreateButton(const std::string& Caption, bool Visible);
  void TrimHistory();
  void HistoryChanged();

  void ButtonClicked(TObject* Sender);
  void ComboEnter(TObject* Sender);
  void ComboExit(TObject* Sender);
  void ComboKeyPress(TObject* Sender, char& Key);
  void ComboSelectionOK(TObject* Sender);

  TComboBoxEx* comboBox_ = nullptr;
  TControl* button_ = nullptr;
  bool hasFocus_ = false;
  std::int32_t commitLock_ = 0;
  TMRUComboBoxState mruState_;
  bool buttonTabStop_ = true;
  std::int32_t defaultHeight_ = 24;
  std::int32_t historyListCount_ = 0;
  std::string committedText_;
};
