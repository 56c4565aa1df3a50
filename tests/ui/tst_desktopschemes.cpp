// The windows under a desktop with a dark colour scheme and another Qt
// style: the application's palette and style are the desktop's before any
// window is built, as a platform theme makes them. The windows must still
// be drawn in the design's colours, against the standard light scheme, in
// the design's own style.

#include "core/windows/frmabout.h"
#include "core/windows/frmareas.h"
#include "core/windows/frmhelp1.h"
#include "qt/controls/designlook.h"
#include "qt/controls/qtdesign.h"
#include "tests/support/flowfixture.h"

#include <QProxyStyle>
#include <QStyleFactory>

#include <memory>

using uidriver::click;

class tst_DesktopSchemes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void systemColoursAreTheStandardLightSchemes_data();
    void systemColoursAreTheStandardLightSchemes();
    void headingsKeepTheirColours_data();
    void headingsKeepTheirColours();
    void shapesAndTextBoxKeepTheirFill();
    void standardControlsDrawInTheLightPalette();
    void panelsKeepTheirColours();
    void mapWindowKeepsItsBackground();
    void controlsDrawInTheDesignsStyle();
    void mainWindowLooksAsOnAPlainDesktop();

private:
    FlowFixture &flow();
    static QRgb centrePixel(QWidget &widget);
    QImage mainWindowPicture();

    std::unique_ptr<FlowFixture> m_flow;
};

namespace {

// A dark, high-contrast scheme: light text on black, black highlighted text.
QPalette darkScheme()
{
    QPalette dark(Qt::white, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Base, Qt::black);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0x1a, 0xeb, 0xff));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

const QColor lightCyan(128, 255, 255);

QString styleName(const QStyle *style)
{
    if (const auto *proxy = qobject_cast<const QProxyStyle *>(style))
        style = proxy->baseStyle();
    return style ? style->name() : QString();
}

} // namespace

void tst_DesktopSchemes::initTestCase()
{
    // As a platform theme and QT_STYLE_OVERRIDE leave the application.
    QApplication::setStyle(QStyleFactory::create(u"Windows"_qs));
    QApplication::setPalette(darkScheme());
    // The text cursor shown all the time, in every picture.
    QApplication::setCursorFlashTime(0);
}

void tst_DesktopSchemes::cleanup()
{
    m_flow.reset();
}

FlowFixture &tst_DesktopSchemes::flow()
{
    if (!m_flow)
        m_flow = std::make_unique<FlowFixture>();
    return *m_flow;
}

QRgb tst_DesktopSchemes::centrePixel(QWidget &widget)
{
    const QImage picture = widget.grab().toImage();
    return picture.pixel(picture.width() / 2, picture.height() / 2);
}

QImage tst_DesktopSchemes::mainWindowPicture()
{
    QWidget *main = flow().mainWindow();
    if (!QTest::qWaitForWindowExposed(main))
        return {};
    return main->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void tst_DesktopSchemes::systemColoursAreTheStandardLightSchemes_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("window background") << int(SystemColour::WindowBackground) << QColor(Qt::white);
    QTest::newRow("window text") << int(SystemColour::WindowText) << QColor(Qt::black);
    QTest::newRow("button face") << int(SystemColour::ButtonFace) << QColor(0xef, 0xef, 0xef);
    QTest::newRow("button text") << int(SystemColour::ButtonText) << QColor(Qt::black);
    QTest::newRow("highlight text") << int(SystemColour::HighlightText) << QColor(Qt::white);
}

void tst_DesktopSchemes::systemColoursAreTheStandardLightSchemes()
{
    QFETCH(int, role);
    QFETCH(QColor, colour);
    QCOMPARE(resolved(DesignColour::system(SystemColour(role))), colour);
}

void tst_DesktopSchemes::headingsKeepTheirColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Beaufort Force") << u"Label1"_qs << QColor(Qt::black);
    QTest::newRow("Description") << u"Label2"_qs << QColor(Qt::black);
    QTest::newRow("Wave Height - Mtrs") << u"Label7"_qs << QColor(Qt::black);
    QTest::newRow("web address") << u"Label9"_qs << QColor(Qt::black);
    QTest::newRow("Criterion") << u"Label3"_qs << QColor(Qt::white);
}

void tst_DesktopSchemes::headingsKeepTheirColours()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    QLabel *label = flow().labelOf<frmWindScale>(qPrintable(name));
    QVERIFY(label);
    QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText), colour);
    QCOMPARE(label->palette().color(QPalette::Inactive, QPalette::WindowText), colour);
}

