// A seeded random walk of the real galevane.exe under real input: each step
// is one thing a user does (a pick with the mouse or the arrow keys, typing
// into a box, Help, the maker labels, OK, Forecast Areas, Back, Alt+F4 on a
// panel, the map or the main window, a click on the main window while its
// input is off or on a panel behind it, Exit). A small model says what each
// step must lead to; after every step, once the program has settled, the
// walk checks the model against the real windows and these rules:
//   - the program runs (until Exit or the main window's close, which must end
//     it with status 0; the walk then starts it afresh) and shows a window;
//   - the main window's input is off only while a panel (help or about) is
//     visible, and while it is off every visible panel lies above it;
//   - a panel in front means the main window's input is off;
//   - after a pick the seven texts are one row of the scale table.
//
//   tst_win32walk <galevane.exe> [--seed N] [--steps N] [--seconds N]
//
// The walk stops at whichever limit comes first (default 150 steps). The
// seed is random unless given and printed first; a failure prints it again
// with the last 20 steps.

#include "core/scale/scaletable.h"
#include "core/windows/frmwindscale.h"
#include "tests/win32/support/checks.h"
#include "tests/win32/support/galevaneapp.h"
#include "tests/win32/support/userinput.h"

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using W = AppWindow;

enum class Action {
    PickWithMouse,
    PickWithUp,
    PickWithDown,
    TypeIntoBox,
    Help,
    AboutFromMain,
    AboutFromHelp,
    HelpOk,
    AboutOk,
    ForecastAreas,
    Back,
    CloseHelp,
    CloseAbout,
    CloseMap,
    ClickDisabledMain,
    ActivateHelp,
    ActivateAbout,
    Exit,
    CloseMain,
};

struct Weighted
{
    Action action;
    int weight;
    const wchar_t *name;
};

// Picks and the window flow are drawn most; the program's end seldom, so
// that a walk gets deep into the flow between starts.
constexpr Weighted actions[] = {
    {Action::PickWithMouse, 8, L"pick with mouse"},
    {Action::PickWithUp, 3, L"Up key"},
    {Action::PickWithDown, 3, L"Down key"},
    {Action::TypeIntoBox, 4, L"type into box"},
    {Action::Help, 6, L"Help"},
    {Action::AboutFromMain, 4, L"\u00a9 on main"},
    {Action::AboutFromHelp, 5, L"\u00a9 on help"},
    {Action::HelpOk, 5, L"OK on help"},
    {Action::AboutOk, 5, L"OK on about"},
    {Action::ForecastAreas, 4, L"Forecast Areas"},
    {Action::Back, 4, L"Back"},
    {Action::CloseHelp, 2, L"Alt+F4 on help"},
    {Action::CloseAbout, 2, L"Alt+F4 on about"},
    {Action::CloseMap, 2, L"Alt+F4 on map"},
    {Action::ClickDisabledMain, 4, L"click main with its input off"},
    {Action::ActivateHelp, 4, L"click help behind"},
    {Action::ActivateAbout, 2, L"click about behind"},
    {Action::Exit, 1, L"Exit"},
    {Action::CloseMain, 1, L"Alt+F4 on main"},
};

const wchar_t *nameOf(Action action)
{
    for (const Weighted &w : actions) {
        if (w.action == action)
            return w.name;
    }
    return L"?";
}

bool isPanel(W window)
{
    return window == W::Help || window == W::About;
}

// What the program must look like: which windows are loaded and visible,
// whether the main window takes input, which window is in front where the
// program decides it, and the seven texts.
struct Model
{
    std::array<bool, 4> loaded{true, false, false, false};
    std::array<bool, 4> visible{true, false, false, false};
    bool mainEnabled = true;
    // The window in front, when the program decides it (nullopt: the window
    // system's choice, after the window in front was hidden).
    std::optional<W> active = W::Main;
    // The panel whose activation switched the main window's input off.
    std::optional<W> inputHolder;
    MainTexts texts = startTexts();
    bool ended = false;

    static std::size_t at(W w) { return static_cast<std::size_t>(w); }
    [[nodiscard]] bool isVisible(W w) const { return visible[at(w)]; }
    [[nodiscard]] bool isLoaded(W w) const { return loaded[at(w)]; }

