#include "win32/controls/shape.h"

#include "win32/support/handles.h"

#include <algorithm>

void paintShape(HDC dc, const PixelRect &rect, COLORREF fill, COLORREF border, int borderPixels)
{
    const int radius = std::min(rect.width, rect.height) / 6;
    const LOGBRUSH stroke{BS_SOLID, border, 0};
    // An inside-frame pen keeps the whole border within the rectangle.
    const GdiObject<HPEN> pen(
        ExtCreatePen(PS_GEOMETRIC | PS_INSIDEFRAME | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                     static_cast<DWORD>(std::max(borderPixels, 1)), &stroke, 0, nullptr));
    const GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
    const Selection penSelected(dc, borderPixels > 0 ? static_cast<HGDIOBJ>(pen.get())
                                                     : GetStockObject(NULL_PEN));
    const Selection brushSelected(dc, brush.get());
    RoundRect(dc, rect.left, rect.top, rect.left + rect.width, rect.top + rect.height, 2 * radius,
              2 * radius);
}
