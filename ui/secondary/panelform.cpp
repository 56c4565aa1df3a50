#include "panelform.h"

#include "controlaccess.h"
#include "formbuilder.h"
#include "formwindow.h"
#include "frmwindscale.h"

#include <QPushButton>

std::unique_ptr<FormWindow> PanelForm::buildPanel(std::string_view className,
                                                  std::span<const ControlSpec> controls)
{
    auto window = buildFormWindow(*this, className, PanelLayout::window, controls);
    auto &ok = control<QPushButton>(*window, "Command1");
    QObject::connect(&ok, &QPushButton::clicked, &ok, [this] { Command1_Click(); });
    ok.setFocus();
    return window;
}

void PanelForm::Form_Activate()
{
    defaultInstance<frmWindScale>().Enabled(false);
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
