#pragma once

#include "core/windows/panelform.h"

// The help window: one sentence of instructions, OK, and the maker's name,
// which opens the about window over it.
class frmhelp1 final : public PanelForm
{
public:
    frmhelp1() = default;

protected:
    [[nodiscard]] FormDesign design() const override;
    void controlClicked(std::string_view control) override;

private:
    struct Handlers;

    void Label2_Click();
};
