#include "toolkit/visual/ControlWidgets.h"

#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ComCtrls.h"
#include "toolkit/visual/ExtCtrls.h"
#include "toolkit/visual/StdCtrls.h"

// A backend without a window class of its own for a control gives it a plain window.

HWND TControlWidgets::CreateLabel(TLabel& Label, HWND Parent) {
  return CreatePlainWindow(Label, Parent);
}

HWND TControlWidgets::CreateGroupBox(TGroupBox& Box, HWND Parent) {
  return CreatePlainWindow(Box, Parent);
}

HWND TControlWidgets::CreateButton(TButton& Button, HWND Parent) {
  return CreatePlainWindow(Button, Parent);
}

// A bitmap button is a push button with a glyph.
HWND TControlWidgets::CreateBitBtn(TBitBtn& Button, HWND Parent) {
  return CreateButton(Button, Parent);
}

HWND TControlWidgets::CreateSpeedButton(TSpeedButton& Button, HWND Parent) {
  return CreatePlainWindow(Button, Parent);
}

HWND TControlWidgets::CreateCheckBox(TCheckBox& Box, HWND Parent) {
  return CreatePlainWindow(Box, Parent);
}

HWND TControlWidgets::CreateRadioButton(TRadioButton& Button, HWND Parent) {
  return CreatePlainWindow(Button, Parent);
}

HWND TControlWidgets::CreatePanel(TCustomPanel& Panel, HWND Parent) {
  return CreatePlainWindow(Panel, Parent);
}

HWND TControlWidgets::CreateRichEdit(TRichEdit& Edit, HWND Parent) {
  return CreatePlainWindow(Edit, Parent);
}

HWND TControlWidgets::CreateComboBox(TCustomComboBox& Box, HWND Parent) {
  return CreatePlainWindow(Box, Parent);
}

// Without a list to show, the list opens and closes when the program asks, with the
// notifications a shown list would send.
void TControlWidgets::ShowComboBoxDroppedDown(TCustomComboBox& Box, bool DroppedDown) {
  if (DroppedDown) {
    Box.Perform(CN_COMMAND, MakeWParam(0, CBN_DROPDOWN));
    Box.PopupShown();
  } else {
    Box.PopupHidden(true);
  }
}
