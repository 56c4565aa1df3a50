#include "win32/controls/button.h"

#include "core/design/mnemonic.h"
#include "win32/support/gdi.h"
#include "win32/support/windowhook.h"

#include <commctrl.h>

#include <cwctype>
#include <string>

namespace {

constexpr int captionMargin = 3;
// The dotted focus frame of a graphical button lies just inside its edge.
constexpr int focusFrameInset = 3;

// A graphical button takes its second click of a double-click as a click,
// as a standard push button does, rather than as a double-click.
std::optional<LRESULT> doubleClickAsClick(HWND, windowhook::Message &message, const void *)
{
    if (message.id == WM_LBUTTONDBLCLK)
        message.id = WM_LBUTTONDOWN;
    return std::nullopt;
}

} // namespace

Button::Button(HWND parent, const ControlSpec &layoutEntry, int id, const PixelRect &rect,
               HFONT font)
    : m_spec(layoutEntry)
{
    const std::wstring caption = winapi::wide(layoutEntry.text);
    const DWORD look = isGraphical() ? BS_OWNERDRAW : BS_PUSHBUTTON;
    m_hwnd.reset(CreateWindowExW(
        0, WC_BUTTONW, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | look, rect.left,
        rect.top, rect.width, rect.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr));
    if (!m_hwnd)
        return;
    m_font = font;
    winapi::send(m_hwnd.get(), WM_SETFONT, font, FALSE);
    if (isGraphical())
        windowhook::add(m_hwnd.get(), doubleClickAsClick, nullptr);
}

wchar_t Button::accessKey() const
{
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(mnemonicLetter(m_spec.text))));
}

void Button::rescale(const PixelRect &rect, HFONT font)
{
    m_font = font;
    winapi::send(m_hwnd.get(), WM_SETFONT, font, FALSE);
    SetWindowPos(m_hwnd.get(), nullptr, rect.left, rect.top, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void Button::draw(const DRAWITEMSTRUCT &item) const
{
    const HDC dc = item.hDC;
    RECT area = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const GdiObject<HBRUSH> face(
        CreateSolidBrush(gdi::colour(m_spec.background, gdi::Paint::ButtonFace)));
    FillRect(dc, &area, face.get());
    DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = area;
        InflateRect(&focus, -focusFrameInset, -focusFrameInset);
        SetTextColor(dc, gdi::colour(m_spec.foreground, gdi::Paint::ButtonText));
        DrawFocusRect(dc, &focus);
    }

    RECT caption = area;
    InflateRect(&caption, -captionMargin, -captionMargin);
    // A pressed button's caption sinks with its face.
    if (pressed)
        OffsetRect(&caption, 1, 1);
    const std::wstring text = winapi::wide(m_spec.text);
    const Selection fontSelected(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, gdi::colour(m_spec.foreground, gdi::Paint::ButtonText));
    const UINT format = DT_CENTER | DT_WORDBREAK;
    RECT measured = caption;
    DrawTextW(dc, text.c_str(), -1, &measured, format | DT_CALCRECT);
    const int spare = (caption.bottom - caption.top) - (measured.bottom - measured.top);
    if (spare > 0)
        caption.top += spare / 2;
    DrawTextW(dc, text.c_str(), -1, &caption, format);
}
