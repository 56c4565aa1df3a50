// The four windows' handlers and the window operations under them, driven
// through the in-memory window system of fakefrontend.h as a user would:
// picks in the boxes, clicks, the window manager's close, clicks on windows.

#include "core/forms/form.h"
#include "core/forms/windowregistry.h"
#include "core/scale/scaletable.h"
#include "core/windows/aboutlayout.h"
#include "core/windows/areaslayout.h"
#include "core/windows/frmabout.h"
#include "core/windows/frmareas.h"
#include "core/windows/frmhelp1.h"
#include "core/windows/frmwindscale.h"
#include "core/windows/helplayout.h"
#include "core/windows/windscalelayout.h"
#include "tests/core/check.h"
#include "tests/core/fakefrontend.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string_view mainName = WindScaleLayout::window.name;
const std::string_view helpName = HelpLayout::window.name;
const std::string_view aboutName = AboutLayout::window.name;
const std::string_view areasName = AreasLayout::window.name;

std::u16string widen(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

// The program as started: a registry of its own with the main window shown,
// and End recorded instead of leaving the event loop.
class Program
{
public:
    Program()
        : m_registry(std::make_unique<WindowRegistry>(fe))
    {
        m_registry->setEndAction([this](int exitCode) { endCodes.push_back(exitCode); });
        defaultInstance<frmWindScale>().Show();
        fe.processEvents();
    }

    [[nodiscard]] bool ended() const { return m_registry->hasEnded(); }
    // The instance if one was created, without creating it.
    template <class FormType> [[nodiscard]] FormType *existing() const
    {
        return m_registry->find<FormType>();
    }
    template <class FormType> [[nodiscard]] bool isLoaded() const
    {
        const FormType *form = existing<FormType>();
        return form && form->isLoaded();
    }
    [[nodiscard]] FakeFormView *window(std::string_view name) const { return fe.view(name); }
    [[nodiscard]] bool isVisible(std::string_view name) const
    {
        const FakeFormView *w = window(name);
        return w && w->isVisible();
    }
    [[nodiscard]] bool isActive(std::string_view name) const
    {
        const FakeFormView *w = window(name);
        return w && w->isActive();
    }
    [[nodiscard]] bool isEnabled(std::string_view name) const
    {
        const FakeFormView *w = window(name);
        return w && w->isInputEnabled();
    }
    [[nodiscard]] std::u16string boxText(std::string_view box) const
    {
        FakeComboBox *combo = window(mainName) ? window(mainName)->findComboBox(box) : nullptr;
        return combo ? combo->text() : u"(no such box)";
    }
    [[nodiscard]] std::u16string criterion() const
    {
        FakeTextBox *text = window(mainName) ? window(mainName)->findTextBox("Text1") : nullptr;
        return text ? text->text() : u"(no criterion box)";
    }
    // How often the window's input was switched to `onOff` ("on", "off").
    [[nodiscard]] int inputSwitches(std::string_view name, std::u16string_view onOff) const
    {
        const auto &events = fe.events();
        return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const auto &e) {
            return e.what == "enable" && e.window == name && e.value == onOff;
        }));
    }

    FakeFrontEnd fe;
    std::vector<int> endCodes;

private:
    std::unique_ptr<WindowRegistry> m_registry;
};

// The main window as it must stand with the panels gone: visible, in front
// and taking input.
void checkMainWindowInCharge(const Program &p)
{
    CHECK(p.isVisible(mainName));
    CHECK(p.isActive(mainName));
    CHECK(p.isEnabled(mainName));
    CHECK(!p.ended());
}

std::vector<std::string> controlsOf(const std::vector<FakeEvent> &events)
{
    std::vector<std::string> names;
    for (const FakeEvent &e : events)
        names.push_back(e.control);
    return names;
}

