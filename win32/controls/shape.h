#pragma once

#include "core/design/twips.h"
#include "win32/support/winapi.h"

// A rounded rectangle shape: filled, with a border of `borderPixels` inside
// its edge, the corners rounded by a sixth of the shorter side. The form
// window paints it in its place among the controls; it takes no input.
void paintShape(HDC dc, const PixelRect &rect, COLORREF fill, COLORREF border, int borderPixels);
