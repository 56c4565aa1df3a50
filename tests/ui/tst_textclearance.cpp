// The maker's name on the main and help windows sits inside its panel with
// the panel's colour clear between the text and the panel's border, at the
// device pixel ratio the test runs at (QT_SCALE_FACTOR).

#include "tests/support/flowfixture.h"

#include <QScreen>

using namespace uidriver;

namespace {

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The narrowest run of fill colour, in logical pixels, between the text and
// whatever lies beyond it (the border) on either side, over the rows of
// `band`; the text is what is not fill colour within `band`'s columns. -1
// if there is no text there.
double narrowestClearance(const QImage &panel, qreal ratio, QRgb fill, const QRect &band)
{
    const auto isFill = [&](int x, int y) { return near(panel.pixel(x, y), fill, 8); };
    // One device pixel in from the band's edges, clear of the antialiased
    // edge of a border at a fractional ratio.
    const int first = qRound(band.left() * ratio) + 1;
    const int last = qRound((band.right() + 1) * ratio) - 2;
    int narrowest = panel.width();
    bool ink = false;
    for (int y = qRound(band.top() * ratio); y < qRound((band.bottom() + 1) * ratio); ++y) {
        int left = first;
        while (left <= last && isFill(left, y))
            ++left;
        if (left > last)
            continue; // a row between the lines
        int right = last;
        while (isFill(right, y))
            --right;
        int leftClear = 0;
        while (left - leftClear - 1 >= 0 && isFill(left - leftClear - 1, y))
            ++leftClear;
        int rightClear = 0;
        while (right + rightClear + 1 < panel.width() && isFill(right + rightClear + 1, y))
            ++rightClear;
        ink = true;
        narrowest = std::min({narrowest, leftClear, rightClear});
    }
    return ink ? narrowest / ratio : -1;
}

} // namespace

class tst_TextClearance : public QObject
{
    Q_OBJECT

private slots:
    void makerNameKeepsClearOfItsPanelsBorder_data();
    void makerNameKeepsClearOfItsPanelsBorder();
};

void tst_TextClearance::makerNameKeepsClearOfItsPanelsBorder_data()
{
    QTest::addColumn<bool>("onHelp");
    QTest::newRow("main window") << false;
    QTest::newRow("help window") << true;
}

void tst_TextClearance::makerNameKeepsClearOfItsPanelsBorder()
{
    QFETCH(bool, onHelp);
    FlowFixture flow;
    QWidget *main = flow.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QWidget *window = main;
    const char *label = "Label8";
    if (onHelp) {
        click(*flow.controlOf<frmWindScale>("Command2"));
        window = flow.windowOf<frmhelp1>();
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        label = "Label2";
    }
    QWidget *name = find<QWidget>(window, label);
    QWidget *shape = find<QWidget>(window, "Shape1");
    QVERIFY(name && shape);
    const QPixmap grabbed = window->grab();
    const qreal ratio = grabbed.devicePixelRatio();
    QCOMPARE(ratio, window->screen()->devicePixelRatio());
    // Both are controls of the window itself.
    const QRect shapeArea = shape->geometry();
    const QImage panel =
        grabbed.toImage()
            .copy(QRect((QPointF(shapeArea.topLeft()) * ratio).toPoint(), shapeArea.size() * ratio))
            .convertToFormat(QImage::Format_RGB32);
    // Where the text may be, in the panel's coordinates: within the label
    // and inside the border. The main window's label covers its whole
    // panel, so there the rows of the rounded corners are left out; the help
    // window's label keeps clear of the corners itself.
    const int border = onHelp ? 3 : 2;
    const int corner = std::min(shape->width(), shape->height()) / 6 + border;
    QRect band = name->geometry().translated(-shapeArea.topLeft()) &
                 QRect(QPoint(0, 0), shape->size()).adjusted(border, border, -border, -border);
    if (!onHelp)
        band &= QRect(0, corner, shape->width(), shape->height() - 2 * corner);
    const QRgb fill =
        onHelp ? QApplication::palette().color(QPalette::Base).rgb() : qRgb(255, 255, 128);
    const double clear = narrowestClearance(panel, ratio, fill, band);
    QVERIFY2(clear >= 4, qPrintable(QString::number(clear)));
}

QTEST_MAIN(tst_TextClearance)
#include "tst_textclearance.moc"
