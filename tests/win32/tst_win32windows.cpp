// The real galevane.exe driven from outside, as a user would: real mouse and
// keyboard input through SendInput to the screen places of its controls, read
// back through the window system (the controls' texts and lists, which
// windows are visible, enabled, in front and above which, their places, the
// exit status). Each case starts the program afresh.
//
//   tst_win32windows <galevane.exe> [--group NAME]... [--case TEXT]
//
// Groups: startup (texts, lists, places and sizes), pick (every entry of
// every list with the mouse, the arrow keys), typing (typed text is never
// looked up; Enter and Escape press nothing), flow (help, about, the map and
// back, the panels' Alt+F4, the panel kept above the main window while its
// input is off), exit (the Exit button, Alt+X, closing the main window).

#include "core/scale/scaletable.h"
#include "core/windows/frmwindscale.h"
#include "tests/win32/support/checks.h"
#include "tests/win32/support/galevaneapp.h"
#include "tests/win32/support/testmain.h"
#include "tests/win32/support/userinput.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

#define CHECK_TEXTS(actual, expected)                                                              \
    [&](const MainTexts &a_, const MainTexts &e_) {                                                \
        return CHECK_MSG(a_ == e_, L"got " + describe(a_) + L", expected " + describe(e_));        \
    }((actual), (expected))

std::wstring wide(std::u16string_view text)
{
    return {text.begin(), text.end()};
}
std::wstring wide(std::string_view text)
{
    return {text.begin(), text.end()};
}

int dpi()
{
    return screenDpi();
}

// The window rectangle a panel must have: borderless, so the client area, at
// its fixed place from the screen's top-left corner.
RECT panelRect(AppWindow form)
{
    const WindowSpec &layout = windowLayoutOf(form);
    const PixelSize at = twipsToPixels(layout.screenPosition, dpi());
    const PixelSize size = twipsToPixels(layout.client, dpi());
    return {at.width, at.height, at.width + size.width, at.height + size.height};
}

bool sameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Whether the whole window, frame included, is centred on the work area
// (to the pixel that halving an odd difference leaves).
bool isCentred(HWND window, std::wstring &detail)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT rect = windowRect(window);
    const int dx = (rect.left - work.left) - (work.right - rect.right);
    const int dy = (rect.top - work.top) - (work.bottom - rect.bottom);
    detail = L"window " + describe(rect) + L", work area " + describe(work);
    return std::abs(dx) <= 1 && std::abs(dy) <= 1;
}

bool waitFront(GalevaneApp &app, AppWindow form)
{
    return waitFor([&] { return app.foreground() == form; });
}

std::wstring frontName(GalevaneApp &app)
{
    const auto front = app.foreground();
    return front ? formName(*front) : L"none";
}

// ---- startup ---------------------------------------------------------------

