#include "core/scale/forcetext.h"
#include "core/scale/scaletable.h"

#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// The lookup reads UTF-16 text, as QString holds it.
std::u16string_view utf16(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}

} // namespace

// Every heap allocation in this process is counted, so a test can prove that a
// lookup allocates nothing.
namespace {
std::atomic<long> allocations{0};
}

void *operator new(std::size_t size)
{
    ++allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

constexpr int noRow = -1;

int foundForce(ScaleColumn column, const QString &text)
{
    const ScaleRow *row = ScaleTable::findRow(column, utf16(text));
    return row ? row->force : noRow;
}

} // namespace

class tst_FindRow : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void everyColumnTextFindsItsOwnRow();
    void forceForms_data();
    void forceForms();
    void hugeAndOddTextsGiveNoRow_data();
    void hugeAndOddTextsGiveNoRow();
    void lookupAllocatesNothing();
};

void tst_FindRow::lookup_data()
{
    QTest::addColumn<ScaleColumn>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("force");

    const auto F = ScaleColumn::Force;
    const auto D = ScaleColumn::Description;
    const auto K = ScaleColumn::Knots;
    const auto M = ScaleColumn::MetresPerSecond;
    const auto P = ScaleColumn::MilesPerHour;
    const auto W = ScaleColumn::WaveHeight;

    QTest::newRow("force 0") << F << u"0"_qs << 0;
    QTest::newRow("force 12") << F << u"12"_qs << 12;
    QTest::newRow("force 1 is not 10 to 12") << F << u"1"_qs << 1;
    QTest::newRow("force 13") << F << u"13"_qs << noRow;
    QTest::newRow("force 1.0 is a number") << F << u"1.0"_qs << 1;
    QTest::newRow("wave 1.0 is text") << W << u"1.0"_qs << 4;
    QTest::newRow("wave 14.0") << W << u"14.0"_qs << 12;
    QTest::newRow("wave 14") << W << u"14"_qs << noRow;
    QTest::newRow("wave 5.5") << W << u"5.5"_qs << 8;
    QTest::newRow("Gale") << D << u"Gale"_qs << 8;
    QTest::newRow("Near Gale") << D << u"Near Gale"_qs << 7;
    QTest::newRow("gale lower case") << D << u"gale"_qs << noRow;
    QTest::newRow("Gale trailing blank") << D << u"Gale "_qs << noRow;
    QTest::newRow("Gale leading blank") << D << u" Gale"_qs << noRow;
    QTest::newRow("Near  Gale inner blank") << D << u"Near  Gale"_qs << noRow;
    QTest::newRow("knots Less than 1") << K << u"Less than 1"_qs << 0;
    QTest::newRow("mph Less than 1") << P << u"Less than 1"_qs << 0;
    QTest::newRow("knots 1 - 3") << K << u"1 - 3"_qs << 1;
    QTest::newRow("mph 1 - 3") << P << u"1 - 3"_qs << 1;
    QTest::newRow("knots 64 +") << K << u"64 +"_qs << 12;
    QTest::newRow("mph 64 +") << P << u"64 +"_qs << noRow;
    QTest::newRow("mph 64 - 72") << P << u"64 - 72"_qs << 11;
    QTest::newRow("mph 73 +") << P << u"73 +"_qs << 12;
    QTest::newRow("knots 64+ without blank") << K << u"64+"_qs << noRow;
    QTest::newRow("mph 4 - 6 belongs to knots") << P << u"4 - 6"_qs << noRow;
    QTest::newRow("m/s 5.5 belongs to wave height") << M << u"5.5"_qs << noRow;
    QTest::newRow("m/s 0 - 0.2") << M << u"0 - 0.2"_qs << 0;
    QTest::newRow("m/s start-up text 0.0 - 0.2") << M << u"0.0 - 0.2"_qs << noRow;
    QTest::newRow("empty description") << D << QString() << noRow;
    QTest::newRow("empty knots") << K << QString() << noRow;
    QTest::newRow("empty m/s") << M << QString() << noRow;
    QTest::newRow("empty mph") << P << QString() << noRow;
    QTest::newRow("empty wave") << W << QString() << noRow;
    QTest::newRow("empty force") << F << QString() << noRow;
    QTest::newRow("description in force column") << F << u"Gale"_qs << noRow;
    QTest::newRow("force text in description") << D << u"8"_qs << noRow;
}

void tst_FindRow::lookup()
{
    QFETCH(ScaleColumn, column);
    QFETCH(QString, text);
    QFETCH(int, force);
    QCOMPARE(foundForce(column, text), force);
}

