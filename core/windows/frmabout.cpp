#include "ui/secondary/frmabout.h"

#include "shell/formwindow.h"
#include "ui/secondary/aboutlayout.h"

std::unique_ptr<FormWindow> frmabout::createWindow()
{
    return buildPanel(AboutLayout::window, AboutLayout::controls);
}
