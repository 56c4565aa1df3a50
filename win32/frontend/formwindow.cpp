#include "win32/frontend/formwindow.h"

#include "win32/controls/label.h"
#include "win32/controls/shape.h"
#include "win32/frontend/accessibility.h"
#include "win32/frontend/controlids.h"
#include "win32/frontend/win32frontend.h"
#include "win32/resources/resourceids.h"
#include "win32/support/dpi.h"
#include "win32/support/gdi.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <string>

namespace {

// The window's own messages, posted to itself so that they arrive once the
// window system's handling of what caused them is over.
constexpr UINT activationReportMessage = WM_APP + 1;
constexpr UINT pickMessage = WM_APP + 2;
constexpr UINT keepAboveMessage = WM_APP + 3;

// After an activation or deactivation, the window system's reports have
// settled once they have not changed for this long.
constexpr UINT_PTR settleTimer = 1;
constexpr UINT activationSettleMs = 150;

constexpr int cursorHand = 32649; // IDC_HAND

bool isLabel(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::ClickableLabel;
}

// A label the mouse shows a tip over.
bool hasToolTip(const ControlSpec &layoutEntry)
{
    return isLabel(layoutEntry.kind) && !layoutEntry.toolTip.empty();
}

bool isButtonDown(unsigned message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_XBUTTONDOWN;
}

bool keyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

DWORD windowStyle(WindowFrame frame)
{
    // A title bar with icon, caption and close box; no minimise or maximise,
    // no sizing border.
    if (frame == WindowFrame::FixedSingle)
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    return WS_POPUP | WS_CLIPCHILDREN;
}

DWORD windowExStyle(WindowFrame frame)
{
    // A borderless window has its own task bar entry too.
    return frame == WindowFrame::None ? WS_EX_APPWINDOW : 0;
}

// The window rectangle of the layout at `dpi`, placed as it says.
RECT placedWindow(const WindowSpec &window, UINT dpi)
{
    const PixelSize client = twipsToPixels(window.client, static_cast<int>(dpi));
    const DWORD style = windowStyle(window.frame);
    const RECT frame = dpi::windowRectFor({0, 0, client.width, client.height}, style,
                                          windowExStyle(window.frame), dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (window.placement == WindowPlacement::FixedOnScreen) {
        // The client area's top-left corner at its place from the screen's.
        const PixelSize offset = twipsToPixels(window.screenPosition, static_cast<int>(dpi));
        const int left = offset.width + frame.left;
        const int top = offset.height + frame.top;
        return {left, top, left + width, top + height};
    }
    // The whole window, frame included, centred on the work area; on a work
    // area too small for it, its title bar stays reachable.
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int left = std::max(work.left, work.left + (work.right - work.left - width) / 2);
    const int top = std::max(work.top, work.top + (work.bottom - work.top - height) / 2);
    return {left, top, left + width, top + height};
}

// Whether `upper` is above `lower` among the top-level windows.
bool stackedAbove(HWND upper, HWND lower)
{
    for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
        if (w == upper)
            return true;
    }
    return false;
}

// The tool of the label at `index` among the window's items, at its place.
TOOLINFOW toolOf(HWND window, std::size_t index, const PixelRect &place)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    // The mouse reaches the tool tip through relayToToolTip, not through a
    // subclass (TTF_SUBCLASS), which would look the subclass up in a window
    // property on every message the window gets.
    tool.uFlags = 0;
    tool.hwnd = window;
    tool.uId = index;
    tool.rect = gdi::rect(place);
    return tool;
}

bool belongsToThisThread(HWND window)
{
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

} // namespace

