// What screen readers and the colour scheme see of the real galevane.exe,
// from another process, as a reader does: through Microsoft Active
// Accessibility (AccessibleObjectFromWindow), and the screen's pixels.
//
//   tst_win32accessibility <galevane.exe> [--group NAME]... [--case TEXT]
//
// Groups: names (every control's name and role: the painted labels, the
// headings naming their boxes, the owner-drawn buttons), actions (the
// default actions of the maker's labels and the buttons do what a click
// does), dialogs (the help and about panels as named dialogs with their
// text as description, the map as a named picture), colours (the design's
// colours outside high-contrast mode, the system's in it).

#include "core/windows/aboutlayout.h"
#include "core/windows/areaslayout.h"
#include "core/windows/helplayout.h"
#include "core/windows/windscalelayout.h"
#include "tests/win32/support/checks.h"
#include "tests/win32/support/galevaneapp.h"
#include "tests/win32/support/testmain.h"
#include "win32/support/com.h"

#include <oleacc.h>

#include <algorithm>
#include <map>

namespace {

std::wstring wide(std::u16string_view text)
{
    return {text.begin(), text.end()};
}
std::wstring wide(std::string_view text)
{
    return {text.begin(), text.end()};
}

VARIANT childId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

ComRef<IAccessible> objectOf(HWND window, LONG objectId)
{
    ComRef<IAccessible> object;
    if (!window || FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId),
                                                     __uuidof(IAccessible), object.putVoid())))
        object.reset();
    return object;
}

// What a reader learns of one object or element.
struct Seen
{
    std::wstring name;
    std::wstring description;
    long role = 0;
    std::wstring defaultAction;
};

Seen seen(IAccessible &object, long id)
{
    Seen s;
    Bstr text;
    if (SUCCEEDED(object.get_accName(childId(id), text.put())))
        s.name = text.text();
    if (SUCCEEDED(object.get_accDescription(childId(id), text.put())))
        s.description = text.text();
    if (SUCCEEDED(object.get_accDefaultAction(childId(id), text.put())))
        s.defaultAction = text.text();
    Variant role;
    if (SUCCEEDED(object.get_accRole(childId(id), role.put())) && role.get().vt == VT_I4)
        s.role = role.get().lVal;
    return s;
}

// The children of a window's client object, by name: simple elements (the
// painted controls) with their ids, child windows as their own objects.
struct Child
{
    long id;
    ComRef<IAccessible> object; // a child window's, else none
};

std::multimap<std::wstring, Child> childrenOf(IAccessible &client)
{
    std::multimap<std::wstring, Child> children;
    long count = 0;
    if (FAILED(client.get_accChildCount(&count)))
        return children;
    for (long id = 1; id <= count; ++id) {
        ComRef<IDispatch> dispatch;
        Child child{id, {}};
        // A child window's object; what it says, its client object says
        // (Wine's window objects answer nothing but hit tests).
        HWND hwnd = nullptr;
        ComRef<IAccessible> windowObject;
        if (client.get_accChild(childId(id), dispatch.put()) == S_OK && dispatch &&
            SUCCEEDED(dispatch->QueryInterface(__uuidof(IAccessible), windowObject.putVoid())) &&
            SUCCEEDED(WindowFromAccessibleObject(windowObject.get(), &hwnd)))
            child.object = objectOf(hwnd, OBJID_CLIENT);
        const Seen s = child.object ? seen(*child.object.get(), CHILDID_SELF) : seen(client, id);
        children.emplace(s.name, std::move(child));
    }
    return children;
}

std::wstring roleText(long role)
{
    wchar_t text[64]{};
    GetRoleTextW(static_cast<DWORD>(role), text, 64);
    return std::to_wstring(role) + L" (" + text + L")";
}

#define CHECK_ROLE(actual, expected)                                                               \
    CHECK_MSG((actual) == (expected),                                                              \
              L"role " + roleText(actual) + L", expected " + roleText(expected))

// ---- names -----------------------------------------------------------------

