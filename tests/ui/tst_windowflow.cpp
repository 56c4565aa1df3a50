#include "core/windows/helplayout.h"
#include "tests/support/flowfixture.h"
#include "tests/support/layouts.h"

#include <QCloseEvent>
#include <QPointer>

using namespace uidriver;

namespace {

// Closes a window as the window manager does (close box, Alt+F4, a
// taskbar's close): a spontaneous close request the window may refuse.
bool closeByWindowManager(QWidget *window)
{
    return window && window->windowHandle() && window->close();
}

bool settled(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 3000);
}

} // namespace

class tst_WindowFlow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void helpShowsAndSwitchesTheMainWindowOff();
    void helpOkDismissesAndGivesInputBack();
    void helpAfterOkIsLoadedAfreshAtTheSamePlace();
    void aboutFromTheMainWindow();
    void aboutFromHelpCoversItAndOkLeavesHelpOpen();
    void reactivatingHelpSwitchesTheMainWindowOffAgain();
    void mainWindowWithInputOffTakesNoClickKeyOrClose();
    void windowManagerCloseOfHelpGivesInputBack();
    void windowManagerCloseOfAboutLeavesHelpWorking();
    void panelsTakeEnterAndSpaceButNotEscape_data();
    void panelsTakeEnterAndSpaceButNotEscape();
    void forecastAreasShowsTheMapBeforeHidingTheMainWindow();
    void backKeepsTheMapLoadedAndTheRowIntact();
    void forecastAreasAgainShowsTheMapWhereItWasLeft();
    void closingTheMapShowsTheMainWindowAndUnloadsIt();
    void mapTerminationShowsTheMainWindow();
    void exitEndsAtOnceWithoutOtherHandlers_data();
    void exitEndsAtOnceWithoutOtherHandlers();
    void closingTheMainWindowEnds();
    void altXPressesExit();
    void clicksOnLabelsPictureAndShapesDoNothing();

private:
    std::unique_ptr<FlowFixture> m_flow;
    FlowFixture &flow() { return *m_flow; }
    void openHelp();
};

void tst_WindowFlow::init()
{
    m_flow = std::make_unique<FlowFixture>();
    QVERIFY(QTest::qWaitForWindowActive(flow().mainWindow()));
}

void tst_WindowFlow::cleanup()
{
    m_flow.reset();
}

void tst_WindowFlow::openHelp()
{
    click(*flow().controlOf<frmWindScale>("Command2"));
    QVERIFY(flow().windowOf<frmhelp1>());
    QVERIFY(settled([this] { return flow().windowOf<frmhelp1>()->isActiveWindow(); }));
}

