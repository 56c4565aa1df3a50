// The four windows' layouts: what every front end builds from, checked as
// data so that both the Linux and the Windows builds see a broken one.

#include "core/design/formlayout.h"
#include "core/design/mnemonic.h"
#include "core/design/twips.h"
#include "core/windows/aboutlayout.h"
#include "core/windows/areaslayout.h"
#include "core/windows/helplayout.h"
#include "core/windows/windscalelayout.h"
#include "tests/core/check.h"

#include <array>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace {

struct Layout
{
    const WindowSpec &window;
    std::span<const ControlSpec> controls;
};

const std::array<Layout, 4> layouts{{
    {WindScaleLayout::window, WindScaleLayout::controls},
    {HelpLayout::window, HelpLayout::controls},
    {AboutLayout::window, AboutLayout::controls},
    {AreasLayout::window, AreasLayout::controls},
}};

constexpr std::array<int, 4> dpis{96, 120, 144, 192};

const ControlSpec *control(const Layout &layout, std::string_view name)
{
    for (const ControlSpec &c : layout.controls) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

std::string where(const Layout &layout, const ControlSpec &c)
{
    return std::string(layout.window.name) + "." + std::string(c.name);
}

// The controls that take the keyboard focus, and so need a place in the tab
// order of their own.
bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::ComboBox || kind == ControlKind::TextBox ||
           kind == ControlKind::Button || kind == ControlKind::GraphicalButton;
}

// A control's four edges, left/right and top/bottom, in whatever unit.
struct Edges
{
    std::array<int, 2> across;
    std::array<int, 2> down;
};

Edges edgesOf(const TwipRect &r)
{
    return {{r.left, r.left + r.width}, {r.top, r.top + r.height}};
}

Edges edgesOf(const PixelRect &r)
{
    return {{r.left, r.left + r.width}, {r.top, r.top + r.height}};
}

} // namespace

TEST_CASE(namesAreUnique)
{
    for (const Layout &layout : layouts) {
        const check::Context at(std::string(layout.window.name));
        std::set<std::string_view> names;
        for (const ControlSpec &c : layout.controls) {
            CHECK(!c.name.empty());
            CHECK(names.insert(c.name).second);
        }
    }
}

// Every control that takes the focus has a place in the tab order, and no
// two controls share one (labels keep theirs, as the design numbers them).
TEST_CASE(tabIndexesAreUnique)
{
    for (const Layout &layout : layouts) {
        std::set<int> taken;
        for (const ControlSpec &c : layout.controls) {
            const check::Context at(where(layout, c));
            if (takesFocus(c.kind))
                CHECK(c.tabIndex != noTabStop);
            if (c.tabIndex != noTabStop)
                CHECK(taken.insert(c.tabIndex).second);
        }
    }
}

// The one control that reaches past its window: the web address along the
// main window's foot is 30 twips wider than the client area and is clipped
// at the right edge. Listed exactly, so that any other overhang shows.
TEST_CASE(controlsLieInsideTheClientArea)
{
    std::set<std::string> overhanging;
    for (const Layout &layout : layouts) {
        const TwipSize client = layout.window.client;
        for (const ControlSpec &c : layout.controls) {
            const check::Context at(where(layout, c));
            CHECK(c.rect.width > 0 && c.rect.height > 0);
            CHECK(c.rect.left >= 0 && c.rect.top >= 0);
            CHECK(c.rect.top + c.rect.height <= client.height);
            if (c.rect.left + c.rect.width > client.width)
                overhanging.insert(where(layout, c) + " by " +
                                   std::to_string(c.rect.left + c.rect.width - client.width));
        }
    }
    CHECK_EQ(overhanging, std::set<std::string>{"frmWindScale.Label9 by 30"});
}

