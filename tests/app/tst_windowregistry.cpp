#include "core/forms/form.h"
#include "core/forms/windowregistry.h"
#include "qt/builder/formwidgets.h"
#include "qt/builder/qtfrontend.h"
#include "qt/shell/formwindow.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <memory>

namespace {

// A window of one text field, empty in its layout.
constexpr WindowSpec testWindow{
    .name = "TestForm",
    .caption = u"Test",
    .client = {3000, 1500},
    .frame = WindowFrame::FixedSingle,
    .placement = WindowPlacement::CentreScreen,
    .screenPosition = {0, 0},
    .background = DesignPalette::white,
};
constexpr auto testControls = std::to_array<ControlSpec>({
    {.name = "Combo1", .kind = ControlKind::ComboBox, .rect = {0, 0, 2000, 450}, .tabIndex = 0},
});

// A window class for exercising the window operations: one text field,
// empty in its layout, and counters for each of its handlers.
class TestForm final : public Form
{
public:
    void Form_Initialize() override { ++initialized; }

    // The field of the loaded window; any access loads it.
    QLineEdit &field() { return *qtComboBox(view().comboBox("Combo1")).lineEdit(); }

    int initialized = 0;
    int activated = 0;
    int unloads = 0;
    int windowManagerCloses = 0;
    bool cancelUnload = false;
    bool unloadFromUnload = false;

protected:
    FormDesign design() const override { return {testWindow, testControls}; }
    void Form_Activate() override { ++activated; }
    void Form_Unload(bool &cancel) override
    {
        ++unloads;
        cancel = cancelUnload;
        if (unloadFromUnload)
            Unload();
    }
    void closedByWindowManager() override { ++windowManagerCloses; }
};

constexpr WindowSpec otherWindow{
    .name = "OtherForm",
    .caption = u"Other",
    .client = {3000, 1500},
    .frame = WindowFrame::FixedSingle,
    .placement = WindowPlacement::CentreScreen,
    .screenPosition = {0, 0},
    .background = DesignPalette::white,
};

// A second class, so that classes can be told apart.
class OtherForm final : public Form
{
protected:
    FormDesign design() const override { return {otherWindow, {}}; }
};

// The windows here settle the window system's activation reports sooner
// than the program's do: nothing here passes the focus around on its way.
constexpr int activationSettleMs = 30;

// Long enough for every timer that settles the window system's reports.
constexpr int pastActivationSettling = 3 * activationSettleMs;

} // namespace

class tst_WindowRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstReferenceCreatesTheOneInstance();
    void instanceExistsBeforeItsWindow();
    void loadingALoadedWindowChangesNothing();
    void unloadKeepsTheInstanceAndShowRebuildsFromTheLayout();
    void unloadAskedForDuringUnloadingDoesNothing();
    void cancelledUnloadKeepsTheWindow();
    void showMakesTheWindowVisibleAndActive();
    void oneActivationRunsFormActivateOnce_data();
    void oneActivationRunsFormActivateOnce();
    void visibleTrueOnAVisibleWindowChangesNothing();
    void hideKeepsTheContents();
    void windowWithInputOffRefusesToClose();
    void windowManagerCloseUnloadsThroughTheHandler();
    void endHidesEverythingAndRunsNoHandler();
    void endRunsItsActionOnce();
    void registryTakesItsWindowsWithIt();

private:
    QtFrontEnd m_frontEnd{activationSettleMs};
    std::unique_ptr<WindowRegistry> m_registry;
    int m_endCalls = 0;
    int m_exitCode = -1;
};

void tst_WindowRegistry::init()
{
    m_registry = std::make_unique<WindowRegistry>(m_frontEnd);
    m_endCalls = 0;
    m_exitCode = -1;
    m_registry->setEndAction([this](int exitCode) {
        ++m_endCalls;
        m_exitCode = exitCode;
    });
}

void tst_WindowRegistry::cleanup()
{
    m_registry.reset();
}

void tst_WindowRegistry::firstReferenceCreatesTheOneInstance()
{
    QVERIFY(!m_registry->find<TestForm>());
    TestForm &first = defaultInstance<TestForm>();
    TestForm &again = defaultInstance<TestForm>();
    QCOMPARE(&first, &again);
    QCOMPARE(m_registry->find<TestForm>(), &first);
    QCOMPARE(first.initialized, 1);
    QVERIFY(!m_registry->find<OtherForm>());
    OtherForm &other = defaultInstance<OtherForm>();
    QVERIFY(static_cast<Form *>(&other) != static_cast<Form *>(&first));
    QCOMPARE(defaultInstance<TestForm>().initialized, 1);
}