FormWindow::FormWindow(Win32FrontEnd &frontEnd, FormEvents &events, const FormDesign &design,
                       const wchar_t *windowClass)
    : m_frontEnd(frontEnd)
    , m_events(&events)
    , m_design(design)
    , m_dpi(dpi::forSystem())
{
    for (const ControlSpec &layoutEntry : m_design.controls)
        m_items.push_back({&layoutEntry, {}, {}});
    m_pickPending.assign(m_items.size(), false);
    m_windowAnnotation = accessibility::forWindow(m_design);

    const WindowSpec &window = m_design.window;
    const std::wstring caption = winapi::wide(window.caption);
    const RECT placed = placedWindow(window, m_dpi);
    // WM_NCCREATE hands the window to m_hwnd.
    const HWND created = CreateWindowExW(windowExStyle(window.frame), windowClass, caption.c_str(),
                                         windowStyle(window.frame), placed.left, placed.top,
                                         placed.right - placed.left, placed.bottom - placed.top,
                                         nullptr, nullptr, m_frontEnd.instance(), this);
    if (!created) {
        (void)m_hwnd.release();
        throw std::runtime_error("cannot create the window " + std::string(window.name));
    }
    // On a screen of other dots per inch than the primary one.
    const UINT actual = dpi::forWindow(created);
    if (actual != m_dpi) {
        m_dpi = actual;
        const RECT replaced = placedWindow(window, m_dpi);
        SetWindowPos(created, nullptr, replaced.left, replaced.top, replaced.right - replaced.left,
                     replaced.bottom - replaced.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const ControlSpec &layoutEntry = *m_items[i].layoutEntry;
        if (layoutEntry.picture == DesignPicture::Yacht && !m_picture) {
            m_picture.emplace(m_frontEnd.instance(),
                              std::vector<int>{GALEVANE_PICTURE_YACHT_331X302,
                                               GALEVANE_PICTURE_YACHT_497X453,
                                               GALEVANE_PICTURE_YACHT_662X604});
        } else if (layoutEntry.picture == DesignPicture::AreasMap && !m_bitmap) {
            m_bitmap.emplace(m_frontEnd.instance(), GALEVANE_BITMAP_AREAS_MAP);
        }
    }
    measure();
    createControls();
    m_frontEnd.adopt(*this);
}

FormWindow::~FormWindow()
{
    m_events = nullptr;
    m_frontEnd.forget(*this);
    for (FormWindow *lower : m_keptUnder)
        std::erase(lower->m_keptAbove, this);
    for (FormWindow *upper : m_keptAbove)
        std::erase(upper->m_keptUnder, this);
    if (m_hwnd) {
        // Whatever the window system sends while the window goes is its own.
        SetWindowLongPtrW(m_hwnd.get(), GWLP_USERDATA, 0);
        KillTimer(m_hwnd.get(), settleTimer);
        ShowWindow(m_hwnd.get(), SW_HIDE);
    }
    m_toolTip.reset();
    m_buttons.clear();
    m_combos.clear();
    m_textBox.reset();
    m_hwnd.reset();
}

void FormWindow::createControls()
{
    std::vector<std::size_t> byTabIndex;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const ControlKind kind = m_items[i].layoutEntry->kind;
        if (kind == ControlKind::ComboBox || kind == ControlKind::TextBox ||
            kind == ControlKind::Button || kind == ControlKind::GraphicalButton)
            byTabIndex.push_back(i);
    }
    std::stable_sort(byTabIndex.begin(), byTabIndex.end(), [this](std::size_t a, std::size_t b) {
        return m_items[a].layoutEntry->tabIndex < m_items[b].layoutEntry->tabIndex;
    });
    // Made in tab order, so that the window system's own order of the child
    // windows is the tab order too.
    const HWND parent = m_hwnd.get();
    for (std::size_t i : byTabIndex) {
        const Item &item = m_items[i];
        const ControlSpec &layoutEntry = *item.layoutEntry;
        const int id = ControlIds::forIndex(i);
        const HFONT font = item.font.get();
        HWND made = nullptr;
        switch (layoutEntry.kind) {
        case ControlKind::ComboBox:
            made = m_combos
                       .emplace_back(
                           std::make_unique<ComboBox>(parent, layoutEntry, id, item.rect, font))
                       ->hwnd();
            break;
        case ControlKind::TextBox:
            m_textBox = std::make_unique<TextBox>(parent, layoutEntry, id, item.rect, font);
            made = m_textBox->hwnd();
            break;
        default:
            made = m_buttons
                       .emplace_back(
                           std::make_unique<Button>(parent, layoutEntry, id, item.rect, font))
                       ->hwnd();
            break;
        }
        if (!made)
            throw std::runtime_error("cannot create the control " + std::string(layoutEntry.name));
        m_annotations.push_back(std::make_unique<accessibility::Annotation>(
            accessibility::forControl(m_design, layoutEntry)));
        accessibility::annotate(made, *m_annotations.back());
        if (layoutEntry.tabIndex != noTabStop)
            m_tabOrder.push_back(made);
    }
    // The first stop takes the focus when the window first becomes active.
    if (!m_tabOrder.empty())
        m_savedFocus = m_tabOrder.front();
}