// The about window opens over the help window exactly: the same panel at the
// same place, the OK button and the panel's border where they were.
TEST_CASE(helpAndAboutPanelsCoincide)
{
    const WindowSpec &help = HelpLayout::window;
    const WindowSpec &about = AboutLayout::window;
    CHECK(help.frame == about.frame);
    CHECK(help.frame == WindowFrame::None);
    CHECK(help.placement == about.placement);
    CHECK(help.placement == WindowPlacement::FixedOnScreen);
    CHECK_EQ(help.screenPosition.width, about.screenPosition.width);
    CHECK_EQ(help.screenPosition.height, about.screenPosition.height);
    CHECK_EQ(help.client.width, about.client.width);
    CHECK_EQ(help.client.height, about.client.height);
    for (std::string_view name : {"Command1", "Shape1"}) {
        const check::Context at{std::string(name)};
        const ControlSpec *inHelp = control(layouts[1], name);
        const ControlSpec *inAbout = control(layouts[2], name);
        if (!CHECK(inHelp && inAbout))
            continue;
        CHECK_EQ(inHelp->rect.left, inAbout->rect.left);
        CHECK_EQ(inHelp->rect.top, inAbout->rect.top);
        CHECK_EQ(inHelp->rect.width, inAbout->rect.width);
        CHECK_EQ(inHelp->rect.height, inAbout->rect.height);
    }
}

// The maker's name is drawn on the yellow panel: the same rectangle, and in
// front of it (the layout lists controls front to back).
TEST_CASE(makerLabelLiesExactlyOverItsPanel)
{
    const Layout &main = layouts[0];
    const ControlSpec *label = control(main, "Label8");
    const ControlSpec *shape = control(main, "Shape1");
    if (!CHECK(label && shape))
        return;
    CHECK_EQ(label->rect.left, shape->rect.left);
    CHECK_EQ(label->rect.top, shape->rect.top);
    CHECK_EQ(label->rect.width, shape->rect.width);
    CHECK_EQ(label->rect.height, shape->rect.height);
    CHECK(label < shape);
    CHECK(label->kind == ControlKind::ClickableLabel);
    CHECK(shape->kind == ControlKind::Shape);
}

// Wherever two edges meet in twips (two controls side by side or flush, a
// control against the client area's edge) they meet in pixels at every
// screen resolution, and edges apart stay in the same order.
TEST_CASE(touchingEdgesStayTouchingInPixels)
{
    int meetings = 0;
    for (const Layout &layout : layouts) {
        const TwipRect client{0, 0, layout.window.client.width, layout.window.client.height};
        std::vector<std::pair<std::string, TwipRect>> rects{{"client area", client}};
        for (const ControlSpec &c : layout.controls)
            rects.emplace_back(c.name, c.rect);
        for (int dpi : dpis) {
            for (const auto &[nameA, a] : rects) {
                for (const auto &[nameB, b] : rects) {
                    const check::Context at(std::string(layout.window.name) + " " + nameA +
                                            " against " + nameB + " at " + std::to_string(dpi) +
                                            " dpi");
                    const Edges twipsA = edgesOf(a);
                    const Edges twipsB = edgesOf(b);
                    const Edges pixelsA = edgesOf(twipsToPixels(a, dpi));
                    const Edges pixelsB = edgesOf(twipsToPixels(b, dpi));
                    for (std::size_t i = 0; i < 2; ++i) {
                        for (std::size_t j = 0; j < 2; ++j) {
                            if (&a != &b && twipsA.across[i] == twipsB.across[j]) {
                                ++meetings;
                                CHECK_EQ(pixelsA.across[i], pixelsB.across[j]);
                            }
                            if (&a != &b && twipsA.down[i] == twipsB.down[j]) {
                                ++meetings;
                                CHECK_EQ(pixelsA.down[i], pixelsB.down[j]);
                            }
                            if (twipsA.across[i] < twipsB.across[j])
                                CHECK(pixelsA.across[i] <= pixelsB.across[j]);
                            if (twipsA.down[i] < twipsB.down[j])
                                CHECK(pixelsA.down[i] <= pixelsB.down[j]);
                        }
                    }
                }
            }
        }
    }
    // The layouts do have meeting edges (the maker's label on its panel, the
    // panels' shapes at the client's corner, boxes in a row), so the loop
    // above checked something.
    CHECK(meetings > 100);
}