void startupMainWindow(GalevaneApp &app)
{
    const HWND main = app.window(AppWindow::Main);
    CHECK_EQ(app.text(main), std::wstring(L"Galevane"));
    CHECK_MSG(waitFront(app, AppWindow::Main), L"front: " + frontName(app));
    CHECK(app.mainEnabled());
    CHECK(app.settle());
    const PixelSize client = twipsToPixels(windowLayoutOf(AppWindow::Main).client, dpi());
    const SIZE actual = clientSize(main);
    CHECK_EQ(actual.cx, client.width);
    CHECK_EQ(actual.cy, client.height);
    std::wstring detail;
    CHECK_MSG(isCentred(main, detail), detail);
    // A fixed frame: a caption and close box, no sizing border, no
    // minimise or maximise box.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(main, GWL_STYLE));
    CHECK((style & WS_CAPTION) == WS_CAPTION);
    CHECK((style & WS_SYSMENU) != 0);
    CHECK((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0);
    for (AppWindow other : {AppWindow::Help, AppWindow::About, AppWindow::Map})
        CHECK_MSG(!app.isLoaded(other), formName(other));
}

void startupTextsAndLists(GalevaneApp &app)
{
    CHECK_TEXTS(app.mainTexts(), startTexts());
    // The start texts are those the program is designed with.
    const MainTexts expected{L"0",           L"Calm", L"Less than 1",      L"0.0 - 0.2",
                             L"Less than 1", L"0.0",  L"Sea like a mirror"};
    CHECK_TEXTS(startTexts(), expected);
    for (ScaleColumn column : allScaleColumns) {
        checks::setContext(L"startup/texts " + wide(boxName(column)));
        const ScaleTable::ColumnTexts texts = ScaleTable::columnTexts(column);
        const std::vector<std::wstring> entries = app.listEntries(app.box(column));
        if (!CHECK_EQ(entries.size(), texts.size()))
            continue;
        for (std::size_t i = 0; i < entries.size(); ++i)
            CHECK_EQ(entries[i], wide(texts[i]));
    }
}

void startupControlPlaces(GalevaneApp &app)
{
    const HWND main = app.window(AppWindow::Main);
    for (const ControlSpec &control : controlsOf(AppWindow::Main)) {
        const HWND child = app.control(AppWindow::Main, control.name);
        const bool isWindow =
            control.kind == ControlKind::ComboBox || control.kind == ControlKind::TextBox ||
            control.kind == ControlKind::Button || control.kind == ControlKind::GraphicalButton;
        checks::setContext(L"startup/places " + wide(control.name));
        if (!CHECK_MSG(isWindow == (child != nullptr), L"child window found or not"))
            continue;
        if (!child)
            continue;
        const PixelRect expected = twipsToPixels(control.rect, dpi());
        RECT rect = windowRect(child);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT *>(&rect), 2);
        CHECK_EQ(rect.left, expected.left);
        CHECK_EQ(rect.top, expected.top);
        CHECK_EQ(rect.right - rect.left, expected.width);
        // A drop-down box too, closed.
        CHECK_EQ(rect.bottom - rect.top, expected.height);
        if (control.kind == ControlKind::Button || control.kind == ControlKind::GraphicalButton)
            CHECK_EQ(app.text(child), wide(control.text));
    }
}

// Dropped, each list shows every entry from the first, with no scroll bar.
void droppedListsShowEveryEntry(GalevaneApp &app)
{
    for (ScaleColumn column : allScaleColumns) {
        checks::setContext(L"startup/dropped list " + wide(boxName(column)));
        const HWND combo = app.box(column);
        userinput::click(app.dropButtonOf(combo));
        if (!CHECK(waitFor([&] { return app.isDropped(combo); })))
            continue;
        const HWND list = app.listOf(combo);
        const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        const auto itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        RECT client{};
        GetClientRect(list, &client);
        CHECK_EQ(count, ScaleTable::rowCount);
        CHECK_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
        CHECK_MSG(client.bottom >= count * itemHeight, L"room for every entry");
        CHECK_MSG((GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) == 0, L"no scroll bar");
        userinput::key(VK_ESCAPE);
        CHECK(waitFor([&] { return !app.isDropped(combo); }));
    }
}

struct ToolTipSearch
{
    DWORD process;
    bool shown;
};

BOOL CALLBACK findShownToolTip(HWND window, LPARAM context)
{
    auto &search = *reinterpret_cast<ToolTipSearch *>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    search.shown = owner == search.process && std::wstring_view(className) == TOOLTIPS_CLASSW &&
                   IsWindowVisible(window);
    return !search.shown;
}

// Whether one of the program's tool tips shows.
bool toolTipShown(GalevaneApp &app)
{
    ToolTipSearch search{app.processId(), false};
    EnumWindows(findShownToolTip, reinterpret_cast<LPARAM>(&search));
    return search.shown;
}

// The maker's label, the main window's one label with a tool tip, shows it
// when the pointer rests on it, and no tip shows once the pointer has moved
// to a label without one.
void makerLabelShowsItsToolTip(GalevaneApp &app)
{
    CHECK(app.settle());
    CHECK(!toolTipShown(app));
    CHECK(userinput::moveTo(app.centreOfPainted(AppWindow::Main, "Label8")));
    CHECK(waitFor([&] { return toolTipShown(app); }));
    CHECK(userinput::moveTo(app.centreOfPainted(AppWindow::Main, "Label1")));
    CHECK(waitFor([&] { return !toolTipShown(app); }));
}

// ---- pick ------------------------------------------------------------------

