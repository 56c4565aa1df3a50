// The window flow on a real X server under a real window manager: what the
// offscreen platform cannot show (frames, placement, Alt+F4 through the
// window manager, activation reported asynchronously).

#include "tests/support/flowfixture.h"
#include "tests/support/layouts.h"
#include "tests/support/xdotool.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>

#include <map>

using namespace uidriver;

namespace {

// Presses keys on the X server, as the user does; the window manager sees
// them first.
bool pressKeys(const QString &keys)
{
    return xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}

QString windowInfo(QWidget *window)
{
    QProcess process;
    process.start(QStringLiteral("xwininfo"),
                  {QStringLiteral("-id"), QString::number(window->winId())});
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Whether the X server shows the window: it and every window it lies in
// (the window manager's frame) are mapped.
bool isViewable(QWidget *window)
{
    return window && windowInfo(window).contains(u"Map State: IsViewable");
}

QString windowProperty(QWidget *window, const QString &property)
{
    QProcess process;
    process.start(QStringLiteral("xprop"),
                  {QStringLiteral("-id"), QString::number(window->winId()), property});
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool settled(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 5000);
}

// Long enough for every timer that settles the window system's reports.
void waitPastActivationSettling()
{
    QTest::qWait(3 * FormWindow::defaultActivationSettleMs);
}

// A real click of the X server's pointer at a point of a widget.
bool clickAt(QWidget &widget, QPoint local)
{
    const QPoint at = widget.mapToGlobal(local);
    return xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                    QStringLiteral("click"), QStringLiteral("1")});
}

bool clickOn(QWidget &widget)
{
    return clickAt(widget, widget.rect().center());
}

// Moves `window` by the window manager to the right edge of the screen, so
// that it no longer covers the left of `other` (up to the help window's
// "© Quayforth").
bool moveAsideOf(QWidget &window, QWidget &other)
{
    constexpr int uncovered = 60;
    const QRect screen = window.screen()->geometry();
    const QPoint aside(screen.right() + 1 - window.frameGeometry().width(),
                       window.frameGeometry().y());
    if (!xdotool({QStringLiteral("windowmove"), QString::number(window.winId()),
                  QString::number(aside.x()), QString::number(aside.y())}))
        return false;
    return settled([&window, &other] {
        return window.frameGeometry().left() > other.frameGeometry().left() + uncovered;
    });
}

bool doubleClickOn(QWidget &widget)
{
    const QPoint at = widget.mapToGlobal(widget.rect().center());
    return xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                    QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                    QStringLiteral("1")});
}

// Remembers whether a window has been minimised since it was watched; it
// goes with the window.
class MinimiseWatch final : public QObject
{
public:
    explicit MinimiseWatch(QWidget &window)
        : QObject(&window)
        , m_window(window)
    {
        window.installEventFilter(this);
    }

    bool seen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::WindowStateChange &&
            m_window.isMinimized())
            seen = true;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget &m_window;
};

