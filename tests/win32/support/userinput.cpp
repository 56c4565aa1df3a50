#include "tests/win32/support/userinput.h"

#include <vector>

namespace userinput {

namespace {

constexpr ULONGLONG pointerArrivalMs = 2000;
constexpr DWORD pointerPollMs = 5;

void send(std::vector<INPUT> &inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT mouse(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

INPUT keyboard(WORD virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    // The arrow and editing keys sit on the extended part of the keyboard.
    switch (virtualKey) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    return input;
}

// Absolute mouse coordinates run from 0 to 65535 across the primary screen,
// and the window system takes pixel floor(n * width / 65536): the smallest n
// of the pixel lands on it.
LONG normalised(LONG pixel, int extent)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}

} // namespace

bool moveTo(POINT screenPoint)
{
    std::vector<INPUT> inputs{mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                                    normalised(screenPoint.x, GetSystemMetrics(SM_CXSCREEN)),
                                    normalised(screenPoint.y, GetSystemMetrics(SM_CYSCREEN)))};
    send(inputs);
    // Wine moves the pointer through the X server: on a busy machine it
    // arrives a little after SendInput returns.
    const ULONGLONG giveUpAt = GetTickCount64() + pointerArrivalMs;
    for (;;) {
        POINT at{};
        if (GetCursorPos(&at) && at.x == screenPoint.x && at.y == screenPoint.y)
            return true;
        if (GetTickCount64() >= giveUpAt)
            return false;
        Sleep(pointerPollMs);
    }
}

bool click(POINT screenPoint)
{
    const bool there = moveTo(screenPoint);
    std::vector<INPUT> inputs{mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP)};
    send(inputs);
    return there;
}

void key(WORD virtualKey, std::initializer_list<WORD> modifiers)
{
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(keyboard(modifier, false));
    inputs.push_back(keyboard(virtualKey, false));
    inputs.push_back(keyboard(virtualKey, true));
    for (auto it = modifiers.end(); it != modifiers.begin();)
        inputs.push_back(keyboard(*--it, true));
    send(inputs);
}

void type(std::wstring_view text)
{
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = static_cast<WORD>(c);
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    send(inputs);
}

} // namespace userinput
