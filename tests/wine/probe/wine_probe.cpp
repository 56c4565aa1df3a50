// Checks that the Wine set-up of the tests gives a Windows program what the
// real program relies on, and prints "ok" when it does:
//   - the four typefaces the windows ask for are drawn with their Linux
//     stand-ins (TrueType, the expected family) and put ink on the page;
//   - the screen resolution is the one the test asked for (--expect-dpi N);
//   - a window with a button gets shown, and synthesised input (SendInput)
//     reaches it: a mouse click on the button and, with the button focused,
//     the space bar, each arriving as WM_COMMAND/BN_CLICKED.
// Every check prints one line; the exit status is the number of failures.

#include "tests/win32/support/userinput.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

void report(bool passed, const wchar_t *what, const wchar_t *detail)
{
    std::wprintf(L"%ls %ls: %ls\n", passed ? L"pass" : L"FAIL", what, detail);
    std::fflush(stdout);
    if (!passed)
        ++g_failures;
}

// ---- Fonts ----------------------------------------------------------------

struct FontExpectation
{
    const wchar_t *requested;
    const wchar_t *family;
};

constexpr FontExpectation kFonts[] = {
    {L"MS Sans Serif", L"Liberation Sans"},
    {L"Times New Roman", L"Liberation Serif"},
    {L"Arial", L"Liberation Sans"},
    {L"Comic Sans MS", L"Comic Neue"},
};

// Draws the text black on white into a memory bitmap and counts the pixels
// that are not white: a font that resolves to nothing drawable shows as zero.
int inkedPixels(HDC screen, HFONT font)
{
    constexpr int width = 200;
    constexpr int height = 40;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 2, 2, L"Beaufort 12", 11);
    GdiFlush();
    int inked = 0;
    const auto *pixels = static_cast<const DWORD *>(bits);
    for (int i = 0; i < width * height; ++i) {
        if ((pixels[i] & 0xFFFFFFu) != 0xFFFFFFu)
            ++inked;
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return inked;
}

// The family the selected font's file names itself (the 'name' table's name
// 1, in its Windows Unicode record): a replacement takes the replaced name as
// its face name and family name in every GDI call, so only the file itself
// tells which font was found.
std::wstring fileFamily(HDC dc)
{
    constexpr DWORD nameTag = 'n' | ('a' << 8) | ('m' << 16) | ('e' << 24);
    const DWORD size = GetFontData(dc, nameTag, 0, nullptr, 0);
    if (size == GDI_ERROR || size < 6)
        return L"(no name table)";
    std::vector<unsigned char> table(size);
    GetFontData(dc, nameTag, 0, table.data(), size);
    auto u16 = [&](std::size_t at) {
        return at + 1 < table.size() ? static_cast<unsigned>(table[at] << 8 | table[at + 1]) : 0u;
    };
    const unsigned count = u16(2);
    const unsigned strings = u16(4);
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t record = 6 + 12 * static_cast<std::size_t>(i);
        const unsigned platform = u16(record);
        const unsigned nameId = u16(record + 6);
        const unsigned length = u16(record + 8);
        const unsigned offset = u16(record + 10);
        if (platform != 3 || nameId != 1 || strings + offset + length > table.size())
            continue;
        std::wstring name;
        for (unsigned at = 0; at + 1 < length; at += 2)
            name += static_cast<wchar_t>(u16(strings + offset + at));
        return name;
    }
    return L"(no family name)";
}

void checkFonts()
{
    HDC screen = GetDC(nullptr);
    for (const FontExpectation &expected : kFonts) {
        HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, expected.requested);
        HGDIOBJ old = SelectObject(screen, font);
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(screen, LF_FACESIZE, face);
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen, &metrics);
        // Scalable outlines (TrueType or CFF), not one of Wine's bitmap fonts.
        const bool outline = GetOutlineTextMetricsW(screen, 0, nullptr) != 0;
        const std::wstring family = fileFamily(screen);
        SelectObject(screen, old);
        const int inked = inkedPixels(screen, font);
        DeleteObject(font);

        wchar_t detail[256];
        std::swprintf(detail, 256,
                      L"face \"%ls\", font file's family \"%ls\"%ls, height %ld, %d inked pixels",
                      face, family.c_str(), outline ? L", outline" : L", bitmap", metrics.tmHeight,
                      inked);
        wchar_t what[64];
        std::swprintf(what, 64, L"font \"%ls\"", expected.requested);
        report(family == expected.family && outline && inked > 20, what, detail);
    }
    ReleaseDC(nullptr, screen);
}