// The window manager's stacking order of the client windows, bottom first.
QList<WId> stackingOrder()
{
    QProcess process;
    process.start(QStringLiteral("xprop"),
                  {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    process.waitForFinished(5000);
    const QString line = QString::fromLocal8Bit(process.readAllStandardOutput());
    QList<WId> order;
    for (const QString &id : line.section(u'#', 1).split(u',', Qt::SkipEmptyParts))
        order.append(id.trimmed().toULongLong(nullptr, 16));
    return order;
}

bool isStackedAbove(QWidget *upper, QWidget *lower)
{
    const QList<WId> order = stackingOrder();
    const qsizetype up = order.indexOf(upper->winId());
    const qsizetype low = order.indexOf(lower->winId());
    return up >= 0 && low >= 0 && up > low;
}

// What the screen shows, in logical pixels of the screen.
QImage screenPixels(const QRect &area)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QRect onScreen(QWidget &widget)
{
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

QString centreOffset(QWidget &window)
{
    const QPoint off = window.frameGeometry().center() - window.screen()->geometry().center();
    return u"%1, %2"_qs.arg(off.x()).arg(off.y());
}

bool frameIsCentred(QWidget &window)
{
    const QPoint off = window.frameGeometry().center() - window.screen()->geometry().center();
    return qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1;
}

} // namespace

class tst_RealWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mainWindowIsCentredAndCannotBeResizedOrMaximised();
    void helpAndAboutSitAtTheirPlace();
    void altF4OnHelpGivesTheMainWindowItsInputBack();
    void altF4OnAboutOverHelpKeepsHelpWorking();
    void altF4OnTheMapShowsTheMainWindow();
    void altF4OnTheMainWindowEnds();
    void altXEnds();
    void helpAboutOkEndsWithTheMainWindowTakingInput();
    void mapIsCentredWithItsFrameEachTimeItIsLoaded();
    void graphicalButtonsShowTheirFaceColour_data();
    void graphicalButtonsShowTheirFaceColour();
    void makerPanelShowsYellowBesideItsText();
    void inputOffKeepsTheMainWindowsLook();
    void focusComesBackToWhereItWas_data();
    void focusComesBackToWhereItWas();
    void panelStaysAboveTheMainWindow_data();
    void panelStaysAboveTheMainWindow();
    void leavingTheMapLeavesThePanelsOnTop_data();
    void leavingTheMapLeavesThePanelsOnTop();
    void minimisedPanelComesBack_data();
    void minimisedPanelComesBack();
    void panelsReportWhatTheyAre();

private:
    std::unique_ptr<FlowFixture> m_flow;
    FlowFixture &flow() { return *m_flow; }
    bool waitActive(QWidget *window)
    {
        return window && settled([window] { return window->isActiveWindow(); });
    }
    // While the main window's input is off, the user must see what gives it
    // back: every panel that is open is on screen, above the main window.
    bool panelsShownAboveMain()
    {
        QWidget *main = flow().mainWindow();
        int shown = 0;
        for (QWidget *panel : {flow().windowOf<frmhelp1>(), flow().windowOf<frmabout>()}) {
            if (!panel || !panel->isVisible())
                continue;
            if (!isViewable(panel) || !isStackedAbove(panel, main))
                return false;
            ++shown;
        }
        return shown > 0;
    }
    QString stackingReport()
    {
        const std::pair<QWidget *, const char *> windows[] = {
            {flow().mainWindow(), "main"},
            {flow().windowOf<frmhelp1>(), "help"},
            {flow().windowOf<frmabout>(), "about"},
            {flow().windowOf<frmAreas>(), "map"}};
        QStringList names;
        for (WId id : stackingOrder()) {
            QString name = QString::number(id, 16);
            for (const auto &[window, what] : windows) {
                if (window && window->winId() == id)
                    name = QString::fromLatin1(what) +
                           (isViewable(window) ? QString() : QStringLiteral(" (not viewable)"));
            }
            names << name;
        }
        return u"stacking, bottom first: "_qs + names.join(u", ");
    }
    // The window of a form, once a real click has had its effect and the
    // window is the active one.
    template <class FormType> QWidget *activeWindowOf()
    {
        QWidget *window = nullptr;
        settled([this, &window] {
            window = flow().windowOf<FormType>();
            return window && window->isActiveWindow();
        });
        return window && window->isActiveWindow() ? window : nullptr;
    }
};

void tst_RealWindows::init()
{
    m_flow = std::make_unique<FlowFixture>();
    QVERIFY(QTest::qWaitForWindowExposed(flow().mainWindow()));
    QVERIFY(waitActive(flow().mainWindow()));
}

void tst_RealWindows::cleanup()
{
    m_flow.reset();
    QTest::qWait(50);
}

void tst_RealWindows::mainWindowIsCentredAndCannotBeResizedOrMaximised()
{
    QWidget *main = flow().mainWindow();
    QCOMPARE(main->size(), layouts::mainWindowSize());
    QVERIFY(settled([main] { return main->frameGeometry() != main->geometry(); }));
    // Centred as a whole, title bar and borders included.
    QVERIFY2(frameIsCentred(*main), qPrintable(centreOffset(*main)));

    const QString actions = windowProperty(main, QStringLiteral("_NET_WM_ALLOWED_ACTIONS"));
    QVERIFY2(actions.contains(u"_NET_WM_ACTION_CLOSE"), qPrintable(actions));
    QVERIFY2(!actions.contains(u"_NET_WM_ACTION_MAXIMIZE"), qPrintable(actions));
    QVERIFY2(!actions.contains(u"_NET_WM_ACTION_RESIZE"), qPrintable(actions));

    // What the window asks of the window manager: move and close, no
    // minimise or maximise function or button, a fixed size.
    const QString hints = windowProperty(main, QStringLiteral("_MOTIF_WM_HINTS"));
    const QStringList fields = hints.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    QVERIFY2(fields.size() >= 3, qPrintable(hints));
    bool ok = false;
    const uint functions = fields[1].trimmed().toUInt(&ok, 16);
    const uint decorations = fields[2].trimmed().toUInt(&ok, 16);
    constexpr uint minimise = 0x08, maximise = 0x10, close = 0x20;
    QVERIFY2(!(functions & (minimise | maximise)) && (functions & close), qPrintable(hints));
    QVERIFY2(!(decorations & (0x20 | 0x40)), qPrintable(hints)); // no minimise/maximise buttons
    const QString sizeHints = windowProperty(main, QStringLiteral("WM_NORMAL_HINTS"));
    const QSize fixed = layouts::mainWindowSize();
    const QString fixedSize = u"%1 by %2"_qs.arg(fixed.width()).arg(fixed.height());
    QVERIFY2(sizeHints.contains(u"minimum size: "_qs + fixedSize) &&
                 sizeHints.contains(u"maximum size: "_qs + fixedSize),
             qPrintable(sizeHints));
}

void tst_RealWindows::helpAndAboutSitAtTheirPlace()
{
    formWidget(flow().main()).move(40, 30); // wherever the main window is
    click(*flow().controlOf<frmWindScale>("Command2"));
    QWidget *help = flow().windowOf<frmhelp1>();
    QVERIFY(waitActive(help));
    QCOMPARE(help->frameGeometry(), layouts::placedRect(HelpLayout::window));
    QVERIFY(!flow().mainWindow()->isEnabled());

    click(*flow().controlOf<frmhelp1>("Label2"));
    QWidget *about = flow().windowOf<frmabout>();
    QVERIFY(waitActive(about));
    QCOMPARE(about->frameGeometry(), help->frameGeometry());
}

void tst_RealWindows::altF4OnHelpGivesTheMainWindowItsInputBack()
{
    click(*flow().controlOf<frmWindScale>("Command2"));
    QVERIFY(waitActive(flow().windowOf<frmhelp1>()));
    QVERIFY(pressKeys(QStringLiteral("alt+F4")));
    QVERIFY(settled([this] { return !flow().existing<frmhelp1>()->isLoaded(); }));
    QVERIFY(flow().mainWindow()->isEnabled());
    QVERIFY(!flow().ended());
}

void tst_RealWindows::altF4OnAboutOverHelpKeepsHelpWorking()
{
    click(*flow().controlOf<frmWindScale>("Command2"));
    QVERIFY(waitActive(flow().windowOf<frmhelp1>()));
    click(*flow().controlOf<frmhelp1>("Label2"));
    QVERIFY(waitActive(flow().windowOf<frmabout>()));
    QVERIFY(pressKeys(QStringLiteral("alt+F4")));
    QVERIFY(settled([this] { return !flow().existing<frmabout>()->isLoaded(); }));
    QTest::qWait(200);
    QVERIFY(flow().mainWindow()->isEnabled());
    QWidget *help = flow().windowOf<frmhelp1>();
    QVERIFY(help && help->isVisible());
    click(*flow().controlOf<frmhelp1>("Command1"));
    QVERIFY(!flow().existing<frmhelp1>()->isLoaded());
    QVERIFY(waitActive(flow().mainWindow()));
    QVERIFY(flow().mainWindow()->isEnabled());
}

void tst_RealWindows::altF4OnTheMapShowsTheMainWindow()
{
    click(*flow().controlOf<frmWindScale>("Command3"));
    QWidget *map = flow().windowOf<frmAreas>();
    QVERIFY(waitActive(map));
    QVERIFY(!flow().mainWindow()->isVisible());
    QVERIFY(pressKeys(QStringLiteral("alt+F4")));
    QVERIFY(settled([this] { return flow().mainWindow()->isVisible(); }));
    QVERIFY(!flow().existing<frmAreas>()->isLoaded());
    QVERIFY(!flow().ended());
}

void tst_RealWindows::altF4OnTheMainWindowEnds()
{
    QVERIFY(pressKeys(QStringLiteral("alt+F4")));
    QVERIFY(settled([this] { return flow().ended(); }));
    QCOMPARE(flow().exitCode(), 0);
}

void tst_RealWindows::altXEnds()
{
    QVERIFY(pressKeys(QStringLiteral("alt+x")));
    QVERIFY(settled([this] { return flow().ended(); }));
    QCOMPARE(flow().exitCode(), 0);
}

void tst_RealWindows::helpAboutOkEndsWithTheMainWindowTakingInput()
{
    click(*flow().controlOf<frmWindScale>("Command2"));
    QVERIFY(waitActive(flow().windowOf<frmhelp1>()));
    click(*flow().controlOf<frmhelp1>("Label2"));
    QVERIFY(waitActive(flow().windowOf<frmabout>()));
    click(*flow().controlOf<frmabout>("Command1"));

    QVERIFY(waitActive(flow().mainWindow()));
    QTest::qWait(300); // whatever the window manager still reports
    QVERIFY(flow().mainWindow()->isActiveWindow());
    QVERIFY(flow().mainWindow()->isEnabled());
    QWidget *help = flow().windowOf<frmhelp1>();
    QVERIFY(help && help->isVisible());

    // The user clicks the help window: input off again. On a small screen
    // the main window covers it and is moved aside first.
    QVERIFY(moveAsideOf(*flow().mainWindow(), *help));
    const QPoint inHelp = help->mapToGlobal(QPoint(20, 20));
    QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(inHelp.x()),
                     QString::number(inHelp.y()), QStringLiteral("click"), QStringLiteral("1")}));
    QVERIFY(waitActive(help));
    QVERIFY(settled([this] { return !flow().mainWindow()->isEnabled(); }));
    click(*flow().controlOf<frmhelp1>("Command1"));
    QVERIFY(waitActive(flow().mainWindow()));
    QVERIFY(flow().mainWindow()->isEnabled());
}

