#include "core/windows/panelform.h"

#include "core/windows/frmwindscale.h"

void PanelForm::Form_Activate()
{
    defaultInstance<frmWindScale>().Enabled(false);
    // Not a step of the design's: the front end keeps this panel, the only
    // way back to the main window's input, from lying under the main window.
    view().keepAbove(defaultInstance<frmWindScale>().view());
}

void PanelForm::Command1_Click()
{
    Hide();
    Unload();
    defaultInstance<frmWindScale>().Enabled(true);
    defaultInstance<frmWindScale>().Show();
}

void PanelForm::Form_Unload(bool &)
{
    // The window is already unloading, so this asks for nothing more.
    Unload();
}

void PanelForm::closedByWindowManager()
{
    // As OK does: the main window comes to the front taking input. Bringing
    // it forward also keeps the window manager's hand-over of the focus to a
    // help window beneath from switching the input off again.
    defaultInstance<frmWindScale>().Enabled(true);
    defaultInstance<frmWindScale>().Show();
}
