// The windows at a device pixel ratio of 2: the drawing is rendered for the
// screen's pixels rather than scaled up, and the map is scaled by whole
// pixels, never smoothed.

#include "assets/rawimage.h"
#include "qt/controls/pictures.h"
#include "tests/support/flowfixture.h"
#include "tests/support/layouts.h"

class tst_HiDpi : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mainWindowKeepsItsLogicalSize();
    void drawingIsRenderedForTheScreensPixels();
    void mapPixelsBecomeSquareBlocks();

private:
    std::unique_ptr<FlowFixture> m_flow;
};

void tst_HiDpi::init()
{
    m_flow = std::make_unique<FlowFixture>();
    QVERIFY(QTest::qWaitForWindowExposed(m_flow->mainWindow()));
}

void tst_HiDpi::cleanup()
{
    m_flow.reset();
}

void tst_HiDpi::mainWindowKeepsItsLogicalSize()
{
    QWidget *main = m_flow->mainWindow();
    QCOMPARE(main->devicePixelRatioF(), 2.0);
    QCOMPARE(main->size(), layouts::mainWindowSize());
    const QPixmap grabbed = main->grab();
    QCOMPARE(grabbed.size(), layouts::mainWindowSize() * 2);
}

void tst_HiDpi::drawingIsRenderedForTheScreensPixels()
{
    auto *picture = dynamic_cast<StretchedPicture *>(m_flow->controlOf<frmWindScale>("Image1"));
    QVERIFY(picture);
    const QPixmap rendered = picture->rendered();
    QCOMPARE(rendered.size(), layouts::controlSize(WindScaleLayout::controls, "Image1") * 2);
    QCOMPARE(rendered.devicePixelRatio(), 2.0);
    // A second paint reuses the same rendering.
    QCOMPARE(picture->rendered().cacheKey(), rendered.cacheKey());
    // Which is the compiled-in rendering for this size, not one of its own.
    QImage compiledIn =
        rawimage::fromResource(QStringLiteral(":/galevane/drawing/yacht-662x604.argb"));
    compiledIn.setDevicePixelRatio(2.0);
    QCOMPARE(rendered.toImage(), compiledIn);
}

void tst_HiDpi::mapPixelsBecomeSquareBlocks()
{
    uidriver::click(*m_flow->controlOf<frmWindScale>("Command3"));
    QWidget *map = m_flow->controlOf<frmAreas>("Image1");
    QVERIFY(map);
    const QImage shown = map->grab().toImage();
    const QImage source = rawimage::fromResource(QStringLiteral(":/galevane/map/areas.argb"));
    QCOMPARE(source.size(), QSize(468, 484));
    QCOMPARE(shown.size(), layouts::controlSize(AreasLayout::controls, "Image1") * 2);
    int mismatches = 0;
    for (int y = 0; y < source.height(); y += 3) {
        for (int x = 0; x < source.width(); x += 3) {
            const QRgb expected = source.pixel(x, y);
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    mismatches += shown.pixel(2 * x + dx, 2 * y + dy) != expected;
        }
    }
    QCOMPARE(mismatches, 0);
}

QTEST_MAIN(tst_HiDpi)
#include "tst_hidpi.moc"
