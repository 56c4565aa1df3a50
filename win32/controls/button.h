#pragma once

#include "core/design/formlayout.h"
#include "win32/support/handles.h"

// A command button: a standard push button, or a graphical one that the
// form window draws itself (BS_OWNERDRAW) in its face colour with a raised
// edge, sunk while pressed. Neither is ever a default button: Enter and
// Escape press nothing by themselves.
class Button
{
public:
    // Made at its place, in its font, as a dialog's controls are.
    Button(HWND parent, const ControlSpec &layoutEntry, int id, const PixelRect &rect, HFONT font);

    [[nodiscard]] HWND hwnd() const { return m_hwnd.get(); }
    [[nodiscard]] const ControlSpec &layoutEntry() const { return m_spec; }
    [[nodiscard]] bool isGraphical() const { return m_spec.kind == ControlKind::GraphicalButton; }
    // The letter after the caption's '&', lower case, or 0.
    [[nodiscard]] wchar_t accessKey() const;

    // For a new scale; the caller redraws the button.
    void rescale(const PixelRect &rect, HFONT font);
    // For WM_DRAWITEM of a graphical button.
    void draw(const DRAWITEMSTRUCT &item) const;

private:
    const ControlSpec &m_spec;
    WindowHandle m_hwnd;
    HFONT m_font = nullptr;
};
