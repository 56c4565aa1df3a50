#pragma once

#include "core/windows/panellayout.h"

#include <array>

// The about window's design, front to back, in twips.
namespace AboutLayout {

inline constexpr WindowSpec window = PanelLayout::window("frmabout", u"About Galevane");

inline constexpr FontSpec contactFont{DesignFace::ComicSansMs, 12.0, true, false};

constexpr ControlSpec contactLine(std::string_view name, std::u16string_view text, TwipRect rect,
                                  int tabIndex)
{
    return {.name = name,
            .kind = ControlKind::Label,
            .text = text,
            .rect = rect,
            .font = contactFont,
            .foreground = DesignPalette::red,
            .tabIndex = tabIndex};
}

inline constexpr auto controls = std::to_array<ControlSpec>({
    PanelLayout::okButton,
    {.name = "Label7",
     .kind = ControlKind::Label,
     .text = u"For more information contact:-",
     .rect = {248, 0, 4335, 375},
     .font = FontSpec{DesignFace::ComicSansMs, 12.0, true, true},
     .foreground = DesignPalette::darkBlue,
     .tabIndex = 7},
    contactLine("Label6", u"Cornwall, England", {240, 1440, 4335, 375}, 6),
    contactLine("Label5", u"TR11 3QF", {360, 1800, 4335, 375}, 5),
    contactLine("Label4", u"Falmouth", {255, 1080, 4335, 375}, 4),
    contactLine("Label3", u"7 Ropewalk Lane", {255, 720, 4335, 375}, 3),
    PanelLayout::footLine("Label2", ControlKind::Label, u"E - Mail:   info@quayforth.co.uk", 2),
    contactLine("Label1", u"Quayforth,", {255, 360, 4335, 375}, 0),
    PanelLayout::panelShape,
});
static_assert(isConsistentLayout(controls));

} // namespace AboutLayout
