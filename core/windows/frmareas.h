#pragma once

#include "core/forms/form.h"

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
    [[nodiscard]] FormDesign design() const override;
    void Form_Unload(bool &cancel) override;
    void controlClicked(std::string_view control) override;

private:
    struct Handlers;

    void Command1_Click();
    void returnToMainWindow();
};
