#pragma once

#include "panelform.h"

// The about window: the maker's name, postal address and e-mail address.
class frmabout final : public PanelForm
{
public:
    static constexpr FormClass formClass = FormClass::frmabout;

    frmabout() = default;

protected:
    [[nodiscard]] std::unique_ptr<FormWindow> createWindow() override;
};

namespace AboutLayout {
inline constexpr WindowSpec window = PanelLayout::window(u"About Galevane");

inline constexpr FontSpec contactFont{DesignFace::ComicSansMs, 12.0, true, false};
inline constexpr LayoutColour red = LayoutColour::fixed(qRgb(255, 0, 0));

constexpr ControlSpec contactLine(std::string_view name, std::u16string_view text, TwipRect rect,
                                  int tabIndex)
{
    return {.name = name,
            .kind = ControlKind::Label,
            .text = text,
            .rect = rect,
            .font = contactFont,
            .foreground = red,
            .tabIndex = tabIndex};
}

inline constexpr std::array<ControlSpec, 9> controls{{
    PanelLayout::okButton,
    {.name = "Label7",
     .kind = ControlKind::Label,
     .text = u"For more information contact:-",
     .rect = {248, 0, 4335, 375},
     .font = FontSpec{DesignFace::ComicSansMs, 12.0, true, true},
     .foreground = LayoutColour::fixed(qRgb(0, 0, 192)),
     .tabIndex = 7},
    contactLine("Label6", u"Cornwall, England", {240, 1440, 4335, 375}, 6),
    contactLine("Label5", u"TR11 3QF", {360, 1800, 4335, 375}, 5),
    contactLine("Label4", u"Falmouth", {255, 1080, 4335, 375}, 4),
    contactLine("Label3", u"7 Ropewalk Lane", {255, 720, 4335, 375}, 3),
    {.name = "Label2",
     .kind = ControlKind::Label,
     .text = u"E - Mail:   info@quayforth.co.uk",
     .rect = PanelLayout::footLine,
     .font = PanelLayout::footFont,
     .foreground = SystemColour::buttonText,
     .tabIndex = 2},
    contactLine("Label1", u"Quayforth,", {255, 360, 4335, 375}, 0),
    PanelLayout::panelShape,
}};
} // namespace AboutLayout
