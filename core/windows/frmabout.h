#pragma once

#include "ui/secondary/panelform.h"

// The about window: the maker's name, postal address and e-mail address.
class frmabout final : public PanelForm
{
public:
    frmabout() = default;

protected:
    [[nodiscard]] std::unique_ptr<FormWindow> createWindow() override;
};
