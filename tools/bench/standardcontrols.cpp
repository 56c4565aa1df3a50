#include "tools/bench/standardcontrols.h"

#include "core/scale/scaletable.h"
#include "core/windows/frmwindscale.h"
#include "core/windows/windscalelayout.h"
#include "win32/support/gdi.h"
#include "win32/support/winapi.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace StandardControls {
namespace {

// The column a box of the main window shows.
ScaleColumn columnOf(std::string_view boxName)
{
    for (ScaleColumn column : allScaleColumns) {
        if (::boxName(column) == boxName)
            return column;
    }
    return ScaleColumn::Force;
}

HWND make(HWND window, const wchar_t *windowClass, DWORD exStyle, DWORD style,
          const PixelRect &rect, HFONT font, const std::wstring &text = {})
{
    HWND control = CreateWindowExW(
        exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
        rect.width, rect.height, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void fill(HWND box, ScaleColumn column)
{
    SendMessageW(box, CB_SETMINVISIBLE, ScaleTable::rowCount, 0);
    for (std::string_view text : ScaleTable::columnTexts(column))
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(winapi::wide(text).c_str()));
    SendMessageW(box, CB_SETCURSEL, 0, 0);
}

bool isStandardControl(ControlKind kind)
{
    return kind == ControlKind::ComboBox || kind == ControlKind::TextBox ||
           kind == ControlKind::Button || kind == ControlKind::GraphicalButton;
}

} // namespace

void create(HWND window, int dpi)
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    // The fonts live as long as the process, which ends with the window.
    static std::vector<GdiObject<HFONT>> fonts;
    for (const ControlSpec &entry : WindScaleLayout::controls) {
        if (!isStandardControl(entry.kind))
            continue;
        const PixelRect rect = twipsToPixels(entry.rect, dpi);
        // Without a font of its own a control keeps the system's.
        HFONT font = nullptr;
        if (entry.font) {
            fonts.push_back(gdi::font(*entry.font, static_cast<UINT>(dpi)));
            font = fonts.back().get();
        }
        if (entry.kind == ControlKind::ComboBox) {
            fill(make(window, WC_COMBOBOXW, 0,
                      WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, rect, font),
                 columnOf(entry.name));
        } else if (entry.kind == ControlKind::TextBox) {
            make(window, WC_EDITW, WS_EX_CLIENTEDGE,
                 WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, rect, font,
                 winapi::wide(ScaleTable::row(0)->criterion));
        } else {
            make(window, WC_BUTTONW, 0, WS_TABSTOP | BS_PUSHBUTTON, rect, font,
                 winapi::wide(entry.text));
        }
    }
}

} // namespace StandardControls