void pickEveryEntryWithTheMouse(GalevaneApp &app)
{
    for (ScaleColumn column : allScaleColumns) {
        // Each box starts at row 0 after the last one ended at row 12, so
        // every pick changes every text.
        for (int row = 0; row < ScaleTable::rowCount; ++row) {
            checks::setContext(L"pick/mouse " + wide(boxName(column)) + L" row " +
                               std::to_wstring(row));
            if (!CHECK(app.pickWithMouse(column, row)))
                return;
            CHECK(waitFor([&] { return app.mainTexts() == rowTexts(row); }));
            CHECK_TEXTS(app.mainTexts(), rowTexts(row));
            CHECK(!app.isDropped(app.box(column)));
        }
    }
}

void pickWithArrowKeys(GalevaneApp &app)
{
    struct KeyStep
    {
        ScaleColumn column;
        WORD key;
        int row; // the row the texts show afterwards
    };
    // Up on the first entry picks nothing; the start texts are not row 0's
    // (the criterion has no full stop), so a pick would show. (Wine's list
    // reports the entry it stays on as chosen again; the box tells that
    // apart.)
    checks::setContext(L"pick/keys Up at the start");
    if (!CHECK(app.focusEditField(ScaleColumn::Force)))
        return;
    userinput::key(VK_UP);
    CHECK(app.settle());
    CHECK_TEXTS(app.mainTexts(), startTexts());
    // Filling a list makes its first entry current, so Down first picks
    // row 1; a pick makes the row current in every box.
    const KeyStep steps[] = {
        {ScaleColumn::Force, VK_DOWN, 1},        {ScaleColumn::Force, VK_DOWN, 2},
        {ScaleColumn::Force, VK_UP, 1},          {ScaleColumn::Description, VK_DOWN, 2},
        {ScaleColumn::Knots, VK_DOWN, 3},        {ScaleColumn::MetresPerSecond, VK_UP, 2},
        {ScaleColumn::MilesPerHour, VK_DOWN, 3}, {ScaleColumn::WaveHeight, VK_DOWN, 4},
        {ScaleColumn::WaveHeight, VK_UP, 3},     {ScaleColumn::Force, VK_UP, 2},
        {ScaleColumn::Force, VK_UP, 1},          {ScaleColumn::Force, VK_UP, 0},
    };
    for (const KeyStep &step : steps) {
        checks::setContext(L"pick/keys " + wide(boxName(step.column)) +
                           (step.key == VK_DOWN ? L" Down" : L" Up") + L" to row " +
                           std::to_wstring(step.row));
        if (!CHECK(app.focusEditField(step.column)))
            return;
        userinput::key(step.key);
        CHECK(waitFor([&] { return app.mainTexts() == rowTexts(step.row); }));
        CHECK_TEXTS(app.mainTexts(), rowTexts(step.row));
    }
    // At either end of a list the arrow keys pick nothing.
    checks::setContext(L"pick/keys Up at row 0");
    userinput::key(VK_UP);
    CHECK(app.settle());
    CHECK_TEXTS(app.mainTexts(), rowTexts(0));
    checks::setContext(L"pick/keys Down at row 12");
    CHECK(app.pickWithMouse(ScaleColumn::MilesPerHour, 12));
    CHECK(waitFor([&] { return app.mainTexts() == rowTexts(12); }));
    CHECK(app.focusEditField(ScaleColumn::Knots));
    userinput::key(VK_DOWN);
    CHECK(app.settle());
    CHECK_TEXTS(app.mainTexts(), rowTexts(12));
}

// ---- typing ----------------------------------------------------------------

void typedEntryIsNotLookedUp(GalevaneApp &app)
{
    // "Gale" is an entry of the list; typed and entered it is still only text.
    CHECK(app.typeInto(ScaleColumn::Description, L"Gale"));
    userinput::key(VK_RETURN);
    CHECK(app.settle());
    MainTexts expected = startTexts();
    expected[1] = L"Gale";
    CHECK_TEXTS(app.mainTexts(), expected);
    CHECK(app.isRunning() && !app.isLoaded(AppWindow::Help) && !app.isLoaded(AppWindow::Map));

    checks::setContext(L"typing/force 7 + Enter");
    CHECK(app.typeInto(ScaleColumn::Force, L"7"));
    userinput::key(VK_RETURN);
    CHECK(app.settle());
    expected[0] = L"7";
    CHECK_TEXTS(app.mainTexts(), expected);
}