void FormWindow::createToolTip()
{
    std::vector<std::size_t> tools;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (hasToolTip(*m_items[i].layoutEntry))
            tools.push_back(i);
    }
    if (tools.empty())
        return;
    m_toolTip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd.get(),
                                    nullptr, m_frontEnd.instance(), nullptr));
    if (!m_toolTip)
        return;
    for (std::size_t i : tools) {
        // The tool tip keeps a copy of the text.
        std::wstring text = winapi::wide(m_items[i].layoutEntry->toolTip);
        TOOLINFOW tool = toolOf(m_hwnd.get(), i, m_items[i].rect);
        tool.lpszText = text.data();
        winapi::send(m_toolTip.get(), TTM_ADDTOOLW, 0, &tool);
    }
}

void FormWindow::measure()
{
    const auto dpi = static_cast<int>(m_dpi);
    for (Item &item : m_items) {
        const ControlSpec &layoutEntry = *item.layoutEntry;
        item.rect = twipsToPixels(layoutEntry.rect, dpi);
        if (layoutEntry.kind == ControlKind::Shape ||
            layoutEntry.kind == ControlKind::StretchedPicture ||
            layoutEntry.kind == ControlKind::Bitmap)
            continue;
        item.font = gdi::font(layoutEntry.font.value_or(DesignFonts::dialog), m_dpi);
    }
}

