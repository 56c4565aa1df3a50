#pragma once

// What the program should look like after each user action: a small model of
// the four windows (created, loaded, visible, which one is in front, whether
// the main window takes input) and of the seven texts the main window shows.
// The model knows nothing about widgets; the walk and the exploration drive
// the real windows and compare them with it.

#include "core/scale/scalecolumn.h"
#include "core/scale/scaletable.h"
#include "tests/support/uidriver.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>
#include <vector>

namespace modelwalk {

enum class Win { Main, Help, About, Map };
inline constexpr int winCount = 4;
inline constexpr std::array<Win, winCount> allWins{Win::Main, Win::Help, Win::About, Win::Map};

inline const char *winName(Win win)
{
    switch (win) {
    case Win::Main:
        return "main";
    case Win::Help:
        return "help";
    case Win::About:
        return "about";
    case Win::Map:
        return "map";
    }
    return "?";
}

// Everything a user can do. The first group works on the main window's
// lists and texts, the second is the window flow.
enum class Action {
    PickWithMouse,
    PickWithUp,
    PickWithDown,
    TypeIntoBox,
    PasteIntoBox,
    TypeIntoCriterion,

    Help,          // main "Help"
    AboutFromMain, // main "© Quayforth" (Label8)
    AboutFromHelp, // help "© Quayforth" (Label2)
    HelpOk,
    AboutOk,
    ForecastAreas, // main "Forecast Areas"
    Back,          // map "Back"
    CloseMain,     // window manager closes the window
    CloseHelp,
    CloseAbout,
    CloseMap,
    ReactivateHelp, // the user brings the window to the front again
    ReactivateAbout,
    Exit, // main "E&xit"
};

inline const char *actionName(Action action)
{
    switch (action) {
    case Action::PickWithMouse:
        return "pick with mouse";
    case Action::PickWithUp:
        return "Up key";
    case Action::PickWithDown:
        return "Down key";
    case Action::TypeIntoBox:
        return "type into box";
    case Action::PasteIntoBox:
        return "paste into box";
    case Action::TypeIntoCriterion:
        return "type into Text1";
    case Action::Help:
        return "Help";
    case Action::AboutFromMain:
        return "\u00a9 on main";
    case Action::AboutFromHelp:
        return "\u00a9 on help";
    case Action::HelpOk:
        return "OK on help";
    case Action::AboutOk:
        return "OK on about";
    case Action::ForecastAreas:
        return "Forecast Areas";
    case Action::Back:
        return "Back";
    case Action::CloseMain:
        return "close main";
    case Action::CloseHelp:
        return "close help";
    case Action::CloseAbout:
        return "close about";
    case Action::CloseMap:
        return "close map";
    case Action::ReactivateHelp:
        return "activate help";
    case Action::ReactivateAbout:
        return "activate about";
    case Action::Exit:
        return "Exit";
    }
    return "?";
}

// The window actions alone, for the exploration. Exit and closing the main
// window end the program and are checked separately.
inline constexpr std::array windowActions{
    Action::Help,       Action::AboutFromMain, Action::AboutFromHelp,  Action::HelpOk,
    Action::AboutOk,    Action::ForecastAreas, Action::Back,           Action::CloseHelp,
    Action::CloseAbout, Action::CloseMap,      Action::ReactivateHelp, Action::ReactivateAbout,
};

// How typing into a box is finished.
enum class Finish { Nothing, Return, Enter, Tab };

struct Step
{
    Action action = Action::Help;
    int box = 0; // index into allScaleColumns
    int row = 0; // entry picked with the mouse
    QString text;
    Finish finish = Finish::Nothing;

