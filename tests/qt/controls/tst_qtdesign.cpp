// The design's units in Qt: twips to logical pixels.

#include "core/design/twips.h"
#include "qt/controls/qtdesign.h"

#include <QTest>

class tst_QtDesign : public QObject
{
    Q_OBJECT

private slots:
    void twipsRoundToTheNearestPixel_data();
    void twipsRoundToTheNearestPixel();
    void rectanglesKeepTouchingEdges();
};

void tst_QtDesign::twipsRoundToTheNearestPixel_data()
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

void tst_QtDesign::twipsRoundToTheNearestPixel()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

void tst_QtDesign::rectanglesKeepTouchingEdges()
{
    // Two boxes side by side in twips stay side by side in pixels, whatever
    // the rounding of each extent.
    const QRect left = twipsToQRect(TwipRect{120, 2520, 2055, 450});
    const QRect right = twipsToQRect(TwipRect{2175, 2520, 2090, 450});
    QCOMPARE(left.right() + 1, right.left());
    QCOMPARE(twipsToQRect(TwipRect{2108, 2280, 615, 375}), QRect(141, 152, 41, 25));
    QCOMPARE(twipsToQSize(TwipSize{4830, 3165}), QSize(322, 211));
}

QTEST_MAIN(tst_QtDesign)
#include "tst_qtdesign.moc"
