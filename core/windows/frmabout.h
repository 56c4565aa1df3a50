#pragma once

#include "core/windows/panelform.h"

// The about window: the maker's name, postal address and e-mail address.
class frmabout final : public PanelForm
{
public:
    frmabout() = default;

protected:
    [[nodiscard]] FormDesign design() const override;
    void controlClicked(std::string_view control) override;

private:
    struct Handlers;
};
