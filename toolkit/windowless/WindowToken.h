#pragma once

// The windowless backend's private header. Without a widget system a control's window is a
// token that names its control: the control then goes through the states it goes through
// with a widget (its window made, its children's with it, freed before it), while nothing is
// drawn and nothing holds state but the control itself.

#include "toolkit/visual/Controls.h"

struct HWND__ {
  TControl* Control;  // null for the application's own window
};

inline HWND NewWindowToken(TControl* Control) {
  return new HWND__{Control};
}