void tst_DesktopSchemes::shapesAndTextBoxKeepTheirFill()
{
    QWidget *shape = flow().controlOf<frmWindScale>("Shape2");
    QVERIFY(shape);
    QCOMPARE(QColor(centrePixel(*shape)), QColor(Qt::white));
    auto *text = qobject_cast<QPlainTextEdit *>(flow().controlOf<frmWindScale>("Text1"));
    QVERIFY(text);
    QCOMPARE(text->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(text->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(QColor(text->viewport()->grab().toImage().pixel(2, text->viewport()->height() - 3)),
             QColor(Qt::white));
}

void tst_DesktopSchemes::standardControlsDrawInTheLightPalette()
{
    for (const char *name : {"Combo1", "Combo4", "Combo6", "Command1"}) {
        QWidget *control = flow().controlOf<frmWindScale>(name);
        QVERIFY2(control, name);
        const QPalette colours = control->palette();
        QCOMPARE(colours.color(QPalette::Button), QColor(0xef, 0xef, 0xef));
        QCOMPARE(colours.color(QPalette::ButtonText), QColor(Qt::black));
        QCOMPARE(colours.color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(colours.color(QPalette::Text), QColor(Qt::black));
    }
    // The Exit button's face, away from its caption: the style shades it
    // around the light button colour.
    QWidget *exit = flow().controlOf<frmWindScale>("Command1");
    const QColor face = exit->grab().toImage().pixel(6, exit->height() / 2);
    QVERIFY2(face.lightness() > 200, qPrintable(face.name()));
}

void tst_DesktopSchemes::panelsKeepTheirColours()
{
    click(*flow().controlOf<frmWindScale>("Command2"));
    QWidget *help = flow().windowOf<frmhelp1>();
    QVERIFY(help);
    QCOMPARE(help->palette().color(QPalette::Window), lightCyan);
    QCOMPARE(flow().labelOf<frmhelp1>("Label1")->palette().color(QPalette::WindowText),
             QColor(Qt::red));
    QWidget *shape = flow().controlOf<frmhelp1>("Shape1");
    QVERIFY(shape);
    QCOMPARE(QColor(centrePixel(*shape)), QColor(Qt::white));
    QWidget *back = flow().controlOf<frmhelp1>("Command1");
    QVERIFY(back);
    QCOMPARE(back->palette().color(QPalette::Button), QColor(0xef, 0xef, 0xef));
    QCOMPARE(back->palette().color(QPalette::ButtonText), QColor(Qt::black));
    click(*back);

    click(*flow().controlOf<frmWindScale>("Label8"));
    QWidget *about = flow().windowOf<frmabout>();
    QVERIFY(about);
    QCOMPARE(about->palette().color(QPalette::Window), lightCyan);
    QCOMPARE(QColor(centrePixel(*flow().controlOf<frmabout>("Shape1"))), QColor(Qt::white));
    QCOMPARE(flow().labelOf<frmabout>("Label1")->palette().color(QPalette::WindowText),
             QColor(Qt::red));
}

void tst_DesktopSchemes::mapWindowKeepsItsBackground()
{
    click(*flow().controlOf<frmWindScale>("Command3"));
    QWidget *map = flow().windowOf<frmAreas>();
    QVERIFY(map);
    QCOMPARE(map->palette().color(QPalette::Window), QColor(Qt::white));
    QWidget *ok = flow().controlOf<frmAreas>("Command1");
    QVERIFY(ok);
    QCOMPARE(ok->palette().color(QPalette::Button), QColor(0xef, 0xef, 0xef));
}

void tst_DesktopSchemes::controlsDrawInTheDesignsStyle()
{
    QCOMPARE(styleName(QApplication::style()), u"windows"_qs);
    for (QWidget *control : flow().mainWindow()->findChildren<QWidget *>())
        QVERIFY2(styleName(control->style()) == u"fusion", qPrintable(control->objectName()));
}

void tst_DesktopSchemes::mainWindowLooksAsOnAPlainDesktop()
{
    const QImage underTheDesktops = mainWindowPicture();
    QVERIFY(!underTheDesktops.isNull());
    m_flow.reset();

    // The plain desktop: the design's own style and palette for everything.
    QApplication::setStyle(createDesignStyle());
    QApplication::setPalette(designPalette());
    const QImage plain = mainWindowPicture();
    QApplication::setStyle(QStyleFactory::create(u"Windows"_qs));
    QApplication::setPalette(darkScheme());
    QVERIFY(!plain.isNull());
    QCOMPARE(underTheDesktops.size(), plain.size());
    int differing = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x)
            differing += underTheDesktops.pixel(x, y) != plain.pixel(x, y) ? 1 : 0;
    }
    QCOMPARE(differing, 0);
}

QTEST_MAIN(tst_DesktopSchemes)
#include "tst_desktopschemes.moc"
