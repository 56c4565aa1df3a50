#pragma once

#include "core/design/formlayout.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

// One click handler of a window class: the control it belongs to, the kind
// that control must have in the layout, and the handler.
template <class FormType> struct ClickHandler
{
    std::string_view control;
    ControlKind kind;
    void (FormType::*handler)();
};

// Every handler's control is in the layout with the kind the handler expects;
// checked where the table is written, so a renamed control fails the build.
template <class FormType, std::size_t count>
[[nodiscard]] constexpr bool
handlersMatchLayout(const std::array<ClickHandler<FormType>, count> &handlers,
                    std::span<const ControlSpec> controls)
{
    return std::all_of(handlers.begin(), handlers.end(), [controls](const auto &h) {
        return hasControl(controls, h.control, h.kind);
    });
}

// Runs the handler of `control`; a control without one does nothing.
template <class FormType, std::size_t count>
void dispatchClick(FormType &form, const std::array<ClickHandler<FormType>, count> &handlers,
                   std::string_view control)
{
    const auto found = std::find_if(handlers.begin(), handlers.end(),
                                    [control](const auto &h) { return h.control == control; });
    if (found != handlers.end())
        (form.*(found->handler))();
}
