#pragma once

#include "form.h"
#include "formlayout.h"

#include <array>

// The forecast-areas window: a fixed map of the sea areas around the British
// Isles that takes the main window's place until Back is pressed. Every way
// out of it shows the main window again.
class frmAreas final : public Form
{
public:
    static constexpr FormClass formClass = FormClass::frmAreas;

    frmAreas() = default;

    // Runs if the instance is ever released while the program goes on; no
    // path of the program does that, but the window must not leave the main
    // window hidden if one did.
    void Form_Terminate();

protected:
    [[nodiscard]] std::unique_ptr<FormWindow> createWindow() override;
    void Form_Unload(bool &cancel) override;

private:
    void Command1_Click();
    void returnToMainWindow();
};

// The 30 names drawn into the map, north to south, for assistive technology.
inline constexpr std::u16string_view mapAreaNames =
    u"S.E. Iceland, Faeroes, Bailey, Fair Isle, Viking, North Utsire, South Utsire, Hebrides, "
    u"Cromarty, Forties, Rockall, Malin, Forth, Fisher, Tyne, Dogger, German Bight, Irish Sea, "
    u"Shannon, Humber, Thames, Fastnet, Lundy, Dover, Wight, Portland, Plymouth, Sole, "
    u"Trafalgar, Biscay";

namespace AreasLayout {
inline constexpr WindowSpec window{
    .caption = u"Forecast Areas",
    .client = {7050, 7305},
    .frame = WindowFrame::FixedSingle,
    .placement = WindowPlacement::CentreScreen,
    .screenPosition = {0, 0},
    .background = SystemColour::highlightText,
};

inline constexpr std::array<ControlSpec, 2> controls{{
    {.name = "Command1",
     .kind = ControlKind::Button,
     .text = u"Back",
     .rect = {4440, 120, 1695, 375},
     .font = FontSpec{DesignFace::MsSansSerif, 8.25, true, false},
     .tabIndex = 0},
    {.name = "Image1",
     .kind = ControlKind::Bitmap,
     .rect = {14, 1, 7020, 7260},
     .accessibleDescription = mapAreaNames,
     .resource = ":/galevane/map/areas.argb"},
}};
} // namespace AreasLayout