void pickOverwritesTypedText(GalevaneApp &app)
{
    CHECK(app.typeInto(ScaleColumn::Knots, L"junk"));
    CHECK(app.typeInto(ScaleColumn::WaveHeight, L"99"));
    CHECK(app.pickWithMouse(ScaleColumn::Force, 5));
    CHECK(waitFor([&] { return app.mainTexts() == rowTexts(5); }));
    CHECK_TEXTS(app.mainTexts(), rowTexts(5));
}

void enterAndEscapePressNoButton(GalevaneApp &app)
{
    // In each box and on the criterion: no default or cancel button exists.
    for (ScaleColumn column : {ScaleColumn::Force, ScaleColumn::WaveHeight}) {
        checks::setContext(L"typing/Enter and Escape in " + wide(boxName(column)));
        CHECK(app.focusEditField(column));
        userinput::key(VK_RETURN);
        userinput::key(VK_ESCAPE);
        CHECK(app.settle());
        CHECK(app.isRunning());
        CHECK(app.isVisible(AppWindow::Main) && app.mainEnabled());
        for (AppWindow other : {AppWindow::Help, AppWindow::About, AppWindow::Map})
            CHECK_MSG(!app.isLoaded(other), formName(other));
        CHECK_TEXTS(app.mainTexts(), startTexts());
    }
}

// ---- flow ------------------------------------------------------------------

// While a panel is up the main window stays visible with its input off, and
// every visible panel lies above it.
void checkPanelHoldsMain(GalevaneApp &app, std::initializer_list<AppWindow> panels)
{
    CHECK(app.isVisible(AppWindow::Main));
    CHECK(!app.mainEnabled());
    for (AppWindow panel : panels) {
        CHECK_MSG(app.isVisible(panel), formName(panel));
        CHECK_MSG(isAbove(app.window(panel), app.window(AppWindow::Main)),
                  std::wstring(formName(panel)) + L" not above main: " + app.snapshot());
    }
}

// After OK or a panel's close: the main window is in front taking input.
void checkMainBack(GalevaneApp &app)
{
    CHECK_MSG(waitFront(app, AppWindow::Main), L"front: " + frontName(app));
    CHECK(waitFor([&] { return app.mainEnabled(); }));
    CHECK(app.settle());
    CHECK(app.mainEnabled());
    CHECK_MSG(app.foreground() == AppWindow::Main, app.snapshot());
    // The keyboard is back on one of its controls.
    const HWND main = app.window(AppWindow::Main);
    CHECK_MSG(waitFor([&] {
                  const HWND focused = app.focus();
                  return focused && focused != main && GetAncestor(focused, GA_ROOT) == main;
              }),
              app.snapshot());
}

void helpOpensAndOkCloses(GalevaneApp &app)
{
    CHECK(app.clickControl(AppWindow::Main, "Command2"));
    CHECK(waitFor([&] { return app.isVisible(AppWindow::Help); }));
    CHECK_MSG(waitFront(app, AppWindow::Help), L"front: " + frontName(app));
    CHECK(app.settle());
    const HWND help = app.window(AppWindow::Help);
    CHECK_MSG(sameRect(windowRect(help), panelRect(AppWindow::Help)),
              describe(windowRect(help)) + L" expected " + describe(panelRect(AppWindow::Help)));
    const SIZE client = clientSize(help);
    const PixelSize expected = twipsToPixels(windowLayoutOf(AppWindow::Help).client, dpi());
    CHECK_EQ(client.cx, expected.width);
    CHECK_EQ(client.cy, expected.height);
    CHECK((GetWindowLongPtrW(help, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME)) == 0);
    checkPanelHoldsMain(app, {AppWindow::Help});

    checks::setContext(L"flow/help OK");
    CHECK(app.clickControl(AppWindow::Help, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::Help); }));
    checkMainBack(app);
}

void aboutFromMainOpensAndOkCloses(GalevaneApp &app)
{
    CHECK(app.clickPainted(AppWindow::Main, "Label8"));
    CHECK(waitFor([&] { return app.isVisible(AppWindow::About); }));
    CHECK_MSG(waitFront(app, AppWindow::About), L"front: " + frontName(app));
    CHECK(app.settle());
    const HWND about = app.window(AppWindow::About);
    CHECK_MSG(sameRect(windowRect(about), panelRect(AppWindow::About)),
              describe(windowRect(about)) + L" expected " + describe(panelRect(AppWindow::About)));
    checkPanelHoldsMain(app, {AppWindow::About});
    CHECK(!app.isLoaded(AppWindow::Help));

    checks::setContext(L"flow/about OK");
    CHECK(app.clickControl(AppWindow::About, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::About); }));
    checkMainBack(app);
}