    [[nodiscard]] QString describe() const
    {
        QString out = QString::fromUtf8(actionName(action));
        switch (action) {
        case Action::PickWithMouse:
            out += QStringLiteral(" box %1 row %2").arg(box).arg(row);
            break;
        case Action::PickWithUp:
        case Action::PickWithDown:
            out += QStringLiteral(" box %1").arg(box);
            break;
        case Action::TypeIntoBox:
        case Action::PasteIntoBox:
        case Action::TypeIntoCriterion: {
            if (action != Action::TypeIntoCriterion)
                out += QStringLiteral(" box %1").arg(box);
            QString shown = text.size() > 40 ? text.left(37) + QStringLiteral("...") : text;
            out += QStringLiteral(" \"%1\" (%2 chars)").arg(shown).arg(text.size());
            const char *finishes[] = {"", " + Return", " + Enter", " + Tab"};
            out += QString::fromLatin1(finishes[int(finish)]);
            break;
        }
        default:
            break;
        }
        return out;
    }
};

struct WindowState
{
    bool created = false; // the registry holds its instance
    bool loaded = false;
    bool visible = false;

    auto operator<=>(const WindowState &) const = default;
};

// The window flow as the user sees it. `active` is the program window in
// front taking the keyboard, if any.
struct FlowState
{
    std::array<WindowState, winCount> windows{};
    bool mainEnabled = true;
    std::optional<Win> active;
    bool ended = false;

    auto operator<=>(const FlowState &) const = default;

    WindowState &operator[](Win win) { return windows[std::size_t(win)]; }
    const WindowState &operator[](Win win) const { return windows[std::size_t(win)]; }

    static FlowState atStart()
    {
        FlowState state;
        state[Win::Main] = {true, true, true};
        state.active = Win::Main;
        return state;
    }

    // Loaded and visible per window plus the main window's input: the state
    // as counted by the exploration, without the front window.
    [[nodiscard]] auto shape() const
    {
        return std::tuple(windows[0].visible, windows[1].loaded, windows[1].visible,
                          windows[2].loaded, windows[2].visible, windows[3].loaded,
                          windows[3].visible, mainEnabled);
    }

    [[nodiscard]] int visibleCount() const
    {
        int count = 0;
        for (const WindowState &w : windows)
            count += w.visible ? 1 : 0;
        return count;
    }

    [[nodiscard]] QString describe() const
    {
        if (ended)
            return QStringLiteral("ended");
        QStringList parts;
        for (Win win : allWins) {
            const WindowState &w = (*this)[win];
            const char *what = !w.created  ? "none"
                               : !w.loaded ? "unloaded"
                               : w.visible ? "visible"
                                           : "hidden";
            parts << QStringLiteral("%1 %2").arg(QString::fromLatin1(winName(win)),
                                                 QString::fromLatin1(what));
        }
        parts << (mainEnabled ? QStringLiteral("input on") : QStringLiteral("input off"));
        parts << QStringLiteral("front %1")
                     .arg(active ? QString::fromLatin1(winName(*active)) : QStringLiteral("none"));
        return parts.join(u", ");
    }
};

// The main window's seven texts and, per box, the list entry the arrow keys
// step on from.
struct MainTexts
{
    std::array<QString, 7> texts{QStringLiteral("0"),
                                 QStringLiteral("Calm"),
                                 QStringLiteral("Less than 1"),
                                 QStringLiteral("0.0 - 0.2"),
                                 QStringLiteral("Less than 1"),
                                 QStringLiteral("0.0"),
                                 QStringLiteral("Sea like a mirror")};
    std::array<int, 6> current{}; // filling a list makes its first entry current
};

class Model
{
public:
    FlowState flow = FlowState::atStart();
    MainTexts main;
    // Set by a step that picks an entry: the row all seven texts must show.
    std::optional<int> pickedRow;
    // Set when a step hid the active window without showing another: which
    // window comes to the front then (if any) is the window system's choice.
    bool frontOpen = false;
    // The panel whose activation last switched the main window's input off.
    std::optional<Win> inputHolder;

