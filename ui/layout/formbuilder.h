#pragma once

#include "formlayout.h"

#include <QColor>

#include <memory>
#include <span>

class Form;
class FormWindow;
class QWidget;

// The colour a layout entry names, resolved against the application palette.
[[nodiscard]] QColor resolveColour(const LayoutColour &colour);

// Builds a window and its controls from its layout. Controls are listed
// front to back; each gets its layout name as objectName, and the controls
// that take the focus are chained in ascending tab index.
[[nodiscard]] std::unique_ptr<FormWindow> buildFormWindow(Form &form, std::string_view className,
                                                          const WindowSpec &window,
                                                          std::span<const ControlSpec> controls);

// Where the frame of a window of this layout is placed when loaded, on the
// primary screen, for a frame of the given extents around the client area.
[[nodiscard]] QPoint placedPosition(const WindowSpec &window, const QMargins &frame);
