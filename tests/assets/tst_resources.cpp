// Every picture the windows name is compiled in and loads.

#include "assets/rawimage.h"
#include "qt/controls/appicons.h"
#include "qt/controls/pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTest>

class tst_Resources : public QObject
{
    Q_OBJECT

private slots:
    void drawingLoads();
    void prerenderedDrawingMatchesTheSvg_data();
    void prerenderedDrawingMatchesTheSvg();
    void drawingRendersAtSizesWithoutAPrerendering();
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

void tst_Resources::prerenderedDrawingMatchesTheSvg_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("ordinary screens") << QSize(331, 302);
    QTest::newRow("double density") << QSize(662, 604);
}

namespace {

// The drawing as Qt SVG renders it, stretched to `size` pixels.
QImage renderedBySvg(QSize size)
{
    QSvgRenderer drawing(QStringLiteral(":/galevane/drawing/yacht.svg"));
    drawing.setAspectRatioMode(Qt::IgnoreAspectRatio);
    QImage vector(size, QImage::Format_ARGB32_Premultiplied);
    vector.fill(Qt::transparent);
    QPainter painter(&vector);
    drawing.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return vector;
}

// The mean difference per channel of two pictures of one size.
double meanDifference(const QImage &a, const QImage &b)
{
    qint64 difference = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            difference += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                          qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
        }
    }
    return double(difference) / (4.0 * a.width() * a.height());
}

} // namespace

// The renderings compiled in for the usual screens must show the drawing as
// it stands: an edit of the SVG without rendering them again fails here.
void tst_Resources::prerenderedDrawingMatchesTheSvg()
{
    QFETCH(QSize, size);
    const QImage prerendered = rawimage::fromResource(
        QStringLiteral(":/galevane/drawing/yacht-%1x%2.argb").arg(size.width()).arg(size.height()));
    QCOMPARE(prerendered.size(), size);
    // Two renderers differ only along antialiased edges.
    const double perChannel = meanDifference(prerendered, renderedBySvg(size));
    QVERIFY2(perChannel < 1.0, qPrintable(QString::number(perChannel)));
}

// Sizes without a rendering compiled in are drawn by the SVG image plugin,
// which must give what Qt SVG gives.
void tst_Resources::drawingRendersAtSizesWithoutAPrerendering()
{
    StretchedPicture picture(nullptr, QStringLiteral(":/galevane/drawing/yacht.svg"));
    picture.resize(200, 300);
    const QImage image = picture.rendered().toImage();
    QCOMPARE(image.size(), QSize(200, 300));
    int opaque = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    QVERIFY(opaque > 200);                  // the drawing is there
    QCOMPARE(qAlpha(image.pixel(2, 2)), 0); // with no background of its own
    const double perChannel = meanDifference(image, renderedBySvg(image.size()));
    QVERIFY2(perChannel == 0.0, qPrintable(QString::number(perChannel)));
}

void tst_Resources::mapLoads()
{
    const QPixmap map = QPixmap::fromImage(rawimage::fromResource(u":/galevane/map/areas.argb"_qs));
    QCOMPARE(map.size(), QSize(468, 484));
}

void tst_Resources::iconsLoad_data()
{
    QTest::addColumn<bool>("application");
    QTest::addColumn<int>("size");
    for (int size : {GALEVANE_WINDOW_ICON_SIZES})
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
