#include "win32/support/gdi.h"

#include <cmath>
#include <string>

namespace gdi {

namespace {

bool highContrastOn = false;

// The standard scheme of Windows 10 and 11 for the roles the windows use.
COLORREF standardColour(SystemColour role)
{
    switch (role) {
    case SystemColour::WindowBackground:
        return RGB(0xff, 0xff, 0xff);
    case SystemColour::WindowText:
        return RGB(0, 0, 0);
    case SystemColour::ButtonFace:
        return RGB(0xf0, 0xf0, 0xf0);
    case SystemColour::ButtonText:
        return RGB(0, 0, 0);
    case SystemColour::HighlightText:
        return RGB(0xff, 0xff, 0xff);
    }
    return RGB(0, 0, 0);
}

SystemColour roleOf(Paint use)
{
    switch (use) {
    case Paint::WindowBackground:
        return SystemColour::WindowBackground;
    case Paint::WindowText:
        return SystemColour::WindowText;
    case Paint::ButtonFace:
        return SystemColour::ButtonFace;
    case Paint::ButtonText:
        return SystemColour::ButtonText;
    }
    return SystemColour::WindowText;
}

int systemIndexOf(Paint use)
{
    switch (use) {
    case Paint::WindowBackground:
        return COLOR_WINDOW;
    case Paint::WindowText:
        return COLOR_WINDOWTEXT;
    case Paint::ButtonFace:
        return COLOR_BTNFACE;
    case Paint::ButtonText:
        return COLOR_BTNTEXT;
    }
    return COLOR_WINDOWTEXT;
}

} // namespace

void refreshScheme()
{
    HIGHCONTRASTW settings{};
    settings.cbSize = sizeof(settings);
    const bool reported =
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(settings), &settings, 0) &&
        (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
    wchar_t stand[4]{};
    const DWORD length = GetEnvironmentVariableW(L"GALEVANE_HIGH_CONTRAST", stand, 4);
    highContrastOn = reported || (length == 1 && stand[0] == L'1');
}

bool highContrast()
{
    return highContrastOn;
}

COLORREF colour(const DesignColour &colour, Paint use)
{
    if (highContrastOn)
        return GetSysColor(systemIndexOf(use));
    switch (colour.kind) {
    case DesignColour::Kind::Unset:
        return standardColour(roleOf(use));
    case DesignColour::Kind::Rgb:
        return RGB(colour.red(), colour.green(), colour.blue());
    case DesignColour::Kind::System:
        break;
    }
    return standardColour(colour.role);
}

GdiObject<HFONT> font(const FontSpec &layoutEntry, UINT dpi)
{
    const std::wstring family(designFamily(layoutEntry.face).begin(),
                              designFamily(layoutEntry.face).end());
    // Hundredths of a point, so that 8.25 and 14.25 points stay exact.
    const int hundredths = static_cast<int>(std::lround(layoutEntry.points * 100.0));
    const int height = -MulDiv(hundredths, static_cast<int>(dpi), 7200);
    return GdiObject<HFONT>(CreateFontW(
        height, 0, 0, 0, layoutEntry.bold ? FW_BOLD : FW_NORMAL, FALSE,
        layoutEntry.underline ? TRUE : FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family.c_str()));
}

} // namespace gdi
