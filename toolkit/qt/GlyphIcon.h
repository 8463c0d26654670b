#pragma once

// A button's glyph as its widget shows it: the first of the glyph's images, with the
// colour of its bottom-left pixel transparent, as the classic buttons draw glyphs.

#include "toolkit/visual/Graphics.h"
#include "toolkit/visual/Messages.h"

// Sets the icon of the Qt button whose window is Button (a QAbstractButton); an empty
// glyph takes StandardIcon (a QStyle::StandardPixmap, or -1 for none).
void ApplyGlyph(HWND Button, const TBitmap* Glyph, int NumGlyphs, int StandardIcon = -1);