void tst_WindowFlow::helpShowsAndSwitchesTheMainWindowOff()
{
    QVERIFY(!flow().existing<frmhelp1>());
    openHelp();
    QWidget *help = flow().windowOf<frmhelp1>();
    QVERIFY(help->isVisible());
    QVERIFY(flow().mainWindow()->isVisible());
    QVERIFY(!flow().mainWindow()->isEnabled());
    QVERIFY(help->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(help->geometry(), layouts::placedRect(HelpLayout::window));
    auto *sentence = flow().labelOf<frmhelp1>("Label1");
    QCOMPARE(sentence->text().size(), 114);
    QCOMPARE(sentence->text(),
             helpSentence.data()
                 ? QString::fromUtf16(helpSentence.data(), qsizetype(helpSentence.size()))
                 : QString());
    QCOMPARE(flow().labelOf<frmhelp1>("Label2")->toolTip(), u"Click");
    QCOMPARE(QApplication::focusWidget(), flow().controlOf<frmhelp1>("Command1"));
}

void tst_WindowFlow::helpOkDismissesAndGivesInputBack()
{
    openHelp();
    frmhelp1 *help = flow().existing<frmhelp1>();
    click(*flow().controlOf<frmhelp1>("Command1"));
    QVERIFY(!help->isLoaded());
    QCOMPARE(flow().existing<frmhelp1>(), help); // the instance stays
    QVERIFY(flow().mainWindow()->isEnabled());
    QVERIFY(settled([this] { return flow().mainWindow()->isActiveWindow(); }));
    QVERIFY(flow().mainWindow()->isEnabled());
}

void tst_WindowFlow::helpAfterOkIsLoadedAfreshAtTheSamePlace()
{
    openHelp();
    QPointer<QWidget> first = flow().windowOf<frmhelp1>();
    first->move(10, 10);
    click(*flow().controlOf<frmhelp1>("Command1"));
    QTRY_VERIFY(first.isNull()); // destroyed with its controls
    openHelp();
    QWidget *second = flow().windowOf<frmhelp1>();
    QCOMPARE(second->geometry().topLeft(), layouts::placedRect(HelpLayout::window).topLeft());
    QVERIFY(!flow().mainWindow()->isEnabled());
}

void tst_WindowFlow::aboutFromTheMainWindow()
{
    QVERIFY(!flow().existing<frmabout>());
    click(*flow().controlOf<frmWindScale>("Label8"));
    QWidget *about = flow().windowOf<frmabout>();
    QVERIFY(about && about->isVisible());
    QVERIFY(!flow().mainWindow()->isEnabled());
    QCOMPARE(about->geometry(), layouts::placedRect(AboutLayout::window));
    QCOMPARE(flow().labelOf<frmabout>("Label7")->text(), u"For more information contact:-");
    QCOMPARE(flow().labelOf<frmabout>("Label1")->text(), u"Quayforth,");
    QVERIFY(flow().labelOf<frmabout>("Label2")->text().startsWith(u"E - Mail:   "));

    click(*flow().controlOf<frmabout>("Command1"));
    QVERIFY(!flow().existing<frmabout>()->isLoaded());
    QVERIFY(settled([this] { return flow().mainWindow()->isActiveWindow(); }));
    QVERIFY(flow().mainWindow()->isEnabled());
}

void tst_WindowFlow::aboutFromHelpCoversItAndOkLeavesHelpOpen()
{
    openHelp();
    click(*flow().controlOf<frmhelp1>("Label2"));
    QWidget *about = flow().windowOf<frmabout>();
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->frameGeometry(), flow().windowOf<frmhelp1>()->frameGeometry());
    QVERIFY(settled([about] { return about->isActiveWindow(); }));
    QVERIFY(!flow().mainWindow()->isEnabled());

    click(*flow().controlOf<frmabout>("Command1"));
    // Whatever order the window system reports the activations in, the
    // main window ends up in front, taking input, with help still open.
    QVERIFY(settled([this] { return flow().mainWindow()->isActiveWindow(); }));
    QTest::qWait(3 * FormWindow::defaultActivationSettleMs); // past the reports of the hand-over
    QVERIFY(flow().mainWindow()->isEnabled());
    QVERIFY(flow().windowOf<frmhelp1>() && flow().windowOf<frmhelp1>()->isVisible());
    QVERIFY(!flow().existing<frmabout>()->isLoaded());
}

void tst_WindowFlow::reactivatingHelpSwitchesTheMainWindowOffAgain()
{
    openHelp();
    click(*flow().controlOf<frmhelp1>("Label2"));
    click(*flow().controlOf<frmabout>("Command1"));
    QVERIFY(settled([this] { return flow().mainWindow()->isActiveWindow(); }));
    QTest::qWait(3 * FormWindow::defaultActivationSettleMs);
    QVERIFY(flow().mainWindow()->isEnabled());

    // The user clicks the help window, which is still open.
    QWidget *help = flow().windowOf<frmhelp1>();
    help->activateWindow();
    QVERIFY(settled([help] { return help->isActiveWindow(); }));
    QVERIFY(settled([this] { return !flow().mainWindow()->isEnabled(); }));

    click(*flow().controlOf<frmhelp1>("Command1"));
    QVERIFY(flow().mainWindow()->isEnabled());
    QVERIFY(!flow().existing<frmhelp1>()->isLoaded());

    // Help again: shown anew, input off again.
    openHelp();
    QVERIFY(!flow().mainWindow()->isEnabled());
}

void tst_WindowFlow::mainWindowWithInputOffTakesNoClickKeyOrClose()
{
    openHelp();
    QWidget *main = flow().mainWindow();
    click(*flow().controlOf<frmWindScale>("Command3"));
    click(*flow().controlOf<frmWindScale>("Command1"));
    QTest::keyClick(main, Qt::Key_Space);
    QTest::keyClick(main, Qt::Key_Down);
    QVERIFY(!flow().existing<frmAreas>());
    QVERIFY(!flow().ended());

    QVERIFY(!closeByWindowManager(main));
    QVERIFY(main->isVisible());
    QVERIFY(!flow().ended());
}

void tst_WindowFlow::windowManagerCloseOfHelpGivesInputBack()
{
    openHelp();
    QVERIFY(closeByWindowManager(flow().windowOf<frmhelp1>()));
    QVERIFY(!flow().existing<frmhelp1>()->isLoaded());
    QVERIFY(flow().mainWindow()->isEnabled());
    QVERIFY(!flow().ended());
    // And the main window works as before.
    openHelp();
    QVERIFY(!flow().mainWindow()->isEnabled());
}

