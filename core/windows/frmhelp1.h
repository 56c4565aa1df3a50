#pragma once

#include "ui/secondary/panelform.h"

// The help window: one sentence of instructions, OK, and the maker's name,
// which opens the about window over it.
class frmhelp1 final : public PanelForm
{
public:
    frmhelp1() = default;

protected:
    [[nodiscard]] std::unique_ptr<FormWindow> createWindow() override;

private:
    void Label2_Click();
};
