#include "designfonts.h"
#include "displaycheck.h"
#include "twips.h"

#include <QFontInfo>
#include <QTest>

class tst_ShellParts : public QObject
{
    Q_OBJECT

private slots:
    void twipsRoundToTheNearestPixel_data();
    void twipsRoundToTheNearestPixel();
    void rectanglesKeepTouchingEdges();
    void fontsUseTheirStandIns_data();
    void fontsUseTheirStandIns();
    void designFamilyNamesAreSubstituted();
    void noDisplayGivesOneClearLine_data();
    void noDisplayGivesOneClearLine();
};

void tst_ShellParts::twipsRoundToTheNearestPixel_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("just under half") << 7 << 0;
    QTest::newRow("half and more") << 8 << 1;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("main window width") << 6585 << 439;
    QTest::newRow("main window height") << 7695 << 513;
    QTest::newRow("map width") << 7020 << 468;
    QTest::newRow("odd half") << 2108 << 141;
    QTest::newRow("negative") << -8 << -1;
}

void tst_ShellParts::twipsRoundToTheNearestPixel()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

void tst_ShellParts::rectanglesKeepTouchingEdges()
{
    // Two boxes side by side in twips stay side by side in pixels, whatever
    // the rounding of each extent.
    const QRect left = twipsToPixels(TwipRect{120, 2520, 2055, 450});
    const QRect right = twipsToPixels(TwipRect{2175, 2520, 2090, 450});
    QCOMPARE(left.right() + 1, right.left());
    QCOMPARE(twipsToPixels(TwipRect{2108, 2280, 615, 375}), QRect(141, 152, 41, 25));
    QCOMPARE(twipsToPixels(TwipSize{4830, 3165}), QSize(322, 211));
}

void tst_ShellParts::fontsUseTheirStandIns_data()
{
    QTest::addColumn<int>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("MS Sans Serif") << int(DesignFace::MsSansSerif) << u"Liberation Sans"_qs;
    QTest::newRow("Times New Roman") << int(DesignFace::TimesNewRoman) << u"Liberation Serif"_qs;
    QTest::newRow("Comic Sans MS") << int(DesignFace::ComicSansMs) << u"Comic Neue"_qs;
    QTest::newRow("Arial") << int(DesignFace::Arial) << u"Liberation Sans"_qs;
}

void tst_ShellParts::fontsUseTheirStandIns()
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

void tst_ShellParts::designFamilyNamesAreSubstituted()
{
    registerFontSubstitutions();
    for (DesignFace face : {DesignFace::MsSansSerif, DesignFace::TimesNewRoman,
                            DesignFace::ComicSansMs, DesignFace::Arial}) {
        QCOMPARE(QFont::substitute(designFamily(face)).toLower(), standInFamily(face).toLower());
        QFont named(designFamily(face));
        QCOMPARE(QFontInfo(named).family(), standInFamily(face));
    }
}

void tst_ShellParts::noDisplayGivesOneClearLine_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("x11");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("preferred");

    QTest::newRow("nothing") << QString() << QString() << QString() << true << QString();
    QTest::newRow("X11") << QString() << u":0"_qs << QString() << false << QString();
    QTest::newRow("Wayland only") << QString() << QString() << u"wayland-0"_qs << false
                                  << QString();
    QTest::newRow("Wayland with XWayland")
        << QString() << u":0"_qs << u"wayland-0"_qs << false << u"xcb"_qs;
    QTest::newRow("user's choice wins")
        << u"wayland"_qs << u":0"_qs << u"wayland-0"_qs << false << QString();
    QTest::newRow("offscreen") << u"offscreen"_qs << QString() << QString() << false << QString();
}

void tst_ShellParts::noDisplayGivesOneClearLine()
{
    QFETCH(QString, platform);
    QFETCH(QString, x11);
    QFETCH(QString, wayland);
    QFETCH(bool, refused);
    QFETCH(QString, preferred);
    const DisplayEnvironment env{platform, x11, wayland};
    const QString message = missingDisplayMessage(env, u"build/app/galevane"_qs);
    QCOMPARE(!message.isEmpty(), refused);
    if (refused) {
        QVERIFY(!message.contains(u'\n'));
        QVERIFY(message.endsWith(u"xvfb-run -a build/app/galevane"));
    }
    QCOMPARE(preferredPlatform(env), preferred);
}

QTEST_MAIN(tst_ShellParts)
#include "tst_shellparts.moc"
