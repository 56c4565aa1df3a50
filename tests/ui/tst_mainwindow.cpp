#include "core/forms/windowregistry.h"
#include "qt/builder/qtfrontend.h"
#include "tests/support/layouts.h"
#include "tests/support/uidriver.h"

#include <QSignalSpy>

#include <memory>

using namespace uidriver;

namespace {

constexpr std::array<const char *, 6> boxNames{"Combo1", "Combo2", "Combo4",
                                               "Combo5", "Combo6", "Combo7"};

struct PickSpies
{
    explicit PickSpies(frmWindScale &main)
    {
        for (std::size_t i = 0; i < spies.size(); ++i)
            spies[i] = std::make_unique<QSignalSpy>(&qtComboBox(main.box(allScaleColumns[i])),
                                                    &ScaleComboBox::picked);
    }
    int total() const
    {
        int sum = 0;
        for (const auto &spy : spies)
            sum += int(spy->count());
        return sum;
    }
    int in(ScaleColumn column) const { return int(spies[std::size_t(column)]->count()); }
    std::array<std::unique_ptr<QSignalSpy>, 6> spies;
};

std::array<QString, 7> startTexts()
{
    return {u"0"_qs,           u"Calm"_qs, u"Less than 1"_qs,      u"0.0 - 0.2"_qs,
            u"Less than 1"_qs, u"0.0"_qs,  u"Sea like a mirror"_qs};
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithItsLayoutTexts();
    void listsHoldTheirColumnInRowOrder();
    void everyEntryPickedWithTheMouseShowsItsRow();
    void picks_data();
    void picks();
    void pickingTheEntryShownRunsTheHandler();
    void arrowKeysPickAndStepFromTheRowShown_data();
    void arrowKeysPickAndStepFromTheRowShown();
    void typingChangesNothingElse_data();
    void typingChangesNothingElse();
    void typedTextIsOverwrittenByAPickElsewhere();
    void writingATextRaisesNoPick();
    void windowIsFixedSizeAndCentred();
    void focusStartsInCombo1AndTabFollowsTheTabIndex();
    void makerLabelHasItsTooltip();
    void pictureIsStretchedBehindTheHeadings();
    void controlsAreStackedOverThePicture();
    void screenReaderNamesAndDescriptions();

private:
    frmWindScale &showMain();
    QtFrontEnd m_frontEnd;
    std::unique_ptr<WindowRegistry> m_registry;
};

void tst_MainWindow::init()
{
    m_registry = std::make_unique<WindowRegistry>(m_frontEnd);
}

void tst_MainWindow::cleanup()
{
    m_registry.reset();
}

frmWindScale &tst_MainWindow::showMain()
{
    frmWindScale &main = defaultInstance<frmWindScale>();
    main.Show();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(&formWidget(main))); }();
    return main;
}

void tst_MainWindow::startsWithItsLayoutTexts()
{
    frmWindScale &main = showMain();
    QCOMPARE(sevenTexts(main), startTexts());
    // The start texts of Combo5 and Text1 are not texts of row 0.
    QCOMPARE(shownRow(main), -1);
}

void tst_MainWindow::listsHoldTheirColumnInRowOrder()
{
    frmWindScale &main = showMain();
    for (ScaleColumn column : allScaleColumns) {
        ScaleComboBox &box = qtComboBox(main.box(column));
        const auto texts = ScaleTable::columnTexts(column);
        QCOMPARE(box.count(), ScaleTable::rowCount);
        for (int row = 0; row < box.count(); ++row)
            QCOMPARE(box.itemText(row), latin1(texts[std::size_t(row)]));
    }
    QCOMPARE(qtComboBox(main.box(ScaleColumn::Force)).itemText(10), u"10");
}

void tst_MainWindow::everyEntryPickedWithTheMouseShowsItsRow()
{
    frmWindScale &main = showMain();
    PickSpies spies(main);
    int picks = 0;
    for (ScaleColumn column : allScaleColumns) {
        for (int row = ScaleTable::rowCount - 1; row >= 0; --row) {
            QVERIFY(pickWithMouse(qtComboBox(main.box(column)), row));
            ++picks;
            QCOMPARE(spies.total(), picks);
            QCOMPARE(shownRow(main), row);
        }
    }
}

