#include "tests/win32/support/galevaneapp.h"

#include "core/scale/scaletable.h"
#include "core/windows/aboutlayout.h"
#include "core/windows/areaslayout.h"
#include "core/windows/frmwindscale.h"
#include "core/windows/helplayout.h"
#include "core/windows/windscalelayout.h"
#include "tests/win32/support/userinput.h"
#include "win32/frontend/controlids.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace {

// A cross-process message that gives up rather than hang the test on a
// program that no longer answers.
LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool *answered = nullptr)
{
    DWORD_PTR result = 0;
    const LRESULT ok =
        SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result);
    if (answered)
        *answered = ok != 0;
    return static_cast<LRESULT>(result);
}

std::wstring className(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

struct WindowSearch
{
    DWORD processId;
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM lParam)
{
    auto &search = *reinterpret_cast<WindowSearch *>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && className(window) == search.className)
        search.found.push_back(window);
    return TRUE;
}

// Wine runs a Linux path through its Z: drive, which is the file system root.
std::wstring windowsPath(const std::wstring &path)
{
    if (path.empty() || path.front() != L'/')
        return path;
    std::wstring converted = L"Z:" + path;
    for (wchar_t &c : converted) {
        if (c == L'/')
            c = L'\\';
    }
    return converted;
}

// GetComboBoxInfo answers for another process's boxes on Windows; Wine's
// does not (it asks the box with a message it does not carry across), and
// then the parts are found as the box's standard children are made: the edit
// field a child of the box, the list a top-level window of class ComboLBox,
// shown while the box is dropped, the button at the right edge inside the
// frame.
std::optional<COMBOBOXINFO> comboInfo(HWND combo)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(combo, &info) && info.hwndItem)
        return info;
    return std::nullopt;
}

} // namespace

const wchar_t *formName(AppWindow form)
{
    switch (form) {
    case AppWindow::Main:
        return L"main";
    case AppWindow::Help:
        return L"help";
    case AppWindow::About:
        return L"about";
    case AppWindow::Map:
        return L"map";
    }
    return L"?";
}

const WindowSpec &windowLayoutOf(AppWindow form)
{
    switch (form) {
    case AppWindow::Main:
        return WindScaleLayout::window;
    case AppWindow::Help:
        return HelpLayout::window;
    case AppWindow::About:
        return AboutLayout::window;
    case AppWindow::Map:
        break;
    }
    return AreasLayout::window;
}

std::span<const ControlSpec> controlsOf(AppWindow form)
{
    switch (form) {
    case AppWindow::Main:
        return WindScaleLayout::controls;
    case AppWindow::Help:
        return HelpLayout::controls;
    case AppWindow::About:
        return AboutLayout::controls;
    case AppWindow::Map:
        break;
    }
    return AreasLayout::controls;
}

const ControlSpec &layoutControl(AppWindow form, std::string_view name)
{
    for (const ControlSpec &control : controlsOf(form)) {
        if (control.name == name)
            return control;
    }
    throw std::logic_error("no control " + std::string(name) + " in the layout");
}

MainTexts rowTexts(int row)
{
    const ScaleRow &scaleRow = *ScaleTable::row(row);
    MainTexts texts;
    for (std::size_t i = 0; i < allScaleColumns.size(); ++i) {
        const std::string_view text = scaleRow.text(allScaleColumns[i]);
        texts[i] = {text.begin(), text.end()};
    }
    texts[criterionIndex] = {scaleRow.criterion.begin(), scaleRow.criterion.end()};
    return texts;
}

MainTexts startTexts()
{
    // The boxes start with row 0's texts, the criterion with its own.
    MainTexts texts = rowTexts(0);
    for (std::size_t i = 0; i < allScaleColumns.size(); ++i) {
        const std::u16string_view text =
            layoutControl(AppWindow::Main, boxName(allScaleColumns[i])).text;
        texts[i] = {text.begin(), text.end()};
    }
    texts[criterionIndex] = {StartupCriterionText.begin(), StartupCriterionText.end()};
    return texts;
}