void tst_RealWindows::mapIsCentredWithItsFrameEachTimeItIsLoaded()
{
    for (int load = 0; load < 2; ++load) {
        QVERIFY(clickOn(*flow().controlOf<frmWindScale>("Command3")));
        QWidget *map = activeWindowOf<frmAreas>();
        QVERIFY(map);
        QVERIFY(settled([map] { return map->frameGeometry() != map->geometry(); }));
        QVERIFY2(frameIsCentred(*map), qPrintable(centreOffset(*map)));
        // Closed by the window manager: the next one is loaded afresh.
        QVERIFY(pressKeys(QStringLiteral("alt+F4")));
        QVERIFY(settled([this] { return flow().mainWindow()->isActiveWindow(); }));
        QVERIFY(!flow().existing<frmAreas>()->isLoaded());
    }
}

void tst_RealWindows::graphicalButtonsShowTheirFaceColour_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QRgb>("face");
    QTest::newRow("Help") << QByteArray("Command2") << qRgb(255, 0, 0);
    QTest::newRow("Forecast Areas") << QByteArray("Command3") << qRgb(255, 0, 255);
}

void tst_RealWindows::graphicalButtonsShowTheirFaceColour()
{
    QFETCH(QByteArray, button);
    QFETCH(QRgb, face);
    QWidget *control = flow().controlOf<frmWindScale>(button.constData());
    QVERIFY(control);
    waitPastActivationSettling();
    // Inside the three-dimensional edge every pixel is the face colour but
    // for the caption's.
    constexpr int edge = 4;
    const QImage pixels = screenPixels(onScreen(*control).adjusted(edge, edge, -edge, -edge));
    std::map<QRgb, int> counts;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x)
            ++counts[pixels.pixel(x, y) | 0xff000000u];
    }
    const auto [commonest, count] =
        *std::max_element(counts.begin(), counts.end(),
                          [](const auto &a, const auto &b) { return a.second < b.second; });
    QVERIFY2(near(commonest, face, 3), qPrintable(QColor(commonest).name()));
    QVERIFY2(count * 2 > pixels.width() * pixels.height(),
             qPrintable(u"%1 of %2 pixels"_qs.arg(count).arg(pixels.width() * pixels.height())));

    // While pressed the face stays its colour; the caption sinks with it.
    QPushButton *pushButton = qobject_cast<QPushButton *>(control);
    QVERIFY(pushButton);
    pushButton->setDown(true);
    pushButton->repaint();
    const QImage pressed = screenPixels(onScreen(*control).adjusted(edge, edge, -edge, -edge));
    pushButton->setDown(false);
    QVERIFY(near(pressed.pixel(0, 0), face, 3));
    QVERIFY(pressed != pixels);
}

