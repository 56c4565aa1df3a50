#include "core/scale/scaletable.h"

#include "core/scale/forcetext.h"

namespace {

constexpr std::array<ScaleRow, ScaleTable::rowCount> scaleRows{{
    {0, "Calm", "Less than 1", "0 - 0.2", "Less than 1", "0.0", "Sea like a mirror."},
    {1, "Light Air", "1 - 3", "0.3 - 1.5", "1 - 3", "0.1",
     "Ripples with the appearance of scales are formed, but without foam crests."},
    {2, "Light Breeze", "4 - 6", "1.6 - 3.3", "4 - 7", "0.2",
     "Small wavelets, still short but more pronounced: Crests have a glassy appearance and do "
     "not break."},
    {3, "Gentle Breeze", "7 - 10", "3.4 - 5.4", "8 - 12", "0.6",
     "Large wavelets, crests begin to break, foam of glassy appearance, prehaps scattered white "
     "horses."},
    {4, "Moderate Breeze", "11 - 16", "5.5 - 7.9", "13 - 18", "1.0",
     "Small waves, becoming longer, fairly frequent white horses."},
    {5, "Fresh Breeze", "17 - 21", "8.0 - 10.7", "19 - 24", "2.0",
     "Moderate waves, taking a more pronounced long form, many white horses are formed. (chance "
     "of some spray)"},
    {6, "Strong Breeze", "22 - 27", "10.8 - 13.8", "25 - 31", "3.0",
     "Large waves begin to form, the white foam tops are more extensive everywhere. (probably "
     "some spray)"},
    {7, "Near Gale", "28 - 33", "13.9 - 17.1", "32 - 38", "4.0",
     "Sea heaps up and white foam from breaking waves begins to be blow in streaks along the "
     "direction of the wind."},
    {8, "Gale", "34 - 40", "17.2 - 20.7", "39 - 46", "5.5",
     "Moderately high waves of greater length, edges of crests begin to break into spindrift, "
     "foam is blow in well-marked streaks along the direction of the wind."},
    {9, "Strong Gale", "41 - 47", "20.8 - 24.4", "47 - 54", "7.0",
     "High waves, dense streaks of foam along the direction of the wind, crests of waves begin "
     "to topple, tumble and roll over, spray may effect visibility."},
    {10, "Storm", "48 - 55", "24.5 - 28.4", "55 - 63", "9.0",
     "Very high waves with long overhanging crests: the resulting foam, in great patches, is "
     "blow in dense white streaks along the direction of the wind; on the whole the surface of "
     "the sea takes on a white appearance; the tumbling of the sea becomes heavy and shock-like; "
     "visibility affected."},
    {11, "Violent Storm", "56 - 63", "28.5 - 32.6", "64 - 72", "11.5",
     "Exceptionally high waves (small and medium sized ships might be for a time lost to view "
     "behind the waves): the sea is completely covered with long white patches of foam lying "
     "across the direction of the wind; everywhere the edges of the wave crests are blown into "
     "froth; visibility affected."},
    {12, "Hurricane", "64 +", "32.7 +", "73 +", "14.0",
     "The air is filled with foam and spray, sea completely white with driven spray, visibility "
     "very seriously affected."},
}};

constexpr bool forcesMatchPositions()
{
    for (std::size_t i = 0; i < scaleRows.size(); ++i) {
        if (scaleRows[i].force != int(i))
            return false;
    }
    return true;
}
static_assert(forcesMatchPositions(), "each row's force is its position in the table");

// Exact comparison of an ASCII table text with UI text, without converting
// either side.
bool sameText(std::string_view ascii, std::u16string_view text) noexcept
{
    if (ascii.size() != text.size())
        return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        if (text[i] != char16_t(static_cast<unsigned char>(ascii[i])))
            return false;
    }
    return true;
}

} // namespace

const ScaleRow *ScaleTable::row(int force) noexcept
{
    if (force < 0 || force >= rowCount)
        return nullptr;
    return &scaleRows[std::size_t(force)];
}

const std::array<ScaleRow, ScaleTable::rowCount> &ScaleTable::rows() noexcept
{
    return scaleRows;
}

ScaleTable::ColumnTexts ScaleTable::columnTexts(ScaleColumn column) noexcept
{
    ColumnTexts texts{};
    for (std::size_t i = 0; i < scaleRows.size(); ++i)
        texts[i] = scaleRows[i].text(column);
    return texts;
}

const ScaleRow *ScaleTable::findRow(ScaleColumn column, std::u16string_view text) noexcept
{
    if (column == ScaleColumn::Force) {
        const std::optional<int> force = readForce(text);
        return force ? row(*force) : nullptr;
    }
    for (const ScaleRow &candidate : scaleRows) {
        if (sameText(candidate.text(column), text))
            return &candidate;
    }
    return nullptr;
}
