#include "win32/support/gdi.h"

#include <cmath>
#include <string>

namespace gdi {

COLORREF colour(const DesignColour &colour, COLORREF unset)
{
    switch (colour.kind) {
    case DesignColour::Kind::Unset:
        return unset;
    case DesignColour::Kind::Rgb:
        return RGB(colour.red(), colour.green(), colour.blue());
    case DesignColour::Kind::System:
        break;
    }
    switch (colour.role) {
    case SystemColour::WindowBackground:
        return GetSysColor(COLOR_WINDOW);
    case SystemColour::WindowText:
        return GetSysColor(COLOR_WINDOWTEXT);
    case SystemColour::ButtonFace:
        return GetSysColor(COLOR_BTNFACE);
    case SystemColour::ButtonText:
        return GetSysColor(COLOR_BTNTEXT);
    case SystemColour::HighlightText:
        return GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    return unset;
}

GdiObject<HFONT> font(const FontSpec &spec, UINT dpi)
{
    const std::wstring family(designFamily(spec.face).begin(), designFamily(spec.face).end());
    // Hundredths of a point, so that 8.25 and 14.25 points stay exact.
    const int hundredths = static_cast<int>(std::lround(spec.points * 100.0));
    const int height = -MulDiv(hundredths, static_cast<int>(dpi), 7200);
    return GdiObject<HFONT>(CreateFontW(height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                        spec.underline ? TRUE : FALSE, FALSE, ANSI_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_DONTCARE, family.c_str()));
}

} // namespace gdi