void tst_RealWindows::makerPanelShowsYellowBesideItsText()
{
    QWidget *panel = flow().controlOf<frmWindScale>("Shape1");
    QVERIFY(panel);
    waitPastActivationSettling();
    const QImage pixels = screenPixels(onScreen(*panel));
    const QRgb yellow = qRgb(255, 255, 128);
    constexpr int border = 2;
    constexpr int clear = 4;
    // Across the middle half of the panel (clear of its rounded corners):
    // the border, then yellow for at least `clear` pixels on either side of
    // the text, which is somewhere in between.
    int inkRows = 0;
    for (int y = pixels.height() / 4; y < pixels.height() * 3 / 4; ++y) {
        bool ink = false;
        for (int x = border; x < pixels.width() - border; ++x) {
            const bool yellowHere = near(pixels.pixel(x, y), yellow, 8);
            const bool margin = x < border + clear || x >= pixels.width() - border - clear;
            QVERIFY2(!margin || yellowHere,
                     qPrintable(u"text at x %1, y %2 of the panel"_qs.arg(x).arg(y)));
            ink = ink || !yellowHere;
        }
        inkRows += ink ? 1 : 0;
    }
    QVERIFY2(inkRows > 0, "no text on the panel");
}

void tst_RealWindows::inputOffKeepsTheMainWindowsLook()
{
    QWidget *main = flow().mainWindow();
    waitPastActivationSettling();
    const QRect client = onScreen(*main);
    const QImage before = screenPixels(client);
    // Where the focus is shown now, nothing is compared.
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    const QRect focusCue(focused->mapTo(main, QPoint(0, 0)), focused->size());

    QVERIFY(clickOn(*flow().controlOf<frmWindScale>("Command2")));
    QWidget *help = activeWindowOf<frmhelp1>();
    QVERIFY(help);
    QVERIFY(!main->isEnabled());
    waitPastActivationSettling();
    const QImage during = screenPixels(client);
    const QRect helpArea = help->frameGeometry().translated(-client.topLeft());

    int compared = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QPoint at(x, y);
            if (helpArea.contains(at) || focusCue.adjusted(-2, -2, 2, 2).contains(at))
                continue;
            ++compared;
            QVERIFY2(before.pixel(at) == during.pixel(at),
                     qPrintable(u"pixel %1, %2 changed"_qs.arg(x).arg(y)));
        }
    }
    QVERIFY(compared > before.width() * before.height() / 2);
    // Still not sensitive to assistive technology.
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(main);
    QVERIFY(accessible && accessible->state().disabled);
}

