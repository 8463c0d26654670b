#pragma once

// The standard controls: labels, group boxes, push buttons, check boxes, radio buttons
// and combo boxes.

#include <cstdint>
#include <string>

#include "toolkit/model/StoredStrings.h"
#include "toolkit/visual/Controls.h"

TOOLKIT_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
TOOLKIT_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
TOOLKIT_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
             csOwnerDrawVariable)
TOOLKIT_ENUM(TLeftRight, taLeftOfText, taRightOfText)

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = IDNO + 1;

// A text on the form; a control without focus. AutoSize fits it to its caption.
class TLabel : public TGraphicControl {
  TOOLKIT_CLASS(TLabel, TGraphicControl)

  explicit TLabel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* Value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout Value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool Value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  // The caption as shown, without the accelerator marks.
  std::string ShownCaption() const;

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void SiblingWindowCreated(TWinControl* Sibling) override;

 private:
  void AdjustBounds();
  void UpdateLabel();

  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  TWinControl* focusControl_ = nullptr;
  TTextLayout layout_ = tlTop;
  bool showAccelChar_ = true;
  bool transparent_ = false;
  bool wordWrap_ = false;
};

// A frame with a caption around a group of controls.
class TGroupBox : public TCustomControl {
  TOOLKIT_CLASS(TGroupBox, TCustomControl)

  explicit TGroupBox(TComponent* AOwner);

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  void AdjustClientRect(TRect& Rect) const override;
  void CMTextChanged(TMessage& Message) override;
  bool AcceptsFocus() const override { return false; }
};

// What push buttons, check boxes and radio buttons share.
class TButtonControl : public TWinControl {
  TOOLKIT_CLASS(TButtonControl, TWinControl)

  explicit TButtonControl(TComponent* AOwner);

 protected:
  bool ClicksFromWidget() const override { return true; }
  // While set, a change of the checked state by program does not click.
  bool clicksDisabled_ = false;
};

class TButton : public TButtonControl {
  TOOLKIT_CLASS(TButton, TButtonControl)

  explicit TButton(TComponent* AOwner);

  bool Cancel() const { return cancel_; }
  void SetCancel(bool Value) { cancel_ = Value; }
  bool Default() const { return default_; }
  void SetDefault(bool Value);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult Value) { modalResult_ = Value; }

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  void Dispatch(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

 private:
  void ShowDefault();

  bool cancel_ = false;
  bool default_ = false;
  TModalResult modalResult_ = mrNone;
};

// Checking it by program is a click: OnClick fires as for the user's click.
class TCheckBox : public TButtonControl {
  TOOLKIT_CLASS(TCheckBox, TButtonControl)

  explicit TCheckBox(TComponent* AOwner);

  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight Value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool Value);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState Value);

  // What the window reports: the user's click left the box in State.
  void UserToggled(TCheckBoxState State);

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  void CMTextChanged(TMessage& Message) override;

 private:
  // The box's state as its widget shows it, each part apart: the setters push what they change.
  void ShowAlignment();
  void ShowAllowGrayed();
  void ShowState();

  TLeftRight alignment_ = taRightOfText;
  bool allowGrayed_ = false;
  TCheckBoxState state_ = cbUnchecked;
};

// The radio buttons of one parent form one group: checking one unchecks the others.
class TRadioButton : public TButtonControl {
  TOOLKIT_CLASS(TRadioButton, TButtonControl)

  explicit TRadioButton(TComponent* AOwner);

  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight Value) { alignment_ = Value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool Value);

  // What the window reports: the user's click checked the button.
  void UserChecked();

 protected:
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  void CMTextChanged(TMessage& Message) override;

 private:
  void TurnSiblingsOff();
  void UpdateWidgetCheck();

  TLeftRight alignment_ = taRightOfText;
  bool checked_ = false;
};

class TCustomComboBox;

// A combo box's items: kept here and shown by its list. A sorted combo box adds a line at
// its place in the order, ignoring case; Insert puts a line where it is told.
class TComboBoxStrings : public TStoredStrings {
  TOOLKIT_CLASS(TComboBoxStrings, TStoredStrings)

  explicit TComboBoxStrings(TCustomComboBox* ComboBox) : comboBox_(ComboBox) {}

  int Add(const std::string& S) override;

 protected:
  void SetUpdateState(bool Updating) override;
  void LinesChanged(TLinesChange Change, int Index) override;

 private:
  friend class TCustomComboBox;

  TCustomComboBox* comboBox_;
};

// A drop-down list with an edit field. Its notifications come to it as CN_COMMAND:
// CBN_DROPDOWN when the list opens, CBN_SELENDOK (9) when the user confirms an entry
// of the open list, CBN_CLOSEUP (8) when the list closes. Escape on the open list is a key
// of the box (OnKeyDown, OnKeyPress) before it closes the list, with DroppedDown still true.
class TCustomComboBox : public TWinControl {
  TOOLKIT_CLASS(TCustomComboBox, TWinControl)

  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return items_; }
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  int ItemIndex() const;
  void SetItemIndex(int Value);
  bool DroppedDown() const { return droppedDown_; }
  void SetDroppedDown(bool Value);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int Value);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle Value);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int Value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value) { sorted_ = Value; }
  // The height of one line of the list, from the font; a value set is kept for
  // owner-drawn styles only, as the classic combo box keeps it.
  int ItemHeight() const;
  void SetItemHeight(int Value) { itemHeight_ = Value; }

  int SelStart() const;
  void SetSelStart(int Value);
  int SelLength() const;
  void SetSelLength(int Value);
  void SelectAll();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The text as the box keeps it, which its window shows; Text() is the window's while there is
  // one.
  const std::string& StoredText() const { return text_; }
  // The longest text the edit field takes.
  int EditLimit() const;

  // What the window reports: the list opened or closed (by the program or the user), the user
  // picked entry Index or edited the text, or pressed Escape on the open list (true: a key
  // handler consumed it, and the list stays open).
  void PopupShown();
  void PopupHidden(bool ByProgram);
  void UserActivated(int Index);
  void UserEdited();
  bool ListEscapePressed();

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

 protected:
  std::string GetText() const override;
  void SetTextValue(const std::string& Value) override;
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetDestroying() override;
  bool ColorIsTextBackground() const override { return true; }
  void CMFontChanged(TMessage& Message) override;
  void CNCommand(TMessage& Message) override;
  virtual void Change();
  virtual void DropDown();

 private:
  friend class TComboBoxStrings;

  // The widget shows what the box holds; each setter pushes what it changes.
  void ShowText();
  void ShowItemIndex();
  void ItemsChanged();
  void ShowDroppedDown(bool Value);
  void ShowDropDownCount();
  void ShowMaxLength();
  void FinishCloseUp();
  void AdjustHeight();

  TComboBoxStrings* items_;  // owned
  std::string text_;
  int itemIndex_ = -1;
  bool droppedDown_ = false;
  bool closeUpPending_ = false;
  int dropDownCount_ = 8;
  TComboBoxStyle style_ = csDropDown;
  int maxLength_ = 0;
  bool sorted_ = false;
  int selStart_ = 0;
  int selLength_ = 0;
  int itemHeight_ = 0;
};

class TComboBox : public TCustomComboBox {
  TOOLKIT_CLASS(TComboBox, TCustomComboBox)

  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