std::optional<int> rowOf(const MainTexts &texts)
{
    for (int row = 0; row < ScaleTable::rowCount; ++row) {
        if (rowTexts(row) == texts)
            return row;
    }
    return std::nullopt;
}

std::wstring describe(const MainTexts &texts)
{
    std::wstring out = L"[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out += (i ? L", \"" : L"\"") + texts[i] + L"\"";
    }
    return out + L"]";
}

bool isAbove(HWND upper, HWND lower)
{
    for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
        if (w == upper)
            return true;
    }
    return false;
}

POINT centreOf(const RECT &rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool contains(const RECT &rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

std::wstring describe(const RECT &rect)
{
    return L"(" + std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L")-(" +
           std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom) + L") " +
           std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top);
}

RECT windowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

SIZE clientSize(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

GalevaneApp::GalevaneApp(const std::wstring &executable)
{
    const std::wstring path = windowsPath(executable);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &m_process))
        return;
    m_started = waitFor([this] { return isVisible(AppWindow::Main); }, 30000);
}

GalevaneApp::~GalevaneApp()
{
    if (!m_process.hProcess)
        return;
    if (isRunning()) {
        TerminateProcess(m_process.hProcess, 99);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

bool GalevaneApp::isRunning() const
{
    return m_process.hProcess && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> GalevaneApp::waitForExit(int timeoutMs) const
{
    if (!m_process.hProcess ||
        WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD status = 0;
    GetExitCodeProcess(m_process.hProcess, &status);
    return status;
}

std::vector<HWND> GalevaneApp::windowsOf(AppWindow form) const
{
    const std::string_view name = windowLayoutOf(form).name;
    WindowSearch search{m_process.dwProcessId, {name.begin(), name.end()}, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND GalevaneApp::window(AppWindow form) const
{
    const std::vector<HWND> found = windowsOf(form);
    for (HWND w : found) {
        if (IsWindowVisible(w))
            return w;
    }
    return found.empty() ? nullptr : found.front();
}

bool GalevaneApp::isVisible(AppWindow form) const
{
    const HWND w = window(form);
    return w && IsWindowVisible(w);
}

bool GalevaneApp::isLoaded(AppWindow form) const
{
    return !windowsOf(form).empty();
}

bool GalevaneApp::mainEnabled() const
{
    const HWND w = window(AppWindow::Main);
    return w && IsWindowEnabled(w);
}

std::optional<AppWindow> GalevaneApp::foreground() const
{
    const HWND front = GetForegroundWindow();
    DWORD owner = 0;
    if (!front || !GetWindowThreadProcessId(front, &owner) || owner != m_process.dwProcessId)
        return std::nullopt;
    const std::wstring name = className(front);
    for (AppWindow form : allWindows) {
        const std::string_view wanted = windowLayoutOf(form).name;
        if (name == std::wstring(wanted.begin(), wanted.end()))
            return form;
    }
    return std::nullopt;
}

HWND GalevaneApp::control(AppWindow form, std::string_view name) const
{
    const HWND w = window(form);
    const int id = ControlIds::of(controlsOf(form), name);
    return w && id ? GetDlgItem(w, id) : nullptr;
}

HWND GalevaneApp::focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(m_process.dwThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

std::wstring GalevaneApp::text(HWND window) const
{
    // WM_GETTEXT itself: GetWindowTextW does not ask another process's
    // controls for their contents.
    bool answered = false;
    const auto length = sendTo(window, WM_GETTEXTLENGTH, 0, 0, &answered);
    if (!answered || length < 0)
        return L"<no answer>";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied =
        sendTo(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

HWND GalevaneApp::box(ScaleColumn column) const
{
    return control(AppWindow::Main, boxName(column));
}

MainTexts GalevaneApp::mainTexts() const
{
    const HWND main = window(AppWindow::Main);
    const auto child = [main](std::string_view name) {
        return GetDlgItem(main, ControlIds::of(controlsOf(AppWindow::Main), name));
    };
    MainTexts texts;
    for (std::size_t i = 0; i < allScaleColumns.size(); ++i)
        texts[i] = text(child(boxName(allScaleColumns[i])));
    texts[criterionIndex] = text(child("Text1"));
    return texts;
}

std::vector<std::wstring> GalevaneApp::listEntries(HWND combo) const
{
    std::vector<std::wstring> entries;
    const auto count = sendTo(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = sendTo(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring entry(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const auto copied = sendTo(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                   reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        entries.push_back(entry);
    }
    return entries;
}

int GalevaneApp::currentEntry(HWND combo) const
{
    return static_cast<int>(sendTo(combo, CB_GETCURSEL, 0, 0));
}

bool GalevaneApp::isDropped(HWND combo) const
{
    return sendTo(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

HWND GalevaneApp::editOf(HWND combo) const
{
    if (const auto info = comboInfo(combo))
        return info->hwndItem;
    return FindWindowExW(combo, nullptr, L"Edit", nullptr);
}

HWND GalevaneApp::listOf(HWND combo) const
{
    if (const auto info = comboInfo(combo))
        return info->hwndList;
    if (!isDropped(combo))
        return nullptr;
    WindowSearch search{m_process.dwProcessId, L"ComboLBox", {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND list : search.found) {
        if (IsWindowVisible(list))
            return list;
    }
    return nullptr;
}

POINT GalevaneApp::centreOfControl(AppWindow form, std::string_view name) const
{
    return centreOf(windowRect(control(form, name)));
}

POINT GalevaneApp::centreOfPainted(AppWindow form, std::string_view name) const
{
    const PixelRect rect = twipsToPixels(layoutControl(form, name).rect, screenDpi());
    POINT point{rect.left + rect.width / 2, rect.top + rect.height / 2};
    ClientToScreen(window(form), &point);
    return point;
}

POINT GalevaneApp::dropButtonOf(HWND combo) const
{
    if (const auto info = comboInfo(combo)) {
        POINT point = centreOf(info->rcButton);
        ClientToScreen(combo, &point);
        return point;
    }
    const RECT rect = windowRect(combo);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    return {rect.right - edge - GetSystemMetrics(SM_CXVSCROLL) / 2, (rect.top + rect.bottom) / 2};
}

POINT GalevaneApp::editFieldOf(HWND combo) const
{
    return centreOf(windowRect(editOf(combo)));
}

std::optional<POINT> GalevaneApp::listEntryPoint(HWND combo, int row) const
{
    const HWND list = listOf(combo);
    if (!list || !IsWindowVisible(list))
        return std::nullopt;
    const auto itemHeight = static_cast<int>(sendTo(combo, CB_GETITEMHEIGHT, 0, 0));
    const auto top = static_cast<int>(sendTo(list, LB_GETTOPINDEX, 0, 0));
    RECT client{};
    GetClientRect(list, &client);
    POINT point{client.right / 2, (row - top) * itemHeight + itemHeight / 2};
    if (itemHeight <= 0 || point.y < 0 || point.y >= client.bottom)
        return std::nullopt;
    ClientToScreen(list, &point);
    return point;
}

std::optional<POINT> GalevaneApp::uncoveredPoint(AppWindow form) const
{
    const HWND target = window(form);
    if (!target || !IsWindowVisible(target))
        return std::nullopt;
    std::vector<RECT> covering;
    for (HWND w = GetWindow(target, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
        if (IsWindowVisible(w))
            covering.push_back(windowRect(w));
    }
    RECT client{};
    GetClientRect(target, &client);
    POINT origin{0, 0};
    ClientToScreen(target, &origin);
    // A grid over the client area, from its middle outwards, clear of the
    // edges where a border or shape lies.
    const int stepsX = 12;
    const int stepsY = 12;
    for (int ring = 0; ring <= stepsX / 2; ++ring) {
        for (int i = 1; i < stepsX; ++i) {
            for (int j = 1; j < stepsY; ++j) {
                if (std::max(std::abs(i - stepsX / 2), std::abs(j - stepsY / 2)) != ring)
                    continue;
                const POINT point{origin.x + client.right * i / stepsX,
                                  origin.y + client.bottom * j / stepsY};
                bool covered = false;
                for (const RECT &rect : covering)
                    covered = covered || contains(rect, point);
                if (!covered && WindowFromPoint(point) &&
                    GetAncestor(WindowFromPoint(point), GA_ROOT) == target)
                    return point;
            }
        }
    }
    return std::nullopt;
}

bool GalevaneApp::clickControl(AppWindow form, std::string_view name)
{
    const HWND target = control(form, name);
    return target && userinput::click(centreOf(windowRect(target)));
}

bool GalevaneApp::clickPainted(AppWindow form, std::string_view name)
{
    return window(form) && userinput::click(centreOfPainted(form, name));
}

bool GalevaneApp::pickWithMouse(ScaleColumn column, int row)
{
    const HWND combo = box(column);
    if (!combo)
        return false;
    if (!isDropped(combo)) {
        userinput::click(dropButtonOf(combo));
        if (!waitFor([&] { return isDropped(combo) && listEntryPoint(combo, row).has_value(); }))
            return false;
    }
    const std::optional<POINT> entry = listEntryPoint(combo, row);
    if (!entry)
        return false;
    // Onto the entry first, so that the list highlights it as a hand would.
    userinput::moveTo(*entry);
    // A list that closed by itself meanwhile fails the pick here, rather
    // than the click landing on whatever lay under it.
    if (!isDropped(combo))
        return false;
    userinput::click(*entry);
    return waitFor([&] { return !isDropped(combo); });
}

bool GalevaneApp::focusEditField(ScaleColumn column)
{
    const HWND combo = box(column);
    const HWND edit = combo ? editOf(combo) : nullptr;
    if (!edit)
        return false;
    if (focus() == edit)
        return true;
    userinput::click(editFieldOf(combo));
    return waitFor([&] { return focus() == edit; });
}

bool GalevaneApp::typeInto(ScaleColumn column, std::wstring_view typed)
{
    if (!focusEditField(column))
        return false;
    const HWND combo = box(column);
    userinput::key(VK_HOME);
    userinput::key(VK_END, {VK_SHIFT});
    userinput::type(typed);
    return waitFor([&] { return text(combo) == typed; });
}

std::wstring GalevaneApp::snapshot() const
{
    std::array<HWND, allWindows.size()> windows{};
    for (std::size_t i = 0; i < allWindows.size(); ++i)
        windows[i] = window(allWindows[i]);
    std::wstring out;
    for (std::size_t i = 0; i < allWindows.size(); ++i) {
        const HWND w = windows[i];
        out += formName(allWindows[i]);
        if (!w) {
            out += L" none; ";
            continue;
        }
        out += IsWindowVisible(w) ? L" visible" : L" hidden";
        out += IsWindowEnabled(w) ? L" enabled " : L" disabled ";
        out += describe(windowRect(w));
        for (std::size_t j = 0; j < allWindows.size(); ++j) {
            if (j != i && windows[j] && isAbove(w, windows[j]))
                out += std::wstring(L" above ") + formName(allWindows[j]);
        }
        out += L"; ";
    }
    const auto front = foreground();
    out += L"front ";
    out += front ? formName(*front) : L"none";
    if (windows[0])
        out += L"; texts " + describe(mainTexts());
    return out;
}

bool GalevaneApp::settle(int quietMs, int timeoutMs) const
{
    return waitStable([this] { return snapshot(); }, quietMs, timeoutMs);
}
