#include "core/scale/scaletable.h"

#include <QRegularExpression>
#include <QTest>

#include <set>
#include <string>

namespace {

QString qs(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

bool isOneRow(const ScaleRow &row, int force)
{
    return &row == ScaleTable::row(force);
}

} // namespace

class tst_ScaleTable : public QObject
{
    Q_OBJECT

private slots:
    void rowsAreForcesInOrder();
    void rowAccessOutsideTheScaleGivesNothing();
    void forceColumnIsNumericOrder();
    void knotsAndMilesPerHourShareOnlyTheirFirstTwoTexts();
    void textsOfAColumnArePairwiseDifferent_data();
    void textsOfAColumnArePairwiseDifferent();
    void textsAreShortAscii_data();
    void textsAreShortAscii();
    void rangesAreWrittenTheSameWay_data();
    void rangesAreWrittenTheSameWay();
    void waveHeightsHaveOneDecimalPlace();
    void topRangesAreOpen();
    void criterionSentencesKeepTheirWording_data();
    void criterionSentencesKeepTheirWording();
    void criterionSentencesEndAsWritten();
    void criterionSentencesAreSingleLines();
};

void tst_ScaleTable::rowsAreForcesInOrder()
{
    QCOMPARE(ScaleTable::rowCount, 13);
    for (int force = 0; force < ScaleTable::rowCount; ++force) {
        const ScaleRow *row = ScaleTable::row(force);
        QVERIFY(row);
        QCOMPARE(row->force, force);
        QVERIFY(isOneRow(ScaleTable::rows()[std::size_t(force)], force));
    }
    QCOMPARE(qs(ScaleTable::row(0)->description), u"Calm");
    QCOMPARE(qs(ScaleTable::row(12)->description), u"Hurricane");
}

void tst_ScaleTable::rowAccessOutsideTheScaleGivesNothing()
{
    QVERIFY(!ScaleTable::row(-1));
    QVERIFY(!ScaleTable::row(13));
    QVERIFY(!ScaleTable::row(std::numeric_limits<int>::min()));
    QVERIFY(!ScaleTable::row(std::numeric_limits<int>::max()));
}

void tst_ScaleTable::forceColumnIsNumericOrder()
{
    const auto texts = ScaleTable::columnTexts(ScaleColumn::Force);
    for (int force = 0; force < ScaleTable::rowCount; ++force)
        QCOMPARE(qs(texts[std::size_t(force)]), QString::number(force));
    // "10" follows "9", not "1"
    QCOMPARE(qs(texts[9]), u"9");
    QCOMPARE(qs(texts[10]), u"10");
}

void tst_ScaleTable::knotsAndMilesPerHourShareOnlyTheirFirstTwoTexts()
{
    const auto knots = ScaleTable::columnTexts(ScaleColumn::Knots);
    const auto mph = ScaleTable::columnTexts(ScaleColumn::MilesPerHour);
    QCOMPARE(qs(knots[0]), u"Less than 1");
    QCOMPARE(qs(knots[1]), u"1 - 3");
    QCOMPARE(mph[0], knots[0]);
    QCOMPARE(mph[1], knots[1]);
    QCOMPARE(qs(knots[2]), u"4 - 6");
    QCOMPARE(qs(mph[2]), u"4 - 7");

    // Across all columns, a text found in two columns lies in the same row.
    std::set<std::string_view> seen;
    int shared = 0;
    for (ScaleColumn a : allScaleColumns) {
        for (ScaleColumn b : allScaleColumns) {
            if (int(a) >= int(b))
                continue;
            const auto ta = ScaleTable::columnTexts(a);
            const auto tb = ScaleTable::columnTexts(b);
            for (std::size_t i = 0; i < ta.size(); ++i) {
                for (std::size_t j = 0; j < tb.size(); ++j) {
                    if (ta[i] != tb[j])
                        continue;
                    QCOMPARE(i, j);
                    seen.insert(ta[i]);
                    ++shared;
                }
            }
        }
    }
    QCOMPARE(shared, 2);
    QVERIFY(seen.count("Less than 1") && seen.count("1 - 3"));
}

void tst_ScaleTable::textsOfAColumnArePairwiseDifferent_data()
{
    QTest::addColumn<ScaleColumn>("column");
    QTest::newRow("Force") << ScaleColumn::Force;
    QTest::newRow("Description") << ScaleColumn::Description;
    QTest::newRow("Knots") << ScaleColumn::Knots;
    QTest::newRow("MetresPerSecond") << ScaleColumn::MetresPerSecond;
    QTest::newRow("MilesPerHour") << ScaleColumn::MilesPerHour;
    QTest::newRow("WaveHeight") << ScaleColumn::WaveHeight;
}

void tst_ScaleTable::textsOfAColumnArePairwiseDifferent()
{
    QFETCH(ScaleColumn, column);
    const auto texts = ScaleTable::columnTexts(column);
    const std::set<std::string_view> distinct(texts.begin(), texts.end());
    QCOMPARE(int(distinct.size()), ScaleTable::rowCount);
    for (std::size_t i = 0; i < texts.size(); ++i)
        QCOMPARE(texts[i], ScaleTable::rows()[i].text(column));
}

void tst_ScaleTable::textsAreShortAscii_data()
{
    textsOfAColumnArePairwiseDifferent_data();
}

void tst_ScaleTable::textsAreShortAscii()
{
    QFETCH(ScaleColumn, column);
    for (std::string_view text : ScaleTable::columnTexts(column)) {
        QVERIFY(!text.empty());
        QVERIFY2(text.size() <= 15, text.data());
        for (char c : text)
            QVERIFY(c >= 0x20 && c < 0x7f);
        QVERIFY2(text.front() != ' ' && text.back() != ' ', text.data());
    }
}

void tst_ScaleTable::rangesAreWrittenTheSameWay_data()
{
    QTest::addColumn<ScaleColumn>("column");
    QTest::newRow("Knots") << ScaleColumn::Knots;
    QTest::newRow("MetresPerSecond") << ScaleColumn::MetresPerSecond;
    QTest::newRow("MilesPerHour") << ScaleColumn::MilesPerHour;
}

void tst_ScaleTable::rangesAreWrittenTheSameWay()
{
    QFETCH(ScaleColumn, column);
    static const QRegularExpression range(u"^\\d+(\\.\\d)? - \\d+\\.?\\d*$"_qs);
    static const QRegularExpression open(u"^\\d+(\\.\\d)? \\+$"_qs);
    const auto texts = ScaleTable::columnTexts(column);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QString text = qs(texts[i]);
        if (text == u"Less than 1")
            continue;
        if (i == texts.size() - 1)
            QVERIFY2(open.match(text).hasMatch(), qPrintable(text));
        else
            QVERIFY2(range.match(text).hasMatch(), qPrintable(text));
    }
    // The only lower bound written without a decimal point.
    QCOMPARE(qs(ScaleTable::columnTexts(ScaleColumn::MetresPerSecond)[0]), u"0 - 0.2");
}

