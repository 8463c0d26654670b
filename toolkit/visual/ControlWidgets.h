#pragma once

// What a control's window must do: the contract between the controls and a backend (the widget
// system that shows them). The controls keep their state themselves and decide everything; a
// backend makes and frees their windows, shows what it is told, and reports what the user does
// through the controls' public "window reports" members.
//
// A backend derives from TWidgetSet (forms/WidgetSet.h, which adds the forms, the application
// and the event loop to this) and overrides what it has to do. The members below without a body
// are what every backend must do; a backend that leaves one out does not compile, and the
// compiler names the member. Every other member has a default that is right for a backend that
// shows nothing: a new control's members come with such defaults, so a backend with nothing to
// show for it needs no edit.
//
// When a control's window is made (TControl::CreateView), the control asks for it through its
// class's Create member, then shows its bounds, colours and hint, then its own state
// (TControl::WidgetCreated). When it goes (TControl::DestroyView), the control takes back what
// only the window knew (WidgetDestroying), forgets the handle, and then has it freed.

#include <functional>
#include <optional>
#include <string>

#include "toolkit/visual/Controls.h"

class TBitBtn;
class TButton;
class TCheckBox;
class TCustomComboBox;
class TCustomPanel;
class TGroupBox;
class TLabel;
class TRadioButton;
class TRichEdit;
class TSpeedButton;

// The selected part of an edit field's text.
struct TTextSelection {
  int Start = 0;
  int Length = 0;
};

class TControlWidgets {
 public:
  virtual ~TControlWidgets() = default;

  // --- Every control ---

  // A plain window for Control inside Parent (null: a top-level window): what a control with
  // nothing of its own to show gets, and what every Create member below makes by default.
  virtual HWND CreatePlainWindow(TControl& Control, HWND Parent) = 0;
  // Frees a window its control no longer names; nothing it reports while it goes reaches the
  // control. Child windows are freed before their parents.
  virtual void DestroyWindow(HWND Window) = 0;
  // The control whose window (or a window inside it) this is; null for none.
  virtual TControl* FindControl(HWND Window) = 0;
  // The size of Text in Font, as the control would show it.
  virtual TPoint TextExtent(const TFont& Font, const std::string& Text) = 0;
  // Runs Call later, from the event loop, unless Window is freed first.
  virtual void PostToWindow(HWND Window, std::function<void()> Call) = 0;

  // The window's position, size, enabled and shown state, from the control's.
  virtual void ShowBounds(TControl&) {}
  // The window's font, colours and cursor.
  virtual void ShowColors(TControl&) {}
  // The hint: a tooltip where ShowHint says, and the description for assistive technology.
  virtual void ShowHint(TControl&) {}
  // The name assistive technology gives the control (TControl::AccessibleName).
  virtual void ShowAccessibleName(TControl&) {}
  // Paints the window later, or at once.
  virtual void Invalidate(TControl&) {}
  virtual void Update(TControl&) {}

  // --- Windowed controls ---

  // Whether the keyboard is in Control's window.
  virtual bool Focused(const TWinControl& Control) = 0;
  // Puts the keyboard in Control's window, as a click would or as Tab (forward or back) would.
  virtual void SetFocus(TWinControl& Control) = 0;
  virtual void SetFocusByTab(TWinControl& Control, bool) { SetFocus(Control); }
  // Whether the window takes the focus by Tab, by a click, or not at all.
  virtual void ShowFocusPolicy(TWinControl&) {}

  // --- The standard controls ---

  virtual HWND CreateLabel(TLabel& Label, HWND Parent);
  // The caption as shown, its alignment, layout, wrapping and transparency, and its link to
  // the control it names (FocusControl), once that control has a window.
  virtual void ShowLabel(TLabel&) {}

  virtual HWND CreateGroupBox(TGroupBox& Box, HWND Parent);
  virtual void ShowGroupBoxCaption(TGroupBox&) {}

  virtual HWND CreateButton(TButton& Button, HWND Parent);
  virtual void ShowButtonCaption(TButton&) {}
  virtual void ShowButtonDefault(TButton&) {}

  virtual HWND CreateBitBtn(TBitBtn& Button, HWND Parent);
  // The glyph, else the standard kind's icon.
  virtual void ShowBitBtnGlyph(TBitBtn&) {}
  virtual void ShowBitBtnLayout(TBitBtn&) {}

  virtual HWND CreateSpeedButton(TSpeedButton& Button, HWND Parent);
  // Caption, glyph, flatness and the down state.
  virtual void ShowSpeedButton(TSpeedButton&) {}

  virtual HWND CreateCheckBox(TCheckBox& Box, HWND Parent);
  virtual void ShowCheckBoxCaption(TCheckBox&) {}
  virtual void ShowCheckBoxAlignment(TCheckBox&) {}
  // Before the state: a box shows a grayed state only when it allows one.
  virtual void ShowCheckBoxAllowGrayed(TCheckBox&) {}
  virtual void ShowCheckBoxState(TCheckBox&) {}

  virtual HWND CreateRadioButton(TRadioButton& Button, HWND Parent);
  virtual void ShowRadioButtonCaption(TRadioButton&) {}
  virtual void ShowRadioButtonChecked(TRadioButton&) {}

  virtual HWND CreatePanel(TCustomPanel& Panel, HWND Parent);

  virtual HWND CreateRichEdit(TRichEdit& Edit, HWND Parent);
  // One line added at the end, or all of them again.
  virtual void ShowRichEditAppendedLine(TRichEdit&, const std::string&) {}
  virtual void ShowRichEditLines(TRichEdit&) {}
  // Read-only, wrapping and scroll bars.
  virtual void ShowRichEditOptions(TRichEdit&) {}

  // A combo box's window made with the box's items, index, text, list length and edit limit.
  virtual HWND CreateComboBox(TCustomComboBox& Box, HWND Parent);
  // The text in the edit field as the user left it; none: the box's own is the text.
  virtual std::optional<std::string> ComboBoxText(const TCustomComboBox&) { return std::nullopt; }
  virtual void ShowComboBoxText(TCustomComboBox&) {}
  virtual void ShowComboBoxItemIndex(TCustomComboBox&) {}
  virtual void ShowComboBoxItems(TCustomComboBox&) {}
  // Opens or closes the list; the window reports it as the user's opening and closing would.
  virtual void ShowComboBoxDroppedDown(TCustomComboBox& Box, bool DroppedDown);
  virtual void ShowComboBoxDropDownCount(TCustomComboBox&) {}
  virtual void ShowComboBoxMaxLength(TCustomComboBox&) {}
  // The selection in the edit field as the user left it; none: the box's own is the selection.
  virtual std::optional<TTextSelection> ComboBoxSelection(const TCustomComboBox&) {
    return std::nullopt;
  }
  virtual void ShowComboBoxSelection(TCustomComboBox&, TTextSelection) {}
  virtual void SelectAllComboBoxText(TCustomComboBox&) {}
};

// The backend's controls side: the widget set the program is linked with.
TControlWidgets& ControlWidgets();
