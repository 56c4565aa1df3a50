#pragma once

#include "core/forms/form.h"

// The common frame of the help and about windows: a borderless rounded panel
// at a fixed place on the screen with an OK button. Each time such a window
// becomes active it switches the main window's input off; its OK button
// dismisses it and gives the main window its input back.
class PanelForm : public Form
{
protected:
    PanelForm() = default;

    void Form_Activate() override;
    void Form_Unload(bool &cancel) override;
    // The window has no close box, but a window manager can still close it.
    // The main window must then not stay without input, with no way out.
    void closedByWindowManager() override;

    void Command1_Click();
};
