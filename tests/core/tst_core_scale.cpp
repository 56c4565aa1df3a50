// The scale and its lookup, as the Windows builds run them too. The QtTest
// programs of tests/scale go further on Linux; this keeps the core of it: the
// table's texts, where each is found, and the quirks of the lookup.

#include "core/scale/forcetext.h"
#include "core/scale/scaletable.h"
#include "tests/core/check.h"

#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

constexpr int noRow = -1;

std::u16string widen(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

int foundForce(ScaleColumn column, std::u16string_view text)
{
    const ScaleRow *row = ScaleTable::findRow(column, text);
    return row ? row->force : noRow;
}

std::string columnName(ScaleColumn column)
{
    switch (column) {
    case ScaleColumn::Force:
        return "Force";
    case ScaleColumn::Description:
        return "Description";
    case ScaleColumn::Knots:
        return "Knots";
    case ScaleColumn::MetresPerSecond:
        return "MetresPerSecond";
    case ScaleColumn::MilesPerHour:
        return "MilesPerHour";
    case ScaleColumn::WaveHeight:
        return "WaveHeight";
    }
    return "?";
}

// A text of one column that is also found in another column. Knots and miles
// per hour share their first two texts; the wave heights are decimal numbers,
// so the Force column, which reads numbers, takes the whole ones as forces
// (wave height "1.0" is force 4, but reads as force 1).
struct CrossHit
{
    ScaleColumn ownColumn;
    std::u16string_view text;
    ScaleColumn foundIn;
    int force;

    friend bool operator<(const CrossHit &a, const CrossHit &b)
    {
        return std::tie(a.ownColumn, a.text, a.foundIn, a.force) <
               std::tie(b.ownColumn, b.text, b.foundIn, b.force);
    }
};

using enum ScaleColumn;

const std::set<CrossHit> expectedCrossHits{
    {Knots, u"Less than 1", MilesPerHour, 0}, {Knots, u"1 - 3", MilesPerHour, 1},
    {MilesPerHour, u"Less than 1", Knots, 0}, {MilesPerHour, u"1 - 3", Knots, 1},
    {WaveHeight, u"0.0", Force, 0},           {WaveHeight, u"1.0", Force, 1},
    {WaveHeight, u"2.0", Force, 2},           {WaveHeight, u"3.0", Force, 3},
    {WaveHeight, u"4.0", Force, 4},           {WaveHeight, u"7.0", Force, 7},
    {WaveHeight, u"9.0", Force, 9},
};

} // namespace

TEST_CASE(everyTextFindsItsOwnRowInItsOwnColumn)
{
    for (ScaleColumn column : allScaleColumns) {
        const auto texts = ScaleTable::columnTexts(column);
        for (int force = 0; force < ScaleTable::rowCount; ++force) {
            const check::Context at(columnName(column) + " row " + std::to_string(force));
            const std::string_view text = texts[std::size_t(force)];
            CHECK_EQ(text, ScaleTable::row(force)->text(column));
            CHECK_EQ(foundForce(column, widen(text)), force);
        }
    }
}

// Every text looked up in every other column: what is found there is exactly
// the known list of shared texts, so a text that strays into a second column
// (and would make a pick there write the wrong row) shows.
TEST_CASE(textsAreFoundInOtherColumnsOnlyWhereKnown)
{
    std::set<std::u16string> keep; // the hits' texts live as long as the set
    std::set<CrossHit> hits;
    for (ScaleColumn own : allScaleColumns) {
        for (std::string_view text : ScaleTable::columnTexts(own)) {
            const std::u16string &wide = *keep.insert(widen(text)).first;
            for (ScaleColumn other : allScaleColumns) {
                const int force = other == own ? noRow : foundForce(other, wide);
                if (force != noRow)
                    hits.insert({own, wide, other, force});
            }
        }
    }
    std::vector<std::string> unexpected;
    std::vector<std::string> missing;
    for (const CrossHit &hit : hits) {
        if (!expectedCrossHits.contains(hit))
            unexpected.push_back(columnName(hit.ownColumn) + " " + check::printable(hit.text) +
                                 " in " + columnName(hit.foundIn));
    }
    for (const CrossHit &hit : expectedCrossHits) {
        if (!hits.contains(hit))
            missing.push_back(columnName(hit.ownColumn) + " " + check::printable(hit.text) +
                              " in " + columnName(hit.foundIn));
    }
    CHECK_EQ(unexpected, std::vector<std::string>{});
    CHECK_EQ(missing, std::vector<std::string>{});
}