void tst_WindowFlow::windowManagerCloseOfAboutLeavesHelpWorking()
{
    openHelp();
    click(*flow().controlOf<frmhelp1>("Label2"));
    QVERIFY(closeByWindowManager(flow().windowOf<frmabout>()));
    QVERIFY(!flow().existing<frmabout>()->isLoaded());
    QVERIFY(flow().mainWindow()->isEnabled());
    QWidget *help = flow().windowOf<frmhelp1>();
    QVERIFY(help && help->isVisible());
    click(*flow().controlOf<frmhelp1>("Command1"));
    QVERIFY(!flow().existing<frmhelp1>()->isLoaded());
    QVERIFY(flow().mainWindow()->isEnabled());
}

void tst_WindowFlow::panelsTakeEnterAndSpaceButNotEscape_data()
{
    QTest::addColumn<int>("panel"); // 0 help, 1 about, 2 map
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("presses");
    const char *names[] = {"help", "about", "map"};
    for (int panel = 0; panel < 3; ++panel) {
        QTest::addRow("%s Enter", names[panel]) << panel << Qt::Key_Return << true;
        QTest::addRow("%s keypad Enter", names[panel]) << panel << Qt::Key_Enter << true;
        QTest::addRow("%s Space", names[panel]) << panel << Qt::Key_Space << true;
        QTest::addRow("%s Escape", names[panel]) << panel << Qt::Key_Escape << false;
    }
}

void tst_WindowFlow::panelsTakeEnterAndSpaceButNotEscape()
{
    QFETCH(int, panel);
    QFETCH(Qt::Key, key);
    QFETCH(bool, presses);
    const char *opener[] = {"Command2", "Label8", "Command3"};
    click(*flow().controlOf<frmWindScale>(opener[panel]));
    Form *form = panel == 0   ? static_cast<Form *>(flow().existing<frmhelp1>())
                 : panel == 1 ? static_cast<Form *>(flow().existing<frmabout>())
                              : static_cast<Form *>(flow().existing<frmAreas>());
    QVERIFY(form && form->isVisible());
    QWidget *window = loadedWidget(*form);
    QVERIFY(settled([window] { return window->isActiveWindow(); }));
    QWidget *button = uidriver::find<QWidget>(window, "Command1");
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(button, key);
    QCOMPARE(form->isVisible(), !presses);
    QCOMPARE(flow().mainWindow()->isVisible(), presses || panel != 2);
    QCOMPARE(flow().mainWindow()->isEnabled(), presses || panel == 2);
}

void tst_WindowFlow::forecastAreasShowsTheMapBeforeHidingTheMainWindow()
{
    struct HideWatch : QObject
    {
        FlowFixture *flow = nullptr;
        bool mapVisibleAtHide = false;
        int hides = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Hide) {
                ++hides;
                QWidget *map = flow->windowOf<frmAreas>();
                mapVisibleAtHide = map && map->isVisible();
            }
            return false;
        }
    } watch;
    watch.flow = &flow();
    flow().mainWindow()->installEventFilter(&watch);
    click(*flow().controlOf<frmWindScale>("Command3"));
    QCOMPARE(watch.hides, 1);
    QVERIFY(watch.mapVisibleAtHide);
    QVERIFY(!flow().mainWindow()->isVisible());
    QWidget *map = flow().windowOf<frmAreas>();
    QCOMPARE(map->windowTitle(), u"Forecast Areas");
    QCOMPARE(map->size(), layouts::mapWindowSize());
    QCOMPARE(map->minimumSize(), map->maximumSize());
    QVERIFY(!(map->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!map->windowIcon().isNull());
    flow().mainWindow()->removeEventFilter(&watch);
}

void tst_WindowFlow::backKeepsTheMapLoadedAndTheRowIntact()
{
    frmWindScale &main = flow().main();
    QVERIFY(pickWithMouse(qtComboBox(main.box(ScaleColumn::Description)), 9));
    typeInto(qtComboBox(main.box(ScaleColumn::Knots)), u"typed"_qs);
    const auto before = sevenTexts(main);

    click(*flow().controlOf<frmWindScale>("Command3"));
    QWidget *map = flow().windowOf<frmAreas>();
    click(*flow().controlOf<frmAreas>("Command1"));
    QVERIFY(!map->isVisible());
    QVERIFY(flow().existing<frmAreas>()->isLoaded());
    QVERIFY(flow().mainWindow()->isVisible());
    QCOMPARE(sevenTexts(main), before);
}

void tst_WindowFlow::forecastAreasAgainShowsTheMapWhereItWasLeft()
{
    click(*flow().controlOf<frmWindScale>("Command3"));
    QWidget *map = flow().windowOf<frmAreas>();
    map->move(map->pos() + QPoint(37, -21));
    const QPoint left = map->pos();
    click(*flow().controlOf<frmAreas>("Command1"));
    click(*flow().controlOf<frmWindScale>("Command3"));
    QCOMPARE(flow().windowOf<frmAreas>(), map);
    QCOMPARE(map->pos(), left);
    QVERIFY(map->isVisible());
    QVERIFY(!flow().mainWindow()->isVisible());
}

