#include "win32/controls/combobox.h"

#include <commctrl.h>

#include <string>

ComboBox::ComboBox(HWND parent, const ControlSpec &layoutEntry, int id, const PixelRect &rect,
                   HFONT font)
    : m_spec(layoutEntry)
    , m_rect(rect)
{
    m_hwnd.reset(CreateWindowExW(
        0, WC_COMBOBOXW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, rect.left,
        rect.top, rect.width, rect.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr));
    if (!m_hwnd)
        return;
    winapi::send(m_hwnd.get(), WM_SETFONT, font, FALSE);
    // The text goes in after the font, so that the edit field lays it out once.
    m_writing = true;
    SetWindowTextW(m_hwnd.get(), winapi::wide(m_spec.text).c_str());
    m_writing = false;
    fitField();
}

void ComboBox::rescale(const PixelRect &rect, HFONT font)
{
    winapi::send(m_hwnd.get(), WM_SETFONT, font, FALSE);
    // The box sizes its field to the new font.
    m_fieldHeight.reset();
    m_rect = rect;
    if (closedRect() != rect)
        SetWindowPos(m_hwnd.get(), nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    fitField();
}

void ComboBox::fitField()
{
    // The closed box is its field and a frame around it, and the field's
    // height is what can be set. Measured, not computed: Wine reports the
    // field 2 pixels taller than it was set, so the box is set, measured and
    // set once more if it came out otherwise.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int closed = closedRect().height;
        if (closed == m_rect.height)
            return;
        const int field = m_fieldHeight.value_or(
            static_cast<int>(winapi::send(m_hwnd.get(), CB_GETITEMHEIGHT, -1, 0)));
        if (field + m_rect.height - closed <= 0)
            return;
        m_fieldHeight = field + m_rect.height - closed;
        winapi::send(m_hwnd.get(), CB_SETITEMHEIGHT, -1, *m_fieldHeight);
    }
}

void ComboBox::fitList()
{
    // The list shows every entry. Common controls 6 size the dropped list by
    // this count, not by the box's window, which therefore stays the closed
    // box: each change of its size makes it lay out its parts again.
    const HWND box = m_hwnd.get();
    const auto count = static_cast<int>(winapi::send(box, CB_GETCOUNT));
    if (count > 0 && winapi::send(box, CB_GETMINVISIBLE) != count)
        winapi::send(box, CB_SETMINVISIBLE, count, 0);
}

PixelRect ComboBox::closedRect() const
{
    RECT closed{};
    GetWindowRect(m_hwnd.get(), &closed);
    MapWindowPoints(nullptr, GetParent(m_hwnd.get()), reinterpret_cast<POINT *>(&closed), 2);
    return {closed.left, closed.top, closed.right - closed.left, closed.bottom - closed.top};
}

void ComboBox::appendEntries(std::span<const std::string_view> entries)
{
    const std::wstring shown = winapi::windowText(m_hwnd.get());
    m_writing = true;
    const bool wasEmpty = winapi::send(m_hwnd.get(), CB_GETCOUNT) == 0;
    // Without redrawing, the list lays out its scroll bar once, at its final
    // size, not after every entry.
    winapi::send(m_hwnd.get(), WM_SETREDRAW, FALSE);
    for (std::string_view entry : entries)
        winapi::send(m_hwnd.get(), CB_ADDSTRING, 0, winapi::wide(entry).c_str());
    // The first entry of a list becomes its current one, so that the arrow
    // keys step on from it.
    if (wasEmpty && !entries.empty())
        winapi::send(m_hwnd.get(), CB_SETCURSEL, 0, 0);
    m_selection = winapi::send(m_hwnd.get(), CB_GETCURSEL);
    SetWindowTextW(m_hwnd.get(), shown.c_str());
    m_writing = false;
    fitList();
    winapi::send(m_hwnd.get(), WM_SETREDRAW, TRUE);
}

std::u16string ComboBox::text() const
{
    return winapi::utf16(winapi::windowText(m_hwnd.get()));
}

void ComboBox::writeText(std::string_view text, int row)
{
    m_writing = true;
    const auto count = static_cast<int>(winapi::send(m_hwnd.get(), CB_GETCOUNT));
    if (row >= 0 && row < count)
        winapi::send(m_hwnd.get(), CB_SETCURSEL, row, 0);
    m_selection = winapi::send(m_hwnd.get(), CB_GETCURSEL);
    SetWindowTextW(m_hwnd.get(), winapi::wide(text).c_str());
    m_writing = false;
}

bool ComboBox::isDropped() const
{
    return winapi::send(m_hwnd.get(), CB_GETDROPPEDSTATE) != 0;
}

bool ComboBox::notified(unsigned code)
{
    switch (code) {
    case CBN_DROPDOWN:
        m_dropped = true;
        return false;
    case CBN_CLOSEUP:
        m_dropped = false;
        return false;
    case CBN_SELENDOK:
        // The list closes on an entry: clicked, or Enter. (With the list
        // closed, Wine sends this before the change an arrow key makes.)
        if (!m_dropped)
            return false;
        m_selection = winapi::send(m_hwnd.get(), CB_GETCURSEL);
        return !m_writing;
    case CBN_SELCHANGE: {
        // With the list closed, the arrow keys (or the wheel) step through
        // the entries, each step a pick. With the list open they only move
        // the highlight; the pick comes with CBN_SELENDOK. A step that
        // stays where it was (Up on the first entry, which Wine reports as a
        // change) is no pick, as on Windows.
        const LRESULT before = m_selection;
        m_selection = winapi::send(m_hwnd.get(), CB_GETCURSEL);
        return m_selection != before && !m_dropped && !m_writing;
    }
    default:
        return false;
    }
}
