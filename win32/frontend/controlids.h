#pragma once

#include "core/design/formlayout.h"

#include <cstddef>
#include <span>
#include <string_view>

// The child window identifiers of a window's controls, fixed by its layout:
// the control's index in the layout plus a base clear of IDOK and IDCANCEL,
// which no control may raise. Other programs (the Windows tests) find a
// control by its layout name through them, with GetDlgItem on the window of
// the layout's class.
namespace ControlIds {

inline constexpr int first = 100;

[[nodiscard]] constexpr int forIndex(std::size_t layoutIndex)
{
    return first + static_cast<int>(layoutIndex);
}

// The identifier of the control named `name` in `controls`; 0 (which no
// control has) when the layout has none of that name.
[[nodiscard]] constexpr int of(std::span<const ControlSpec> controls, std::string_view name)
{
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name)
            return forIndex(i);
    }
    return 0;
}

} // namespace ControlIds
