// The floor for the Windows program's start-up: a plain Win32 program that
// shows one empty window with the main window's client area (439 x 513 pixels
// at 96 dpi, scaled with the screen's resolution), centred on the work area,
// and nothing else.
//
// Once the window's first WM_PAINT has been handled it writes
//     first-paint-since-creation-us <microseconds>
//     first-paint-since-entry-us <microseconds>
// to the file given as its one argument, or to standard output without one,
// and exits 0 (2 when no paint came within 30 seconds). The first number runs
// from the process's creation time (GetProcessTimes, which the system takes
// before any of the program's or the loader's code runs) to the end of the
// paint, on the system clock that creation time is kept in; the second from
// wWinMain to the same point, on QueryPerformanceCounter.
//
// Built a second time as standard_controls_window, with
// GALEVANE_WITH_STANDARD_CONTROLS: the same window holding the main window's
// standard controls (see tools/bench/standardcontrols.h).

#include "win32/support/firstpaint.h"
#ifdef GALEVANE_WITH_STANDARD_CONTROLS
#include "tools/bench/standardcontrols.h"
#endif

#include <windows.h>

#include <cstdlib> // __argc, __wargv

namespace {

constexpr int kClientWidth = 439;
constexpr int kClientHeight = 513;
constexpr UINT_PTR kGiveUpTimer = 1;

const wchar_t *g_outputPath = nullptr;
bool g_painted = false;
int g_exitCode = 0;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        if (!g_painted) {
            g_painted = true;
            // What was painted reaches the screen before the clock is read.
            GdiFlush();
            if (!FirstPaint::report(g_outputPath))
                g_exitCode = 2;
            DestroyWindow(window);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kGiveUpTimer) {
            g_exitCode = 2;
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(g_exitCode);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    FirstPaint::markEntry();
    if (__argc > 1)
        g_outputPath = __wargv[1];

    // The main window is laid out in real pixels of the screen's resolution.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"GalevanePlainWin32Window";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, MulDiv(kClientWidth, dpi, 96), MulDiv(kClientHeight, dpi, 96)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT workArea;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int x = workArea.left + (workArea.right - workArea.left - width) / 2;
    const int y = workArea.top + (workArea.bottom - workArea.top - height) / 2;

    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Plain Win32 window", style, x, y,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 2;
#ifdef GALEVANE_WITH_STANDARD_CONTROLS
    StandardControls::create(window, dpi);
#endif
    SetTimer(window, kGiveUpTimer, 30000, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
