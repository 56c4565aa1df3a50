#pragma once

#include "core/scale/scalecolumn.h"

#include <string_view>

// One force of the scale. The texts are plain ASCII with static lifetime; the
// text of the Force column is not stored but derived from `force`.
struct ScaleRow
{
    int force;
    std::string_view description;
    std::string_view knots;
    std::string_view metresPerSecond;
    std::string_view milesPerHour;
    std::string_view waveHeight;
    std::string_view criterion;

    // The row's text in one column; for Force the decimal form "0" to "12".
    [[nodiscard]] std::string_view text(ScaleColumn column) const noexcept;
};