void tst_WindowRegistry::instanceExistsBeforeItsWindow()
{
    TestForm &form = defaultInstance<TestForm>();
    QVERIFY(!form.isLoaded());
    QVERIFY(!loadedWidget(form));
    form.Load();
    QVERIFY(form.isLoaded());
    QVERIFY(!form.isVisible());
}

void tst_WindowRegistry::loadingALoadedWindowChangesNothing()
{
    TestForm &form = defaultInstance<TestForm>();
    form.Load();
    FormWindow *window = loadedWidget(form);
    form.field().setText(QStringLiteral("kept"));
    form.Load();
    QCOMPARE(loadedWidget(form), window);
    QCOMPARE(form.field().text(), u"kept");
    QVERIFY(!form.isVisible());
}

void tst_WindowRegistry::unloadKeepsTheInstanceAndShowRebuildsFromTheLayout()
{
    TestForm &form = defaultInstance<TestForm>();
    form.Show();
    form.field().setText(QStringLiteral("typed"));
    QPointer<FormWindow> old = loadedWidget(form);
    form.Unload();
    QVERIFY(!form.isLoaded());
    QCOMPARE(form.unloads, 1);
    QVERIFY(old && !old->isVisible());
    QTRY_VERIFY(old.isNull());
    QCOMPARE(&defaultInstance<TestForm>(), &form);

    form.Show();
    QVERIFY(form.isVisible());
    QCOMPARE(form.field().text(), QString());
    QCOMPARE(form.initialized, 1);
}

void tst_WindowRegistry::unloadAskedForDuringUnloadingDoesNothing()
{
    TestForm &form = defaultInstance<TestForm>();
    form.unloadFromUnload = true;
    form.Show();
    form.Unload();
    QCOMPARE(form.unloads, 1);
    QVERIFY(!form.isLoaded());
    form.Unload(); // not loaded: nothing to do, no handler
    QCOMPARE(form.unloads, 1);
}

void tst_WindowRegistry::cancelledUnloadKeepsTheWindow()
{
    TestForm &form = defaultInstance<TestForm>();
    form.cancelUnload = true;
    form.Show();
    form.Unload();
    QCOMPARE(form.unloads, 1);
    QVERIFY(form.isLoaded());
    QVERIFY(form.isVisible());
}

void tst_WindowRegistry::showMakesTheWindowVisibleAndActive()
{
    TestForm &form = defaultInstance<TestForm>();
    form.Show();
    QVERIFY(form.isVisible());
    QCOMPARE(form.activated, 1); // within Show, before it returns
    QVERIFY(QTest::qWaitForWindowActive(loadedWidget(form)));
    QTest::qWait(pastActivationSettling);
    QCOMPARE(form.activated, 1); // the window system's report is not a second activation

    OtherForm &other = defaultInstance<OtherForm>();
    other.Show();
    QVERIFY(QTest::qWaitForWindowActive(loadedWidget(other)));
    QTest::qWait(pastActivationSettling);
    // The user brings the first window back to the front.
    loadedWidget(form)->activateWindow();
    QTRY_COMPARE(form.activated, 2);
    QTest::qWait(pastActivationSettling);
    QCOMPARE(form.activated, 2);
}

void tst_WindowRegistry::oneActivationRunsFormActivateOnce_data()
{
    // Reports of the window system that do not change which window is
    // active, sent to a window that Show has just activated.
    QTest::addColumn<QList<int>>("reports");
    QTest::newRow("none") << QList<int>{};
    QTest::newRow("activation again") << QList<int>{QEvent::WindowActivate};
    QTest::newRow("deactivation taken back")
        << QList<int>{QEvent::WindowDeactivate, QEvent::WindowActivate};
    QTest::newRow("activation, deactivation")
        << QList<int>{QEvent::WindowActivate, QEvent::WindowDeactivate};
}

