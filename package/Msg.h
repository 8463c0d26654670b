#pragma once

// Msg: the package's modal message box, shown through the application's presenter
// (Application->MessageBox), so that a program without a display and the tests answer it
// like any other box.
//
// Kind chooses the icon and the caption used when Caption is empty:
//   1 error, 2 information, 3 warning, 4 question; any other kind has no icon.
// An empty Caption gives the application's title (language-neutral, "Setup" for the
// installer); when the title is empty too, the kind's own word ("Error", "Information",
// "Warning", "Confirm", "Message").

#include <string>

#include "toolkit/model/Sets.h"
#include "toolkit/model/TypeInfo.h"

TOOLKIT_ENUM(TMsgDlgButton, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll,
             mbNoToAll, mbYesToAll, mbHelp)
TOOLKIT_SET(TMsgDlgButtons, TMsgDlgButton)

// The kinds callers pass.
constexpr int kMsgError = 1;
constexpr int kMsgInformation = 2;
constexpr int kMsgWarning = 3;
constexpr int kMsgQuestion = 4;

// The message box's button set (MB_OK, MB_YESNO, ...) for Buttons: an empty set is a single
// OK button; a combination the box has no set for gets the set that shows the most of the
// buttons asked for with the fewest others (only Yes: Yes and No).
int MsgButtonFlags(TMsgDlgButtons Buttons);

// Shows Text modally and returns the button chosen (IDOK, IDYES, ...). HelpContext is
// accepted for the callers' sake; there is no help system to open.
int Msg(const std::string& Text, const std::string& Caption, int Kind, TMsgDlgButtons Buttons,
        int HelpContext);