void FormWindow::rescale()
{
    // The old fonts stay until the controls have the new ones.
    std::vector<GdiObject<HFONT>> oldFonts;
    for (Item &item : m_items)
        oldFonts.push_back(std::move(item.font));
    measure();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Item &item = m_items[i];
        const HWND child = GetDlgItem(m_hwnd.get(), ControlIds::forIndex(i));
        for (const auto &box : m_combos) {
            if (box->hwnd() == child)
                box->rescale(item.rect, item.font.get());
        }
        for (const auto &button : m_buttons) {
            if (button->hwnd() == child)
                button->rescale(item.rect, item.font.get());
        }
        if (m_textBox && m_textBox->hwnd() == child)
            m_textBox->rescale(item.rect, item.font.get());
        if (m_toolTip && hasToolTip(*item.layoutEntry)) {
            const TOOLINFOW tool = toolOf(m_hwnd.get(), i, item.rect);
            winapi::send(m_toolTip.get(), TTM_NEWTOOLRECTW, 0, &tool);
        }
    }
    RedrawWindow(m_hwnd.get(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FormWindow::paint()
{
    const PaintScope painting(m_hwnd.get());
    RECT client{};
    GetClientRect(m_hwnd.get(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    // Drawn off screen, back to front, and shown at once.
    const MemoryDc canvas(CreateCompatibleDC(painting.dc()));
    const GdiObject<HBITMAP> pixels(
        CreateCompatibleBitmap(painting.dc(), client.right, client.bottom));
    const Selection selected(canvas.get(), pixels.get());
    const HDC dc = canvas.get();
    const GdiObject<HBRUSH> background(
        CreateSolidBrush(gdi::colour(m_design.window.background, gdi::Paint::WindowBackground)));
    FillRect(dc, &client, background.get());
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        const ControlSpec &layoutEntry = *it->layoutEntry;
        switch (layoutEntry.kind) {
        case ControlKind::Shape:
            paintShape(dc, it->rect,
                       gdi::colour(layoutEntry.background, gdi::Paint::WindowBackground),
                       gdi::colour(layoutEntry.border, gdi::Paint::WindowText),
                       dpi::scaled(layoutEntry.borderPixels, m_dpi));
            break;
        case ControlKind::Label:
        case ControlKind::ClickableLabel:
            paintLabel(dc, it->rect, winapi::wide(layoutEntry.text), it->font.get(),
                       gdi::colour(layoutEntry.foreground, gdi::Paint::WindowText),
                       layoutEntry.centredVertically,
                       dpi::scaled(layoutEntry.textMarginPixels, m_dpi));
            break;
        case ControlKind::StretchedPicture:
            if (m_picture)
                m_picture->draw(dc, it->rect);
            break;
        case ControlKind::Bitmap:
            if (m_bitmap)
                m_bitmap->draw(dc, it->rect.left, it->rect.top, m_dpi);
            break;
        default:
            break;
        }
    }
    BitBlt(painting.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    m_frontEnd.windowPainted();
}

std::optional<std::size_t> FormWindow::labelAt(POINT point) const
{
    // The front label there; shapes and pictures let the mouse through.
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (isLabel(m_items[i].layoutEntry->kind) && gdi::contains(m_items[i].rect, point))
            return i;
    }
    return std::nullopt;
}

HWND FormWindow::focusedControl() const
{
    for (HWND w = GetFocus(); w && w != m_hwnd.get();) {
        const HWND parent = GetAncestor(w, GA_PARENT);
        if (parent == m_hwnd.get())
            return w;
        w = parent;
    }
    return nullptr;
}

void FormWindow::restoreFocus()
{
    if (!IsWindowEnabled(m_hwnd.get()))
        return;
    if (m_savedFocus && IsWindow(m_savedFocus) && IsWindowEnabled(m_savedFocus))
        SetFocus(m_savedFocus);
    else if (!m_tabOrder.empty())
        SetFocus(m_tabOrder.front());
}

void FormWindow::moveFocus(bool forward)
{
    std::vector<HWND> stops;
    std::copy_if(m_tabOrder.begin(), m_tabOrder.end(), std::back_inserter(stops),
                 [](HWND w) { return IsWindowVisible(w) && IsWindowEnabled(w); });
    if (stops.empty())
        return;
    const auto at = std::find(stops.begin(), stops.end(), focusedControl());
    std::size_t next = 0;
    if (at == stops.end())
        next = forward ? 0 : stops.size() - 1;
    else {
        const auto index = static_cast<std::size_t>(at - stops.begin());
        next = forward ? (index + 1) % stops.size() : (index + stops.size() - 1) % stops.size();
    }
    // The keyboard is in use: focus frames show from now on.
    const auto clearCues =
        static_cast<WPARAM>(UIS_CLEAR) | static_cast<WPARAM>(UISF_HIDEFOCUS | UISF_HIDEACCEL) << 16;
    SendMessageW(m_hwnd.get(), WM_CHANGEUISTATE, clearCues, 0);
    SetFocus(stops[next]);
}

bool FormWindow::translateKeyboard(const MSG &message)
{
    if (message.message == WM_KEYDOWN) {
        const auto key = static_cast<int>(message.wParam);
        if (key == VK_TAB && !keyDown(VK_CONTROL) && !keyDown(VK_MENU)) {
            moveFocus(!keyDown(VK_SHIFT));
            return true;
        }
        if (key != VK_RETURN && key != VK_ESCAPE)
            return false;
        const HWND focused = focusedControl();
        for (const auto &box : m_combos) {
            // An open list closes on Enter (a pick) or Escape (none).
            if (box->hwnd() == focused)
                return !box->isDropped();
        }
        for (const auto &button : m_buttons) {
            if (button->hwnd() == focused) {
                if (key == VK_RETURN)
                    winapi::send(focused, BM_CLICK);
                return true;
            }
        }
        // Enter starts a new line in the text box; nothing else takes either
        // key, and no button is pressed by default.
        return !(m_textBox && m_textBox->hwnd() == focused && key == VK_RETURN);
    }
    if (message.message == WM_SYSCHAR) {
        const auto typed = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(message.wParam)));
        for (const auto &button : m_buttons) {
            if (button->accessKey() == typed && IsWindowEnabled(m_hwnd.get())) {
                SetFocus(button->hwnd());
                winapi::send(button->hwnd(), BM_CLICK);
                return true;
            }
        }
    }
    return false;
}

void FormWindow::show()
{
    const HWND window = m_hwnd.get();
    ShowWindow(window, SW_SHOW);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    m_frontEnd.noteActivation(window);
}

void FormWindow::showInPlace()
{
    ShowWindow(m_hwnd.get(), SW_SHOWNA);
}

void FormWindow::hide()
{
    ShowWindow(m_hwnd.get(), SW_HIDE);
}

bool FormWindow::isVisible() const
{
    return IsWindowVisible(m_hwnd.get()) != FALSE;
}

bool FormWindow::isActive() const
{
    return GetForegroundWindow() == m_hwnd.get();
}

void FormWindow::setInputEnabled(bool enabled)
{
    if (!enabled) {
        if (const HWND focused = focusedControl())
            m_savedFocus = focused;
        EnableWindow(m_hwnd.get(), FALSE);
        scheduleKeepAbove();
        return;
    }
    EnableWindow(m_hwnd.get(), TRUE);
    if (GetActiveWindow() == m_hwnd.get())
        restoreFocus();
}

bool FormWindow::isInputEnabled() const
{
    return IsWindowEnabled(m_hwnd.get()) != FALSE;
}

void FormWindow::keepAbove(FormView &lower)
{
    auto *below = dynamic_cast<FormWindow *>(&lower);
    if (!below || below == this)
        return;
    std::erase(below->m_keptAbove, this);
    below->m_keptAbove.push_back(this);
    if (std::find(m_keptUnder.begin(), m_keptUnder.end(), below) == m_keptUnder.end())
        m_keptUnder.push_back(below);
    below->scheduleKeepAbove();
}

ComboBoxControl &FormWindow::comboBox(std::string_view name)
{
    for (const auto &box : m_combos) {
        if (box->layoutEntry().name == name)
            return *box;
    }
    throw std::logic_error("window " + std::string(m_design.window.name) +
                           " has no drop-down box named " + std::string(name));
}

TextBoxControl &FormWindow::textBox(std::string_view name)
{
    if (m_textBox && m_textBox->layoutEntry().name == name)
        return *m_textBox;
    throw std::logic_error("window " + std::string(m_design.window.name) +
                           " has no text box named " + std::string(name));
}

void FormWindow::scheduleKeepAbove()
{
    if (m_keepAbovePending || m_keptAbove.empty() || !m_hwnd)
        return;
    m_keepAbovePending = true;
    PostMessageW(m_hwnd.get(), keepAboveMessage, 0, 0);
}

void FormWindow::keepPanelsAbove(bool userTurnedHere)
{
    m_keepAbovePending = false;
    const HWND lower = m_hwnd.get();
    if (IsWindowEnabled(lower) || !IsWindowVisible(lower))
        return;
    std::vector<HWND> panels;
    for (FormWindow *panel : m_keptAbove) {
        if (IsWindowVisible(panel->hwnd()))
            panels.push_back(panel->hwnd());
    }
    if (panels.empty())
        return;
    // Bottom first, so that they keep their order among themselves.
    std::stable_sort(panels.begin(), panels.end(),
                     [](HWND a, HWND b) { return stackedAbove(b, a); });
    const bool turnedHere = userTurnedHere || GetForegroundWindow() == lower;
    const bool buried = std::any_of(panels.begin(), panels.end(),
                                    [lower](HWND panel) { return !stackedAbove(panel, lower); });
    if (!turnedHere && !buried)
        return;
    constexpr UINT inPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // A window manager may have raised this window without the window system
    // knowing: it goes to the top first, so that raising the panels over it
    // is a change that reaches the screen.
    if (userTurnedHere)
        SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, inPlace);
    for (HWND panel : panels)
        SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0, inPlace);
    // The user turned to the window that takes no input: the panel in front
    // takes it instead.
    if (turnedHere)
        SetForegroundWindow(panels.back());
}

