#pragma once

#include "core/design/formlayout.h"

#include <array>

// The main window's design: its own properties and its controls, front to
// back, in twips.

namespace WindScaleLayout::detail {

using namespace DesignPalette;

inline constexpr FontSpec buttonFont = DesignFonts::dialogBold;
inline constexpr FontSpec boxFont{DesignFace::TimesNewRoman, 14.25, true, false};
inline constexpr FontSpec headingFont{DesignFace::TimesNewRoman, 14.25, true, true};
inline constexpr FontSpec criterionFont{DesignFace::TimesNewRoman, 12.75, true, false};
// Small enough that "Quayforth" keeps clear of the panel's border.
inline constexpr FontSpec makerFont{DesignFace::TimesNewRoman, 12.0, true, false};
// The yellow panel's border, and the yellow kept between it and the text.
inline constexpr int makerPanelBorderPixels = 2;
inline constexpr int makerTextClearPixels = 4;

constexpr ControlSpec box(std::string_view name, std::u16string_view text, TwipRect rect,
                          int tabIndex, std::u16string_view description)
{
    return {.name = name,
            .kind = ControlKind::ComboBox,
            .text = text,
            .rect = rect,
            .font = boxFont,
            .tabIndex = tabIndex,
            .accessibleDescription = description};
}

// Each heading labels its box: it is the box's accessible name, so a screen
// reader announces the heading with the box; the box's value is its text.
constexpr ControlSpec heading(std::string_view name, std::u16string_view text, TwipRect rect,
                              DesignColour colour, int tabIndex, std::string_view buddy)
{
    return {.name = name,
            .kind = ControlKind::Label,
            .text = text,
            .rect = rect,
            .font = headingFont,
            .foreground = colour,
            .tabIndex = tabIndex,
            .buddy = buddy};
}

} // namespace WindScaleLayout::detail

namespace WindScaleLayout {
using namespace detail;

inline constexpr WindowSpec window{
    .name = "frmWindScale",
    .caption = u"Galevane",
    .client = {6585, 7695},
    .frame = WindowFrame::FixedSingle,
    .placement = WindowPlacement::CentreScreen,
    .screenPosition = {0, 0},
    .background = lightCyan,
    .icon = DesignIcon::Application,
};

inline constexpr auto controls = std::to_array<ControlSpec>({
    {.name = "Command3",
     .kind = ControlKind::GraphicalButton,
     .text = u"Forecast Areas",
     .rect = {120, 600, 1095, 615},
     .font = buttonFont,
     .background = magenta,
     .tabIndex = 17,
     .accessibleName = u"Forecast Areas"},
    box("Combo7", u"0.0", {2685, 3720, 1215, 450}, 16, u"Probable wave height in metres"),
    box("Combo6", u"Less than 1", {4440, 2520, 2055, 450}, 15, u"Wind speed in miles per hour"),
    box("Combo5", u"0.0 - 0.2", {2265, 2520, 2055, 450}, 14, u"Wind speed in metres per second"),
    box("Combo4", u"Less than 1", {120, 2520, 2055, 450}, 13, u"Wind speed in knots"),
    box("Combo2", u"Calm", {1845, 1440, 2895, 450}, 12, u"Description of the wind"),
    box("Combo1", u"0", {2805, 600, 975, 450}, 0, u"Beaufort wind force, 0 to 12"),
    {.name = "Command2",
     .kind = ControlKind::GraphicalButton,
     .text = u"Help",
     .rect = {5280, 1080, 1095, 375},
     .font = buttonFont,
     .background = red,
     .tabIndex = 11,
     .accessibleName = u"Help"},
    {.name = "Command1",
     .kind = ControlKind::Button,
     .text = u"E&xit",
     .rect = {2025, 6960, 2535, 375},
     .font = buttonFont,
     .tabIndex = 10,
     .accessibleName = u"Exit"},
    {.name = "Text1",
     .kind = ControlKind::TextBox,
     .text = u"",
     .rect = {165, 4800, 6255, 1935},
     .font = criterionFont,
     .foreground = red,
     .background = white,
     .tabIndex = 7,
     .accessibleDescription = u"What the sea looks like at this force"},
    {.name = "Label9",
     .kind = ControlKind::Label,
     .text = u"www.quayforth.co.uk",
     .rect = {0, 7440, 6615, 255},
     .font = buttonFont,
     .foreground = buttonText,
     .tabIndex = 18},
    {.name = "Shape2",
     .kind = ControlKind::Shape,
     .rect = {120, 4680, 6375, 2175},
     .background = windowBackground,
     .border = windowText,
     .borderPixels = 2},
    // The maker's name over the light-yellow panel; the one label that
    // reacts to the mouse.
    {.name = "Label8",
     .kind = ControlKind::ClickableLabel,
     .text = u"\u00a9 Quayforth",
     .rect = {5160, 120, 1335, 855},
     .font = makerFont,
     .foreground = darkBlue,
     .tabIndex = 9,
     .toolTip = u"Click",
     .accessibleName = u"\u00a9 Quayforth",
     .accessibleDescription = u"Shows the maker's contact details",
     .centredVertically = true,
     .textMarginPixels = makerPanelBorderPixels + makerTextClearPixels},
    heading("Label7", u"Wave Height - Mtrs", {1845, 3360, 2895, 375}, buttonText, 8, "Combo7"),
    heading("Label6", u"Mph", {4440, 2160, 1800, 375}, black, 6, "Combo6"),
    heading("Label5", u"M/Sec", {2400, 2160, 1800, 375}, black, 5, "Combo5"),
    heading("Label4", u"Knots", {240, 2160, 1800, 375}, black, 4, "Combo4"),
    heading("Label3", u"Criterion", {1125, 4320, 4335, 375}, highlightText, 3, "Text1"),
    heading("Label2", u"Description", {1665, 1080, 3255, 375}, buttonText, 2, "Combo2"),
    heading("Label1", u"Beaufort Force", {2265, 240, 2055, 375}, buttonText, 1, "Combo1"),
    {.name = "Image1",
     .kind = ControlKind::StretchedPicture,
     .rect = {1440, 240, 4965, 4530},
     .picture = DesignPicture::Yacht},
    {.name = "Shape1",
     .kind = ControlKind::Shape,
     .rect = {5160, 120, 1335, 855},
     .background = lightYellow,
     .border = windowText,
     .borderPixels = makerPanelBorderPixels},
});
static_assert(isConsistentLayout(controls));

} // namespace WindScaleLayout
