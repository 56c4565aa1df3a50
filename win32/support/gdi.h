#pragma once

#include "core/design/designcolour.h"
#include "core/design/designfonts.h"
#include "core/design/twips.h"
#include "win32/support/handles.h"

// The design's colours and fonts in GDI terms.
namespace gdi {

// A fixed colour as it is; a role of the colour scheme from the desktop's
// current scheme; `unset` where the design leaves it open.
[[nodiscard]] COLORREF colour(const DesignColour &colour, COLORREF unset);
[[nodiscard]] inline COLORREF systemColour(int index)
{
    return GetSysColor(index);
}

// The design face by its own name, at `dpi`: a character height of
// points * dpi / 72 pixels, rounded, as the face was designed at.
[[nodiscard]] GdiObject<HFONT> font(const FontSpec &spec, UINT dpi);

[[nodiscard]] inline RECT rect(const PixelRect &r)
{
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}
[[nodiscard]] inline bool contains(const PixelRect &r, POINT p)
{
    return p.x >= r.left && p.y >= r.top && p.x < r.left + r.width && p.y < r.top + r.height;
}

} // namespace gdi