void FormWindow::command(unsigned id, unsigned code, HWND control)
{
    // Menus and accelerators (IDOK, IDCANCEL) come without a control.
    if (!control || id < ControlIds::first ||
        id >= static_cast<unsigned>(ControlIds::forIndex(m_items.size())))
        return;
    const std::size_t index = id - ControlIds::first;
    const ControlSpec &layoutEntry = *m_items[index].layoutEntry;
    if (layoutEntry.kind == ControlKind::Button ||
        layoutEntry.kind == ControlKind::GraphicalButton) {
        if (code == BN_CLICKED && m_events)
            m_events->clicked(layoutEntry.name);
        return;
    }
    if (layoutEntry.kind != ControlKind::ComboBox)
        return;
    for (const auto &box : m_combos) {
        if (box->hwnd() == control && box->notified(code) && !m_pickPending[index]) {
            m_pickPending[index] = true;
            PostMessageW(m_hwnd.get(), pickMessage, index, 0);
        }
    }
}

void FormWindow::activated(bool active, HWND other)
{
    const HWND window = m_hwnd.get();
    if (active) {
        restoreFocus();
        PostMessageW(window, activationReportMessage, 0, 0);
        if (!IsWindowEnabled(window))
            scheduleKeepAbove();
        return;
    }
    if (const HWND focused = focusedControl())
        m_savedFocus = focused;
    if (m_events)
        m_events->deactivationReported(belongsToThisThread(other));
    SetTimer(window, settleTimer, activationSettleMs, nullptr);
}

