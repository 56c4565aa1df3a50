#pragma once

#include "form.h"
#include "formlayout.h"

#include <span>

// The common frame of the help and about windows: a borderless rounded panel
// at a fixed place on the screen with an OK button. Each time such a window
// becomes active it switches the main window's input off; its OK button
// dismisses it and gives the main window its input back.
class PanelForm : public Form
{
protected:
    PanelForm() = default;

    // Builds the window from its layout and connects OK.
    [[nodiscard]] std::unique_ptr<FormWindow> buildPanel(std::string_view className,
                                                         const WindowSpec &design,
                                                         std::span<const ControlSpec> controls);

    void Form_Activate() override;
    void Form_Unload(bool &cancel) override;
    // The window has no close box, but a window manager can still close it.
    // The main window must then not stay without input, with no way out.
    void closedByWindowManager() override;

    void Command1_Click();
};

// Layout entries shared by both panels, in twips.
namespace PanelLayout {
inline constexpr LayoutColour lightCyanBackground = LayoutColour::fixed(qRgb(128, 255, 255));

// Both panels have the same frame and place; the title is never shown, so
// each says what it is through its accessible name.
constexpr WindowSpec window(std::u16string_view accessibleName)
{
    return {
        .caption = u"Form1",
        .client = {4830, 3165},
        .frame = WindowFrame::None,
        .placement = WindowPlacement::FixedOnScreen,
        .screenPosition = {3720, 2370},
        .background = lightCyanBackground,
        .accessibleName = accessibleName,
    };
}

inline constexpr ControlSpec okButton{
    .name = "Command1",
    .kind = ControlKind::Button,
    .text = u"OK",
    .rect = {2108, 2280, 615, 375},
    .font = FontSpec{DesignFace::MsSansSerif, 8.25, true, false},
    .foreground = SystemColour::buttonText,
    .tabIndex = 1,
};

inline constexpr ControlSpec panelShape{
    .name = "Shape1",
    .kind = ControlKind::Shape,
    .rect = {0, 0, 4815, 3135},
    .background = SystemColour::windowBackground,
    .border = SystemColour::windowText,
    .borderPixels = 3,
};

inline constexpr TwipRect footLine{315, 2760, 4200, 255};
inline constexpr FontSpec footFont{DesignFace::Arial, 8.25, true, false};
} // namespace PanelLayout
