#include "win32/controls/label.h"

#include "win32/support/gdi.h"

void paintLabel(HDC dc, const PixelRect &rect, std::wstring_view text, HFONT font, COLORREF colour,
                bool centredVertically, int marginPixels)
{
    RECT area = gdi::rect(rect);
    InflateRect(&area, -marginPixels, -marginPixels);
    const Selection fontSelected(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    const int length = static_cast<int>(text.size());
    if (centredVertically) {
        RECT measured = area;
        DrawTextW(dc, text.data(), length, &measured, format | DT_CALCRECT);
        const int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
        if (spare > 0)
            area.top += spare / 2;
    }
    DrawTextW(dc, text.data(), length, &area, format);
}
