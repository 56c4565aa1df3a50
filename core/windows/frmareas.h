#pragma once

#include "shell/form.h"

// The forecast-areas window: a fixed map of the sea areas around the British
// Isles that takes the main window's place until Back is pressed. Every way
// out of it shows the main window again.
class frmAreas final : public Form
{
public:
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
