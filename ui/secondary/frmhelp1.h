#pragma once

#include "panelform.h"

// The help window: one sentence of instructions, OK, and the maker's name,
// which opens the about window over it.
class frmhelp1 final : public PanelForm
{
public:
    static constexpr FormClass formClass = FormClass::frmhelp1;

    frmhelp1() = default;

protected:
    [[nodiscard]] std::unique_ptr<FormWindow> createWindow() override;

private:
    void Label2_Click();
};

inline constexpr std::u16string_view helpSentence =
    u"Select the information you require from any drop down list box, highlight, and the "
    u"others will change accordingly.";

namespace HelpLayout {
inline constexpr WindowSpec window = PanelLayout::window(u"Galevane help");

inline constexpr std::array<ControlSpec, 4> controls{{
    PanelLayout::okButton,
    // The maker's name along the foot of the panel, where the about window
    // shows its e-mail line.
    {.name = "Label2",
     .kind = ControlKind::ClickableLabel,
     .text = u"\u00a9 Quayforth",
     .rect = PanelLayout::footLine,
     .font = PanelLayout::footFont,
     .foreground = SystemColour::buttonText,
     .tabIndex = 2,
     .toolTip = u"Click"},
    {.name = "Label1",
     .kind = ControlKind::Label,
     .text = helpSentence,
     .rect = {315, 120, 4215, 2415},
     .font = FontSpec{DesignFace::ComicSansMs, 14.25, true, false},
     .foreground = LayoutColour::fixed(qRgb(255, 0, 0)),
     .tabIndex = 0},
    PanelLayout::panelShape,
}};
} // namespace HelpLayout
