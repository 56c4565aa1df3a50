// Every picture the windows name is compiled in and loads.

#include "appicons.h"

#include <QPixmap>
#include <QSvgRenderer>
#include <QTest>

class tst_Resources : public QObject
{
    Q_OBJECT

private slots:
    void drawingLoads();
    void mapLoads();
    void iconsLoad_data();
    void iconsLoad();
};

void tst_Resources::drawingLoads()
{
    QSvgRenderer drawing(QStringLiteral(":/galevane/drawing/yacht.svg"));
    QVERIFY(drawing.isValid());
    QCOMPARE(drawing.defaultSize(), QSize(1987, 2966));
}

void tst_Resources::mapLoads()
{
    const QPixmap map(QStringLiteral(":/galevane/map/areas.bmp"));
    QCOMPARE(map.size(), QSize(468, 484));
}

void tst_Resources::iconsLoad_data()
{
    QTest::addColumn<bool>("application");
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48})
        QTest::addRow("application %d", size) << true << size;
    for (int size : {16, 32})
        QTest::addRow("map window %d", size) << false << size;
}

void tst_Resources::iconsLoad()
{
    QFETCH(bool, application);
    QFETCH(int, size);
    const QIcon icon = application ? applicationIcon() : areasWindowIcon();
    const QPixmap pixmap = icon.pixmap(QSize(size, size));
    QCOMPARE(pixmap.size(), QSize(size, size));
    const QImage image = pixmap.toImage();
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, size - 1)), 0); // transparent corner
}

QTEST_MAIN(tst_Resources)
#include "tst_resources.moc"