void mainWindowNames(GalevaneApp &app)
{
    const auto client = objectOf(app.window(AppWindow::Main), OBJID_CLIENT);
    if (!CHECK_MSG(client, L"AccessibleObjectFromWindow(main, OBJID_CLIENT)"))
        return;
    const auto children = childrenOf(*client.get());
    checks::printLine(L"  main window: " + std::to_wstring(children.size()) + L" children");
    // Each box is named by the heading whose buddy it is, the criterion by
    // its heading too.
    for (const ControlSpec &heading : WindScaleLayout::controls) {
        if (heading.buddy.empty())
            continue;
        checks::setContext(L"names/main " + wide(heading.buddy));
        const HWND box = app.control(AppWindow::Main, heading.buddy);
        const auto object = objectOf(box, OBJID_CLIENT);
        if (!CHECK(object))
            continue;
        const Seen s = seen(*object.get(), CHILDID_SELF);
        CHECK_EQ(s.name, wide(heading.text));
        CHECK_EQ(s.description,
                 wide(layoutControl(AppWindow::Main, heading.buddy).accessibleDescription));
        const bool isBox =
            layoutControl(AppWindow::Main, heading.buddy).kind == ControlKind::ComboBox;
        CHECK_ROLE(s.role, isBox ? ROLE_SYSTEM_COMBOBOX : ROLE_SYSTEM_TEXT);
        // Found among the window's children too, under the same name as
        // its heading: the heading, and the box itself.
        const auto [first, last] = children.equal_range(wide(heading.text));
        CHECK_MSG(std::count_if(first, last, [](const auto &c) { return bool(c.second.object); }) ==
                      1,
                  L"one child window named " + wide(heading.text));
    }
    // The buttons, the owner-drawn ones too, by their captions.
    for (const char *name : {"Command3", "Command2", "Command1"}) {
        checks::setContext(L"names/main " + wide(std::string_view(name)));
        const auto object = objectOf(app.control(AppWindow::Main, name), OBJID_CLIENT);
        if (!CHECK(object))
            continue;
        const Seen s = seen(*object.get(), CHILDID_SELF);
        CHECK_EQ(s.name, wide(layoutControl(AppWindow::Main, name).accessibleName));
        CHECK_ROLE(s.role, ROLE_SYSTEM_PUSHBUTTON);
        CHECK_EQ(s.defaultAction, std::wstring(L"Press"));
    }
    // The painted labels: the maker's name a link that can be clicked, the
    // others static text.
    checks::setContext(L"names/main painted labels");
    for (const ControlSpec &label : WindScaleLayout::controls) {
        if (label.kind != ControlKind::Label && label.kind != ControlKind::ClickableLabel)
            continue;
        const auto [first, last] = children.equal_range(wide(label.text));
        const auto at = std::find_if(first, last, [](const auto &c) { return !c.second.object; });
        if (!CHECK_MSG(at != last, L"a painted child named " + wide(label.text)))
            continue;
        const Seen s = seen(*client.get(), at->second.id);
        const bool clickable = label.kind == ControlKind::ClickableLabel;
        CHECK_ROLE(s.role, clickable ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT);
        CHECK_EQ(s.defaultAction, std::wstring(clickable ? L"Click" : L""));
        CHECK_EQ(s.description, wide(label.accessibleDescription));
        // Its place on the screen is where it is painted.
        long left = 0, top = 0, width = 0, height = 0;
        if (CHECK(SUCCEEDED(
                client->accLocation(&left, &top, &width, &height, childId(at->second.id))))) {
            const PixelRect rect = twipsToPixels(label.rect, screenDpi());
            POINT corner{rect.left, rect.top};
            ClientToScreen(app.window(AppWindow::Main), &corner);
            CHECK_EQ(left, static_cast<long>(corner.x));
            CHECK_EQ(top, static_cast<long>(corner.y));
            CHECK_EQ(width, static_cast<long>(rect.width));
            CHECK_EQ(height, static_cast<long>(rect.height));
        }
    }
    // The window itself keeps its title as its name.
    const Seen window = seen(*client.get(), CHILDID_SELF);
    CHECK_EQ(window.name, std::wstring(L"Galevane"));
}

// ---- dialogs ----------------------------------------------------------------

