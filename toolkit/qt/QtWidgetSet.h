#pragma once

// The Qt widget set: every member of the contract (forms/WidgetSet.h) that has something to
// show. Its members are defined in the file of the control they serve (CheckBoxWidget.cpp
// holds the check box's), the event loop's in WidgetSystem.cpp.

#include "toolkit/forms/WidgetSet.h"

class TQtWidgetSet final : public TWidgetSet {
 public:
  // Every control (ControlWidget.cpp)
  HWND CreatePlainWindow(TControl& Control, HWND Parent) override;
  void DestroyWindow(HWND Window) override;
  TControl* FindControl(HWND Window) override;
  TPoint TextExtent(const TFont& Font, const std::string& Text) override;
  void PostToWindow(HWND Window, std::function<void()> Call) override;
  void ShowBounds(TControl& Control) override;
  void ShowColors(TControl& Control) override;
  void ShowHint(TControl& Control) override;
  void ShowAccessibleName(TControl& Control) override;
  void Invalidate(TControl& Control) override;
  void Update(TControl& Control) override;
  bool Focused(const TWinControl& Control) override;
  void SetFocus(TWinControl& Control) override;
  void SetFocusByTab(TWinControl& Control, bool Forward) override;
  void ShowFocusPolicy(TWinControl& Control) override;

  // LabelWidget.cpp, GroupBoxWidget.cpp
  HWND CreateLabel(TLabel& Label, HWND Parent) override;
  void ShowLabel(TLabel& Label) override;
  HWND CreateGroupBox(TGroupBox& Box, HWND Parent) override;
  void ShowGroupBoxCaption(TGroupBox& Box) override;

  // ButtonWidget.cpp, SpeedButtonWidget.cpp
  HWND CreateButton(TButton& Button, HWND Parent) override;
  void ShowButtonCaption(TButton& Button) override;
  void ShowButtonDefault(TButton& Button) override;
  HWND CreateBitBtn(TBitBtn& Button, HWND Parent) override;
  void ShowBitBtnGlyph(TBitBtn& Button) override;
  void ShowBitBtnLayout(TBitBtn& Button) override;
  HWND CreateSpeedButton(TSpeedButton& Button, HWND Parent) override;
  void ShowSpeedButton(TSpeedButton& Button) override;

  // CheckBoxWidget.cpp, RadioButtonWidget.cpp
  HWND CreateCheckBox(TCheckBox& Box, HWND Parent) override;
  void ShowCheckBoxCaption(TCheckBox& Box) override;
  void ShowCheckBoxAlignment(TCheckBox& Box) override;
  void ShowCheckBoxAllowGrayed(TCheckBox& Box) override;
  void ShowCheckBoxState(TCheckBox& Box) override;
  HWND CreateRadioButton(TRadioButton& Button, HWND Parent) override;
  void ShowRadioButtonCaption(TRadioButton& Button) override;
  void ShowRadioButtonChecked(TRadioButton& Button) override;

  // PanelWidget.cpp, RichEditWidget.cpp
  HWND CreatePanel(TCustomPanel& Panel, HWND Parent) override;
  HWND CreateRichEdit(TRichEdit& Edit, HWND Parent) override;
  void ShowRichEditAppendedLine(TRichEdit& Edit, const std::string& Line) override;
  void ShowRichEditLines(TRichEdit& Edit) override;
  void ShowRichEditOptions(TRichEdit& Edit) override;

  // ComboBoxWidget.cpp
  HWND CreateComboBox(TCustomComboBox& Box, HWND Parent) override;
  std::optional<std::string> ComboBoxText(const TCustomComboBox& Box) override;
  void ShowComboBoxText(TCustomComboBox& Box) override;
  void ShowComboBoxItemIndex(TCustomComboBox& Box) override;
  void ShowComboBoxItems(TCustomComboBox& Box) override;
  void ShowComboBoxDroppedDown(TCustomComboBox& Box, bool DroppedDown) override;
  void ShowComboBoxDropDownCount(TCustomComboBox& Box) override;
  void ShowComboBoxMaxLength(TCustomComboBox& Box) override;
  std::optional<TTextSelection> ComboBoxSelection(const TCustomComboBox& Box) override;
  void ShowComboBoxSelection(TCustomComboBox& Box, TTextSelection Selection) override;
  void SelectAllComboBoxText(TCustomComboBox& Box) override;

  // WidgetSystem.cpp
  void StartWidgetSystem() override;
  bool WidgetSystemRunning() const override;
  void StopWidgetSystem() override;
  void ProcessEvents() override;
  void WaitForEvent() override;
  void WhenModalWindowShown(const std::string& Name, std::function<void(HWND)> Action) override;
  void CloseWindow(HWND Window) override;
  void Wake() override;
  void UseOffscreen() override;
  void UseHeadless() override;
  bool SaveWindowPicture(HWND Window, const std::string& Path) override;

  // QtPresenter.cpp
  std::unique_ptr<TPresenter> CreatePresenter() override;

  // FormWindow.cpp
  HWND CreateFormWindow(TCustomForm& Form) override;
  void ShowFormFrame(TCustomForm& Form) override;
  void ShowFormCaption(TCustomForm& Form) override;
  void ShowFormBounds(TCustomForm& Form) override;
  void ShowFormWindowState(TCustomForm& Form) override;
  void ShowFormShown(TCustomForm& Form, bool Shown) override;
  void ActivateFormWindow(TCustomForm& Form) override;
  void MoveFocusOutOf(TCustomForm& Form, TWinControl& Control) override;

  // ApplicationWindows.cpp, QtScreen.cpp
  HWND CreateApplicationWindow(TApplication& App) override;
  bool DisableFormWindow(TCustomForm& Form) override;
  void EnableFormWindow(TCustomForm& Form) override;
  void ShowScreenCursor(TCursor Previous, TCursor Cursor) override;
  TPoint ScreenSize() override;
  TCustomForm* ActiveForm() override;
};