    [[nodiscard]] bool visible(Win win) const { return flow[win].visible; }
    [[nodiscard]] bool mainTakesInput() const { return visible(Win::Main) && flow.mainEnabled; }

    // Whether a user can do the action now. A visible main window with its
    // input off can still be clicked and typed at: that must do nothing.
    [[nodiscard]] bool canDo(Action action) const
    {
        if (flow.ended)
            return false;
        if (targetsMain(action))
            return visible(Win::Main);
        switch (action) {
        case Action::AboutFromHelp:
        case Action::HelpOk:
        case Action::CloseHelp:
        case Action::ReactivateHelp:
            return visible(Win::Help);
        case Action::AboutOk:
        case Action::CloseAbout:
        case Action::ReactivateAbout:
            return visible(Win::About);
        case Action::Back:
        case Action::CloseMap:
            return visible(Win::Map);
        default:
            return false;
        }
    }

    // Whether the action would only be tried on a main window that takes no
    // input (and so must change nothing).
    [[nodiscard]] bool isTriedOnly(Action action) const
    {
        return targetsMain(action) && !mainTakesInput();
    }

    static bool targetsMain(Action action)
    {
        switch (action) {
        case Action::PickWithMouse:
        case Action::PickWithUp:
        case Action::PickWithDown:
        case Action::TypeIntoBox:
        case Action::PasteIntoBox:
        case Action::TypeIntoCriterion:
        case Action::Help:
        case Action::AboutFromMain:
        case Action::ForecastAreas:
        case Action::Exit:
        case Action::CloseMain:
            return true;
        default:
            return false;
        }
    }

    // The window a click of this action lands in; the window system makes a
    // window active when the user clicks into it. None for window-manager
    // closes, which act on a window without bringing it forward.
    static std::optional<Win> clickedWindow(Action action)
    {
        switch (action) {
        case Action::CloseMain:
        case Action::CloseHelp:
        case Action::CloseAbout:
        case Action::CloseMap:
        case Action::ReactivateHelp:
        case Action::ReactivateAbout:
            return std::nullopt;
        case Action::AboutFromHelp:
        case Action::HelpOk:
            return Win::Help;
        case Action::AboutOk:
            return Win::About;
        case Action::Back:
            return Win::Map;
        default:
            return Win::Main;
        }
    }

    // The expected effect of a step the user can do (canDo).
    void apply(const Step &step)
    {
        pickedRow.reset();
        frontOpen = false;
        if (isTriedOnly(step.action))
            return; // no input: clicks, keys and the close request go nowhere
        if (const auto clicked = clickedWindow(step.action))
            activate(*clicked);

        switch (step.action) {
        case Action::PickWithMouse:
            pick(step.row);
            break;
        case Action::PickWithUp:
        case Action::PickWithDown: {
            const int to =
                main.current[std::size_t(step.box)] + (step.action == Action::PickWithUp ? -1 : 1);
            if (to >= 0 && to < ScaleTable::rowCount)
                pick(to); // at either end of the list the key does nothing
            break;
        }
        case Action::TypeIntoBox:
        case Action::PasteIntoBox:
            main.texts[std::size_t(step.box)] = step.text;
            break;
        case Action::TypeIntoCriterion:
            main.texts[6] = step.text;
            break;
        case Action::Help:
            show(Win::Help);
            break;
        case Action::AboutFromMain:
        case Action::AboutFromHelp:
            show(Win::About);
            break;
        case Action::HelpOk:
        case Action::AboutOk:
            unload(step.action == Action::HelpOk ? Win::Help : Win::About);
            inputOn();
            show(Win::Main);
            break;
        case Action::ForecastAreas:
            show(Win::Map);
            hide(Win::Main);
            break;
        case Action::Back:
            hide(Win::Map);
            show(Win::Main);
            break;
        case Action::CloseHelp:
        case Action::CloseAbout:
            // The panels have no close box; if a window manager closes one
            // anyway, the program does what OK does: the main window comes
            // to the front taking input (even over the map).
            unload(step.action == Action::CloseHelp ? Win::Help : Win::About);
            inputOn();
            show(Win::Main);
            break;
        case Action::CloseMap:
            hide(Win::Map);
            show(Win::Main);
            unload(Win::Map);
            break;
        case Action::ReactivateHelp:
            activate(Win::Help);
            break;
        case Action::ReactivateAbout:
            activate(Win::About);
            break;
        case Action::Exit:
        case Action::CloseMain:
            end();
            break;
        }
    }

