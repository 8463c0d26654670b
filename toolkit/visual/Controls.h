#pragma once

// Controls: TControl (a visible part of a form with bounds, alignment, caption,
// colour, font and cursor), TWinControl (a control with a window of its own that
// holds child controls and takes the focus) and TGraphicControl (a control without
// focus drawn inside its parent).
//
// Each control keeps its state itself; its window is made by the backend the program is
// linked with (ControlWidgets.h) when it is first needed, and follows that state. Geometry is
// absolute, as form descriptions give it. A control's widget belongs to that control alone: a
// parent frees its children's widgets before its own, and a widget is never freed behind its
// control's back.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/model/Component.h"
#include "toolkit/model/Events.h"
#include "toolkit/visual/Graphics.h"
#include "toolkit/visual/Messages.h"

class TWinControl;
class TCustomForm;
class TControlWidgets;

TOOLKIT_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
TOOLKIT_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
TOOLKIT_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csDesignInteractive,
             csClickEvents, csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth,
             csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents)
TOOLKIT_SET(TControlStyle, TControlStyleFlag)
TOOLKIT_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
TOOLKIT_SET(TShiftState, TShiftStateFlag)

// A handler may consume the key by setting it to 0.
TOOLKIT_EVENT(TKeyPressEvent, void(TObject* Sender, char& Key));
TOOLKIT_EVENT(TKeyEvent, void(TObject* Sender, std::uint16_t& Key, TShiftState Shift));

TOOLKIT_EXCEPTION(EInvalidOperation, Exception);

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint {
  int X = 0;
  int Y = 0;
};

class TControl : public TComponent {
  TOOLKIT_CLASS(TControl, TComponent)

  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
  void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
  void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
  void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
  // Every change of position and size comes through here.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  // The inside, in the control's own coordinates.
  virtual TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
  virtual void SetClientSize(int AWidth, int AHeight);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign Value);

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a form showing.
  virtual bool Showing() const;

  // Caption and Text are the same window text.
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& Value);

  // The hint shows as a tooltip where ShowHint says, and is the control's description for
  // assistive technology (a screen reader) in any case.
  const std::string& Hint() const { return hint_; }
  virtual void SetHint(const std::string& Value);
  // What a screen reader calls the control where its caption does not say it (a combo box, an
  // edit field, a button with a glyph); empty: the caption, or the label whose FocusControl it is.
  const std::string& AccessibleName() const { return accessibleName_; }
  virtual void SetAccessibleName(const std::string& Value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool Value);

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool Value);
  TFont* Font() const { return font_; }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }

  // Sends a message to the control and returns its result.
  std::intptr_t Perform(std::uint32_t Msg, std::intptr_t WParam = 0, std::intptr_t LParam = 0);
  virtual void WndProc(TMessage& Message);
  // Hands a message to its named handler; a subclass handles further ones here.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // Fires OnClick; buttons and check boxes call it for the user's clicks too.
  virtual void Click();

  // What the window asks: whether the widget's own clicks (buttons) rather than mouse releases
  // make OnClick, and whether the colour is the background of text (edits, lists).
  virtual bool ClicksFromWidget() const { return false; }
  virtual bool ColorIsTextBackground() const { return false; }

  // The control's widget, null until its window is needed.
  HWND WindowHandle() const { return widget_; }
  void Invalidate();
  // Paints pending changes now.
  void Update();
  void Repaint();
  // The size of Text in the control's font.
  TPoint TextExtent(const std::string& Text) const;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void SetName(const std::string& NewName) override;

  TNotifyEvent OnClick;

 protected:
  void Loaded() override;

  virtual std::string GetText() const { return text_; }
  virtual void SetTextValue(const std::string& Value);

  // Asks the backend for the window inside ParentWidget (null: a window of its own).
  virtual HWND CreateWidget(HWND ParentWidget);
  // Pushes the control's own state to its freshly created widget.
  virtual void WidgetCreated() {}
  // Called while the widget is still there, before it goes: the control takes back what only
  // the widget knew.
  virtual void WidgetDestroying() {}
  // Makes the widget, or with TWinControl the window and its children's.
  virtual void CreateView();
  virtual void DestroyView();
  // The widget's position and size from the control's bounds.
  virtual void UpdateWidgetBounds();
  void UpdateWidgetColors();
  // The backend, while the control has a window to show things in; null while it has none.
  TControlWidgets* Widgets() const;
  // A sibling's window was made: a label that names it links to it now.
  virtual void SiblingWindowCreated(TWinControl*) {}

  virtual void RequestAlign();
  virtual void Resize() {}
  bool ParentCaptionChangeAllowed() const;

  // Message handlers, each called by Dispatch for its message.
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMCursorChanged(TMessage& Message);
  virtual void CMShowHintChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);

  bool IsColorStored() const { return !parentColor_; }
  bool IsFontStored() const { return !parentFont_; }
  bool IsShowHintStored() const { return !parentShowHint_; }

  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};

 private:
  friend class TWinControl;

  void FontChanged(TObject* Sender);
  void UpdateWidgetHint();

  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = alNone;
  bool enabled_ = true;
  bool visible_ = true;
  std::string text_;
  std::string hint_;
  std::string accessibleName_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont* font_;
  bool parentFont_ = true;
  bool updatingParentFont_ = false;
  TCursor cursor_ = crDefault;
  HWND widget_ = nullptr;
};