// Help, then its maker label: about opens exactly over help.
bool openAboutOverHelp(GalevaneApp &app)
{
    if (!CHECK(app.clickControl(AppWindow::Main, "Command2")) ||
        !CHECK(waitFront(app, AppWindow::Help)) || !CHECK(app.settle()))
        return false;
    if (!CHECK(app.clickPainted(AppWindow::Help, "Label2")) ||
        !CHECK(waitFor([&] { return app.isVisible(AppWindow::About); })))
        return false;
    CHECK_MSG(waitFront(app, AppWindow::About), L"front: " + frontName(app));
    return CHECK(app.settle());
}

// A click on the part of the help window that the main window leaves
// uncovered.
bool clickHelp(GalevaneApp &app)
{
    const std::optional<POINT> point = app.uncoveredPoint(AppWindow::Help);
    return CHECK_MSG(point.has_value(), L"no uncovered point: " + app.snapshot()) &&
           CHECK(userinput::click(*point));
}

void aboutOverHelpThenOkEach(GalevaneApp &app)
{
    if (!openAboutOverHelp(app))
        return;
    CHECK_MSG(
        sameRect(windowRect(app.window(AppWindow::About)), windowRect(app.window(AppWindow::Help))),
        app.snapshot());
    CHECK(isAbove(app.window(AppWindow::About), app.window(AppWindow::Help)));
    checkPanelHoldsMain(app, {AppWindow::Help, AppWindow::About});

    checks::setContext(L"flow/about OK over help");
    CHECK(app.clickControl(AppWindow::About, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::About); }));
    checkMainBack(app);
    CHECK(app.isVisible(AppWindow::Help));

    checks::setContext(L"flow/click help again");
    if (clickHelp(app)) {
        CHECK_MSG(waitFront(app, AppWindow::Help), L"front: " + frontName(app));
        CHECK(waitFor([&] { return !app.mainEnabled(); }));
        CHECK(app.settle());
        checkPanelHoldsMain(app, {AppWindow::Help});
    }

    checks::setContext(L"flow/help OK after about");
    CHECK(app.clickControl(AppWindow::Help, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::Help); }));
    checkMainBack(app);
}

void altF4OnHelpGivesMainItsInputBack(GalevaneApp &app)
{
    CHECK(app.clickControl(AppWindow::Main, "Command2"));
    CHECK(waitFront(app, AppWindow::Help));
    CHECK(app.settle());
    userinput::altF4();
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::Help); }));
    checkMainBack(app);
    CHECK(app.isRunning());
}

void altF4OnAboutOverHelpKeepsHelpWorking(GalevaneApp &app)
{
    if (!openAboutOverHelp(app))
        return;
    userinput::altF4();
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::About); }));
    checkMainBack(app);
    CHECK(app.isVisible(AppWindow::Help));
    CHECK(app.isRunning());

    checks::setContext(L"flow/help after about's Alt+F4");
    if (clickHelp(app)) {
        CHECK(waitFront(app, AppWindow::Help));
        CHECK(waitFor([&] { return !app.mainEnabled(); }));
    }
    CHECK(app.clickControl(AppWindow::Help, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::Help); }));
    checkMainBack(app);
}

// A click on the main window while a panel holds its input: nothing happens
// in it, and the panel comes (or stays) above it, in front.
void clickOnDisabledMain(GalevaneApp &app, std::initializer_list<AppWindow> panels, AppWindow front)
{
    const MainTexts before = app.mainTexts();
    const std::optional<POINT> point = app.uncoveredPoint(AppWindow::Main);
    if (!CHECK_MSG(point.has_value(), L"no uncovered point: " + app.snapshot()))
        return;
    CHECK(userinput::click(*point));
    CHECK(app.settle());
    checkPanelHoldsMain(app, panels);
    CHECK_MSG(app.foreground() == front, L"front: " + frontName(app));
    // Its controls take nothing either: Exit, Help and a drop-down box.
    for (const char *name : {"Command1", "Command3", "Combo1"}) {
        CHECK(userinput::click(app.centreOfControl(AppWindow::Main, name)));
        CHECK(app.settle());
        CHECK_MSG(app.isRunning(), wide(std::string_view(name)));
        checkPanelHoldsMain(app, panels);
        CHECK(!app.isLoaded(AppWindow::Map));
        CHECK(!app.isDropped(app.box(ScaleColumn::Force)));
    }
    CHECK_TEXTS(app.mainTexts(), before);
}