void tst_MainWindow::picks_data()
{
    QTest::addColumn<ScaleColumn>("column");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("force");

    QTest::newRow("12 in Combo1") << ScaleColumn::Force << 12 << 12;
    QTest::newRow("5.5 in Combo7") << ScaleColumn::WaveHeight << 8 << 8;
    QTest::newRow("Less than 1 in Combo6") << ScaleColumn::MilesPerHour << 0 << 0;
    QTest::newRow("1.0 in Combo7 is force 4") << ScaleColumn::WaveHeight << 4 << 4;
    QTest::newRow("1 in Combo1 is not 10") << ScaleColumn::Force << 1 << 1;
    QTest::newRow("Gale in Combo2") << ScaleColumn::Description << 8 << 8;
    QTest::newRow("64 + in Combo4") << ScaleColumn::Knots << 12 << 12;
    QTest::newRow("0 - 0.2 in Combo5") << ScaleColumn::MetresPerSecond << 0 << 0;
}

void tst_MainWindow::picks()
{
    QFETCH(ScaleColumn, column);
    QFETCH(int, entry);
    QFETCH(int, force);
    frmWindScale &main = showMain();
    PickSpies spies(main);
    QVERIFY(pickWithMouse(qtComboBox(main.box(column)), entry));
    QCOMPARE(spies.total(), 1);
    QCOMPARE(spies.in(column), 1);
    QCOMPARE(sevenTexts(main), rowTexts(force));
}

void tst_MainWindow::pickingTheEntryShownRunsTheHandler()
{
    frmWindScale &main = showMain();
    PickSpies spies(main);
    // "Calm" is shown at start; picking it again still writes row 0, which
    // corrects the two start texts that are not row 0's.
    QVERIFY(pickWithMouse(qtComboBox(main.box(ScaleColumn::Description)), 0));
    QCOMPARE(spies.total(), 1);
    QCOMPARE(qtComboBox(main.box(ScaleColumn::MetresPerSecond)).currentText(), u"0 - 0.2");
    QCOMPARE(qtTextBox(main.Text1()).toPlainText(), u"Sea like a mirror.");
    QCOMPARE(shownRow(main), 0);

    // Once all seven show one row, picking it again changes nothing visible.
    QVERIFY(pickWithMouse(qtComboBox(main.box(ScaleColumn::Knots)), 0));
    QCOMPARE(spies.total(), 2);
    QCOMPARE(sevenTexts(main), rowTexts(0));
}

void tst_MainWindow::arrowKeysPickAndStepFromTheRowShown_data()
{
    QTest::addColumn<ScaleColumn>("column");
    for (std::size_t i = 0; i < allScaleColumns.size(); ++i)
        QTest::newRow(boxNames[i]) << allScaleColumns[i];
}

void tst_MainWindow::arrowKeysPickAndStepFromTheRowShown()
{
    QFETCH(ScaleColumn, column);
    frmWindScale &main = showMain();
    PickSpies spies(main);

    pressOn(qtComboBox(main.box(column)), Qt::Key_Down);
    QCOMPARE(spies.total(), 1);
    QCOMPARE(spies.in(column), 1);
    QCOMPARE(shownRow(main), 1);

    // A pick in another box moves this box's list to the new row, so the
    // arrow keys go on from what is shown.
    const ScaleColumn other =
        column == ScaleColumn::Description ? ScaleColumn::Force : ScaleColumn::Description;
    QVERIFY(pickWithMouse(qtComboBox(main.box(other)), 8));
    pressOn(qtComboBox(main.box(column)), Qt::Key_Down);
    QCOMPARE(shownRow(main), 9);
    pressOn(qtComboBox(main.box(column)), Qt::Key_Up);
    pressOn(qtComboBox(main.box(column)), Qt::Key_Up);
    QCOMPARE(shownRow(main), 7);
    QCOMPARE(spies.total(), 5);
}

void tst_MainWindow::typingChangesNothingElse_data()
{
    QTest::addColumn<ScaleColumn>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Qt::Key>("finish");

    QTest::newRow("Gale + Enter in Combo2")
        << ScaleColumn::Description << u"Gale"_qs << Qt::Key_Enter;
    QTest::newRow("Gale + Return in Combo2")
        << ScaleColumn::Description << u"Gale"_qs << Qt::Key_Return;
    QTest::newRow("Gale + Tab in Combo2") << ScaleColumn::Description << u"Gale"_qs << Qt::Key_Tab;
    QTest::newRow("gale keeps its case")
        << ScaleColumn::Description << u"gale"_qs << Qt::Key_Return;
    QTest::newRow("prefix is not completed")
        << ScaleColumn::Description << u"Vio"_qs << Qt::Key_Return;
    QTest::newRow("12 + Enter in Combo1") << ScaleColumn::Force << u"12"_qs << Qt::Key_Enter;
    QTest::newRow("not a row in Combo4") << ScaleColumn::Knots << u"windy"_qs << Qt::Key_Return;
    QTest::newRow("5.5 + Enter in Combo7") << ScaleColumn::WaveHeight << u"5.5"_qs << Qt::Key_Enter;
    QTest::newRow("non-ASCII in Combo6")
        << ScaleColumn::MilesPerHour << u"\u00e9t\u00e9 \u6d77"_qs << Qt::Key_Tab;
    QTest::newRow("empty in Combo5") << ScaleColumn::MetresPerSecond << QString() << Qt::Key_Return;
}