void tst_ScaleTable::waveHeightsHaveOneDecimalPlace()
{
    static const QRegularExpression oneDecimal(u"^\\d+\\.\\d$"_qs);
    const auto texts = ScaleTable::columnTexts(ScaleColumn::WaveHeight);
    for (std::string_view text : texts)
        QVERIFY2(oneDecimal.match(qs(text)).hasMatch(), text.data());
    QCOMPARE(qs(texts[11]), u"11.5");
    QCOMPARE(qs(texts[12]), u"14.0");
}

void tst_ScaleTable::topRangesAreOpen()
{
    const ScaleRow &top = *ScaleTable::row(12);
    QCOMPARE(qs(top.knots), u"64 +");
    QCOMPARE(qs(top.metresPerSecond), u"32.7 +");
    QCOMPARE(qs(top.milesPerHour), u"73 +");
}

void tst_ScaleTable::criterionSentencesKeepTheirWording_data()
{
    QTest::addColumn<int>("force");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("capital after the colon") << 2 << u"pronounced: Crests"_qs;
    QTest::newRow("prehaps") << 3 << u"prehaps scattered"_qs;
    QTest::newRow("blow in, 7") << 7 << u"to be blow in streaks"_qs;
    QTest::newRow("blow in, 8") << 8 << u"is blow in well-marked"_qs;
    QTest::newRow("blow in, 10") << 10 << u"is blow in dense"_qs;
    QTest::newRow("effect visibility") << 9 << u"spray may effect visibility."_qs;
    QTest::newRow("shock-like") << 10 << u"heavy and shock-like;"_qs;
    QTest::newRow("lost to view") << 11 << u"(small and medium sized ships"_qs;
}

void tst_ScaleTable::criterionSentencesKeepTheirWording()
{
    QFETCH(int, force);
    QFETCH(QString, fragment);
    QVERIFY2(qs(ScaleTable::row(force)->criterion).contains(fragment), qPrintable(fragment));
}

void tst_ScaleTable::criterionSentencesEndAsWritten()
{
    for (const ScaleRow &row : ScaleTable::rows()) {
        const char expectedEnd = (row.force == 5 || row.force == 6) ? ')' : '.';
        QCOMPARE(row.criterion.back(), expectedEnd);
    }
    QCOMPARE(qs(ScaleTable::row(0)->criterion), u"Sea like a mirror.");
    QVERIFY(qs(ScaleTable::row(5)->criterion).endsWith(u"(chance of some spray)"));
    QVERIFY(qs(ScaleTable::row(6)->criterion).endsWith(u"(probably some spray)"));
}

void tst_ScaleTable::criterionSentencesAreSingleLines()
{
    std::size_t shortest = std::string_view::npos, longest = 0;
    for (const ScaleRow &row : ScaleTable::rows()) {
        shortest = std::min(shortest, row.criterion.size());
        longest = std::max(longest, row.criterion.size());
        for (char c : row.criterion)
            QVERIFY(c >= 0x20 && c < 0x7f);
        QVERIFY(row.criterion.find("  ") == std::string_view::npos);
    }
    QCOMPARE(shortest, std::size_t(18));
    QCOMPARE(longest, std::size_t(291));
}

QTEST_APPLESS_MAIN(tst_ScaleTable)
#include "tst_scaletable.moc"