void panelStaysAboveDisabledMain(GalevaneApp &app)
{
    CHECK(app.pickWithMouse(ScaleColumn::Description, 4));
    CHECK(app.clickControl(AppWindow::Main, "Command2"));
    CHECK(waitFront(app, AppWindow::Help));
    CHECK(app.settle());
    clickOnDisabledMain(app, {AppWindow::Help}, AppWindow::Help);

    checks::setContext(L"flow/about over help above disabled main");
    CHECK(app.clickPainted(AppWindow::Help, "Label2"));
    CHECK(waitFront(app, AppWindow::About));
    CHECK(app.settle());
    clickOnDisabledMain(app, {AppWindow::Help, AppWindow::About}, AppWindow::About);
    CHECK(isAbove(app.window(AppWindow::About), app.window(AppWindow::Help)));

    checks::setContext(L"flow/about from main above disabled main");
    CHECK(app.clickControl(AppWindow::About, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::About); }));
    CHECK(app.clickControl(AppWindow::Help, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::Help); }));
    checkMainBack(app);
    CHECK(app.clickPainted(AppWindow::Main, "Label8"));
    CHECK(waitFront(app, AppWindow::About));
    CHECK(app.settle());
    clickOnDisabledMain(app, {AppWindow::About}, AppWindow::About);
    CHECK(app.clickControl(AppWindow::About, "Command1"));
    CHECK(waitFor([&] { return !app.isLoaded(AppWindow::About); }));
    checkMainBack(app);
    CHECK_TEXTS(app.mainTexts(), rowTexts(4));
}

bool openMap(GalevaneApp &app)
{
    return CHECK(app.clickControl(AppWindow::Main, "Command3")) && CHECK(waitFor([&] {
               return app.isVisible(AppWindow::Map) && !app.isVisible(AppWindow::Main);
           })) &&
           CHECK_MSG(waitFront(app, AppWindow::Map), L"front: " + frontName(app)) &&
           CHECK(app.settle());
}