void tst_MainWindow::typingChangesNothingElse()
{
    QFETCH(ScaleColumn, column);
    QFETCH(QString, typed);
    QFETCH(Qt::Key, finish);
    frmWindScale &main = showMain();
    PickSpies spies(main);
    ScaleComboBox &box = qtComboBox(main.box(column));

    typeInto(box, typed);
    QTest::keyClick(box.lineEdit(), finish);
    QCOMPARE(box.currentText(), typed);
    QTest::qWait(20);

    auto expected = startTexts();
    expected[std::size_t(column)] = typed;
    QCOMPARE(sevenTexts(main), expected);
    QCOMPARE(spies.total(), 0);
    for (ScaleColumn each : allScaleColumns)
        QCOMPARE(qtComboBox(main.box(each)).count(), ScaleTable::rowCount);
}

void tst_MainWindow::typedTextIsOverwrittenByAPickElsewhere()
{
    frmWindScale &main = showMain();
    typeInto(qtComboBox(main.box(ScaleColumn::Knots)), u"no such speed"_qs);
    QVERIFY(pickWithMouse(qtComboBox(main.box(ScaleColumn::Description)), 10));
    QCOMPARE(qtComboBox(main.box(ScaleColumn::Knots)).currentText(), u"48 - 55");
    QCOMPARE(shownRow(main), 10);

    // A pick in the box typed into replaces the typed text with the entry.
    typeInto(qtComboBox(main.box(ScaleColumn::Force)), u"77"_qs);
    QVERIFY(pickWithMouse(qtComboBox(main.box(ScaleColumn::Force)), 3));
    QCOMPARE(shownRow(main), 3);
}

void tst_MainWindow::writingATextRaisesNoPick()
{
    frmWindScale &main = showMain();
    PickSpies spies(main);
    QVERIFY(pickWithMouse(qtComboBox(main.box(ScaleColumn::Force)), 7));
    QCOMPARE(spies.total(), 1);
    QCOMPARE(spies.in(ScaleColumn::Force), 1);
    QCOMPARE(qtComboBox(main.box(ScaleColumn::Force)).currentText(), u"7");
    QCOMPARE(shownRow(main), 7);
}