    void activate(W w)
    {
        active = w;
        if (isPanel(w)) {
            mainEnabled = false;
            inputHolder = w;
        }
    }
    void show(W w)
    {
        loaded[at(w)] = visible[at(w)] = true;
        active = w;
        if (isPanel(w)) {
            activate(w);
        } else if (w == W::Main && !mainEnabled) {
            // The main window cannot come in front of the panel holding its
            // input: that panel comes back over it.
            W holder = isVisible(W::About) ? W::About : W::Help;
            if (inputHolder && isVisible(*inputHolder))
                holder = *inputHolder;
            if (isVisible(holder))
                active = holder;
        }
    }
    void hide(W w)
    {
        visible[at(w)] = false;
        if (active == w)
            active.reset();
    }
    void unload(W w)
    {
        hide(w);
        loaded[at(w)] = false;
    }
    void inputOn()
    {
        mainEnabled = true;
        inputHolder.reset();
    }
    // The top panel of those visible (about opens over help).
    [[nodiscard]] std::optional<W> topPanel() const
    {
        if (isVisible(W::About))
            return W::About;
        if (isVisible(W::Help))
            return W::Help;
        return std::nullopt;
    }
};

struct Step
{
    Action action = Action::Help;
    ScaleColumn column = ScaleColumn::Force;
    int row = 0;
    std::wstring text;
    bool enter = false;

    [[nodiscard]] std::wstring describe() const
    {
        std::wstring out = nameOf(action);
        const std::string_view box = boxName(column);
        switch (action) {
        case Action::PickWithMouse:
            out += L" " + std::wstring(box.begin(), box.end()) + L" row " + std::to_wstring(row);
            break;
        case Action::PickWithUp:
        case Action::PickWithDown:
            out += L" " + std::wstring(box.begin(), box.end());
            break;
        case Action::TypeIntoBox:
            out += L" " + std::wstring(box.begin(), box.end()) + L" " + checks::quoted(text) +
                   (enter ? L" + Enter" : L"");
            break;
        default:
            break;
        }
        return out;
    }
};

class Walk
{
public:
    Walk(std::wstring executable, std::uint64_t seed)
        : m_executable(std::move(executable))
        , m_random(seed)
    {}

    bool start()
    {
        m_app.reset();
        m_app = std::make_unique<GalevaneApp>(m_executable);
        m_model = Model{};
        return CHECK_MSG(m_app->started(), L"the program did not start") &&
               CHECK(waitFor([this] { return m_app->foreground() == W::Main; })) &&
               CHECK(m_app->settle(settleQuietMs));
    }

    // One random step that can be done now, and the checks after it; false
    // if a check failed.
    bool step(int number)
    {
        Step chosen;
        for (int attempt = 0; attempt < 200; ++attempt) {
            chosen = draw();
            if (canDo(chosen))
                break;
            chosen.action = Action::Exit;
        }
        remember(number, chosen);
        const int failedBefore = checks::failed();
        checks::setContext(L"step " + std::to_wstring(number) + L" " + chosen.describe());
        perform(chosen);
        if (m_model.ended) {
            const std::optional<DWORD> status = m_app->waitForExit(10000);
            if (CHECK_MSG(status.has_value(), L"still running: " + m_app->snapshot()))
                CHECK_EQ(*status, DWORD{0});
            ++m_ends;
            if (checks::failed() == failedBefore)
                start();
        } else {
            checkInvariants();
        }
        m_recent.back() += L"  ->  " + (m_model.ended ? std::wstring(L"ended") : m_app->snapshot());
        return checks::failed() == failedBefore;
    }

    void printRecent() const
    {
        checks::printLine(L"the last " + std::to_wstring(m_recent.size()) + L" steps:");
        for (const std::wstring &line : m_recent)
            checks::printLine(L"  " + line);
    }

    [[nodiscard]] int ends() const { return m_ends; }
    [[nodiscard]] int picksChecked() const { return m_picks; }
    [[nodiscard]] int inputOffSteps() const { return m_inputOff; }

private:
    static constexpr int settleQuietMs = 250;
    static constexpr std::size_t recentSteps = 20;

    GalevaneApp &app() { return *m_app; }