void tst_RealWindows::focusComesBackToWhereItWas_data()
{
    QTest::addColumn<QByteArray>("focusedFirst");
    QTest::addColumn<QByteArray>("opener");
    QTest::addColumn<QString>("dismiss");
    QTest::newRow("Help, OK") << QByteArray() << QByteArray("Command2") << u"ok"_qs;
    QTest::newRow("Help, Alt+F4") << QByteArray() << QByteArray("Command2") << u"alt+F4"_qs;
    QTest::newRow("maker, OK") << QByteArray("Combo4") << QByteArray("Label8") << u"ok"_qs;
    QTest::newRow("maker, Alt+F4") << QByteArray("Combo6") << QByteArray("Label8") << u"alt+F4"_qs;
    QTest::newRow("map, Back") << QByteArray() << QByteArray("Command3") << u"ok"_qs;
    QTest::newRow("map, Alt+F4") << QByteArray() << QByteArray("Command3") << u"alt+F4"_qs;
}

void tst_RealWindows::focusComesBackToWhereItWas()
{
    QFETCH(QByteArray, focusedFirst);
    QFETCH(QByteArray, opener);
    QFETCH(QString, dismiss);
    if (!focusedFirst.isEmpty()) {
        auto *box = qobject_cast<QComboBox *>(flow().controlOf<frmWindScale>(focusedFirst));
        QVERIFY(box);
        QVERIFY(clickOn(*box->lineEdit()));
        QVERIFY(settled([box] { return box->hasFocus(); }));
    }
    QWidget *openerControl = flow().controlOf<frmWindScale>(opener.constData());
    QVERIFY(clickOn(*openerControl));
    // A button takes the focus when pressed; a label does not.
    QWidget *expected =
        focusedFirst.isEmpty() ? openerControl : flow().controlOf<frmWindScale>(focusedFirst);
    QWidget *opened = opener == "Command2" ? activeWindowOf<frmhelp1>()
                      : opener == "Label8" ? activeWindowOf<frmabout>()
                                           : activeWindowOf<frmAreas>();
    QVERIFY(opened);
    waitPastActivationSettling();
    if (dismiss == u"ok") {
        QWidget *ok = uidriver::find<QWidget>(opened, "Command1");
        QVERIFY(ok);
        QVERIFY(clickOn(*ok));
    } else {
        QVERIFY(pressKeys(dismiss));
    }
    QVERIFY(waitActive(flow().mainWindow()));
    QVERIFY(flow().mainWindow()->isEnabled());
    QVERIFY(settled([expected] { return QApplication::focusWidget() == expected; }));
    waitPastActivationSettling();
    QCOMPARE(QApplication::focusWidget(), expected);
}