void tst_WindowRegistry::oneActivationRunsFormActivateOnce()
{
    QFETCH(QList<int>, reports);
    TestForm &form = defaultInstance<TestForm>();
    form.Show();
    QVERIFY(QTest::qWaitForWindowActive(loadedWidget(form)));
    for (int type : reports) {
        QEvent report(static_cast<QEvent::Type>(type));
        QApplication::sendEvent(loadedWidget(form), &report);
    }
    QTest::qWait(pastActivationSettling);
    QCOMPARE(form.activated, 1);

    // Shown again while active: no new activation.
    form.Show();
    QTest::qWait(pastActivationSettling);
    QCOMPARE(form.activated, 1);

    // Hidden and shown again in one go: one new activation, however the
    // window system reports the hiding and the showing.
    form.Hide();
    form.Show();
    QCOMPARE(form.activated, 2);
    QVERIFY(QTest::qWaitForWindowActive(loadedWidget(form)));
    QTest::qWait(pastActivationSettling);
    QCOMPARE(form.activated, 2);
}

void tst_WindowRegistry::visibleTrueOnAVisibleWindowChangesNothing()
{
    TestForm &form = defaultInstance<TestForm>();
    form.Visible(true);
    QVERIFY(form.isVisible());
    QCOMPARE(form.activated, 0);
    FormWindow *window = loadedWidget(form);
    form.Visible(true);
    form.Show();
    form.Show();
    QCOMPARE(loadedWidget(form), window);
    QVERIFY(form.isVisible());
}

void tst_WindowRegistry::hideKeepsTheContents()
{
    TestForm &form = defaultInstance<TestForm>();
    form.Show();
    form.field().setText(QStringLiteral("kept"));
    form.field().setSelection(1, 2);
    form.Hide();
    QVERIFY(!form.isVisible());
    QVERIFY(form.isLoaded());
    form.Show();
    QCOMPARE(form.field().text(), u"kept");
    QCOMPARE(form.field().selectedText(), u"ep");
    QCOMPARE(form.unloads, 0);
}

void tst_WindowRegistry::windowWithInputOffRefusesToClose()
{
    TestForm &form = defaultInstance<TestForm>();
    form.Show();
    form.Enabled(false);
    QVERIFY(!form.isEnabled());
    QVERIFY(!loadedWidget(form)->close());
    QVERIFY(form.isVisible());
    QCOMPARE(form.unloads, 0);
    form.Enabled(true);
    QVERIFY(loadedWidget(form)->close());
    QVERIFY(!form.isLoaded());
}

void tst_WindowRegistry::windowManagerCloseUnloadsThroughTheHandler()
{
    TestForm &form = defaultInstance<TestForm>();
    form.Show();
    QVERIFY(loadedWidget(form)->close());
    QCOMPARE(form.unloads, 1);
    QCOMPARE(form.windowManagerCloses, 1);
    QVERIFY(!form.isLoaded());

    // A close the handler cancels leaves everything as it was.
    form.cancelUnload = true;
    form.Show();
    QVERIFY(!loadedWidget(form)->close());
    QCOMPARE(form.unloads, 2);
    QCOMPARE(form.windowManagerCloses, 1);
    QVERIFY(form.isVisible());
}

void tst_WindowRegistry::endHidesEverythingAndRunsNoHandler()
{
    TestForm &form = defaultInstance<TestForm>();
    OtherForm &other = defaultInstance<OtherForm>();
    form.Show();
    other.Show();
    const int activations = form.activated;
    m_registry->End();
    QVERIFY(m_registry->hasEnded());
    QVERIFY(!form.isVisible());
    QVERIFY(!other.isVisible());
    QCOMPARE(form.unloads, 0);

    // Whatever the window system still delivers runs no handler.
    loadedWidget(form)->show();
    loadedWidget(form)->activateWindow();
    QTest::qWait(pastActivationSettling);
    QVERIFY(loadedWidget(form)->close());
    form.Unload();
    QCOMPARE(form.unloads, 0);
    QCOMPARE(form.activated, activations);
    QCOMPARE(form.windowManagerCloses, 0);
}

void tst_WindowRegistry::endRunsItsActionOnce()
{
    m_registry->End();
    m_registry->End();
    QCOMPARE(m_endCalls, 1);
    QCOMPARE(m_exitCode, 0);
}

void tst_WindowRegistry::registryTakesItsWindowsWithIt()
{
    QPointer<FormWindow> shown;
    QPointer<FormWindow> unloaded;
    {
        TestForm &form = defaultInstance<TestForm>();
        form.Show();
        unloaded = loadedWidget(form);
        form.Unload(); // deletion deferred to the event loop
        form.Show();
        shown = loadedWidget(form);
    }
    m_registry.reset();
    QVERIFY(shown.isNull());
    QVERIFY(unloaded.isNull());
}

QTEST_MAIN(tst_WindowRegistry)
#include "tst_windowregistry.moc"