void checkDialog(GalevaneApp &app, AppWindow form, std::u16string_view accessibleName)
{
    const HWND window = app.window(form);
    // The caption stays as designed; readers hear the accessible name.
    CHECK_EQ(app.text(window), std::wstring(L"Form1"));
    const std::wstring description = wide(dialogDescription(controlsOf(form)));
    for (LONG objectId : {static_cast<LONG>(OBJID_WINDOW), static_cast<LONG>(OBJID_CLIENT)}) {
        const auto object = objectOf(window, objectId);
        if (!CHECK_MSG(object, objectId == OBJID_WINDOW ? L"OBJID_WINDOW" : L"OBJID_CLIENT"))
            continue;
        const Seen s = seen(*object.get(), CHILDID_SELF);
        CHECK_EQ(s.name, wide(accessibleName));
        CHECK_ROLE(s.role, ROLE_SYSTEM_DIALOG);
        CHECK_EQ(s.description, description);
    }
}

void helpIsANamedDialog(GalevaneApp &app)
{
    if (!CHECK(app.clickControl(AppWindow::Main, "Command2")) ||
        !CHECK(waitFor([&] { return app.isVisible(AppWindow::Help); })) || !CHECK(app.settle()))
        return;
    checkDialog(app, AppWindow::Help, HelpLayout::window.accessibleName);
    const auto client = objectOf(app.window(AppWindow::Help), OBJID_CLIENT);
    if (!CHECK(client))
        return;
    const auto children = childrenOf(*client.get());
    const auto maker = children.find(L"\u00a9 Quayforth");
    if (CHECK_MSG(maker != children.end(), L"the maker's line among the children")) {
        const Seen s = seen(*client.get(), maker->second.id);
        CHECK_ROLE(s.role, ROLE_SYSTEM_LINK);
        CHECK_EQ(s.defaultAction, std::wstring(L"Click"));
    }
    CHECK(children.count(wide(helpSentence)) == 1);
    CHECK(children.count(L"OK") == 1);
}

void aboutIsANamedDialog(GalevaneApp &app)
{
    if (!CHECK(app.clickPainted(AppWindow::Main, "Label8")) ||
        !CHECK(waitFor([&] { return app.isVisible(AppWindow::About); })) || !CHECK(app.settle()))
        return;
    checkDialog(app, AppWindow::About, AboutLayout::window.accessibleName);
}

void mapIsANamedPicture(GalevaneApp &app)
{
    if (!CHECK(app.clickControl(AppWindow::Main, "Command3")) ||
        !CHECK(waitFor([&] { return app.isVisible(AppWindow::Map); })) || !CHECK(app.settle()))
        return;
    const auto client = objectOf(app.window(AppWindow::Map), OBJID_CLIENT);
    if (!CHECK(client))
        return;
    const ControlSpec &map = layoutControl(AppWindow::Map, "Image1");
    const auto children = childrenOf(*client.get());
    const auto at = children.find(wide(map.accessibleName));
    if (!CHECK_MSG(at != children.end(), L"the map among the children"))
        return;
    const Seen s = seen(*client.get(), at->second.id);
    CHECK_ROLE(s.role, ROLE_SYSTEM_GRAPHIC);
    CHECK_EQ(s.description, wide(mapAreaNames));
    // A reader's finger on the map finds the map.
    const PixelRect rect = twipsToPixels(map.rect, screenDpi());
    POINT middle{rect.left + rect.width / 2, rect.top + rect.height / 2};
    ClientToScreen(app.window(AppWindow::Map), &middle);
    Variant hit;
    if (CHECK(SUCCEEDED(client->accHitTest(middle.x, middle.y, hit.put()))))
        CHECK_MSG(hit.get().vt == VT_I4 && hit.get().lVal == at->second.id,
                  L"hit test at the map's middle");
}

// ---- actions ----------------------------------------------------------------

bool doDefaultAction(GalevaneApp &app, AppWindow form, const std::wstring &name)
{
    const auto client = objectOf(app.window(form), OBJID_CLIENT);
    if (!CHECK(client))
        return false;
    const auto children = childrenOf(*client.get());
    const auto at = children.find(name);
    if (!CHECK_MSG(at != children.end(), L"a child named " + name))
        return false;
    const HRESULT done = at->second.object
                             ? at->second.object->accDoDefaultAction(childId(CHILDID_SELF))
                             : client->accDoDefaultAction(childId(at->second.id));
    return CHECK_MSG(SUCCEEDED(done), L"accDoDefaultAction on " + name);
}

