#pragma once

// Driving forms in tests with real Qt input events on the offscreen platform: build a
// form from a description, show it, click, type, tab, drop a combo box's list down and
// pick from it, and save a screenshot. Each action lets pending events through.

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/forms/Forms.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/StdCtrls.h"

namespace toolkit_test {

// Chooses Qt's offscreen platform unless QT_QPA_PLATFORM is set or SETUP_TEST_DISPLAY asks
// for the display. Call before the first window is made (the test main does).
void SelectTestPlatform();

// A form of class F (TForm by default) owned by the application, built from Description.
template <class F = TForm>
F* BuildForm(std::string_view Description) {
  Application->Initialize();
  auto* form = new F(Application);
  ScopeExit freeForm([form] { form->Free(); });
  form->ReadForm(Description);
  freeForm.Dismiss();
  return form;
}

// Shows the form and makes it the active window, so that it has the keyboard.
void ShowForm(TCustomForm* Form);
void ProcessEvents();

// A left click in the middle of the control (or at X, Y in it).
void Click(TControl* Control);
void ClickAt(TControl* Control, int X, int Y);
// Performs the control's one action as assistive technology does (a screen reader's "toggle" of
// a check box); false when the control offers none.
bool DoAccessibleAction(TControl* Control);
// What assistive technology reads of the control: its name and its description.
std::string AccessibleNameOf(TControl* Control);
std::string AccessibleDescriptionOf(TControl* Control);
// Key presses go where the keyboard is: an open list, else the focused control.
void TypeText(const std::string& Text);
void PressEnter();
void PressEscape();
void PressTab(bool Backward = false);
void PressDown();
// Opens the list with the keyboard (F4), as a user does.
void DropDownWithKey(TCustomComboBox* ComboBox);
// Clicks an entry of the open list.
void ClickListItem(TCustomComboBox* ComboBox, int Index);

// What a user does to the window through the window manager: move it (its frame's top left
// to X, Y), resize its client area, maximize, minimize or restore it.
void MoveWindow(TCustomForm* Form, int X, int Y);
void ResizeClientArea(TCustomForm* Form, int Width, int Height);
void ChangeWindowState(TCustomForm* Form, TWindowState State);

// Whether the form's window takes input (a modal dialog disables it meanwhile).
bool WindowAcceptsInput(TCustomForm* Form);

// The control that has the keyboard focus, or null.
TWinControl* FocusedControl();

// The shape of the mouse cursor over every window (the screen's cursor) and over Control (its
// own), as a number of the widget system's; -1 while none is set.
int ScreenCursorShape();
int CursorShapeOf(TControl* Control);

// Saves the window's picture as a PNG file; false when it could not be written.
bool SaveScreenshot(TCustomForm* Form, const std::string& Path);

// The darkest colour painted inside Area of the control (its own coordinates), as an RGB value
// with red in the low byte (ColorToRGB's form): in a field of text, the colour of its text.
std::uint32_t DarkestColorIn(TControl* Control, const TRect& Area);

}  // namespace toolkit_test