class TWinControl : public TControl {
  TOOLKIT_CLASS(TWinControl, TControl)

  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // Sends a message to every child control.
  void Broadcast(TMessage& Message);
  void NotifyControls(std::uint32_t Msg);

  // The control's place in its parent's tab order; -1 without a parent.
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool Value);
  // The windowed children in tab order, depth first: what Tab walks through.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // The window, made when first needed (with its parent's and its children's).
  HWND Handle();
  bool HandleAllocated() const { return WindowHandle() != nullptr; }
  void HandleNeeded();
  void RecreateWnd();

  bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  void DisableAlign();
  void EnableAlign();
  void Realign();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyDown;

  // Called by the toolkit when the user presses a key in this control. True when
  // the key was consumed.
  bool HandleKeyDown(std::uint16_t Key, TShiftState Shift);
  bool HandleKeyPress(char Key);
  // What the window asks: whether the focus may come here by Tab or a click (false for group
  // boxes and panels).
  virtual bool AcceptsFocus() const { return true; }

 protected:
  void Loaded() override;

  // Creates the window itself; the children's windows follow.
  virtual void CreateWnd();
  virtual void DestroyWnd();
  void CreateHandle();
  void DestroyHandle();
  void CreateView() override;
  void DestroyView() override;
  void WidgetCreated() override;

  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyPress(char& Key);
  virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);

  // Places the aligned children in the client rectangle.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  // The part of the client area aligned children share (less frames and captions).
  virtual void AdjustClientRect(TRect& Rect) const;
  void RequestAlign() override;
  void UpdateFocusPolicy();

  void Dispatch(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMShowHintChanged(TMessage& Message) override;
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CNCommand(TMessage& Message);

 private:
  friend class TControl;

  void FixupTabList();
  void AlignControl(TControl* AControl);
  // The control is leaving its form or can no longer take the focus: the form moves it out.
  void RemoveFocus();
  // The focus as Tab brings it: an edit field selects its whole text, as on the classic desktop.
  void TakeFocusByTab(bool GoForward);

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  int tabOrder_ = -1;  // as read from a form description, until the parent sorts its list
  bool tabStop_ = false;
  int alignLevel_ = 0;
  bool alignNeeded_ = false;
};

// A control without a window of its own: it takes no focus.
class TGraphicControl : public TControl {
  TOOLKIT_CLASS(TGraphicControl, TControl)

  explicit TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
};

// A windowed control that draws itself, such as a panel.
class TCustomControl : public TWinControl {
  TOOLKIT_CLASS(TCustomControl, TWinControl)

  explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
};

// The form a control is placed on; null when it is on none.
TCustomForm* GetParentForm(const TControl* Control);
// The control whose widget (or a widget inside it) this is; null for none.
TControl* FindControl(HWND Widget);