// A window class of the test's own, whose handlers count, for the window
// operations that the program's windows do not show from outside: a window
// rebuilt from its layout, Form_Initialize once, a cancelled unload.
namespace ProbeLayout {
inline constexpr WindowSpec window{
    .name = "frmProbe",
    .caption = u"Probe",
    .client = {3000, 2000},
    .frame = WindowFrame::FixedSingle,
    .placement = WindowPlacement::CentreScreen,
    .screenPosition = {0, 0},
    .background = DesignPalette::white,
};
inline constexpr auto controls = std::to_array<ControlSpec>({
    {.name = "Combo1",
     .kind = ControlKind::ComboBox,
     .text = u"layout text",
     .rect = {0, 0, 1500, 300},
     .tabIndex = 0},
    {.name = "Text1",
     .kind = ControlKind::TextBox,
     .text = u"layout criterion",
     .rect = {0, 400, 1500, 300},
     .tabIndex = 1},
});
} // namespace ProbeLayout

class frmProbe final : public Form
{
public:
    void Form_Initialize() override
    {
        ++initialised;
        static constexpr std::array<std::string_view, 2> entries{"first", "second"};
        view().comboBox("Combo1").appendEntries(entries);
    }

    int initialised = 0;
    int activated = 0;
    int unloads = 0;
    bool cancelUnload = false;

protected:
    [[nodiscard]] FormDesign design() const override
    {
        return {ProbeLayout::window, ProbeLayout::controls};
    }
    void Form_Activate() override { ++activated; }
    void Form_Unload(bool &cancel) override
    {
        ++unloads;
        // As the panels do: asks for nothing while the window is unloading.
        Unload();
        cancel = cancelUnload;
    }
};

} // namespace

// ---- Start-up and the boxes -------------------------------------------------

TEST_CASE(startUpFillsTheListsInRowOrder)
{
    Program p;
    FakeFormView *main = p.window(mainName);
    if (!CHECK(main))
        return;
    checkMainWindowInCharge(p);
    CHECK_EQ(p.fe.count("build", mainName), 1);
    for (ScaleColumn column : allScaleColumns) {
        const check::Context at(std::string(boxName(column)));
        FakeComboBox *box = main->findComboBox(boxName(column));
        if (!CHECK(box))
            continue;
        std::vector<std::u16string> expected;
        for (std::string_view text : ScaleTable::columnTexts(column))
            expected.push_back(widen(text));
        CHECK_EQ(box->entries(), expected);
    }
    CHECK_EQ(p.criterion(), StartupCriterionText);
    // The boxes show the layout's texts until the first pick; the metres per
    // second one shows a text the table does not have.
    CHECK_EQ(p.boxText("Combo1"), u"0");
    CHECK_EQ(p.boxText("Combo2"), u"Calm");
    CHECK_EQ(p.boxText("Combo4"), u"Less than 1");
    CHECK_EQ(p.boxText("Combo5"), u"0.0 - 0.2");
    CHECK_EQ(p.boxText("Combo6"), u"Less than 1");
    CHECK_EQ(p.boxText("Combo7"), u"0.0");

    // Filled once, at Form_Initialize, before the window is first shown, in
    // the designed order.
    std::vector<std::string> steps;
    for (const FakeEvent &e : p.fe.events()) {
        if (e.what == "show")
            break;
        if (e.what == "fill" || e.what == "write")
            steps.push_back(e.what + " " + e.control);
    }
    CHECK_EQ(steps,
             (std::vector<std::string>{"fill Combo1", "write Text1", "fill Combo5", "fill Combo4",
                                       "fill Combo6", "fill Combo2", "fill Combo7"}));
}