void tst_RealWindows::panelStaysAboveTheMainWindow_data()
{
    QTest::addColumn<QByteArray>("opener");
    QTest::addColumn<QString>("road");
    const std::pair<const char *, QByteArray> openers[] = {{"help", "Command2"},
                                                           {"about", "Label8"}};
    for (const auto &[panel, opener] : openers) {
        // The second click of a double-click lands on the main window, whose
        // input the first has switched off.
        for (const QString &road :
             {u"click on the main window"_qs, u"double-click on the opener"_qs,
              u"Alt+Escape on the panel"_qs}) {
            QTest::addRow("%s, %s", panel, qPrintable(road)) << opener << road;
        }
    }
}

void tst_RealWindows::panelStaysAboveTheMainWindow()
{
    QFETCH(QByteArray, opener);
    QFETCH(QString, road);
    QWidget *openerControl = flow().controlOf<frmWindScale>(opener.constData());
    QVERIFY(road.startsWith(u"double-click") ? doubleClickOn(*openerControl)
                                             : clickOn(*openerControl));
    QWidget *panel = opener == "Command2" ? activeWindowOf<frmhelp1>() : activeWindowOf<frmabout>();
    QVERIFY(panel);
    QWidget *main = flow().mainWindow();
    waitPastActivationSettling();
    if (road.startsWith(u"click")) {
        // On a part of the main window the panel does not cover.
        QVERIFY(clickAt(*main, QPoint(main->width() / 2, main->height() - 5)));
    } else if (road.startsWith(u"Alt+Escape")) {
        // The window manager lowers the panel to the bottom of the stack.
        QVERIFY(pressKeys(QStringLiteral("alt+Escape")));
    }
    waitPastActivationSettling();
    QVERIFY2(settled([this] { return panelsShownAboveMain(); }), qPrintable(stackingReport()));
    waitPastActivationSettling();
    QVERIFY2(panelsShownAboveMain(), qPrintable(stackingReport()));
    QVERIFY(!main->isEnabled());
    // Its OK is there to be clicked.
    QWidget *ok = uidriver::find<QWidget>(panel, "Command1");
    QVERIFY(ok);
    QVERIFY(clickOn(*ok));
    QVERIFY(waitActive(main));
    QVERIFY(main->isEnabled());
}

