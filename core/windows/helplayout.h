#pragma once

#include "core/windows/panellayout.h"

#include <array>

inline constexpr std::u16string_view helpSentence =
    u"Select the information you require from any drop down list box, highlight, and the "
    u"others will change accordingly.";

// The help window's design, front to back, in twips.
namespace HelpLayout {

inline constexpr WindowSpec window = PanelLayout::window("frmhelp1", u"Galevane help");

// The maker's name along the foot of the panel, where the about window shows
// its e-mail line.
constexpr ControlSpec makerLine()
{
    ControlSpec maker =
        PanelLayout::footLine("Label2", ControlKind::ClickableLabel, u"\u00a9 Quayforth", 2);
    maker.toolTip = u"Click";
    maker.accessibleDescription = u"Shows the maker's contact details";
    return maker;
}

inline constexpr auto controls = std::to_array<ControlSpec>({
    PanelLayout::okButton,
    makerLine(),
    {.name = "Label1",
     .kind = ControlKind::Label,
     .text = helpSentence,
     .rect = {315, 120, 4215, 2415},
     .font = FontSpec{DesignFace::ComicSansMs, 14.25, true, false},
     .foreground = DesignPalette::red,
     .tabIndex = 0},
    PanelLayout::panelShape,
});
static_assert(isConsistentLayout(controls));

} // namespace HelpLayout