// Every entry of every box: the other five boxes get the row, in column
// order, and the criterion comes last; the picked box keeps its text.
TEST_CASE(aPickWritesTheRowIntoTheOtherBoxesThenTheCriterion)
{
    Program p;
    FakeFormView *main = p.window(mainName);
    if (!CHECK(main))
        return;
    for (ScaleColumn picked : allScaleColumns) {
        for (int force = 0; force < ScaleTable::rowCount; ++force) {
            const check::Context at(std::string(boxName(picked)) + " row " + std::to_string(force));
            FakeComboBox *pickedBox = main->findComboBox(boxName(picked));
            if (!CHECK(pickedBox) || !CHECK(std::size_t(force) < pickedBox->entries().size()))
                continue;
            const std::u16string entry = pickedBox->entries()[std::size_t(force)];
            const std::size_t mark = p.fe.events().size();
            CHECK(p.fe.pick(mainName, boxName(picked), entry));

            const ScaleRow &row = *ScaleTable::row(force);
            std::vector<std::string> expectedOrder;
            for (ScaleColumn target : allScaleColumns) {
                if (target != picked)
                    expectedOrder.push_back(std::string(boxName(target)));
            }
            expectedOrder.push_back("Text1");
            const std::vector<FakeEvent> writes = p.fe.eventsSince(mark, "write");
            CHECK_EQ(controlsOf(writes), expectedOrder);

            for (ScaleColumn target : allScaleColumns) {
                FakeComboBox *box = main->findComboBox(boxName(target));
                if (!box)
                    continue;
                CHECK_EQ(box->text(), widen(row.text(target)));
                if (target != picked)
                    CHECK_EQ(box->currentRow(), force);
            }
            CHECK_EQ(p.criterion(), widen(row.criterion));
        }
    }
}

// The Force box reads numbers: a force written another way writes the row
// into the others and stays as typed.
TEST_CASE(theForceBoxTakesOtherWrittenForms)
{
    struct Row
    {
        std::u16string_view text;
        int force;
    };
    static constexpr Row rows[] = {{u"12.0", 12}, {u" 3 ", 3}, {u"+5", 5}, {u"007", 7}, {u"-0", 0}};
    Program p;
    for (const Row &row : rows) {
        const check::Context at("Combo1 " + check::printable(row.text));
        CHECK(p.fe.pick(mainName, "Combo1", row.text));
        CHECK_EQ(p.boxText("Combo1"), row.text);
        CHECK_EQ(p.boxText("Combo2"), widen(ScaleTable::row(row.force)->description));
        CHECK_EQ(p.criterion(), widen(ScaleTable::row(row.force)->criterion));
    }
}

TEST_CASE(anUnmatchedTextWritesNothing)
{
    struct Row
    {
        std::string_view box;
        std::u16string_view text;
    };
    static constexpr Row rows[] = {
        {"Combo1", u"13"},   {"Combo1", u"2.5"},   {"Combo1", u"-1"},   {"Combo1", u""},
        {"Combo1", u"1e1"},  {"Combo2", u"Gale "}, {"Combo2", u"gale"}, {"Combo5", u"0.0 - 0.2"},
        {"Combo6", u"64 +"}, {"Combo7", u"14"},    {"Combo4", u""},     {"Combo4", u"64+"},
    };
    Program p;
    // A row shown first, so that any write would change something.
    CHECK(p.fe.pick(mainName, "Combo2", u"Gale"));
    const ScaleRow &gale = *ScaleTable::row(8);
    for (const Row &row : rows) {
        const check::Context at(std::string(row.box) + " " + check::printable(row.text));
        const std::size_t mark = p.fe.events().size();
        CHECK(p.fe.pick(mainName, row.box, row.text));
        CHECK_EQ(controlsOf(p.fe.eventsSince(mark, "write")), std::vector<std::string>{});
        CHECK_EQ(p.criterion(), widen(gale.criterion));
        for (ScaleColumn column : allScaleColumns) {
            if (boxName(column) != row.box)
                CHECK_EQ(p.boxText(boxName(column)), widen(gale.text(column)));
        }
        // The next row starts from the same state.
        CHECK(p.fe.pick(mainName, "Combo2", u"Gale"));
    }
}

// ---- The windows' flow ------------------------------------------------------