void tst_FindRow::everyColumnTextFindsItsOwnRow()
{
    for (ScaleColumn column : allScaleColumns) {
        const auto texts = ScaleTable::columnTexts(column);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const QString text = QString::fromLatin1(texts[i].data(), qsizetype(texts[i].size()));
            QCOMPARE(foundForce(column, text), int(i));
        }
    }
}

void tst_FindRow::forceForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("force");

    QTest::newRow("blanks around") << u" 12 "_qs << 12;
    QTest::newRow("leading zero") << u"012"_qs << 12;
    QTest::newRow("many leading zeros") << u"0000000000000000000007"_qs << 7;
    QTest::newRow("decimal zero") << u"12.0"_qs << 12;
    QTest::newRow("decimal zeros") << u"3.000"_qs << 3;
    QTest::newRow("minus zero") << u"-0"_qs << 0;
    QTest::newRow("plus sign") << u"+3"_qs << 3;
    QTest::newRow("minus one") << u"-1"_qs << noRow;
    QTest::newRow("fraction") << u"2.5"_qs << noRow;
    QTest::newRow("tiny fraction") << u"12.0000000001"_qs << noRow;
    QTest::newRow("point without digits") << u"12."_qs << noRow;
    QTest::newRow("point first") << u".5"_qs << noRow;
    QTest::newRow("comma separator") << u"12,0"_qs << noRow;
    QTest::newRow("exponent") << u"1e1"_qs << noRow;
    QTest::newRow("hexadecimal") << u"0x0C"_qs << noRow;
    QTest::newRow("nan") << u"nan"_qs << noRow;
    QTest::newRow("inf") << u"inf"_qs << noRow;
    QTest::newRow("only blanks") << u"   "_qs << noRow;
    QTest::newRow("tab before") << u"\t5"_qs << noRow;
    QTest::newRow("inner blank") << u"1 2"_qs << noRow;
    QTest::newRow("two signs") << u"--1"_qs << noRow;
    QTest::newRow("sign alone") << u"-"_qs << noRow;
    QTest::newRow("arabic-indic five") << QString(QChar(0x0665)) << noRow;
    QTest::newRow("fullwidth five") << QString(QChar(0xFF15)) << noRow;
    QTest::newRow("overflowing number") << u"99999999999999999999999"_qs << noRow;
    QTest::newRow("overflowing then valid digits") << u"4294967308"_qs << noRow;
    QTest::newRow("trailing letter") << u"12a"_qs << noRow;
}

void tst_FindRow::forceForms()
{
    QFETCH(QString, text);
    QFETCH(int, force);
    QCOMPARE(foundForce(ScaleColumn::Force, text), force);
    const std::optional<int> read = readForce(utf16(text));
    QCOMPARE(read.has_value(), force != noRow);
}

void tst_FindRow::hugeAndOddTextsGiveNoRow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("force");
    QTest::newRow("1 MB of x") << QString(1 << 20, u'x') << noRow;
    QTest::newRow("1 MB of zeros reads as 0") << QString(1 << 20, u'0') << 0;
    QTest::newRow("1 MB of nines") << QString(1 << 20, u'9') << noRow;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << noRow;
    QTest::newRow("embedded nul") << QString(u"Gale\0"_qs) << noRow;
    QTest::newRow("non-ASCII") << u"Kalme \u00e9t\u00e9 \u6d77"_qs << noRow;
}

void tst_FindRow::hugeAndOddTextsGiveNoRow()
{
    QFETCH(QString, text);
    QFETCH(int, force);
    QCOMPARE(foundForce(ScaleColumn::Force, text), force);
    for (ScaleColumn column : allScaleColumns) {
        if (column != ScaleColumn::Force)
            QCOMPARE(foundForce(column, text), noRow);
    }
}

void tst_FindRow::lookupAllocatesNothing()
{
    const QString hits[] = {u"12"_qs,      u"Gale"_qs, u"64 +"_qs,
                            u"0 - 0.2"_qs, u"73 +"_qs, u"14.0"_qs};
    const QString misses[] = {u"13"_qs, u"gale"_qs, u"64+"_qs, u"0.0 - 0.2"_qs, u""_qs, u"14"_qs};
    const long before = allocations.load();
    int found = 0;
    for (int round = 0; round < 100; ++round) {
        for (std::size_t i = 0; i < allScaleColumns.size(); ++i) {
            found += ScaleTable::findRow(allScaleColumns[i], utf16(hits[i])) != nullptr;
            found += ScaleTable::findRow(allScaleColumns[i], utf16(misses[i])) != nullptr;
        }
        found += ScaleTable::columnTexts(ScaleColumn::Knots).size() == 13;
    }
    const long after = allocations.load();
    QCOMPARE(found, 100 * (6 + 1));
    QCOMPARE(after - before, 0L);
}

QTEST_APPLESS_MAIN(tst_FindRow)
#include "tst_findrow.moc"