void makerLabelOpensAbout(GalevaneApp &app)
{
    if (!doDefaultAction(app, AppWindow::Main, L"\u00a9 Quayforth"))
        return;
    CHECK_MSG(waitFor([&] { return app.isVisible(AppWindow::About); }), L"about window shown");
    // The label still takes no focus: the main window's focus stays on a
    // child window of its own, never on the window itself.
    CHECK(app.focus() != app.window(AppWindow::Main));
}

void helpMakerLabelOpensAbout(GalevaneApp &app)
{
    if (!doDefaultAction(app, AppWindow::Main, L"Help"))
        return;
    if (!CHECK_MSG(waitFor([&] { return app.isVisible(AppWindow::Help); }), L"help shown"))
        return;
    CHECK(app.settle());
    if (!doDefaultAction(app, AppWindow::Help, L"\u00a9 Quayforth"))
        return;
    CHECK_MSG(waitFor([&] { return app.isVisible(AppWindow::About); }), L"about window shown");
}

void forecastAreasButtonOpensMap(GalevaneApp &app)
{
    if (!doDefaultAction(app, AppWindow::Main, L"Forecast Areas"))
        return;
    CHECK_MSG(waitFor([&] { return app.isVisible(AppWindow::Map); }), L"map shown");
}

// ---- colours -------------------------------------------------------------------

// A point of the main window's background, clear of every control: left of
// the boxes, above the criterion's panel.
POINT backgroundPoint(GalevaneApp &app)
{
    const PixelSize at = twipsToPixels(TwipSize{60, 4000}, screenDpi());
    POINT point{at.width, at.height};
    ClientToScreen(app.window(AppWindow::Main), &point);
    return point;
}

COLORREF screenPixel(POINT point)
{
    const HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

std::wstring colourText(COLORREF c)
{
    return L"#" + std::to_wstring(GetRValue(c)) + L"," + std::to_wstring(GetGValue(c)) + L"," +
           std::to_wstring(GetBValue(c));
}

void designColoursOutsideHighContrast(GalevaneApp &app)
{
    CHECK(app.settle());
    const COLORREF pixel = screenPixel(backgroundPoint(app));
    const DesignColour cyan = DesignPalette::lightCyan;
    CHECK_MSG(pixel == RGB(cyan.red(), cyan.green(), cyan.blue()),
              L"background " + colourText(pixel) + L", expected the light cyan");
}

void systemColoursInHighContrast(GalevaneApp &app)
{
    CHECK(app.settle());
    const COLORREF pixel = screenPixel(backgroundPoint(app));
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    CHECK_MSG(pixel == window, L"background " + colourText(pixel) + L", expected COLOR_WINDOW " +
                                   colourText(window));
    // The panel behind the maker's name is the window colour too, not yellow.
    const PixelRect panel =
        twipsToPixels(layoutControl(AppWindow::Main, "Shape1").rect, screenDpi());
    POINT inside{panel.left + 8, panel.top + panel.height / 2};
    ClientToScreen(app.window(AppWindow::Main), &inside);
    const COLORREF panelPixel = screenPixel(inside);
    CHECK_MSG(panelPixel == window, L"panel " + colourText(panelPixel));
}

const std::vector<TestCase> cases{
    {L"names", L"main window", mainWindowNames},
    {L"dialogs", L"help", helpIsANamedDialog},
    {L"dialogs", L"about", aboutIsANamedDialog},
    {L"dialogs", L"map", mapIsANamedPicture},
    {L"actions", L"maker's label opens about", makerLabelOpensAbout},
    {L"actions", L"help's maker's line opens about", helpMakerLabelOpensAbout},
    {L"actions", L"forecast areas button", forecastAreasButtonOpensMap},
    {L"colours", L"design colours", designColoursOutsideHighContrast},
    {L"colours", L"high contrast", systemColoursInHighContrast, L"GALEVANE_HIGH_CONTRAST=1"},
};

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const ComApartment com;
    return runCases(argc, argv, cases);
}
