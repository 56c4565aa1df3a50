#pragma once

#include "core/design/formlayout.h"
#include "core/scale/scalecolumn.h"
#include "win32/support/winapi.h"

#include <array>
#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// The real galevane.exe in a process of its own, seen from outside through
// the window system alone: its windows by class name (the layout's window
// name), its controls by the identifiers the layouts fix
// (win32/frontend/controlids.h), their texts and lists by the standard
// controls' messages, which the window system carries across processes.

enum class AppWindow { Main, Help, About, Map };
inline constexpr std::array<AppWindow, 4> allWindows{AppWindow::Main, AppWindow::Help,
                                                     AppWindow::About, AppWindow::Map};

[[nodiscard]] const wchar_t *formName(AppWindow form);
[[nodiscard]] const WindowSpec &windowLayoutOf(AppWindow form);
[[nodiscard]] std::span<const ControlSpec> controlsOf(AppWindow form);
[[nodiscard]] const ControlSpec &layoutControl(AppWindow form, std::string_view name);

// The main window's seven texts: the six boxes in column order, then Text1.
using MainTexts = std::array<std::wstring, 7>;
inline constexpr std::size_t criterionIndex = 6;
// The seven texts a pick of `row` shows, from the scale table.
[[nodiscard]] MainTexts rowTexts(int row);
// The texts the main window starts with.
[[nodiscard]] MainTexts startTexts();
// The row whose seven texts these are, if any.
[[nodiscard]] std::optional<int> rowOf(const MainTexts &texts);
[[nodiscard]] std::wstring describe(const MainTexts &texts);

// Polls `condition` every few milliseconds until it holds or `timeoutMs`
// pass; whether it held. Every wait of the tests is one of these, never a
// bare sleep.
template <class Condition> bool waitFor(Condition condition, int timeoutMs = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
}

// Polls `snapshot` until it has not changed for `quietMs`: how a test waits
// for something NOT to happen (a key that must change nothing), or for the
// window system to settle after a step. False if it never settled.
template <class Snapshot>
bool waitStable(Snapshot snapshot, int quietMs = 300, int timeoutMs = 5000)
{
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto last = snapshot();
    auto since = Clock::now();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        auto now = snapshot();
        if (now != last) {
            last = std::move(now);
            since = Clock::now();
        } else if (Clock::now() - since >= std::chrono::milliseconds(quietMs)) {
            return true;
        }
        if (Clock::now() >= end)
            return false;
    }
}

// Whether `upper` lies above `lower` among the top-level windows.
[[nodiscard]] bool isAbove(HWND upper, HWND lower);
[[nodiscard]] POINT centreOf(const RECT &rect);
[[nodiscard]] bool contains(const RECT &rect, POINT point);
[[nodiscard]] std::wstring describe(const RECT &rect);
[[nodiscard]] RECT windowRect(HWND window);
// The client area's size.
[[nodiscard]] SIZE clientSize(HWND window);

class GalevaneApp
{
public:
    // Starts the program (a Linux path, as CTest passes it under Wine, is
    // read through Wine's Z: drive) and waits for its main window.
    explicit GalevaneApp(const std::wstring &executable);
    // Ends the program if it still runs.
    ~GalevaneApp();
    GalevaneApp(const GalevaneApp &) = delete;
    GalevaneApp &operator=(const GalevaneApp &) = delete;

    // Whether the program started and showed its main window.
    [[nodiscard]] bool started() const { return m_started; }
    [[nodiscard]] bool isRunning() const;
    // The exit status once the program has ended within `timeoutMs`.
    [[nodiscard]] std::optional<DWORD> waitForExit(int timeoutMs = 5000) const;

    // The program's window of the form, preferring a visible one (a window
    // just unloaded lingers hidden for a moment); nullptr if none.
    [[nodiscard]] HWND window(AppWindow form) const;
    [[nodiscard]] bool isVisible(AppWindow form) const;
    // Whether the form is loaded: a window of its class exists, visible or not.
    [[nodiscard]] bool isLoaded(AppWindow form) const;
    [[nodiscard]] bool mainEnabled() const;
    // The program's form whose window is the foreground window.
    [[nodiscard]] std::optional<AppWindow> foreground() const;
    [[nodiscard]] HWND control(AppWindow form, std::string_view name) const;
    [[nodiscard]] HWND focus() const;

    [[nodiscard]] std::wstring text(HWND window) const;
    [[nodiscard]] MainTexts mainTexts() const;
    [[nodiscard]] HWND box(ScaleColumn column) const;
    [[nodiscard]] std::vector<std::wstring> listEntries(HWND combo) const;
    [[nodiscard]] int currentEntry(HWND combo) const;
    [[nodiscard]] bool isDropped(HWND combo) const;
    [[nodiscard]] HWND editOf(HWND combo) const;
    [[nodiscard]] HWND listOf(HWND combo) const;

    // Screen points to click at.
    [[nodiscard]] POINT centreOfControl(AppWindow form, std::string_view name) const;
    // The middle of a control the window paints itself (a label), from its
    // layout rectangle at the screen's resolution.
    [[nodiscard]] POINT centreOfPainted(AppWindow form, std::string_view name) const;
    [[nodiscard]] POINT dropButtonOf(HWND combo) const;
    [[nodiscard]] POINT editFieldOf(HWND combo) const;
    // Entry `row` of the dropped list; nullopt if it is not in sight.
    [[nodiscard]] std::optional<POINT> listEntryPoint(HWND combo, int row) const;
    // A point of the form's window that no other visible window of the
    // program covers, if there is one.
    [[nodiscard]] std::optional<POINT> uncoveredPoint(AppWindow form) const;

    // User actions through real input. Each returns once the program has
    // shown its effect, or false when that did not come.
    bool clickControl(AppWindow form, std::string_view name);
    bool clickPainted(AppWindow form, std::string_view name);
    // Drops the box's list with the mouse and clicks entry `row`.
    bool pickWithMouse(ScaleColumn column, int row);
    // Gives the box's edit field the focus with a click.
    bool focusEditField(ScaleColumn column);
    // Replaces the box's text by typing (Home, Shift+End, the text).
    bool typeInto(ScaleColumn column, std::wstring_view typed);

    // The state the tests compare between polls: windows, input, front,
    // texts.
    [[nodiscard]] std::wstring snapshot() const;
    // Waits until the program has settled (nothing changed for a while).
    bool settle(int quietMs = 300, int timeoutMs = 5000) const;

    [[nodiscard]] DWORD processId() const { return m_process.dwProcessId; }

private:
    [[nodiscard]] std::vector<HWND> windowsOf(AppWindow form) const;

    PROCESS_INFORMATION m_process{};
    bool m_started = false;
};

// The resolution the program sees (the test process is DPI aware as it is).
[[nodiscard]] int screenDpi();
