#include "ui/secondary/frmareas.h"

#include "shell/formwindow.h"
#include "ui/controls/appicons.h"
#include "ui/layout/controlaccess.h"
#include "ui/layout/formbuilder.h"
#include "ui/main/frmwindscale.h"
#include "ui/secondary/areaslayout.h"

#include <QPushButton>

std::unique_ptr<FormWindow> frmAreas::createWindow()
{
    auto window = buildFormWindow(*this, AreasLayout::window, AreasLayout::controls);
    window->setWindowIcon(areasWindowIcon());
    auto &back = control<QPushButton>(*window, "Command1");
    QObject::connect(&back, &QPushButton::clicked, &back, [this] { Command1_Click(); });
    back.setFocus();
    return window;
}

void frmAreas::returnToMainWindow()
{
    Hide();
    defaultInstance<frmWindScale>().Show();
}

void frmAreas::Command1_Click()
{
    returnToMainWindow();
}

void frmAreas::Form_Unload(bool &)
{
    returnToMainWindow();
}

void frmAreas::Form_Terminate()
{
    returnToMainWindow();
}
