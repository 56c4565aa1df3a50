#pragma once

#include "core/design/formlayout.h"

// What the help and about windows share: the same frameless panel at the
// same place on the screen, the same OK button and the same foot line.
namespace PanelLayout {

// The title is never shown, so each panel says what it is through its
// accessible name. To assistive technology each is a dialog, which says its
// text when it opens.
constexpr WindowSpec window(std::string_view name, std::u16string_view accessibleName)
{
    return {
        .name = name,
        .caption = u"Form1",
        .client = {4830, 3165},
        .frame = WindowFrame::None,
        .placement = WindowPlacement::FixedOnScreen,
        .screenPosition = {3720, 2370},
        .background = DesignPalette::lightCyan,
        .accessibleName = accessibleName,
        .dialog = true,
    };
}

inline constexpr ControlSpec okButton{
    .name = "Command1",
    .kind = ControlKind::Button,
    .text = u"OK",
    .rect = {2108, 2280, 615, 375},
    .font = DesignFonts::dialogBold,
    .foreground = DesignPalette::buttonText,
    .tabIndex = 1,
};

inline constexpr ControlSpec panelShape{
    .name = "Shape1",
    .kind = ControlKind::Shape,
    .rect = {0, 0, 4815, 3135},
    .background = DesignPalette::windowBackground,
    .border = DesignPalette::windowText,
    .borderPixels = 3,
};

// The line along the foot of the panel.
constexpr ControlSpec footLine(std::string_view name, ControlKind kind, std::u16string_view text,
                               int tabIndex)
{
    return {.name = name,
            .kind = kind,
            .text = text,
            .rect = {315, 2760, 4200, 255},
            .font = FontSpec{DesignFace::Arial, 8.25, true, false},
            .foreground = DesignPalette::buttonText,
            .tabIndex = tabIndex};
}

} // namespace PanelLayout