    // After a step that left the front open: the window system brought
    // `front` forward, or nothing. That counts as the window becoming active,
    // so a panel switches the main window off as if the user had activated it.
    // False if `front` is not a visible window.
    bool adoptFront(std::optional<Win> front)
    {
        if (!frontOpen)
            return true;
        frontOpen = false;
        if (!front) {
            flow.active.reset();
            return true;
        }
        if (!visible(*front))
            return false;
        activate(*front);
        return true;
    }

private:
    static bool isPanel(Win win) { return win == Win::Help || win == Win::About; }

    // A panel that becomes the active window switches the main window off.
    void activate(Win win)
    {
        frontOpen = false;
        if (flow.active == win)
            return;
        flow.active = win;
        if (isPanel(win))
            inputOffBy(win);
    }

    void show(Win win)
    {
        flow[win] = {true, true, true};
        flow.active = win;
        frontOpen = false;
        if (isPanel(win))
            inputOffBy(win); // Form_Activate runs within Show
        else if (win == Win::Main && !flow.mainEnabled)
            bringBackTheInputHolder();
    }

    void inputOffBy(Win panel)
    {
        flow.mainEnabled = false;
        inputHolder = panel;
    }

    void inputOn()
    {
        flow.mainEnabled = true;
        inputHolder.reset();
    }

    // The main window cannot come in front of the panel that has its input
    // off: that panel is brought back over it and takes the keyboard. (A
    // model made from a bare state does not know that panel; the one on top
    // is then the about window, if open.)
    void bringBackTheInputHolder()
    {
        Win holder = visible(Win::About) ? Win::About : Win::Help;
        if (inputHolder && visible(*inputHolder))
            holder = *inputHolder;
        if (visible(holder))
            flow.active = holder;
    }

    void hide(Win win)
    {
        flow[win].visible = false;
        if (flow.active == win) {
            flow.active.reset();
            frontOpen = true;
        }
    }

    void unload(Win win)
    {
        hide(win);
        flow[win].loaded = false;
    }

    void end()
    {
        flow.ended = true;
        for (WindowState &w : flow.windows)
            w.visible = false;
        flow.active.reset();
    }

    void pick(int row)
    {
        main.texts = uidriver::rowTexts(row);
        main.current.fill(row);
        pickedRow = row;
    }
};

// Every state of the window flow reachable from start-up within `depth`
// window actions, with one shortest way to reach each.
struct Reachable
{
    FlowState state;
    std::vector<Step> path;
};

inline std::vector<Reachable> reachableStates(int depth)
{
    std::vector<Reachable> found{{FlowState::atStart(), {}}};
    std::size_t levelBegin = 0;
    for (int level = 0; level < depth; ++level) {
        const std::size_t levelEnd = found.size();
        for (std::size_t i = levelBegin; i < levelEnd; ++i) {
            for (Action action : windowActions) {
                Model model;
                model.flow = found[i].state;
                if (!model.canDo(action))
                    continue;
                model.apply(Step{action});
                const bool known = std::any_of(found.begin(), found.end(), [&](const Reachable &r) {
                    return r.state == model.flow;
                });
                if (!known) {
                    auto path = found[i].path;
                    path.push_back(Step{action});
                    found.push_back({model.flow, std::move(path)});
                }
            }
        }
        levelBegin = levelEnd;
    }
    return found;
}

} // namespace modelwalk
