#pragma once

// Sizes the tests expect, taken from the windows' layout tables through the
// twips conversion rather than written out again.

#include "core/design/formlayout.h"
#include "core/windows/aboutlayout.h"
#include "core/windows/areaslayout.h"
#include "core/windows/helplayout.h"
#include "core/windows/windscalelayout.h"
#include "qt/controls/qtdesign.h"

#include <QRect>
#include <QSize>

#include <span>
#include <stdexcept>
#include <string_view>

namespace layouts {

// The entry of the control named `name` in a layout table.
inline const ControlSpec &entry(std::span<const ControlSpec> controls, std::string_view name)
{
    for (const ControlSpec &control : controls) {
        if (control.name == name)
            return control;
    }
    throw std::invalid_argument("no such control in the layout");
}

// A window's client area, and a control's extent, in logical pixels.
inline QSize clientSize(const WindowSpec &window)
{
    return twipsToQSize(window.client);
}

inline QRect controlRect(std::span<const ControlSpec> controls, std::string_view name)
{
    return twipsToQRect(entry(controls, name).rect);
}

inline QSize controlSize(std::span<const ControlSpec> controls, std::string_view name)
{
    return controlRect(controls, name).size();
}

// Where a window placed at a fixed point of the screen lies, on a screen
// whose top left is the origin.
inline QRect placedRect(const WindowSpec &window)
{
    const QSize offset = twipsToQSize(window.screenPosition);
    return QRect(QPoint(offset.width(), offset.height()), twipsToQSize(window.client));
}

inline QSize mainWindowSize()
{
    return clientSize(WindScaleLayout::window);
}

inline QSize mapWindowSize()
{
    return clientSize(AreasLayout::window);
}

} // namespace layouts