    int uniform(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_random); }

    Step draw()
    {
        int total = 0;
        for (const Weighted &w : actions)
            total += w.weight;
        int at = uniform(total);
        Step step;
        for (const Weighted &w : actions) {
            if (at < w.weight) {
                step.action = w.action;
                break;
            }
            at -= w.weight;
        }
        step.column = allScaleColumns[static_cast<std::size_t>(uniform(6))];
        step.row = uniform(ScaleTable::rowCount);
        // Typed texts: half the time an entry of the box's own list, which
        // must not be looked up; otherwise other forms of a force and junk.
        const std::wstring typed[] = {L"12.0", L" 3 ", L"Gale", L"junk", L"x"};
        const int choice = uniform(10);
        step.text =
            choice < 5
                ? rowTexts(uniform(ScaleTable::rowCount))[static_cast<std::size_t>(step.column)]
                : typed[choice - 5];
        step.enter = uniform(2) == 1;
        return step;
    }

    [[nodiscard]] bool isFront(W window) { return app().foreground() == window; }

    // Whether a click at the point reaches the window (no other window of
    // the program lies over it there).
    bool reaches(W window, POINT point)
    {
        const HWND target = app().window(window);
        const HWND there = WindowFromPoint(point);
        return target && there && GetAncestor(there, GA_ROOT) == target;
    }

    bool canDo(const Step &step)
    {
        const Model &m = m_model;
        const bool mainTakesInput = m.isVisible(W::Main) && m.mainEnabled && isFront(W::Main);
        switch (step.action) {
        case Action::PickWithMouse:
        case Action::PickWithUp:
        case Action::PickWithDown:
        case Action::TypeIntoBox:
        case Action::Exit:
        case Action::CloseMain:
            return mainTakesInput;
        case Action::Help:
            return mainTakesInput && reaches(W::Main, app().centreOfControl(W::Main, "Command2"));
        case Action::AboutFromMain:
            return mainTakesInput && reaches(W::Main, app().centreOfPainted(W::Main, "Label8"));
        case Action::ForecastAreas:
            return mainTakesInput && reaches(W::Main, app().centreOfControl(W::Main, "Command3"));
        case Action::AboutFromHelp:
            return m.isVisible(W::Help) &&
                   reaches(W::Help, app().centreOfPainted(W::Help, "Label2"));
        case Action::HelpOk:
            return m.isVisible(W::Help) &&
                   reaches(W::Help, app().centreOfControl(W::Help, "Command1"));
        case Action::AboutOk:
            return m.isVisible(W::About) &&
                   reaches(W::About, app().centreOfControl(W::About, "Command1"));
        case Action::Back:
            return m.isVisible(W::Map) &&
                   reaches(W::Map, app().centreOfControl(W::Map, "Command1"));
        case Action::CloseHelp:
            return m.isVisible(W::Help) && isFront(W::Help);
        case Action::CloseAbout:
            return m.isVisible(W::About) && isFront(W::About);
        case Action::CloseMap:
            return m.isVisible(W::Map) && isFront(W::Map);
        case Action::ClickDisabledMain:
            return m.isVisible(W::Main) && !m.mainEnabled && app().uncoveredPoint(W::Main);
        case Action::ActivateHelp:
            return m.isVisible(W::Help) && !isFront(W::Help) && app().uncoveredPoint(W::Help);
        case Action::ActivateAbout:
            return m.isVisible(W::About) && !isFront(W::About) && app().uncoveredPoint(W::About);
        }
        return false;
    }

    void pick(int row)
    {
        m_model.texts = rowTexts(row);
        m_pickedRow = row;
    }

    void perform(const Step &step)
    {
        Model &m = m_model;
        m_pickedRow.reset();
        m_anyRowAllowed = false;
        m_endRow.reset();
        switch (step.action) {
        case Action::PickWithMouse:
            CHECK(app().pickWithMouse(step.column, step.row));
            pick(step.row);
            break;
        case Action::PickWithUp:
        case Action::PickWithDown: {
            if (!CHECK(app().focusEditField(step.column)))
                break;
            const int current = app().currentEntry(app().box(step.column));
            userinput::key(step.action == Action::PickWithUp ? VK_UP : VK_DOWN);
            const int to = current + (step.action == Action::PickWithUp ? -1 : 1);
            if (current < 0)
                m_anyRowAllowed = true; // no current entry: where the key goes is the list's
            else if (to >= 0 && to < ScaleTable::rowCount)
                pick(to);
            else
                m_endRow = current; // see checkInvariants
            break;
        }
        case Action::TypeIntoBox: {
            CHECK(app().typeInto(step.column, step.text));
            if (step.enter)
                userinput::key(VK_RETURN);
            const auto index = static_cast<std::size_t>(step.column);
            m.texts[index] = step.text;
            break;
        }
        case Action::Help:
            CHECK(app().clickControl(W::Main, "Command2"));
            m.activate(W::Main);
            m.show(W::Help);
            break;
        case Action::AboutFromMain:
            CHECK(app().clickPainted(W::Main, "Label8"));
            m.show(W::About);
            break;
        case Action::AboutFromHelp:
            CHECK(app().clickPainted(W::Help, "Label2"));
            m.activate(W::Help);
            m.show(W::About);
            break;
        case Action::HelpOk:
        case Action::AboutOk: {
            const W panel = step.action == Action::HelpOk ? W::Help : W::About;
            CHECK(app().clickControl(panel, "Command1"));
            m.activate(panel);
            m.unload(panel);
            m.inputOn();
            m.show(W::Main);
            break;
        }
        case Action::ForecastAreas:
            CHECK(app().clickControl(W::Main, "Command3"));
            m.show(W::Map);
            m.hide(W::Main);
            break;
        case Action::Back:
            CHECK(app().clickControl(W::Map, "Command1"));
            m.activate(W::Map);
            m.hide(W::Map);
            m.show(W::Main);
            break;
        case Action::CloseHelp:
        case Action::CloseAbout:
            userinput::altF4();
            m.unload(step.action == Action::CloseHelp ? W::Help : W::About);
            m.inputOn();
            m.show(W::Main);
            break;
        case Action::CloseMap:
            userinput::altF4();
            m.hide(W::Map);
            m.show(W::Main);
            m.unload(W::Map);
            break;
        case Action::ClickDisabledMain:
            CHECK(userinput::click(*app().uncoveredPoint(W::Main)));
            // The top panel comes (or stays) in front instead.
            m.active = m.topPanel();
            break;
        case Action::ActivateHelp:
        case Action::ActivateAbout:
            CHECK(userinput::click(
                *app().uncoveredPoint(step.action == Action::ActivateHelp ? W::Help : W::About)));
            m.activate(step.action == Action::ActivateHelp ? W::Help : W::About);
            break;
        case Action::Exit:
            CHECK(app().clickControl(W::Main, "Command1"));
            m.ended = true;
            break;
        case Action::CloseMain:
            userinput::altF4();
            m.ended = true;
            break;
        }
    }

    // The rules, and the model against the real windows. A discarded window
    // goes a moment after it is hidden, so they are polled until they hold
    // or the program has long settled.
    void checkInvariants()
    {
        Model &m = m_model;
        const auto modelHolds = [this] { return matchesModel().empty(); };
        app().settle(settleQuietMs);
        if (!waitFor(modelHolds, 3000))
            CHECK_MSG(false, matchesModel());
        if (!waitFor([this] { return brokenRule().empty(); }, 3000))
            CHECK_MSG(false, brokenRule());
        if (m.active && waitFor([&] { return app().foreground() == m.active; }, 3000) == false) {
            const auto front = app().foreground();
            CHECK_MSG(false, std::wstring(L"front ") + (front ? formName(*front) : L"none") +
                                 L", expected " + formName(*m.active));
        }
        // Whichever window the window system brought forward is in front now.
        if (!m.active) {
            if (const auto front = app().foreground())
                m.activate(*front);
        }
        const MainTexts texts = app().mainTexts();
        if (m_endRow && texts != m.texts && texts == rowTexts(*m_endRow)) {
            // An arrow key at the end of a list should pick nothing; Wine's
            // list reports the entry it stays on as chosen again, a pick of
            // the same row, which shows where typing or the start texts stood.
            checks::printLine(L"note: " + checks::context() + L": Wine picked row " +
                              std::to_wstring(*m_endRow) + L" again at the end of the list");
            m.texts = texts;
        } else if (m_anyRowAllowed) {
            CHECK_MSG(texts == m.texts || rowOf(texts).has_value(), describe(texts));
            m.texts = texts;
        } else {
            CHECK_MSG(texts == m.texts,
                      L"texts " + describe(texts) + L", expected " + describe(m.texts));
        }
        if (m_pickedRow) {
            CHECK_MSG(rowOf(texts) == m_pickedRow,
                      L"not row " + std::to_wstring(*m_pickedRow) + L": " + describe(texts));
            ++m_picks;
        }
        if (!app().mainEnabled())
            ++m_inputOff;
    }

    // What differs between the model and the real windows; empty if nothing.
    std::wstring matchesModel()
    {
        const Model &m = m_model;
        std::wstring out;
        if (!app().isRunning())
            return L"the program has ended";
        for (W w : allWindows) {
            if (app().isVisible(w) != m.isVisible(w))
                out += std::wstring(formName(w)) +
                       (m.isVisible(w) ? L" not visible; " : L" visible; ");
            if (app().isLoaded(w) != m.isLoaded(w))
                out +=
                    std::wstring(formName(w)) + (m.isLoaded(w) ? L" not loaded; " : L" loaded; ");
        }
        if (app().mainEnabled() != m.mainEnabled)
            out += m.mainEnabled ? L"main input off; " : L"main input on; ";
        return out;
    }

    std::wstring brokenRule()
    {
        const bool anyVisible = std::any_of(allWindows.begin(), allWindows.end(),
                                            [this](W w) { return app().isVisible(w); });
        if (!anyVisible)
            return L"no window visible";
        const bool panelVisible = app().isVisible(W::Help) || app().isVisible(W::About);
        if (!app().mainEnabled() && !panelVisible)
            return L"main input off with no panel visible";
        if (!app().mainEnabled() && app().isVisible(W::Main)) {
            for (W panel : {W::Help, W::About}) {
                if (app().isVisible(panel) && !isAbove(app().window(panel), app().window(W::Main)))
                    return std::wstring(formName(panel)) + L" under main while its input is off";
            }
        }
        const auto front = app().foreground();
        if (front && isPanel(*front) && app().mainEnabled())
            return std::wstring(formName(*front)) + L" in front with main's input on";
        return {};
    }

    void remember(int number, const Step &step)
    {
        if (m_recent.size() == recentSteps)
            m_recent.pop_front();
        m_recent.push_back(std::to_wstring(number) + L": " + step.describe());
    }

    std::wstring m_executable;
    std::mt19937_64 m_random;
    std::unique_ptr<GalevaneApp> m_app;
    Model m_model;
    std::optional<int> m_pickedRow;
    bool m_anyRowAllowed = false;
    // An arrow key at the end of the list, on this current entry.
    std::optional<int> m_endRow;
    std::deque<std::wstring> m_recent;
    int m_ends = 0;
    int m_picks = 0;
    int m_inputOff = 0;
};

