#include "ui/secondary/frmhelp1.h"

#include "shell/formwindow.h"
#include "ui/controls/formlabel.h"
#include "ui/layout/controlaccess.h"
#include "ui/secondary/frmabout.h"
#include "ui/secondary/helplayout.h"

std::unique_ptr<FormWindow> frmhelp1::createWindow()
{
    auto window = buildPanel(HelpLayout::window, HelpLayout::controls);
    auto &maker = control<ClickableLabel>(*window, "Label2");
    QObject::connect(&maker, &ClickableLabel::clicked, &maker, [this] { Label2_Click(); });
    return window;
}

void frmhelp1::Label2_Click()
{
    defaultInstance<frmabout>().Show();
}