TEST_CASE(helpThenAboutThenBack)
{
    Program p;
    CHECK(p.fe.click(mainName, "Command2"));
    CHECK(p.isLoaded<frmhelp1>());
    CHECK(p.isVisible(helpName));
    CHECK(p.isActive(helpName));
    CHECK(!p.isEnabled(mainName));
    CHECK(p.isVisible(mainName));
    // The panel is kept above the window it switched off.
    CHECK_EQ(p.fe.count("keepAbove", helpName), 1);
    // A window without input cannot be closed either.
    CHECK(!p.fe.closeByWindowManager(mainName));
    CHECK(!p.ended());
    CHECK(p.isVisible(mainName));

    CHECK(p.fe.click(helpName, "Label2"));
    CHECK(p.isVisible(aboutName));
    CHECK(p.isActive(aboutName));
    CHECK(p.isVisible(helpName));
    CHECK(!p.isActive(helpName));
    CHECK(!p.isEnabled(mainName));

    CHECK(p.fe.click(aboutName, "Command1"));
    CHECK(p.existing<frmabout>());
    CHECK(!p.isLoaded<frmabout>());
    CHECK(!p.window(aboutName));
    checkMainWindowInCharge(p);
    CHECK(p.isLoaded<frmhelp1>());
    CHECK(p.isVisible(helpName));

    // The help window, still there, switches the main window off again when
    // the user comes back to it.
    CHECK(p.fe.activateByClick(helpName));
    CHECK(p.isActive(helpName));
    CHECK(!p.isEnabled(mainName));

    CHECK(p.fe.click(helpName, "Command1"));
    CHECK(!p.isLoaded<frmhelp1>());
    CHECK(!p.window(helpName));
    checkMainWindowInCharge(p);
}

TEST_CASE(aboutFromTheMakersName)
{
    Program p;
    CHECK(p.fe.click(mainName, "Label8"));
    CHECK(p.isVisible(aboutName));
    CHECK(p.isActive(aboutName));
    CHECK(!p.isEnabled(mainName));
    CHECK(!p.existing<frmhelp1>());
    CHECK(p.fe.click(aboutName, "Command1"));
    CHECK(!p.isLoaded<frmabout>());
    checkMainWindowInCharge(p);
}

TEST_CASE(forecastAreasTakesTheMainWindowsPlace)
{
    Program p;
    std::size_t mark = p.fe.events().size();
    CHECK(p.fe.click(mainName, "Command3"));
    CHECK(p.isVisible(areasName));
    CHECK(p.isActive(areasName));
    CHECK(!p.isVisible(mainName));
    CHECK(p.isLoaded<frmWindScale>());
    // The map comes up before the main window goes, so that the program
    // never has no window on the screen.
    const auto &events = p.fe.events();
    std::vector<std::string> order;
    for (std::size_t i = mark; i < events.size(); ++i) {
        if (events[i].what == "show" || events[i].what == "hide")
            order.push_back(events[i].what + " " + events[i].window);
    }
    CHECK_EQ(order, (std::vector<std::string>{"show frmAreas", "hide frmWindScale"}));

    // Back hides the map, which stays loaded.
    CHECK(p.fe.click(areasName, "Command1"));
    CHECK(!p.isVisible(areasName));
    CHECK(p.isLoaded<frmAreas>());
    checkMainWindowInCharge(p);

    // Shown again, it is the same window, not built again.
    CHECK(p.fe.click(mainName, "Command3"));
    CHECK(p.isVisible(areasName));
    CHECK_EQ(p.fe.count("build", areasName), 1);

    // Closed by the window manager, it goes and the main window comes back.
    mark = p.fe.events().size();
    CHECK(p.fe.closeByWindowManager(areasName));
    CHECK(!p.isLoaded<frmAreas>());
    CHECK(!p.window(areasName));
    CHECK_EQ(p.fe.eventsSince(mark, "discard").size(), 1u);
    checkMainWindowInCharge(p);
}