TEST_CASE(textsOfAColumnDiffer)
{
    for (ScaleColumn column : allScaleColumns) {
        const check::Context at(columnName(column));
        const auto texts = ScaleTable::columnTexts(column);
        const std::set<std::string_view> distinct(texts.begin(), texts.end());
        CHECK_EQ(distinct.size(), texts.size());
        CHECK(!distinct.contains(""));
    }
}

TEST_CASE(rowsOutsideTheScaleAreNone)
{
    CHECK(ScaleTable::row(-1) == nullptr);
    CHECK(ScaleTable::row(ScaleTable::rowCount) == nullptr);
    CHECK_EQ(ScaleTable::rows().size(), std::size_t(ScaleTable::rowCount));
}

// The written forms of a force that forcetext.h accepts and refuses.
TEST_CASE(forceTextsReadAsNumbers)
{
    struct Row
    {
        std::u16string_view text;
        int force;
    };
    static constexpr Row rows[] = {
        {u"0", 0},
        {u"12", 12},
        {u"12.0", 12},
        {u"4.000", 4},
        {u" 3 ", 3},
        {u"  12 ", 12},
        {u"012", 12},
        {u"+3", 3},
        {u"-0", 0},
        {u"-0.0", 0},
        {u"13", noRow},
        {u"2.5", noRow},
        {u"-1", noRow},
        {u"", noRow},
        {u"   ", noRow},
        {u"1e1", noRow},
        {u"0x0C", noRow},
        {u"nan", noRow},
        {u"inf", noRow},
        {u"12,0", noRow},
        {u"12.", noRow},
        {u".5", noRow},
        {u"\t5", noRow},
        {u"1 2", noRow},
        {u"--1", noRow},
        {u"+", noRow},
        {u"12a", noRow},
        {u"\u0665", noRow},
        {u"\uff15", noRow},
        {u"99999999999999999999", noRow},
        {u"12.0000000001", noRow},
    };
    for (const Row &row : rows) {
        const check::Context at("force text " + check::printable(row.text));
        CHECK_EQ(foundForce(Force, row.text), row.force);
        const std::optional<int> read = readForce(row.text);
        CHECK_EQ(read.value_or(noRow), row.force);
    }
}

// Texts other than the Force column's match exactly, blanks and case included.
TEST_CASE(knownQuirksOfTheLookup)
{
    struct Row
    {
        ScaleColumn column;
        std::u16string_view text;
        int force;
    };
    static constexpr Row rows[] = {
        {Description, u"Gale", 8},
        {Description, u"Gale ", noRow},
        {Description, u" Gale", noRow},
        {Description, u"gale", noRow},
        {Description, u"Near  Gale", noRow},
        // The main window's start-up text of the metres-per-second box is
        // not the table's.
        {MetresPerSecond, u"0.0 - 0.2", noRow},
        {MetresPerSecond, u"0 - 0.2", 0},
        {Knots, u"64 +", 12},
        {MetresPerSecond, u"64 +", noRow},
        {MilesPerHour, u"64 +", noRow},
        {WaveHeight, u"64 +", noRow},
        {Description, u"64 +", noRow},
        {Force, u"64 +", noRow},
        {Knots, u"64+", noRow},
        {WaveHeight, u"1.0", 4},
        {Force, u"1.0", 1},
        {WaveHeight, u"1", noRow},
        {WaveHeight, u"14.0", 12},
        {WaveHeight, u"14", noRow},
        {MetresPerSecond, u"5.5", noRow},
        {Description, u"8", noRow},
        {Force, u"Gale", noRow},
        {Description, u"", noRow},
        {Knots, u"", noRow},
        {MetresPerSecond, u"", noRow},
        {MilesPerHour, u"", noRow},
        {WaveHeight, u"", noRow},
    };
    for (const Row &row : rows) {
        const check::Context at(columnName(row.column) + " " + check::printable(row.text));
        CHECK_EQ(foundForce(row.column, row.text), row.force);
    }
}

int main()
{
    return check::runAll();
}
