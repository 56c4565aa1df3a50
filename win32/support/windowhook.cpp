#include "win32/support/windowhook.h"

#include <memory>
#include <vector>

namespace windowhook {
namespace {

struct Installed
{
    Hook hook;
    const void *context;
};

// What a hooked window carries: its own procedure and the hooks, newest last.
struct Hooks
{
    WNDPROC original = nullptr;
    std::vector<Installed> installed;
};

Hooks *hooksOf(HWND window)
{
    return reinterpret_cast<Hooks *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK hookedProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam)
{
    Hooks *hooks = hooksOf(window);
    if (!hooks)
        return DefWindowProcW(window, id, wParam, lParam);
    const WNDPROC original = hooks->original;
    if (id == WM_NCDESTROY) {
        // The window's own procedure has the last word, unhooked.
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete hooks;
        return CallWindowProcW(original, window, id, wParam, lParam);
    }
    Message message{id, wParam, lParam};
    for (auto it = hooks->installed.rbegin(); it != hooks->installed.rend(); ++it) {
        if (const auto answer = it->hook(window, message, it->context))
            return *answer;
    }
    return CallWindowProcW(original, window, message.id, message.wParam, message.lParam);
}

} // namespace

void add(HWND window, Hook hook, const void *context)
{
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&hookedProc)) {
        auto hooks = std::make_unique<Hooks>();
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hooks.get()));
        hooks->original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&hookedProc)));
        (void)hooks.release(); // the window's now: freed at WM_NCDESTROY
    }
    hooksOf(window)->installed.push_back({hook, context});
}

} // namespace windowhook
