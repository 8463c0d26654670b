#pragma once

// Window handles and messages as the classic toolkit speaks of them. A control
// reacts to a message in an overridable handler (TControl::Dispatch and the named
// handlers such as CMEnabledChanged); Perform sends one to a control directly.
//
// Inside the toolkit a window handle is the address of the control's Qt widget;
// ToHandle and FromHandle are instantiated only where the widget classes are known: in
// the toolkit's Qt backend (qt/) and in the tests' drivers of its widgets. Everything
// else sees an opaque pointer.

#include <cstdint>

struct HWND__;
using HWND = HWND__*;

template <class Widget>
HWND ToHandle(Widget* W) {
  return reinterpret_cast<HWND>(W);
}
template <class Widget>
Widget* FromHandle(HWND Handle) {
  return reinterpret_cast<Widget*>(Handle);
}

struct TMessage {
  std::uint32_t Msg = 0;
  std::intptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

constexpr std::uint16_t LoWord(std::intptr_t Value) {
  return static_cast<std::uint16_t>(Value & 0xFFFF);
}
constexpr std::uint16_t HiWord(std::intptr_t Value) {
  return static_cast<std::uint16_t>((Value >> 16) & 0xFFFF);
}
constexpr std::intptr_t MakeWParam(std::uint16_t Low, std::uint16_t High) {
  return static_cast<std::intptr_t>(static_cast<std::uint32_t>(Low) |
                                    (static_cast<std::uint32_t>(High) << 16));
}

// Window messages the toolkit passes on.
constexpr std::uint32_t WM_SETTEXT = 0x000C;
constexpr std::uint32_t WM_COMMAND = 0x0111;

// The toolkit's own messages between controls.
constexpr std::uint32_t CM_BASE = 0xB000;
constexpr std::uint32_t CM_ACTIVATE = CM_BASE + 0;
constexpr std::uint32_t CM_DEACTIVATE = CM_BASE + 1;
constexpr std::uint32_t CM_DIALOGKEY = CM_BASE + 5;
constexpr std::uint32_t CM_DIALOGCHAR = CM_BASE + 6;
constexpr std::uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr std::uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr std::uint32_t CM_VISIBLECHANGED = CM_BASE + 11;
constexpr std::uint32_t CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr std::uint32_t CM_COLORCHANGED = CM_BASE + 13;
constexpr std::uint32_t CM_FONTCHANGED = CM_BASE + 14;
constexpr std::uint32_t CM_CURSORCHANGED = CM_BASE + 15;
constexpr std::uint32_t CM_TEXTCHANGED = CM_BASE + 18;
constexpr std::uint32_t CM_ENTER = CM_BASE + 26;
constexpr std::uint32_t CM_EXIT = CM_BASE + 27;
constexpr std::uint32_t CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr std::uint32_t CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr std::uint32_t CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr std::uint32_t CM_TABSTOPCHANGED = CM_BASE + 40;

// Notifications reflected back to the control that sent them.
constexpr std::uint32_t CN_BASE = 0xBC00;
constexpr std::uint32_t CN_COMMAND = CN_BASE + WM_COMMAND;

// Combo box notification codes, in the high word of a CN_COMMAND's WParam.
constexpr std::uint16_t CBN_SELCHANGE = 1;
constexpr std::uint16_t CBN_DBLCLK = 2;
constexpr std::uint16_t CBN_SETFOCUS = 3;
constexpr std::uint16_t CBN_KILLFOCUS = 4;
constexpr std::uint16_t CBN_EDITCHANGE = 5;
constexpr std::uint16_t CBN_EDITUPDATE = 6;
constexpr std::uint16_t CBN_DROPDOWN = 7;
constexpr std::uint16_t CBN_CLOSEUP = 8;
constexpr std::uint16_t CBN_SELENDOK = 9;
constexpr std::uint16_t CBN_SELENDCANCEL = 10;

// Button notification code.
constexpr std::uint16_t BN_CLICKED = 0;

// Message box buttons, icons and answers.
constexpr std::int32_t MB_OK = 0x00;
constexpr std::int32_t MB_OKCANCEL = 0x01;
constexpr std::int32_t MB_ABORTRETRYIGNORE = 0x02;
constexpr std::int32_t MB_YESNOCANCEL = 0x03;
constexpr std::int32_t MB_YESNO = 0x04;
constexpr std::int32_t MB_RETRYCANCEL = 0x05;
constexpr std::int32_t MB_ICONERROR = 0x10;
constexpr std::int32_t MB_ICONSTOP = MB_ICONERROR;
constexpr std::int32_t MB_ICONQUESTION = 0x20;
constexpr std::int32_t MB_ICONWARNING = 0x30;
constexpr std::int32_t MB_ICONINFORMATION = 0x40;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Character codes a key press handler sees for the keys that have no text.
constexpr char VK_BACK = 8;
constexpr char VK_TAB = 9;
constexpr char VK_RETURN = 13;
constexpr char VK_ESCAPE = 27;