// ---- Resolution -------------------------------------------------------------

void checkDpi(int expected)
{
    HDC screen = GetDC(nullptr);
    const int x = GetDeviceCaps(screen, LOGPIXELSX);
    const int y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    wchar_t detail[96];
    std::swprintf(detail, 96, L"LOGPIXELSX %d, LOGPIXELSY %d, expected %d", x, y, expected);
    report(x == expected && y == expected, L"resolution", detail);
}

// ---- Input ------------------------------------------------------------------

constexpr int kButtonId = 101;
constexpr UINT_PTR kTimeoutTimer = 1;
int g_clicks = 0;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED)
            ++g_clicks;
        return 0;
    case WM_TIMER:
        if (wParam == kTimeoutTimer)
            PostQuitMessage(1);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Runs the message loop until `done` says so or `milliseconds` pass; returns
// whether `done` was reached.
template <typename Done> bool pumpUntil(HWND window, DWORD milliseconds, Done done)
{
    SetTimer(window, kTimeoutTimer, milliseconds, nullptr);
    MSG message;
    bool reached = done();
    while (!reached && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        reached = done();
    }
    KillTimer(window, kTimeoutTimer);
    // Swallow the quit message a timeout may have posted.
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return reached;
}

void checkInput(HINSTANCE instance)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"GalevaneWineProbe";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Wine probe", WS_OVERLAPPEDWINDOW,
                                  100, 100, 320, 200, nullptr, nullptr, instance, nullptr);
    HWND button =
        CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 40, 120,
                        40, window, reinterpret_cast<HMENU>(kButtonId), instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetForegroundWindow(window);

    // Wait until the window manager has mapped the window and Wine reports it
    // visible and in front, then a little longer for it to settle.
    const bool shown = pumpUntil(
        window, 10000, [&] { return IsWindowVisible(window) && GetForegroundWindow() == window; });
    pumpUntil(window, 300, [] { return false; });
    wchar_t detail[160];
    std::swprintf(detail, 160, L"visible %d, foreground %ls", IsWindowVisible(window) ? 1 : 0,
                  GetForegroundWindow() == window ? L"yes" : L"no");
    report(shown, L"window shown and in front", detail);

    // A click in the middle of the button, as the tests of the program click.
    RECT rect;
    GetWindowRect(button, &rect);
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    userinput::click({x, y});
    const bool clicked = pumpUntil(window, 5000, [] { return g_clicks >= 1; });
    POINT cursor{};
    GetCursorPos(&cursor);
    std::swprintf(detail, 160, L"button centre (%d,%d), cursor (%ld,%ld), screen %dx%d, %d clicks",
                  x, y, cursor.x, cursor.y, screenWidth, screenHeight, g_clicks);
    report(clicked, L"mouse click by SendInput", detail);

    // The space bar on the focused button: keyboard input goes to the
    // foreground window only, so this also shows that focus was given.
    SetFocus(button);
    const int before = g_clicks;
    userinput::key(VK_SPACE);
    const bool pressed = pumpUntil(window, 5000, [&] { return g_clicks > before; });
    std::swprintf(detail, 160, L"focus on the button %ls, %d clicks",
                  GetFocus() == button ? L"yes" : L"no", g_clicks);
    report(pressed, L"space bar by SendInput", detail);

    DestroyWindow(window);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    // Real pixels, not a scaled-up 96 dpi: the program declares itself aware
    // of the resolution too.
    SetProcessDPIAware();
    int expectedDpi = 96;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wcscmp(argv[i], L"--expect-dpi") == 0)
            expectedDpi = static_cast<int>(std::wcstol(argv[i + 1], nullptr, 10));
    }
    checkFonts();
    checkDpi(expectedDpi);
    checkInput(GetModuleHandleW(nullptr));
    if (g_failures == 0)
        std::wprintf(L"ok\n");
    return g_failures;
}