void tst_MainWindow::windowIsFixedSizeAndCentred()
{
    frmWindScale &main = showMain();
    QWidget &window = formWidget(main);
    QCOMPARE(window.size(), layouts::mainWindowSize());
    QCOMPARE(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(window.windowTitle(), u"Galevane");
    QVERIFY(!window.windowIcon().isNull());
    // The window sits in the middle of the screen, give or take its frame.
    const QPoint offCentre = window.frameGeometry().center() - window.screen()->geometry().center();
    QVERIFY2(qAbs(offCentre.x()) <= 3 && qAbs(offCentre.y()) <= 3,
             qPrintable(u"%1, %2"_qs.arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(window.palette().color(QPalette::Window), QColor(128, 255, 255));
}

void tst_MainWindow::focusStartsInCombo1AndTabFollowsTheTabIndex()
{
    frmWindScale &main = showMain();
    QVERIFY(QTest::qWaitForWindowActive(&formWidget(main)));
    QWidget &window = formWidget(main);
    const auto focusedName = [] {
        QWidget *focus = QApplication::focusWidget();
        // The line edit of a combo box stands for its box.
        if (focus && qobject_cast<QComboBox *>(focus->parentWidget()))
            focus = focus->parentWidget();
        return focus ? focus->objectName() : QString();
    };
    QCOMPARE(focusedName(), u"Combo1");
    const QStringList order{u"Text1"_qs,    u"Command1"_qs, u"Command2"_qs, u"Combo2"_qs,
                            u"Combo4"_qs,   u"Combo5"_qs,   u"Combo6"_qs,   u"Combo7"_qs,
                            u"Command3"_qs, u"Combo1"_qs};
    for (const QString &next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedName(), next);
    }
    const QWidget *heading = find<QWidget>(&window, "Label1");
    QVERIFY(heading);
    QCOMPARE(heading->focusPolicy(), Qt::NoFocus);
}

void tst_MainWindow::makerLabelHasItsTooltip()
{
    frmWindScale &main = showMain();
    auto *maker = find<QLabel>(&formWidget(main), "Label8");
    QVERIFY(maker);
    QCOMPARE(maker->toolTip(), u"Click");
    QCOMPARE(maker->text(), u"\u00a9 Quayforth");
    const QWidget *panel = find<QWidget>(&formWidget(main), "Shape1");
    QVERIFY(panel);
    QCOMPARE(maker->geometry(), panel->geometry());
}

void tst_MainWindow::pictureIsStretchedBehindTheHeadings()
{
    frmWindScale &main = showMain();
    auto *picture = find<QWidget>(&formWidget(main), "Image1");
    QVERIFY(picture);
    QCOMPARE(picture->geometry(), layouts::controlRect(WindScaleLayout::controls, "Image1"));
    const QPixmap drawn = picture->grab();
    // The drawing has no background of its own: the window colour shows at
    // the top-left corner; the waves along the bottom are dark blue.
    const QImage image = drawn.toImage();
    QCOMPARE(image.pixelColor(2, 2), QColor(128, 255, 255));
    int dark = 0;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, image.height() - 4);
        dark += c.blue() > c.red() + 40 && c.value() < 200;
    }
    QVERIFY2(dark > image.width() / 3, "dark blue waves along the bottom edge");
}

void tst_MainWindow::controlsAreStackedOverThePicture()
{
    frmWindScale &main = showMain();
    QWidget &window = formWidget(main);
    const auto stackIndex = [&window](const char *name) {
        return window.children().indexOf(find<QWidget>(&window, name));
    };
    for (const char *name : {"Shape1", "Image1", "Label1", "Label3", "Label7", "Label8", "Shape2",
                             "Text1", "Combo7", "Command3"})
        QVERIFY2(stackIndex(name) >= 0, name);
    // Later children are drawn over earlier ones.
    QVERIFY(stackIndex("Shape1") < stackIndex("Image1"));
    QVERIFY(stackIndex("Image1") < stackIndex("Label1"));
    QVERIFY(stackIndex("Image1") < stackIndex("Label8"));
    QVERIFY(stackIndex("Label3") < stackIndex("Shape2"));
    QVERIFY(stackIndex("Shape2") < stackIndex("Text1"));
    QVERIFY(stackIndex("Label7") < stackIndex("Combo7"));
    QVERIFY(stackIndex("Combo7") < stackIndex("Command3"));
    // Labels let the picture show through: they paint no background.
    const QLabel *heading = find<QLabel>(&window, "Label3");
    QVERIFY(heading);
    QVERIFY(!heading->autoFillBackground());
}

void tst_MainWindow::screenReaderNamesAndDescriptions()
{
    frmWindScale &main = showMain();
    QWidget *window = &formWidget(main);
    const std::pair<const char *, const char *> headings[] = {
        {"Label1", "Combo1"}, {"Label2", "Combo2"}, {"Label4", "Combo4"}, {"Label5", "Combo5"},
        {"Label6", "Combo6"}, {"Label7", "Combo7"}, {"Label3", "Text1"},
    };
    for (const auto &[labelName, boxName] : headings) {
        const QLabel *label = find<QLabel>(window, labelName);
        QWidget *box = find<QWidget>(window, boxName);
        QVERIFY2(label && box, labelName);
        QCOMPARE(label->buddy(), box);
        QVERIFY(!box->accessibleDescription().isEmpty());
    }
    const std::pair<const char *, const char16_t *> names[] = {
        {"Text1", u"Criterion"}, {"Command1", u"Exit"}, {"Command3", u"Forecast Areas"}};
    for (const auto &[controlName, accessibleName] : names) {
        const QWidget *control = find<QWidget>(window, controlName);
        QVERIFY2(control, controlName);
        QCOMPARE(control->accessibleName(), QStringView(accessibleName));
    }
    const QWidget *knots = find<QWidget>(window, "Combo4");
    QVERIFY(knots);
    QCOMPARE(knots->accessibleDescription(), u"Wind speed in knots");
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
