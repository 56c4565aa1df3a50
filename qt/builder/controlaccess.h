#pragma once

#include <QString>
#include <QWidget>

#include <stdexcept>
#include <string>

// A control of a loaded window by its layout name. A missing control is a
// fault of the program, reported like any unexpected failure.
template <class ControlType> ControlType &control(QWidget &window, const char *name)
{
    auto *found =
        window.findChild<ControlType *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!found)
        throw std::logic_error(std::string("window has no control named ") + name);
    return *found;
}
