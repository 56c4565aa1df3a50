// The window flow on a real X server under a real window manager: what the
// offscreen platform cannot show (frames, placement, Alt+F4 through the
// window manager, activation reported asynchronously).

#include "flowfixture.h"

#include <QProcess>
#include <QScreen>

using namespace uidriver;

namespace {

bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Presses keys on the X server, as the user does; the window manager sees
// them first.
bool pressKeys(const QString &keys)
{
    return xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
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

private:
    std::unique_ptr<FlowFixture> m_flow;
    FlowFixture &flow() { return *m_flow; }
    bool waitActive(QWidget *window)
    {
        return window && settled([window] { return window->isActiveWindow(); });
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
    QCOMPARE(main->size(), QSize(439, 513));
    QVERIFY(settled([main] { return main->frameGeometry() != main->geometry(); }));
    const QPoint offCentre = main->frameGeometry().center() - main->screen()->geometry().center();
    // Centred as a whole; the title bar makes the frame a little taller
    // than the client area it was centred by.
    QVERIFY2(qAbs(offCentre.x()) <= 4 && qAbs(offCentre.y()) <= 16,
             qPrintable(u"%1, %2"_qs.arg(offCentre.x()).arg(offCentre.y())));

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
    QVERIFY2(sizeHints.contains(u"minimum size: 439 by 513") &&
                 sizeHints.contains(u"maximum size: 439 by 513"),
             qPrintable(sizeHints));
}

void tst_RealWindows::helpAndAboutSitAtTheirPlace()
{
    flow().main().window().move(40, 30); // wherever the main window is
    click(*flow().controlOf<frmWindScale>("Command2"));
    QWidget *help = flow().windowOf<frmhelp1>();
    QVERIFY(waitActive(help));
    QCOMPARE(help->frameGeometry(), QRect(248, 158, 322, 211));
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

    // The user clicks the help window: input off again.
    const QPoint inHelp = help->mapToGlobal(QPoint(20, 20));
    QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(inHelp.x()),
                     QString::number(inHelp.y()), QStringLiteral("click"), QStringLiteral("1")}));
    QVERIFY(waitActive(help));
    QVERIFY(settled([this] { return !flow().mainWindow()->isEnabled(); }));
    click(*flow().controlOf<frmhelp1>("Command1"));
    QVERIFY(waitActive(flow().mainWindow()));
    QVERIFY(flow().mainWindow()->isEnabled());
}

QTEST_MAIN(tst_RealWindows)
#include "tst_realwindows.moc"