void tst_WindowFlow::closingTheMapShowsTheMainWindowAndUnloadsIt()
{
    frmWindScale &main = flow().main();
    QVERIFY(pickWithMouse(qtComboBox(main.box(ScaleColumn::Force)), 11));
    click(*flow().controlOf<frmWindScale>("Command3"));
    QPointer<QWidget> map = flow().windowOf<frmAreas>();
    const QPoint centred = map->pos();
    map->move(centred + QPoint(50, 50));

    QVERIFY(closeByWindowManager(map));
    QVERIFY(flow().mainWindow()->isVisible());
    QVERIFY(!flow().existing<frmAreas>()->isLoaded());
    QCOMPARE(shownRow(main), 11);
    QTRY_VERIFY(map.isNull());

    click(*flow().controlOf<frmWindScale>("Command3"));
    QCOMPARE(flow().windowOf<frmAreas>()->pos(), centred);
    QVERIFY(!flow().mainWindow()->isVisible());
}

void tst_WindowFlow::mapTerminationShowsTheMainWindow()
{
    // No path of the program releases the map's instance, but if one did,
    // the main window must not stay hidden.
    click(*flow().controlOf<frmWindScale>("Command3"));
    QVERIFY(!flow().mainWindow()->isVisible());
    flow().existing<frmAreas>()->Form_Terminate();
    QVERIFY(flow().mainWindow()->isVisible());
    QVERIFY(!flow().windowOf<frmAreas>()->isVisible());
}

void tst_WindowFlow::exitEndsAtOnceWithoutOtherHandlers_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("nothing opened") << QString();
    QTest::newRow("help dismissed") << u"help"_qs;
    QTest::newRow("help left open behind") << u"help-open"_qs;
    QTest::newRow("about dismissed") << u"about"_qs;
    QTest::newRow("map left by Back") << u"map"_qs;
}

void tst_WindowFlow::exitEndsAtOnceWithoutOtherHandlers()
{
    QFETCH(QString, before);
    if (before == u"help") {
        openHelp();
        click(*flow().controlOf<frmhelp1>("Command1"));
    } else if (before == u"help-open") {
        openHelp();
        click(*flow().controlOf<frmhelp1>("Label2"));
        click(*flow().controlOf<frmabout>("Command1"));
    } else if (before == u"about") {
        click(*flow().controlOf<frmWindScale>("Label8"));
        click(*flow().controlOf<frmabout>("Command1"));
    } else if (before == u"map") {
        click(*flow().controlOf<frmWindScale>("Command3"));
        click(*flow().controlOf<frmAreas>("Command1"));
    }
    QVERIFY(flow().mainWindow()->isEnabled());
    click(*flow().controlOf<frmWindScale>("Command1"));
    QVERIFY(flow().ended());
    QCOMPARE(flow().exitCode(), 0);
    // No window is left on screen, and the map's unload handler, which
    // would show the main window again, never ran.
    QTest::qWait(20);
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
}

void tst_WindowFlow::closingTheMainWindowEnds()
{
    click(*flow().controlOf<frmWindScale>("Command3"));
    click(*flow().controlOf<frmAreas>("Command1"));
    QVERIFY(closeByWindowManager(flow().mainWindow()));
    QVERIFY(flow().ended());
    QCOMPARE(flow().exitCode(), 0);
    QVERIFY(!flow().windowOf<frmAreas>()->isVisible());
    QVERIFY(!flow().mainWindow()->isVisible());
}

void tst_WindowFlow::altXPressesExit()
{
    // The offscreen platform delivers no shortcuts; the real key press is
    // checked under X (tst_realwindows). Here: the access key is Alt+X, and
    // pressing the button ends the program.
    auto *exit = qobject_cast<QPushButton *>(flow().controlOf<frmWindScale>("Command1"));
    QVERIFY(exit);
    QCOMPARE(exit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    exit->setFocus();
    QTest::keyClick(exit, Qt::Key_Space);
    QVERIFY(flow().ended());
}

void tst_WindowFlow::clicksOnLabelsPictureAndShapesDoNothing()
{
    const auto texts = sevenTexts(flow().main());
    for (const char *name : {"Label1", "Label3", "Label7", "Label9", "Image1", "Shape2"})
        click(*flow().controlOf<frmWindScale>(name));
    QTest::mouseClick(flow().mainWindow(), Qt::LeftButton, {}, QPoint(5, 300));
    QCOMPARE(sevenTexts(flow().main()), texts);
    QVERIFY(!flow().existing<frmhelp1>() && !flow().existing<frmabout>() &&
            !flow().existing<frmAreas>());
    QVERIFY(flow().mainWindow()->isEnabled() && !flow().ended());
}

QTEST_MAIN(tst_WindowFlow)
#include "tst_windowflow.moc"
