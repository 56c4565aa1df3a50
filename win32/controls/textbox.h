#pragma once

#include "core/design/formlayout.h"
#include "core/forms/formview.h"
#include "win32/support/handles.h"

// A multi-line text box, word-wrapped, scrolling vertically when its text
// does not fit, in its own text and background colours.
class TextBox final : public TextBoxControl
{
public:
    // Made at its place, in its font, holding its layout's text.
    TextBox(HWND parent, const ControlSpec &layoutEntry, int id, const PixelRect &rect, HFONT font);

    void writeText(std::u16string_view text) override;

    [[nodiscard]] HWND hwnd() const { return m_hwnd.get(); }
    [[nodiscard]] const ControlSpec &layoutEntry() const { return m_spec; }

    // For a new scale; the caller redraws the box.
    void rescale(const PixelRect &rect, HFONT font);
    // For WM_CTLCOLOREDIT: sets the colours, returns the background brush,
    // made again when the colour scheme has changed.
    [[nodiscard]] HBRUSH colours(HDC dc);

private:
    // The scroll bar shows only while the text is longer than the box.
    void fitScrollBar();

    const ControlSpec &m_spec;
    WindowHandle m_hwnd;
    GdiObject<HBRUSH> m_background;
    COLORREF m_backgroundColour = CLR_INVALID;
};
