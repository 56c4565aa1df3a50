#pragma once

#include "core/design/designcolour.h"
#include "core/design/designfonts.h"
#include "core/design/twips.h"
#include "win32/support/handles.h"

// The design's colours and fonts in GDI terms.
namespace gdi {

// What a colour paints, which decides the system colour it becomes in
// high-contrast mode.
enum class Paint {
    WindowBackground, // the window, shapes, the text box
    WindowText,       // labels, borders, the text box's text
    ButtonFace,
    ButtonText,
};

// Reads again whether Windows' high-contrast mode is on; the windows call it
// when the system's colours or settings change. Where the system cannot
// report the mode (Wine's SystemParametersInfo never does), the environment
// variable GALEVANE_HIGH_CONTRAST=1 stands in for it, for the tests.
void refreshScheme();
[[nodiscard]] bool highContrast();

// The colour of the design for `use`. Outside high-contrast mode the windows
// look as designed whatever the desktop's colours: a fixed colour as it is,
// a role of the scheme (and an unset colour) as the standard Windows scheme
// has it. In high-contrast mode every colour, fixed ones too, is the system's
// colour for `use`, as Windows asks of every program.
[[nodiscard]] COLORREF colour(const DesignColour &colour, Paint use);

// The design face by its own name, at `dpi`: a character height of
// points * dpi / 72 pixels, rounded, as the face was designed at.
[[nodiscard]] GdiObject<HFONT> font(const FontSpec &layoutEntry, UINT dpi);

[[nodiscard]] inline RECT rect(const PixelRect &r)
{
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}
[[nodiscard]] inline bool contains(const PixelRect &r, POINT p)
{
    return p.x >= r.left && p.y >= r.top && p.x < r.left + r.width && p.y < r.top + r.height;
}

} // namespace gdi