std::optional<std::uint64_t> numberOf(const std::wstring &text)
{
    try {
        std::size_t used = 0;
        const std::uint64_t value = std::stoull(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::exception &) {
    }
    return std::nullopt;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    SetProcessDPIAware();
    if (argc < 2) {
        checks::printLine(L"usage: tst_win32walk <galevane.exe> [--seed N] [--steps N] "
                          L"[--seconds N]");
        return 2;
    }
    std::uint64_t seed = std::random_device{}();
    seed = seed << 32 | std::random_device{}();
    std::uint64_t steps = 150;
    std::uint64_t seconds = 0;
    for (int i = 2; i < argc; i += 2) {
        const std::wstring option = argv[i];
        const auto value = i + 1 < argc ? numberOf(argv[i + 1]) : std::nullopt;
        if (!value) {
            checks::printLine(L"bad or missing value for " + option);
            return 2;
        }
        if (option == L"--seed")
            seed = *value;
        else if (option == L"--steps")
            steps = *value;
        else if (option == L"--seconds")
            seconds = *value;
        else {
            checks::printLine(L"unknown option " + option);
            return 2;
        }
    }
    checks::printLine(L"seed " + std::to_wstring(seed) + L", at most " + std::to_wstring(steps) +
                      L" steps" +
                      (seconds ? L" or " + std::to_wstring(seconds) + L" s" : std::wstring()) +
                      L", screen at " + std::to_wstring(screenDpi()) + L" dpi");

    using Clock = std::chrono::steady_clock;
    const auto begin = Clock::now();
    Walk walk(argv[1], seed);
    checks::setContext(L"start");
    int done = 0;
    if (walk.start()) {
        while (static_cast<std::uint64_t>(done) < steps &&
               (!seconds || Clock::now() - begin < std::chrono::seconds(seconds))) {
            ++done;
            if (!walk.step(done)) {
                checks::printLine(L"seed " + std::to_wstring(seed) + L" failed at step " +
                                  std::to_wstring(done));
                walk.printRecent();
                break;
            }
        }
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - begin).count();
    checks::printLine(L"walk: " + std::to_wstring(done) + L" steps, " +
                      std::to_wstring(walk.ends()) + L" ends, " +
                      std::to_wstring(walk.picksChecked()) + L" picks checked, " +
                      std::to_wstring(walk.inputOffSteps()) + L" steps with main's input off, " +
                      std::to_wstring(elapsed) + L" s");
    return checks::summary();
}