// Exit, and the main window's close, end the program: every window goes, the
// end action runs once with status 0, and nothing any window reports
// afterwards runs a handler.
TEST_CASE(exitAndMainWindowCloseEndTheProgram)
{
    for (const bool byClose : {false, true}) {
        const check::Context at(byClose ? "main window closed" : "Exit");
        Program p;
        // The map loaded but hidden, so that a window other than the main
        // one is there to report something late.
        CHECK(p.fe.click(mainName, "Command3"));
        CHECK(p.fe.click(areasName, "Command1"));
        FakeFormView *main = p.window(mainName);
        FakeFormView *map = p.window(areasName);
        if (!CHECK(main && map))
            continue;

        if (byClose)
            CHECK(p.fe.closeByWindowManager(mainName));
        else
            CHECK(p.fe.click(mainName, "Command1"));
        CHECK(p.ended());
        CHECK_EQ(p.endCodes, std::vector<int>{0});
        // The end action stands in for leaving the event loop.
        CHECK_EQ(p.fe.quitCount(), 0);
        CHECK(!main->isVisible());
        CHECK(!map->isVisible());

        const std::size_t mark = p.fe.events().size();
        p.fe.deliverLateClick(*map, "Command1");  // Back: would show the main window
        p.fe.deliverLateClick(*main, "Command2"); // Help: would open the help window
        p.fe.deliverLateClick(*main, "Combo2");   // a pick: would write the boxes
        p.fe.deliverLateClick(*main, "Command1"); // Exit again
        CHECK(!p.fe.activateByClick(mainName));
        std::vector<std::string> afterEnd;
        for (std::size_t i = mark; i < p.fe.events().size(); ++i) {
            if (p.fe.events()[i].what != "lateClick")
                afterEnd.push_back(p.fe.events()[i].describe());
        }
        CHECK_EQ(afterEnd, std::vector<std::string>{});
        CHECK(!p.existing<frmhelp1>());
        CHECK(!main->isVisible());
        // End again, as a second handler in the same turn of the event loop
        // could: the end action has run once and stays so.
        WindowRegistry::current().End();
        CHECK_EQ(p.endCodes, std::vector<int>{0});
        CHECK_EQ(p.fe.quitCount(), 0);
    }
}

// A panel has no close box, but a window manager can close it anyway; the
// main window must not be left without input and no way to get it back.
TEST_CASE(aPanelClosedByTheWindowManagerGivesTheInputBack)
{
    struct Row
    {
        const char *what;
        std::vector<std::pair<std::string_view, std::string_view>> clicks;
        std::string_view closed;
    };
    const Row rows[] = {
        {"help", {{mainName, "Command2"}}, helpName},
        {"about from the main window", {{mainName, "Label8"}}, aboutName},
        {"about over help", {{mainName, "Command2"}, {helpName, "Label2"}}, aboutName},
    };
    for (const Row &row : rows) {
        const check::Context at(row.what);
        Program p;
        for (const auto &[window, control] : row.clicks)
            CHECK(p.fe.click(window, control));
        CHECK(!p.isEnabled(mainName));
        CHECK(p.fe.closeByWindowManager(row.closed));
        CHECK(!p.window(row.closed));
        checkMainWindowInCharge(p);
    }
}

// The panels' Form_Unload asks to unload the window that is unloading; that
// must neither recurse nor unload it twice.
TEST_CASE(unloadFromFormUnloadDoesNotRecurse)
{
    Program p;
    CHECK(p.fe.click(mainName, "Command2"));
    std::size_t mark = p.fe.events().size();
    CHECK(p.fe.click(helpName, "Command1"));
    CHECK_EQ(p.fe.eventsSince(mark, "discard").size(), 1u);
    CHECK(!p.isLoaded<frmhelp1>());

    // The program's own Unload of a shown panel, and of one already gone.
    defaultInstance<frmhelp1>().Show();
    p.fe.processEvents();
    mark = p.fe.events().size();
    defaultInstance<frmhelp1>().Unload();
    defaultInstance<frmhelp1>().Unload();
    CHECK_EQ(p.fe.eventsSince(mark, "discard").size(), 1u);
    CHECK(!p.isLoaded<frmhelp1>());

    frmProbe &probe = defaultInstance<frmProbe>();
    probe.Show();
    probe.Unload();
    CHECK_EQ(probe.unloads, 1);
    CHECK(!probe.isLoaded());
}

TEST_CASE(aCancelledUnloadKeepsTheWindow)
{
    Program p;
    frmProbe &probe = defaultInstance<frmProbe>();
    probe.cancelUnload = true;
    probe.Show();
    p.fe.processEvents();
    probe.Unload();
    CHECK(probe.isLoaded());
    CHECK(!p.fe.closeByWindowManager("frmProbe"));
    CHECK(probe.isLoaded());
    CHECK(p.isVisible("frmProbe"));
    CHECK_EQ(probe.unloads, 2);
}

