#pragma once

#include "core/scale/scalecolumn.h"
#include "core/scale/scalerow.h"

#include <string_view>

#include <array>
#include <string_view>

// The Beaufort wind force scale at sea, force 0 to 12, for wind 10 m above sea
// level. Constant data with static lifetime: reading it and looking a row up
// never allocate.
class ScaleTable
{
public:
    static constexpr int rowCount = 13;
    using ColumnTexts = std::array<std::string_view, rowCount>;

    ScaleTable() = delete;

    // The row of a force, 0 to 12; any other force gives nullptr.
    [[nodiscard]] static const ScaleRow *row(int force) noexcept;
    [[nodiscard]] static const std::array<ScaleRow, rowCount> &rows() noexcept;

    // The 13 texts of one column in row order, force 0 first.
    [[nodiscard]] static ColumnTexts columnTexts(ScaleColumn column) noexcept;

    // The row whose text in `column` is `text`, or nullptr when none is.
    // Force is matched by number (see readForce for the accepted forms); the
    // other columns by exact, case-sensitive text, blanks included.
    [[nodiscard]] static const ScaleRow *findRow(ScaleColumn column,
                                                 std::u16string_view text) noexcept;
};