// Controls side by side, of widths that round every way at every screen
// resolution: each one's right edge is its neighbour's left edge in pixels
// too, which converting a control's width on its own would not keep.
TEST_CASE(neighboursInARowKeepTouching)
{
    for (int dpi : dpis) {
        int left = 7;
        for (int width = 1; width < 200; width += 7) {
            const check::Context at("width " + std::to_string(width) + " at " +
                                    std::to_string(dpi) + " dpi");
            const PixelRect a = twipsToPixels(TwipRect{left, 0, width, 15}, dpi);
            const PixelRect b = twipsToPixels(TwipRect{left + width, 0, 15, 15}, dpi);
            CHECK_EQ(a.left + a.width, b.left);
            left += width;
        }
    }
}

// Each edge lands on the pixel nearest to it; the extent is what lies
// between, so a control's width in pixels may differ from its width alone
// converted.
TEST_CASE(twipsRoundToTheNearestPixel)
{
    struct Row
    {
        TwipRect twips;
        int dpi;
        PixelRect pixels;
    };
    static constexpr Row rows[] = {
        {{0, 0, 15, 15}, 96, {0, 0, 1, 1}},
        {{7, 8, 15, 15}, 96, {0, 1, 1, 1}},
        {{2055, 2520, 2055, 450}, 120, {171, 210, 172, 38}},
        {{2265, 2520, 2055, 450}, 144, {227, 252, 205, 45}},
        {{5160, 120, 1335, 855}, 192, {688, 16, 178, 114}},
    };
    for (const Row &row : rows) {
        const check::Context at(
            std::to_string(row.twips.left) + "," + std::to_string(row.twips.top) + " " +
            std::to_string(row.twips.width) + "x" + std::to_string(row.twips.height) + " at " +
            std::to_string(row.dpi) + " dpi");
        const PixelRect pixels = twipsToPixels(row.twips, row.dpi);
        CHECK_EQ(pixels.left, row.pixels.left);
        CHECK_EQ(pixels.top, row.pixels.top);
        CHECK_EQ(pixels.width, row.pixels.width);
        CHECK_EQ(pixels.height, row.pixels.height);
    }
}

TEST_CASE(mainWindowClientSize)
{
    struct Row
    {
        int dpi;
        PixelSize client;
    };
    static constexpr Row rows[] = {
        {96, {439, 513}}, {120, {549, 641}}, {144, {659, 770}}, {192, {878, 1026}}};
    for (const Row &row : rows) {
        const check::Context at(std::to_string(row.dpi) + " dpi");
        const PixelSize client = twipsToPixels(WindScaleLayout::window.client, row.dpi);
        CHECK_EQ(client.width, row.client.width);
        CHECK_EQ(client.height, row.client.height);
    }
}

TEST_CASE(captionsLoseTheirAccessKeyMarks)
{
    struct Row
    {
        std::u16string_view caption;
        std::u16string_view shown;
        char16_t letter;
    };
    static constexpr Row rows[] = {
        {u"E&xit", u"Exit", u'x'},
        {u"OK", u"OK", 0},
        {u"Salt && Pepper", u"Salt & Pepper", 0},
        {u"&&&Back", u"&Back", u'B'},
        {u"Back&", u"Back", 0},
        {u"", u"", 0},
    };
    for (const Row &row : rows) {
        const check::Context at(std::string(row.caption.begin(), row.caption.end()));
        CHECK(withoutMnemonic(row.caption) == row.shown);
        CHECK_EQ(static_cast<int>(mnemonicLetter(row.caption)), static_cast<int>(row.letter));
    }
}

int main()
{
    return check::runAll();
}