void tst_RealWindows::leavingTheMapLeavesThePanelsOnTop_data()
{
    QTest::addColumn<QString>("overTheMap");
    QTest::addColumn<QString>("leave");
    // Help is left open by the about window's OK, the map is opened, and the
    // help window (clear of the map, which the user has moved aside) is used
    // while the main window is hidden.
    for (const QString &over : {u"help's \u00a9 Quayforth"_qs, u"help clicked"_qs}) {
        for (const QString &leave : {u"Back clicked"_qs, u"Back by Return"_qs, u"Alt+F4"_qs})
            QTest::addRow("%s, %s", qPrintable(over), qPrintable(leave)) << over << leave;
    }
}

void tst_RealWindows::leavingTheMapLeavesThePanelsOnTop()
{
    QFETCH(QString, overTheMap);
    QFETCH(QString, leave);
    QWidget *main = flow().mainWindow();
    QVERIFY(clickOn(*flow().controlOf<frmWindScale>("Command2")));
    QWidget *help = activeWindowOf<frmhelp1>();
    QVERIFY(help);
    QVERIFY(clickOn(*flow().controlOf<frmhelp1>("Label2")));
    QVERIFY(activeWindowOf<frmabout>());
    QVERIFY(clickOn(*flow().controlOf<frmabout>("Command1")));
    QVERIFY(waitActive(main));
    QVERIFY(main->isEnabled());
    QVERIFY(clickOn(*flow().controlOf<frmWindScale>("Command3")));
    QWidget *map = activeWindowOf<frmAreas>();
    QVERIFY(map);
    QVERIFY(settled([main] { return !isViewable(main); }));

    QVERIFY(moveAsideOf(*map, *help));
    waitPastActivationSettling();

    QWidget *maker = flow().controlOf<frmhelp1>("Label2");
    if (overTheMap.startsWith(u"help's")) {
        QVERIFY(clickAt(*maker, QPoint(10, maker->height() / 2)));
        QVERIFY(activeWindowOf<frmabout>());
    } else {
        QVERIFY(clickAt(*help, QPoint(20, 20)));
        QVERIFY(waitActive(help));
    }
    waitPastActivationSettling();
    QVERIFY(!main->isEnabled());

    if (leave == u"Back clicked") {
        QVERIFY(clickOn(*flow().controlOf<frmAreas>("Command1")));
    } else {
        // The map to the front first, by its title bar.
        QVERIFY(clickAt(*map, QPoint(map->width() / 2, -5)));
        QVERIFY(waitActive(map));
        QVERIFY(pressKeys(leave == u"Alt+F4" ? u"alt+F4"_qs : u"Return"_qs));
    }
    QVERIFY(settled([main] { return main->isVisible(); }));
    waitPastActivationSettling();
    QVERIFY2(settled([this] { return panelsShownAboveMain(); }), qPrintable(stackingReport()));
    waitPastActivationSettling();
    QVERIFY2(panelsShownAboveMain(), qPrintable(stackingReport()));
    QVERIFY(!main->isEnabled());

    // OK of the panel on top gives the main window its input back.
    QWidget *top = help;
    if (QWidget *about = flow().windowOf<frmabout>(); about && isStackedAbove(about, help))
        top = about;
    QVERIFY(clickOn(*uidriver::find<QWidget>(top, "Command1")));
    QVERIFY(waitActive(main));
    QVERIFY(main->isEnabled());
}

