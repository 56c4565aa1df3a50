#include "frmareas.h"

#include "appicons.h"
#include "controlaccess.h"
#include "formbuilder.h"
#include "formwindow.h"
#include "frmwindscale.h"

#include <QPushButton>

std::unique_ptr<FormWindow> frmAreas::createWindow()
{
    auto window = buildFormWindow(*this, "frmAreas", AreasLayout::window, AreasLayout::controls);
    window->setWindowIcon(areasWindowIcon());
    auto &back = control<QPushButton>(*window, "Command1");
    QObject::connect(&back, &QPushButton::clicked, &back, [this] { Command1_Click(); });
    back.setFocus();
    control<QWidget>(*window, "Image1")
        .setAccessibleName(QStringLiteral("Map of the shipping forecast sea areas"));
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
