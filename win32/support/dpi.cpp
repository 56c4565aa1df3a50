#include "win32/support/dpi.h"

namespace {

// A function of user32 by name, or null where this Windows lacks it.
template <class Function> Function user32Function(const char *name)
{
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    // Through void (*)(), which converts to every function type unwarned.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using GetDpiForWindowFunction = UINT(WINAPI *)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI *)();
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);

UINT screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int found = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return found > 0 ? static_cast<UINT>(found) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

namespace dpi {

UINT forWindow(HWND window)
{
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT found = getDpiForWindow(window);
        if (found > 0)
            return found;
    }
    return screenDpi();
}

UINT forSystem()
{
    static const auto getDpiForSystem = user32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem) {
        const UINT found = getDpiForSystem();
        if (found > 0)
            return found;
    }
    return screenDpi();
}

RECT windowRectFor(RECT client, DWORD style, DWORD exStyle, UINT dpi)
{
    static const auto adjustForDpi =
        user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT rect = client;
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
        rect = client;
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return rect;
}

} // namespace dpi
