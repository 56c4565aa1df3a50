#include "frmhelp1.h"

#include "controlaccess.h"
#include "formlabel.h"
#include "formwindow.h"
#include "frmabout.h"

std::unique_ptr<FormWindow> frmhelp1::createWindow()
{
    auto window = buildPanel("frmhelp1", HelpLayout::window, HelpLayout::controls);
    auto &maker = control<ClickableLabel>(*window, "Label2");
    QObject::connect(&maker, &ClickableLabel::clicked, &maker, [this] { Label2_Click(); });
    maker.setAccessibleDescription(QStringLiteral("Shows the maker's contact details"));
    return window;
}

void frmhelp1::Label2_Click()
{
    defaultInstance<frmabout>().Show();
}
