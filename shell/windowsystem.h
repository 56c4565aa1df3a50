#pragma once

#include <QMargins>

#include <functional>
#include <optional>

class QObject;
class QWidget;

// What the window manager knows about the program's top-level windows and
// does not tell Qt before a window is on screen: the size of the frame it
// will put around a window, and which window it has stacked above which.
// On X11 this asks the window manager through the EWMH properties; elsewhere
// the platform's own answer is used, or none is known.
namespace WindowSystem {

// The frame the window manager will draw around `window` (title bar and
// borders, in logical pixels), learnt before the window is first shown so
// that it can be placed once, frame included. The window's native window is
// created if it does not exist yet. Empty margins when there is no window
// manager or it does not answer.
[[nodiscard]] QMargins frameExtentsBeforeShow(QWidget &window);

// Whether the window manager has `upper` stacked above `lower`; no answer
// where the stacking order cannot be read.
[[nodiscard]] std::optional<bool> isStackedAbove(const QWidget &upper, const QWidget &lower);

// Calls `changed` whenever the window manager restacks any window, for as
// long as `context` lives. Does nothing where the order cannot be read.
void watchStacking(QObject *context, std::function<void()> changed);

} // namespace WindowSystem
