#pragma once

#include "win32/support/winapi.h"

#include <optional>

// Takes over some messages of a window of another class (a common control),
// passing the rest on to the window's own procedure: subclassing through
// GWLP_WNDPROC, with what it needs kept behind GWLP_USERDATA, which the
// system's controls leave to the program.
//
// The common controls' SetWindowSubclass does the same, but finds its chain
// through a window property on every message the window gets, and under Wine
// each such look-up is a round trip to the server: hundreds of them while a
// box is filled.
//
// A window takes any number of hooks; the one added last sees a message
// first. Each hook answers a message (a value) or lets it pass on (nullopt),
// possibly changed. Hooks stay until the window is destroyed.
namespace windowhook {

struct Message
{
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
};

using Hook = std::optional<LRESULT> (*)(HWND window, Message &message, const void *context);

void add(HWND window, Hook hook, const void *context);

} // namespace windowhook