void tst_RealWindows::minimisedPanelComesBack_data()
{
    QTest::addColumn<QByteArray>("opener");
    QTest::addColumn<QString>("road");
    const std::pair<const char *, QByteArray> openers[] = {{"help", "Command2"},
                                                           {"about", "Label8"}};
    for (const auto &[panel, opener] : openers) {
        for (const QString &road : {u"window menu"_qs, u"task bar"_qs})
            QTest::addRow("%s, %s", panel, qPrintable(road)) << opener << road;
    }
}

void tst_RealWindows::minimisedPanelComesBack()
{
    QFETCH(QByteArray, opener);
    QFETCH(QString, road);
    QVERIFY(clickOn(*flow().controlOf<frmWindScale>(opener.constData())));
    QWidget *panel = opener == "Command2" ? activeWindowOf<frmhelp1>() : activeWindowOf<frmabout>();
    QVERIFY(panel);
    QWidget *main = flow().mainWindow();
    waitPastActivationSettling();
    const auto *minimised = new MinimiseWatch(*panel);
    if (road == u"window menu") {
        // Alt+Space opens the window manager's menu of the active window;
        // its Iconify entry has the access key N.
        QVERIFY(pressKeys(QStringLiteral("alt+space")));
        QTest::qWait(200);
        QVERIFY(pressKeys(QStringLiteral("n")));
    } else {
        // What a task bar sends: a request to iconify to the window manager.
        QVERIFY(xdotool({QStringLiteral("windowminimize"), QString::number(panel->winId())}));
    }
    QVERIFY(settled([minimised] { return minimised->seen; }));
    waitPastActivationSettling();
    QVERIFY2(settled([this] { return panelsShownAboveMain(); }), qPrintable(stackingReport()));
    waitPastActivationSettling();
    QVERIFY2(panelsShownAboveMain(), qPrintable(stackingReport()));
    QVERIFY(!main->isEnabled());
    QVERIFY(clickOn(*uidriver::find<QWidget>(panel, "Command1")));
    QVERIFY(waitActive(main));
    QVERIFY(main->isEnabled());
}

void tst_RealWindows::panelsReportWhatTheyAre()
{
    QVERIFY(clickOn(*flow().controlOf<frmWindScale>("Command2")));
    QVERIFY(activeWindowOf<frmhelp1>());
    QVERIFY(clickOn(*flow().controlOf<frmhelp1>("Label2")));
    QVERIFY(activeWindowOf<frmabout>());
    const std::pair<QWidget *, QString> panels[] = {
        {flow().windowOf<frmhelp1>(), u"Galevane help"_qs},
        {flow().windowOf<frmabout>(), u"About Galevane"_qs},
    };
    for (const auto &[window, name] : panels) {
        QCOMPARE(window->windowTitle(), u"Form1");
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(window);
        QVERIFY(accessible);
        // Dialogs, so that a reader announces them with their text.
        QCOMPARE(accessible->role(), QAccessible::Dialog);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QVERIFY(!accessible->text(QAccessible::Description).isEmpty());
    }
}

QTEST_MAIN(tst_RealWindows)
#include "tst_realwindows.moc"