// Moves a window by `by` as the window manager does at the end of a drag of
// its title bar. (A drag by injected input does not do under Wine: Wine hands
// a title-bar drag to the X window manager, which follows the X pointer and
// its buttons, not Wine's injected input, and the move loop it leaves behind
// swallows the input that follows.) True once the window is there.
bool moveWindow(HWND window, SIZE by)
{
    const RECT before = windowRect(window);
    const POINT to{before.left + by.cx, before.top + by.cy};
    SetWindowPos(window, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return waitFor([&] {
        const RECT rect = windowRect(window);
        return rect.left == to.x && rect.top == to.y;
    });
}

void mapOpensCentredAndBackReturns(GalevaneApp &app)
{
    CHECK(app.pickWithMouse(ScaleColumn::MilesPerHour, 7));
    CHECK(waitFor([&] { return app.mainTexts() == rowTexts(7); }));
    if (!openMap(app))
        return;
    const HWND map = app.window(AppWindow::Map);
    CHECK_EQ(app.text(map), wide(windowLayoutOf(AppWindow::Map).caption));
    const PixelSize client = twipsToPixels(windowLayoutOf(AppWindow::Map).client, dpi());
    CHECK_EQ(clientSize(map).cx, client.width);
    CHECK_EQ(clientSize(map).cy, client.height);
    std::wstring detail;
    CHECK_MSG(isCentred(map, detail), detail);
    CHECK(app.mainEnabled());

    checks::setContext(L"flow/map Back");
    CHECK(app.clickControl(AppWindow::Map, "Command1"));
    CHECK(
        waitFor([&] { return app.isVisible(AppWindow::Main) && !app.isVisible(AppWindow::Map); }));
    CHECK_MSG(waitFront(app, AppWindow::Main), L"front: " + frontName(app));
    CHECK(app.settle());
    // Hidden, not unloaded.
    CHECK(app.isLoaded(AppWindow::Map));
    CHECK(app.mainEnabled());
    CHECK_TEXTS(app.mainTexts(), rowTexts(7));
}

void mapBackKeepsItsPlace(GalevaneApp &app)
{
    if (!openMap(app))
        return;
    const HWND map = app.window(AppWindow::Map);
    CHECK_MSG(moveWindow(map, {-300, -200}), describe(windowRect(map)));
    CHECK(app.settle());
    const RECT placed = windowRect(map);
    CHECK(app.clickControl(AppWindow::Map, "Command1"));
    CHECK(
        waitFor([&] { return app.isVisible(AppWindow::Main) && !app.isVisible(AppWindow::Map); }));
    CHECK(app.settle());

    checks::setContext(L"flow/map again after Back");
    if (!openMap(app))
        return;
    CHECK_EQ(app.window(AppWindow::Map), map);
    CHECK_MSG(sameRect(windowRect(map), placed),
              describe(windowRect(map)) + L" expected " + describe(placed));
}

void mapCloseUnloadsAndRecentres(GalevaneApp &app)
{
    CHECK(app.pickWithMouse(ScaleColumn::Knots, 9));
    CHECK(waitFor([&] { return app.mainTexts() == rowTexts(9); }));
    if (!openMap(app))
        return;
    CHECK(moveWindow(app.window(AppWindow::Map), {250, 150}));
    CHECK(app.settle());
    userinput::altF4();
    CHECK(waitFor([&] { return app.isVisible(AppWindow::Main) && !app.isLoaded(AppWindow::Map); }));
    CHECK_MSG(waitFront(app, AppWindow::Main), L"front: " + frontName(app));
    CHECK(app.settle());
    CHECK(app.isRunning());
    CHECK(app.mainEnabled());
    CHECK_TEXTS(app.mainTexts(), rowTexts(9));

    checks::setContext(L"flow/map again after Alt+F4");
    if (!openMap(app))
        return;
    std::wstring detail;
    CHECK_MSG(isCentred(app.window(AppWindow::Map), detail), detail);
}

// ---- exit ------------------------------------------------------------------

void checkEnds(GalevaneApp &app)
{
    const std::optional<DWORD> status = app.waitForExit(10000);
    if (CHECK_MSG(status.has_value(), L"still running: " + app.snapshot()))
        CHECK_EQ(*status, DWORD{0});
}

void exitButtonEnds(GalevaneApp &app)
{
    CHECK(app.pickWithMouse(ScaleColumn::Force, 3));
    CHECK(app.clickControl(AppWindow::Main, "Command1"));
    checkEnds(app);
}

void altXEnds(GalevaneApp &app)
{
    CHECK(waitFront(app, AppWindow::Main));
    CHECK(app.settle());
    userinput::alt('X');
    checkEnds(app);
}

void altF4OnMainEnds(GalevaneApp &app)
{
    CHECK(waitFront(app, AppWindow::Main));
    CHECK(app.settle());
    userinput::altF4();
    checkEnds(app);
}

void altF4OnMainAfterMapEnds(GalevaneApp &app)
{
    if (!openMap(app))
        return;
    CHECK(app.clickControl(AppWindow::Map, "Command1"));
    CHECK(waitFront(app, AppWindow::Main));
    CHECK(app.settle());
    userinput::altF4();
    checkEnds(app);
}

// ---- rescale -------------------------------------------------------------------

// What Windows sends a window moved onto a screen of `newDpi` dots per inch:
// WM_DPICHANGED with the rectangle it suggests, which the window takes. The
// rectangle lies in the program's memory, as the window system would put it.
bool sendDpiChanged(GalevaneApp &app, HWND window, int newDpi, const RECT &suggested)
{
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, app.processId());
    if (!process)
        return false;
    void *remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    bool sent = false;
    if (remote && WriteProcessMemory(process, remote, &suggested, sizeof(RECT), nullptr)) {
        const auto dpiWord = static_cast<WPARAM>(newDpi);
        DWORD_PTR result = 0;
        sent =
            SendMessageTimeoutW(window, WM_DPICHANGED, dpiWord | (dpiWord << 16),
                                reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 5000, &result) != 0;
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return sent;
}

// The main window's client size and Combo1's place at `atDpi`.
void checkMainScaledTo(GalevaneApp &app, int atDpi)
{
    const HWND main = app.window(AppWindow::Main);
    const PixelSize client = twipsToPixels(windowLayoutOf(AppWindow::Main).client, atDpi);
    const SIZE actual = clientSize(main);
    CHECK_EQ(actual.cx, client.width);
    CHECK_EQ(actual.cy, client.height);
    for (const char *name : {"Combo1", "Command1"}) {
        const PixelRect expected = twipsToPixels(layoutControl(AppWindow::Main, name).rect, atDpi);
        RECT rect = windowRect(app.control(AppWindow::Main, name));
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT *>(&rect), 2);
        CHECK_EQ(rect.left, expected.left);
        CHECK_EQ(rect.top, expected.top);
        CHECK_EQ(rect.right - rect.left, expected.width);
        CHECK_EQ(rect.bottom - rect.top, expected.height);
    }
}

