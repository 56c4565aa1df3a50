// The design's fonts in Qt: each face drawn in its stand-in.

#include "qt/controls/qtfonts.h"

#include <QFontInfo>
#include <QTest>

class tst_QtFonts : public QObject
{
    Q_OBJECT

private slots:
    void fontsUseTheirStandIns_data();
    void fontsUseTheirStandIns();
    void designFamilyNamesAreSubstituted();
};

void tst_QtFonts::fontsUseTheirStandIns_data()
{
    QTest::addColumn<int>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("MS Sans Serif") << int(DesignFace::MsSansSerif) << u"Liberation Sans"_qs;
    QTest::newRow("Times New Roman") << int(DesignFace::TimesNewRoman) << u"Liberation Serif"_qs;
    QTest::newRow("Comic Sans MS") << int(DesignFace::ComicSansMs) << u"Comic Neue"_qs;
    QTest::newRow("Arial") << int(DesignFace::Arial) << u"Liberation Sans"_qs;
}

void tst_QtFonts::fontsUseTheirStandIns()
{
    QFETCH(int, face);
    QFETCH(QString, family);
    const QFont font = designFont({DesignFace(face), 14.25, true, true});
    // The stand-in alone, so that no fallback is looked for a second family.
    QCOMPARE(font.families(), QStringList{family});
    const QFontInfo resolved(font);
    QCOMPARE(resolved.family(), family);
    QVERIFY(resolved.bold());
    QVERIFY(font.underline());
    QCOMPARE(font.pixelSize(), 19); // 14.25 pt at 96 dots per inch
    QCOMPARE(designFont({DesignFace(face), 8.25, true, false}).pixelSize(), 11);
}

void tst_QtFonts::designFamilyNamesAreSubstituted()
{
    registerFontSubstitutions();
    for (DesignFace face : {DesignFace::MsSansSerif, DesignFace::TimesNewRoman,
                            DesignFace::ComicSansMs, DesignFace::Arial}) {
        QCOMPARE(QFont::substitute(designFamilyName(face)).toLower(),
                 standInFamily(face).toLower());
        QFont named(designFamilyName(face));
        QCOMPARE(QFontInfo(named).family(), standInFamily(face));
    }
}

QTEST_MAIN(tst_QtFonts)
#include "tst_qtfonts.moc"
