#pragma once

#include "core/forms/formview.h"
#include "win32/support/com.h"
#include "win32/support/handles.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

class FormWindow;

// The window system on Windows: one window class per layout, named after the
// layout's window, and the thread's message loop.
class Win32FrontEnd final : public FrontEnd
{
public:
    explicit Win32FrontEnd(HINSTANCE instance);
    ~Win32FrontEnd() override;
    Win32FrontEnd(const Win32FrontEnd &) = delete;
    Win32FrontEnd &operator=(const Win32FrontEnd &) = delete;

    [[nodiscard]] std::unique_ptr<FormView> build(FormEvents &events,
                                                  const FormDesign &design) override;
    // The window is hidden and reports nothing more; it is destroyed once the
    // message that led here has been handled.
    void discard(std::unique_ptr<FormView> view) override;
    void dropDiscarded() override;
    void quit(int exitCode) override;

    // Runs the message loop until quit, and returns its exit code. A failure
    // inside a window procedure ends the loop and is thrown again from here.
    int run();
    // Every window stops reporting to its form: destroying them afterwards
    // runs nothing of the program.
    void detachAll();

    [[nodiscard]] HINSTANCE instance() const { return m_instance; }
    // For FormWindow.
    void fail(std::exception_ptr failure);
    void adopt(FormWindow &window);
    void forget(FormWindow &window);
    // A window has finished a paint: the first one ends a start-up
    // measurement where one is asked for (GALEVANE_REPORT_FIRST_PAINT).
    void windowPainted();
    // The program has just made `window` the active one.
    void noteActivation(HWND window);
    // Whether the program made another window active a moment ago and it
    // still is.
    [[nodiscard]] bool programJustActivatedAnother(HWND window) const;

private:
    struct WindowClass
    {
        std::wstring name;
        IconHandle bigIcon;
        IconHandle smallIcon;
    };

    const wchar_t *windowClass(const WindowSpec &window);
    [[nodiscard]] bool translate(const MSG &message) const;
    static LRESULT CALLBACK serviceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // COM for the screen readers' objects (LresultFromObject); first made,
    // last gone.
    ComApartment m_com;
    HINSTANCE m_instance;
    std::vector<std::unique_ptr<WindowClass>> m_classes;
    // A message-only window that destroys discarded windows later.
    WindowHandle m_service;
    std::vector<std::unique_ptr<FormView>> m_discarded;
    std::vector<FormWindow *> m_windows;
    std::exception_ptr m_failure;
    HWND m_activatedByProgram = nullptr;
    ULONGLONG m_activatedAt = 0;
    bool m_painted = false;
};