void rescalesOnDpiChange(GalevaneApp &app)
{
    const HWND main = app.window(AppWindow::Main);
    CHECK(app.settle());
    const RECT before = windowRect(main);
    const SIZE clientBefore = clientSize(main);
    // The frame as it is now: Wine's does not change with the resolution.
    const int frameWidth = (before.right - before.left) - clientBefore.cx;
    const int frameHeight = (before.bottom - before.top) - clientBefore.cy;
    // Each resolution whose main window fits the default screen, the
    // program's own again last.
    std::vector<int> resolutions;
    for (const int other : {96, 120, 144}) {
        if (other != dpi())
            resolutions.push_back(other);
    }
    resolutions.push_back(dpi());
    for (const int newDpi : resolutions) {
        checks::setContext(L"rescale/to " + std::to_wstring(newDpi) + L" dpi");
        const PixelSize client = twipsToPixels(windowLayoutOf(AppWindow::Main).client, newDpi);
        const RECT suggested{before.left, before.top, before.left + client.width + frameWidth,
                             before.top + client.height + frameHeight};
        if (!CHECK(sendDpiChanged(app, main, newDpi, suggested)))
            continue;
        CHECK(app.settle());
        CHECK_MSG(windowRect(main).left == suggested.left && windowRect(main).top == suggested.top,
                  describe(windowRect(main)));
        checkMainScaledTo(app, newDpi);
        // Everything still works at the new size.
        CHECK_TEXTS(app.mainTexts(), startTexts());
    }
}

const std::vector<TestCase> cases{
    {L"startup", L"main window", startupMainWindow},
    {L"startup", L"texts and lists", startupTextsAndLists},
    {L"startup", L"control places", startupControlPlaces},
    {L"startup", L"help place", helpOpensAndOkCloses},
    {L"startup", L"about place", aboutFromMainOpensAndOkCloses},
    {L"startup", L"map place", mapOpensCentredAndBackReturns},
    {L"startup", L"maker's tool tip", makerLabelShowsItsToolTip},
    {L"startup", L"dropped lists show every entry", droppedListsShowEveryEntry},
    {L"pick", L"every entry with the mouse", pickEveryEntryWithTheMouse},
    {L"pick", L"arrow keys", pickWithArrowKeys},
    {L"typing", L"typed entry is not looked up", typedEntryIsNotLookedUp},
    {L"typing", L"pick overwrites typed text", pickOverwritesTypedText},
    {L"typing", L"Enter and Escape press no button", enterAndEscapePressNoButton},
    {L"flow", L"about over help, OK each", aboutOverHelpThenOkEach},
    {L"flow", L"Alt+F4 on help", altF4OnHelpGivesMainItsInputBack},
    {L"flow", L"Alt+F4 on about over help", altF4OnAboutOverHelpKeepsHelpWorking},
    {L"flow", L"panel stays above disabled main", panelStaysAboveDisabledMain},
    {L"flow", L"map Back keeps its place", mapBackKeepsItsPlace},
    {L"flow", L"map Alt+F4 unloads, next open centred", mapCloseUnloadsAndRecentres},
    {L"rescale", L"moved to a screen of other dots per inch", rescalesOnDpiChange},
    {L"exit", L"Exit button", exitButtonEnds},
    {L"exit", L"Alt+X", altXEnds},
    {L"exit", L"Alt+F4 on main", altF4OnMainEnds},
    {L"exit", L"Alt+F4 on main after the map", altF4OnMainAfterMapEnds},
};

} // namespace

int wmain(int argc, wchar_t **argv)
{
    return runCases(argc, argv, cases);
}
