#pragma once

// Forms released while no event loop runs, held by their windows: freed together once the
// caller is back at the top, and passed over when a form's window goes first (a form freed
// meanwhile, however it went).

#include "toolkit/visual/Messages.h"

namespace windowless {

void ReleaseLater(HWND FormWindow);
void ForgetWindow(HWND Window);
// Frees the released forms until none is left.
void FreeReleasedForms();

}  // namespace windowless
