#pragma once

#include "win32/support/winapi.h"

// Dots per inch of windows and screens. The per-monitor functions of newer
// Windows are looked up in user32 at run time; where they are missing the
// screen's one setting (LOGPIXELSY) stands in.
namespace dpi {

[[nodiscard]] UINT forWindow(HWND window);
// What a window made now on the primary screen gets.
[[nodiscard]] UINT forSystem();
// The window rectangle around `client` for the style, at `dpi`.
[[nodiscard]] RECT windowRectFor(RECT client, DWORD style, DWORD exStyle, UINT dpi);
// Pixels at 96 dots per inch, scaled to `dpi`.
[[nodiscard]] inline int scaled(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

} // namespace dpi
