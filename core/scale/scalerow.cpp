#include "core/scale/scalerow.h"

#include <array>

namespace {
constexpr std::array<std::string_view, 13> forceTexts{
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
};
} // namespace

std::string_view ScaleRow::text(ScaleColumn column) const noexcept
{
    switch (column) {
    case ScaleColumn::Force:
        return force >= 0 && force < int(forceTexts.size()) ? forceTexts[std::size_t(force)]
                                                            : std::string_view{};
    case ScaleColumn::Description:
        return description;
    case ScaleColumn::Knots:
        return knots;
    case ScaleColumn::MetresPerSecond:
        return metresPerSecond;
    case ScaleColumn::MilesPerHour:
        return milesPerHour;
    case ScaleColumn::WaveHeight:
        return waveHeight;
    }
    return {};
}
