#include "win32/frontend/win32frontend.h"

#include "win32/frontend/formwindow.h"
#include "win32/resources/resourceids.h"
#include "win32/support/firstpaint.h"
#include "win32/support/gdi.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace {

constexpr wchar_t serviceClassName[] = L"GalevaneFrontEnd";
constexpr UINT destroyDiscardedMessage = WM_APP + 1;
// How long after the program activates a window the window manager's
// hand-over of the focus to another one is taken for its fallback.
constexpr ULONGLONG programActivationMs = 500;
// The exit code of a run that a failure ended.
constexpr int failureExitCode = 1;

// The resource of a window's icon; 0 for none.
int iconOf(DesignIcon icon)
{
    switch (icon) {
    case DesignIcon::Application:
        return GALEVANE_ICON_APPLICATION;
    case DesignIcon::AreasCloud:
        return GALEVANE_ICON_AREAS;
    case DesignIcon::None:
        break;
    }
    return 0;
}

IconHandle loadIcon(HINSTANCE instance, int id, int metricX, int metricY)
{
    return IconHandle(
        static_cast<HICON>(LoadImageW(instance, winapi::resourceId(id), IMAGE_ICON,
                                      GetSystemMetrics(metricX), GetSystemMetrics(metricY), 0)));
}

} // namespace

Win32FrontEnd::Win32FrontEnd(HINSTANCE instance)
    : m_instance(instance)
{
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    gdi::refreshScheme();

    WNDCLASSEXW service{};
    service.cbSize = sizeof(service);
    service.lpfnWndProc = serviceProc;
    service.hInstance = m_instance;
    service.lpszClassName = serviceClassName;
    if (!RegisterClassExW(&service))
        throw std::runtime_error("cannot register the front end's window class");
    m_service.reset(CreateWindowExW(0, serviceClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, m_instance, this));
    if (!m_service)
        throw std::runtime_error("cannot create the front end's message window");
}

Win32FrontEnd::~Win32FrontEnd()
{
    m_discarded.clear();
    m_service.reset();
    UnregisterClassW(serviceClassName, m_instance);
    for (const auto &registered : m_classes)
        UnregisterClassW(registered->name.c_str(), m_instance);
}

const wchar_t *Win32FrontEnd::windowClass(const WindowSpec &window)
{
    const std::wstring name = winapi::wide(window.name);
    for (const auto &registered : m_classes) {
        if (registered->name == name)
            return registered->name.c_str();
    }
    auto registered = std::make_unique<WindowClass>();
    registered->name = name;
    if (const int icon = iconOf(window.icon)) {
        registered->bigIcon = loadIcon(m_instance, icon, SM_CXICON, SM_CYICON);
        registered->smallIcon = loadIcon(m_instance, icon, SM_CXSMICON, SM_CYSMICON);
    }
    WNDCLASSEXW description{};
    description.cbSize = sizeof(description);
    description.lpfnWndProc = FormWindow::windowProc;
    description.hInstance = m_instance;
    description.hIcon = registered->bigIcon.get();
    description.hIconSm = registered->smallIcon.get();
    description.hCursor = LoadCursorW(nullptr, winapi::resourceId(32512)); // IDC_ARROW
    description.lpszClassName = registered->name.c_str();
    if (!RegisterClassExW(&description))
        throw std::runtime_error("cannot register the window class " + std::string(window.name));
    return m_classes.emplace_back(std::move(registered))->name.c_str();
}

std::unique_ptr<FormView> Win32FrontEnd::build(FormEvents &events, const FormDesign &design)
{
    return std::make_unique<FormWindow>(*this, events, design, windowClass(design.window));
}

void Win32FrontEnd::discard(std::unique_ptr<FormView> view)
{
    if (!view)
        return;
    if (auto *window = dynamic_cast<FormWindow *>(view.get())) {
        window->detach();
        window->hide();
    }
    // Its window procedure may be running below this call.
    m_discarded.push_back(std::move(view));
    PostMessageW(m_service.get(), destroyDiscardedMessage, 0, 0);
}

// GALEVANE_REPORT_FIRST_PAINT names the file the report goes to, "-" for
// standard output; the run then ends with status 0, as the Qt program's does.
void Win32FrontEnd::windowPainted()
{
    if (m_painted)
        return;
    m_painted = true;
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"GALEVANE_REPORT_FIRST_PAINT", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    // What was painted reaches the screen before the clock is read.
    GdiFlush();
    const bool toStandardOutput = path[0] == L'-' && path[1] == L'\0';
    FirstPaint::report(toStandardOutput ? nullptr : path);
    PostQuitMessage(0);
}

void Win32FrontEnd::dropDiscarded()
{
    m_discarded.clear();
}

void Win32FrontEnd::quit(int exitCode)
{
    PostQuitMessage(exitCode);
}

void Win32FrontEnd::fail(std::exception_ptr failure)
{
    if (!m_failure) {
        m_failure = std::move(failure);
        PostQuitMessage(failureExitCode);
    }
}

void Win32FrontEnd::adopt(FormWindow &window)
{
    m_windows.push_back(&window);
}

void Win32FrontEnd::forget(FormWindow &window)
{
    std::erase(m_windows, &window);
}

void Win32FrontEnd::noteActivation(HWND window)
{
    m_activatedByProgram = window;
    m_activatedAt = GetTickCount64();
}

bool Win32FrontEnd::programJustActivatedAnother(HWND window) const
{
    return m_activatedByProgram && m_activatedByProgram != window &&
           GetForegroundWindow() == m_activatedByProgram &&
           GetTickCount64() - m_activatedAt < programActivationMs;
}

void Win32FrontEnd::detachAll()
{
    for (FormWindow *window : m_windows)
        window->detach();
}

bool Win32FrontEnd::translate(const MSG &message) const
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSCHAR)
        return false;
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    const auto found = std::find_if(m_windows.begin(), m_windows.end(),
                                    [root](const FormWindow *w) { return w->hwnd() == root; });
    return found != m_windows.end() && (*found)->translateKeyboard(message);
}

int Win32FrontEnd::run()
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            break;
        if (got == -1)
            throw std::runtime_error("the message loop failed");
        bool taken = false;
        try {
            taken = translate(message);
        } catch (...) {
            fail(std::current_exception());
            taken = true;
        }
        if (!taken) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (m_failure)
        std::rethrow_exception(m_failure);
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Win32FrontEnd::serviceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto &creation = *reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation.lpCreateParams));
    }
    auto *self = reinterpret_cast<Win32FrontEnd *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == destroyDiscardedMessage) {
        try {
            self->m_discarded.clear();
        } catch (...) {
            self->fail(std::current_exception());
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
