#include "win32/controls/textbox.h"

#include "win32/support/gdi.h"

#include <commctrl.h>

#include <string>

TextBox::TextBox(HWND parent, const ControlSpec &layoutEntry, int id, const PixelRect &rect,
                 HFONT font)
    : m_spec(layoutEntry)
{
    m_hwnd.reset(CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_LEFT,
        rect.left, rect.top, rect.width, rect.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr));
    if (!m_hwnd)
        return;
    winapi::send(m_hwnd.get(), WM_SETFONT, font, FALSE);
    // The text goes in after the font, so that the box lays it out once.
    SetWindowTextW(m_hwnd.get(), winapi::wide(layoutEntry.text).c_str());
    fitScrollBar();
}

void TextBox::rescale(const PixelRect &rect, HFONT font)
{
    winapi::send(m_hwnd.get(), WM_SETFONT, font, FALSE);
    SetWindowPos(m_hwnd.get(), nullptr, rect.left, rect.top, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    fitScrollBar();
}

void TextBox::writeText(std::u16string_view text)
{
    // The edit control breaks lines at CR LF.
    std::wstring shown;
    for (char16_t c : text) {
        if (c == u'\n')
            shown += L'\r';
        shown += static_cast<wchar_t>(c);
    }
    SetWindowTextW(m_hwnd.get(), shown.c_str());
    fitScrollBar();
}

HBRUSH TextBox::colours(HDC dc)
{
    const COLORREF background = gdi::colour(m_spec.background, gdi::Paint::WindowBackground);
    if (!m_background || background != m_backgroundColour) {
        m_background.reset(CreateSolidBrush(background));
        m_backgroundColour = background;
    }
    SetTextColor(dc, gdi::colour(m_spec.foreground, gdi::Paint::WindowText));
    SetBkColor(dc, background);
    return m_background.get();
}

void TextBox::fitScrollBar()
{
    const HWND box = m_hwnd.get();
    ShowScrollBar(box, SB_VERT, FALSE);
    const auto lines = static_cast<int>(winapi::send(box, EM_GETLINECOUNT));
    TEXTMETRICW metrics{};
    {
        const WindowDc dc(box);
        const auto font = reinterpret_cast<HFONT>(winapi::send(box, WM_GETFONT));
        const Selection selected(dc.get(),
                                 font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        GetTextMetricsW(dc.get(), &metrics);
    }
    RECT client{};
    GetClientRect(box, &client);
    if (metrics.tmHeight > 0 && lines * metrics.tmHeight > client.bottom - client.top)
        ShowScrollBar(box, SB_VERT, TRUE);
}