// Form_Activate runs once per activation: not again for Show on the active
// window, not for the window system's late report of Show's own activation,
// and again when the user comes back from another window.
TEST_CASE(showOnTheActiveWindowDoesNotActivateAgain)
{
    Program p;
    CHECK(p.fe.click(mainName, "Command2"));
    CHECK_EQ(p.inputSwitches(mainName, u"off"), 1);
    CHECK_EQ(p.fe.count("keepAbove", helpName), 1);

    // Input back on by hand: a second Form_Activate would switch it off.
    defaultInstance<frmWindScale>().Enabled(true);
    defaultInstance<frmhelp1>().Show();
    p.fe.processEvents();
    CHECK(p.isEnabled(mainName));
    CHECK(p.fe.activateByClick(helpName));
    CHECK(p.isEnabled(mainName));
    CHECK_EQ(p.inputSwitches(mainName, u"off"), 1);
    CHECK_EQ(p.fe.count("keepAbove", helpName), 1);

    // Away to the main window and back: a new activation.
    CHECK(p.fe.activateByClick(mainName));
    CHECK(p.fe.activateByClick(helpName));
    CHECK(!p.isEnabled(mainName));
    CHECK_EQ(p.inputSwitches(mainName, u"off"), 2);

    // The window system's report of Show's own activation is answered as
    // handled already, so the front end need not wait for it to settle.
    frmProbe &probe = defaultInstance<frmProbe>();
    std::size_t mark = p.fe.events().size();
    probe.Show();
    probe.Show();
    p.fe.processEvents();
    probe.Show();
    CHECK_EQ(probe.activated, 1);
    CHECK_EQ(p.fe.eventsSince(mark, "activated").size(), 1u);
    CHECK_EQ(p.fe.eventsSince(mark, "activationHandledAlready").size(), 1u);
    CHECK(p.fe.activateByClick(helpName));
    CHECK(p.fe.activateByClick("frmProbe"));
    CHECK_EQ(probe.activated, 2);
}

// An unloaded window shown again is built afresh from its layout: the texts
// are the layout's again, and whatever Form_Initialize put in the old window
// is gone, since it runs once per instance and the instance stays the same.
TEST_CASE(aWindowShownAfterUnloadIsRebuiltFromItsLayout)
{
    Program p;
    frmProbe &probe = defaultInstance<frmProbe>();
    CHECK_EQ(probe.initialised, 1);
    probe.Show();
    p.fe.processEvents();
    FakeFormView *first = p.window("frmProbe");
    if (!CHECK(first))
        return;
    CHECK_EQ(first->findComboBox("Combo1")->entries().size(), 2u);
    probe.view().comboBox("Combo1").writeText("changed", 1);
    probe.view().textBox("Text1").writeText(u"changed too");

    probe.Unload();
    CHECK(!probe.isLoaded());
    CHECK(&defaultInstance<frmProbe>() == &probe);
    probe.Show();
    p.fe.processEvents();
    FakeFormView *second = p.window("frmProbe");
    if (!CHECK(second))
        return;
    CHECK_EQ(p.fe.count("build", "frmProbe"), 2);
    CHECK_EQ(second->findComboBox("Combo1")->text(), u"layout text");
    CHECK_EQ(second->findComboBox("Combo1")->entries().size(), 0u);
    CHECK_EQ(second->findTextBox("Text1")->text(), u"layout criterion");
    CHECK_EQ(probe.initialised, 1);
    CHECK_EQ(probe.activated, 2);

    // The help window too: the same instance, a new window, activated anew.
    CHECK(p.fe.activateByClick(mainName));
    CHECK(p.fe.click(mainName, "Command2"));
    frmhelp1 *help = p.existing<frmhelp1>();
    CHECK(p.fe.click(helpName, "Command1"));
    CHECK(p.fe.click(mainName, "Command2"));
    CHECK(p.existing<frmhelp1>() == help);
    CHECK_EQ(p.fe.count("build", helpName), 2);
    CHECK(p.isActive(helpName));
    CHECK(!p.isEnabled(mainName));
}

int main()
{
    return check::runAll();
}
