#pragma once

#include "core/design/formlayout.h"

#include <QMargins>
#include <QPoint>

#include <memory>
#include <span>

class FormWindow;
class FormEvents;

// Builds a window and its controls from its layout, reporting to `form`.
// Controls are listed front to back; each gets its layout name as
// objectName, the controls that take the focus are chained in ascending tab
// index, and labels are tied to the controls they name. The window counts an
// activation once the window system's reports have stayed unchanged for
// `activationSettleMs`.
[[nodiscard]] std::unique_ptr<FormWindow> buildFormWindow(FormEvents &form,
                                                          const WindowSpec &window,
                                                          std::span<const ControlSpec> controls,
                                                          int activationSettleMs);
