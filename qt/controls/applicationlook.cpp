#include "qt/controls/applicationlook.h"

#include "qt/controls/designlook.h"
#include "qt/controls/inputofflook.h"

#include <QApplication>

void useDesignStyle()
{
    // The same object every time: once it is the application's style,
    // setting it again changes nothing.
    QApplication::setStyle(&inputOffLookStyle());
}

void useDesignLook()
{
    useDesignStyle();
    QApplication::setPalette(designPalette());
}
