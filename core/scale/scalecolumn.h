#pragma once

#include <array>

// The six columns of the scale that the user can choose from, in the order
// their boxes are written after a pick.
enum class ScaleColumn {
    Force,
    Description,
    Knots,
    MetresPerSecond,
    MilesPerHour,
    WaveHeight,
};

inline constexpr std::array<ScaleColumn, 6> allScaleColumns{
    ScaleColumn::Force,           ScaleColumn::Description,  ScaleColumn::Knots,
    ScaleColumn::MetresPerSecond, ScaleColumn::MilesPerHour, ScaleColumn::WaveHeight,
};
