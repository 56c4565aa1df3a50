#pragma once

#include "core/design/formlayout.h"

#include <array>

// The 30 names drawn into the map, north to south, for assistive technology.
inline constexpr std::u16string_view mapAreaNames =
    u"S.E. Iceland, Faeroes, Bailey, Fair Isle, Viking, North Utsire, South Utsire, Hebrides, "
    u"Cromarty, Forties, Rockall, Malin, Forth, Fisher, Tyne, Dogger, German Bight, Irish Sea, "
    u"Shannon, Humber, Thames, Fastnet, Lundy, Dover, Wight, Portland, Plymouth, Sole, "
    u"Trafalgar, Biscay";

// The forecast-areas window's design, front to back, in twips.
namespace AreasLayout {

inline constexpr WindowSpec window{
    .name = "frmAreas",
    .caption = u"Forecast Areas",
    .client = {7050, 7305},
    .frame = WindowFrame::FixedSingle,
    .placement = WindowPlacement::CentreScreen,
    .screenPosition = {0, 0},
    .background = DesignPalette::highlightText,
    .icon = DesignIcon::AreasCloud,
};

inline constexpr auto controls = std::to_array<ControlSpec>({
    {.name = "Command1",
     .kind = ControlKind::Button,
     .text = u"Back",
     .rect = {4440, 120, 1695, 375},
     .font = DesignFonts::dialogBold,
     .tabIndex = 0},
    {.name = "Image1",
     .kind = ControlKind::Bitmap,
     .rect = {14, 1, 7020, 7260},
     .accessibleName = u"Map of the shipping forecast areas",
     .accessibleDescription = mapAreaNames,
     .picture = DesignPicture::AreasMap},
});
static_assert(isConsistentLayout(controls));

} // namespace AreasLayout
