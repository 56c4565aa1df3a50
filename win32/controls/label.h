#pragma once

#include "core/design/twips.h"
#include "win32/support/winapi.h"

#include <string_view>

// A label's text, drawn by the form window over whatever lies behind it:
// centred, word-wrapped, from the top or centred in height too, clipped to
// its rectangle less `marginPixels` on every side.
void paintLabel(HDC dc, const PixelRect &rect, std::wstring_view text, HFONT font, COLORREF colour,
                bool centredVertically, int marginPixels);
