#include "frmabout.h"

#include "formwindow.h"

std::unique_ptr<FormWindow> frmabout::createWindow()
{
    return buildPanel("frmabout", AboutLayout::window, AboutLayout::controls);
}