void FormWindow::relayToToolTip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < WM_MOUSEFIRST || message > WM_MOUSELAST)
        return;
    // Made when the mouse first comes: a tool tip is a window of its own,
    // which under Wine costs as much to make as a drop-down box.
    if (!m_toolTip && !m_toolTipTried) {
        m_toolTipTried = true;
        createToolTip();
    }
    if (!m_toolTip)
        return;
    MSG mouse{m_hwnd.get(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    mouse.pt = winapi::pointOf(static_cast<LPARAM>(GetMessagePos()));
    winapi::send(m_toolTip.get(), TTM_RELAYEVENT, 0, &mouse);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = m_hwnd.get();
    relayToToolTip(message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        command(winapi::lowWord(wParam), winapi::highWord(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DRAWITEM: {
        const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        for (const auto &button : m_buttons) {
            if (button->hwnd() == item.hwndItem)
                button->draw(item);
        }
        return TRUE;
    }
    case WM_CTLCOLOREDIT:
        if (m_textBox && reinterpret_cast<HWND>(lParam) == m_textBox->hwnd())
            return reinterpret_cast<LRESULT>(m_textBox->colours(reinterpret_cast<HDC>(wParam)));
        break;
    case WM_LBUTTONDOWN: {
        const auto label = labelAt(winapi::pointOf(lParam));
        if (label && m_items[*label].layoutEntry->kind == ControlKind::ClickableLabel) {
            m_pressedLabel = label;
            SetCapture(window);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (const auto pressed = m_pressedLabel) {
            m_pressedLabel.reset();
            ReleaseCapture();
            if (gdi::contains(m_items[*pressed].rect, winapi::pointOf(lParam)) && m_events)
                m_events->clicked(m_items[*pressed].layoutEntry->name);
        }
        return 0;
    case WM_CAPTURECHANGED:
        m_pressedLabel.reset();
        return 0;
    case WM_SETCURSOR:
        // A press on this window while its input is off: the user turned to
        // it, and a window manager (Wine's X11 one) may have raised it.
        if (static_cast<short>(winapi::lowWord(lParam)) == HTERROR &&
            isButtonDown(winapi::highWord(lParam)) && !IsWindowEnabled(window) &&
            !m_keptAbove.empty()) {
            keepPanelsAbove(true);
            return TRUE;
        }
        // A hand over the labels that take clicks.
        if (reinterpret_cast<HWND>(wParam) == window && winapi::lowWord(lParam) == HTCLIENT) {
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(window, &cursor);
            const auto label = labelAt(cursor);
            if (label && m_items[*label].layoutEntry->kind == ControlKind::ClickableLabel) {
                SetCursor(LoadCursorW(nullptr, winapi::resourceId(cursorHand)));
                return TRUE;
            }
        }
        break;
    case WM_MOUSEACTIVATE:
        // Under Wine, the window manager's hand-over of the focus comes as a
        // press on the menu bar, which no window here has. Right after the
        // program brought another of its windows forward, that is the window
        // manager falling back on a window that has just been hidden or
        // closed, and the program's choice stands.
        if (winapi::lowWord(lParam) == HTMENU && m_frontEnd.programJustActivatedAnother(window))
            return MA_NOACTIVATE;
        break;
    case WM_ACTIVATE:
        activated(winapi::lowWord(wParam) != WA_INACTIVE, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_SETFOCUS:
        restoreFocus();
        return 0;
    case activationReportMessage:
        if (m_events && m_events->activationReported())
            SetTimer(window, settleTimer, activationSettleMs, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == settleTimer) {
            KillTimer(window, settleTimer);
            if (m_events)
                m_events->activationSettled(isActive());
            return 0;
        }
        break;
    case pickMessage:
        if (wParam < m_items.size()) {
            m_pickPending[wParam] = false;
            if (m_events)
                m_events->clicked(m_items[wParam].layoutEntry->name);
        }
        return 0;
    case keepAboveMessage:
        keepPanelsAbove(false);
        return 0;
    case accessibility::defaultActionMessage:
        // A screen reader's click on a painted label: what the mouse's does,
        // and nothing while the window takes no input, as for the mouse.
        if (wParam < m_items.size() &&
            m_items[wParam].layoutEntry->kind == ControlKind::ClickableLabel &&
            IsWindowEnabled(window) && m_events)
            m_events->clicked(m_items[wParam].layoutEntry->name);
        return 0;
    case WM_GETOBJECT: {
        const auto object = static_cast<LONG>(static_cast<DWORD>(lParam));
        if (object == static_cast<LONG>(OBJID_CLIENT))
            return accessibility::clientObject(window, m_design, wParam);
        if (object == static_cast<LONG>(OBJID_WINDOW) &&
            accessibility::hasWindowAnnotation(m_design))
            return accessibility::windowObject(window, m_windowAnnotation, wParam);
        break;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        // High-contrast mode on or off, or its colours changed: painted
        // again in the colours that now apply.
        gdi::refreshScheme();
        InvalidateRect(window, nullptr, FALSE);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
        break;
    case WM_WINDOWPOSCHANGED: {
        const auto &position = *reinterpret_cast<const WINDOWPOS *>(lParam);
        if ((position.flags & SWP_NOZORDER) == 0 || (position.flags & SWP_SHOWWINDOW) != 0)
            scheduleKeepAbove();
        break;
    }
    case WM_CLOSE:
        // If the form lets the window close it has discarded the view (or
        // ended the program) already; otherwise the window stays.
        if (m_events)
            (void)m_events->closeRequested();
        return 0;
    case WM_SYSCOMMAND: {
        // Without minimise and maximise buttons, neither happens by other
        // ways (a task bar's menu) either.
        const auto command = wParam & 0xfff0u;
        if (command == SC_MINIMIZE || command == SC_MAXIMIZE)
            return 0;
        break;
    }
    case WM_DPICHANGED: {
        m_dpi = winapi::lowWord(wParam);
        const auto &suggested = *reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(window, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        rescale();
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto &creation = *reinterpret_cast<const CREATESTRUCTW *>(lParam);
        auto *self = static_cast<FormWindow *>(creation.lpCreateParams);
        self->m_hwnd.reset(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<FormWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    // Nothing thrown by the program crosses into the window system: the
    // front end keeps it, leaves the event loop and reports it there.
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        self->m_frontEnd.fail(std::current_exception());
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
