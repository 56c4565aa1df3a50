// Model-based test of the whole program through its user interface.
//
// randomWalk: a seeded random sequence of user actions (picks with the mouse
// and the arrow keys, typing and pasting, every window command, window-manager
// closes, bringing a panel to the front again, Exit). After every step the
// real windows are compared with a small model (modelwalk/flowmodel.h) and the
// rules that hold in every state are checked (modelwalk/invariants.h).
//
//   GALEVANE_WALK_SEED   seed of the walk (default 20240611)
//   GALEVANE_WALK_STEPS  number of steps (default 10000)
//
// A failure names the seed, the step and the last actions; rerun with that
// seed (and at least that many steps) to see it again.
//
// exploreWindowFlow: breadth-first over the window actions alone, every path
// replayed on fresh windows, up to six actions deep; from every state reached
// Exit and the closing of the main window are checked too.

#include "tests/ui/modelwalk/driver.h"
#include "tests/ui/modelwalk/flowmodel.h"
#include "tests/ui/modelwalk/invariants.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <deque>
#include <map>
#include <memory>
#include <set>

using namespace modelwalk;

namespace {

constexpr quint64 defaultSeed = 20240611;
constexpr int defaultSteps = 10000;
constexpr int explorationDepth = 6;

// One run of the program: fresh windows, the model at start-up and the
// checker, with the recent history for failure reports.
class Session
{
public:
    Session() { restart(); }

    // Ends this run's windows and starts the program afresh.
    QString restart()
    {
        m_flow.reset();
        m_flow = std::make_unique<FlowFixture>();
        m_model = Model{};
        m_invariants.reset();
        QWidget *main = m_flow->mainWindow();
        if (!settle([main] { return main->isActiveWindow(); }, 3000))
            return QStringLiteral("the main window did not become active at start-up");
        return check();
    }

    // Does one step on the program and in the model, lets the window system
    // settle and checks. Returns the problems found, or an empty string.
    QString run(const Step &step)
    {
        ++m_steps;
        m_recent.push_back(QStringLiteral("%1: %2").arg(m_steps).arg(step.describe()));
        if (m_recent.size() > 10)
            m_recent.pop_front();

        if (!m_model.canDo(step.action))
            return QStringLiteral("internal: %1 is not possible now").arg(step.describe());
        Driver driver(*m_flow);
        const QString driving = driver.perform(step, m_model);
        m_model.apply(step);
        if (!driving.isEmpty())
            return driving;
        // Activation is reported by the window system after the handler has
        // returned: wait (up to a second) for the state the model expects.
        settle([this] {
            const FlowState seen = observe(*m_flow);
            Model expected = m_model;
            return expected.adoptFront(seen.active) && seen == expected.flow;
        });
        const FlowState seen = observe(*m_flow);
        if (!m_model.adoptFront(seen.active))
            return QStringLiteral("the window system brought the hidden %1 window to the front")
                .arg(QString::fromLatin1(winName(*seen.active)));
        return check();
    }

    QString check()
    {
        const QStringList problems = m_invariants.check(*m_flow, m_model);
        return problems.join(u'\n');
    }

    [[nodiscard]] QString recentActions() const
    {
        QStringList lines(m_recent.begin(), m_recent.end());
        return lines.join(u'\n');
    }

    const Model &model() const { return m_model; }
    FlowFixture &flow() { return *m_flow; }
    int steps() const { return m_steps; }

private:
    std::unique_ptr<FlowFixture> m_flow;
    Model m_model;
    Invariants m_invariants;
    std::deque<QString> m_recent;
    int m_steps = 0;
};

// Texts a user might type or paste into a box.
class TextSource
{
public:
    explicit TextSource(QRandomGenerator &random)
        : m_random(random)
    {}

    QString forBox(int box)
    {
        const ScaleColumn column = allScaleColumns[std::size_t(box)];
        switch (m_random.bounded(9)) {
        case 0:
            return {};
        case 1:
            return printable(280 + int(m_random.bounded(40)));
        case 2:
            return nonAscii();
        case 3:
        case 4:
            return entry(column); // equal to an entry of its own list
        case 5:
            return entry(allScaleColumns[m_random.bounded(6)]);
        case 6: {
            const QString text = entry(column);
            return m_random.bounded(2) ? text.toLower() : text.toUpper();
        }
        case 7: {
            const QString text = entry(column);
            const char *forms[] = {" %1", "%1 ", "0%1", "%1.0", "+%1"};
            return QString::fromLatin1(forms[m_random.bounded(5)]).arg(text);
        }
        default:
            return printable(1 + int(m_random.bounded(12)));
        }
    }

    QString forCriterion()
    {
        switch (m_random.bounded(4)) {
        case 0:
            return {};
        case 1:
            return printable(280 + int(m_random.bounded(40)));
        case 2:
            return nonAscii();
        default:
            return uidriver::latin1(ScaleTable::row(int(m_random.bounded(13)))->criterion);
        }
    }

private:
    QString entry(ScaleColumn column)
    {
        return uidriver::latin1(ScaleTable::columnTexts(column)[m_random.bounded(13)]);
    }

    QString printable(int length)
    {
        static const QString characters = QStringLiteral(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-+&()!?'\"/#%*=<>");
        QString text;
        text.reserve(length);
        for (int i = 0; i < length; ++i)
            text += characters.at(m_random.bounded(int(characters.size())));
        return text;
    }

    QString nonAscii()
    {
        static const QStringList texts{
            QStringLiteral("\u00e9t\u00e9 \u6d77"),
            QStringLiteral("Windst\u00e4rke acht"),
            QStringLiteral(
                "\u0412\u0435\u0442\u0435\u0440 \u0441\u0438\u043b\u044c\u043d\u044b\u0439"),
            QStringLiteral("\u98a8\u529b 8"),
            QStringLiteral("Gale \u2265 8 \u00bd"),
            QStringLiteral("\u03b8\u03ac\u03bb\u03b1\u03c3\u03c3\u03b1"),
            QStringLiteral("Calm\u00e9"),
            QStringLiteral("\u0661\u0662"),
        };
        return texts.at(m_random.bounded(int(texts.size())));
    }

    QRandomGenerator &m_random;
};

// How often each action is chosen among those possible. Exit and closing the
// main window end a run; they are rare so that runs get long.
int weightOf(Action action)
{
    switch (action) {
    case Action::PickWithMouse:
        return 12;
    case Action::PickWithUp:
    case Action::PickWithDown:
        return 5;
    case Action::TypeIntoBox:
        return 8;
    case Action::PasteIntoBox:
        return 3;
    case Action::TypeIntoCriterion:
        return 2;
    case Action::Help:
    case Action::HelpOk:
    case Action::AboutOk:
    case Action::Back:
        return 6;
    case Action::AboutFromMain:
    case Action::AboutFromHelp:
    case Action::ForecastAreas:
        return 5;
    case Action::ReactivateHelp:
    case Action::ReactivateAbout:
        return 4;
    case Action::CloseHelp:
    case Action::CloseAbout:
    case Action::CloseMap:
        return 3;
    case Action::Exit:
    case Action::CloseMain:
        return 1;
    }
    return 0;
}

constexpr std::array allActions{
    Action::PickWithMouse,
    Action::PickWithUp,
    Action::PickWithDown,
    Action::TypeIntoBox,
    Action::PasteIntoBox,
    Action::TypeIntoCriterion,
    Action::Help,
    Action::AboutFromMain,
    Action::AboutFromHelp,
    Action::HelpOk,
    Action::AboutOk,
    Action::ForecastAreas,
    Action::Back,
    Action::CloseMain,
    Action::CloseHelp,
    Action::CloseAbout,
    Action::CloseMap,
    Action::ReactivateHelp,
    Action::ReactivateAbout,
    Action::Exit,
};

Step randomStep(const Model &model, QRandomGenerator &random, TextSource &texts)
{
    int total = 0;
    for (Action action : allActions)
        total += model.canDo(action) ? weightOf(action) : 0;
    int choice = int(random.bounded(total));
    Step step;
    for (Action action : allActions) {
        if (!model.canDo(action))
            continue;
        choice -= weightOf(action);
        if (choice < 0) {
            step.action = action;
            break;
        }
    }
    step.box = int(random.bounded(6));
    step.row = int(random.bounded(ScaleTable::rowCount));
    if (step.action == Action::TypeIntoBox || step.action == Action::PasteIntoBox)
        step.text = texts.forBox(step.box);
    else if (step.action == Action::TypeIntoCriterion)
        step.text = texts.forCriterion();
    if (step.action == Action::TypeIntoBox)
        step.finish = Finish(random.bounded(4));
    return step;
}

QString describePath(const std::vector<Step> &path)
{
    if (path.empty())
        return QStringLiteral("(start-up)");
    QStringList names;
    for (const Step &step : path)
        names << step.describe();
    return names.join(u" -> ");
}

// The offscreen platform warns at every Show (no raise()) and every list
// that opens (no keyboard grab); thousands of those would hide what matters.
QtMessageHandler previousHandler = nullptr;

void quietPlatformWarnings(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    if (type == QtWarningMsg && (message == u"This plugin does not support raise()" ||
                                 message == u"This plugin does not support grabbing the keyboard"))
        return;
    previousHandler(type, context, message);
}

} // namespace

class tst_ModelWalk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(quietPlatformWarnings); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }
    void exploreWindowFlow();
    void randomWalk();
};

void tst_ModelWalk::randomWalk()
{
    bool ok = false;
    quint64 seed = qEnvironmentVariable("GALEVANE_WALK_SEED").toULongLong(&ok);
    if (!ok)
        seed = defaultSeed;
    int steps = qEnvironmentVariableIntValue("GALEVANE_WALK_STEPS", &ok);
    if (!ok || steps < 0)
        steps = defaultSteps;
    qInfo("walk: seed %llu, %d steps (GALEVANE_WALK_SEED, GALEVANE_WALK_STEPS)", seed, steps);

    const std::array<quint32, 2> seedWords{quint32(seed), quint32(seed >> 32)};
    QRandomGenerator random(seedWords.data(), seedWords.data() + seedWords.size());
    TextSource texts(random);
    Session session;
    QElapsedTimer timer;
    timer.start();
    int runs = 1;
    std::map<Action, int> done;

    const auto failure = [&](const QString &problems) {
        return QStringLiteral("seed %1, step %2:\n%3\nlast actions:\n%4")
            .arg(seed)
            .arg(session.steps())
            .arg(problems, session.recentActions());
    };

    for (int i = 0; i < steps; ++i) {
        const Step step = randomStep(session.model(), random, texts);
        ++done[step.action];
        if (const QString problems = session.run(step); !problems.isEmpty())
            QFAIL(qPrintable(failure(problems)));
        if (session.model().flow.ended) {
            // Ended through Exit or the main window's closing (checked by
            // run: exit code 0, nothing left on screen): start again.
            ++runs;
            if (const QString problems = session.restart(); !problems.isEmpty())
                QFAIL(qPrintable(failure(u"after restart: "_qs + problems)));
        }
    }

    QStringList counts;
    for (const auto &[action, count] : done)
        counts << QStringLiteral("%1 %2").arg(QString::fromUtf8(actionName(action))).arg(count);
    qInfo("walk: %d steps in %d runs of the program, %lld ms", steps, runs, timer.elapsed());
    qInfo("walk: %s", qPrintable(counts.join(u", ")));
}

void tst_ModelWalk::exploreWindowFlow()
{
    // What the model says is reachable: the count the exploration must reach.
    const std::vector<Reachable> expected = reachableStates(explorationDepth);
    std::set<decltype(FlowState{}.shape())> expectedShapes;
    for (const Reachable &r : expected)
        expectedShapes.insert(r.state.shape());

    QElapsedTimer timer;
    timer.start();
    int replays = 0;

    // Replays a path on fresh windows, checking after every step.
    const auto replay = [&replays](const std::vector<Step> &path, Session &session) -> QString {
        ++replays;
        if (QString problems = session.restart(); !problems.isEmpty())
            return u"at start-up: "_qs + problems;
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (QString problems = session.run(path[i]); !problems.isEmpty())
                return QStringLiteral("after action %1 of %2:\n%3")
                    .arg(i + 1)
                    .arg(describePath(path), problems);
        }
        return {};
    };

    Session session;
    std::map<FlowState, std::vector<Step>> visited{{observe(session.flow()), {}}};
    std::deque<std::vector<Step>> queue{{}};
    while (!queue.empty()) {
        const std::vector<Step> path = queue.front();
        queue.pop_front();
        if (int(path.size()) >= explorationDepth)
            continue;
        Model atEnd;
        for (const Step &step : path)
            atEnd.apply(step);
        for (Action action : windowActions) {
            if (!atEnd.canDo(action) || atEnd.isTriedOnly(action))
                continue;
            auto longer = path;
            longer.push_back(Step{action});
            if (const QString problems = replay(longer, session); !problems.isEmpty())
                QFAIL(qPrintable(problems));
            const FlowState reached = observe(session.flow());
            if (visited.emplace(reached, longer).second)
                queue.push_back(std::move(longer));
        }
    }

    // The ways out, once from every state: Exit and closing the main window
    // end the program with status 0 and leave nothing on screen; with the
    // main window's input off they do nothing.
    int endings = 0;
    int refused = 0;
    for (const auto &[state, path] : visited) {
        for (Action way : {Action::Exit, Action::CloseMain}) {
            Model model;
            model.flow = state;
            if (!model.canDo(way))
                continue; // the main window is hidden
            auto withEnd = path;
            withEnd.push_back(Step{way});
            if (const QString problems = replay(withEnd, session); !problems.isEmpty())
                QFAIL(qPrintable(problems));
            if (session.model().flow.ended) {
                QVERIFY(session.flow().ended());
                QCOMPARE(session.flow().exitCode(), 0);
                QCOMPARE(visibleProgramWindows(), 0);
                ++endings;
            } else {
                QVERIFY(!session.flow().ended());
                ++refused;
            }
        }
    }

    std::set<decltype(FlowState{}.shape())> shapes;
    for (const auto &entry : visited)
        shapes.insert(entry.first.shape());
    qInfo("exploration: %zu states visited, %zu distinct in loaded/visible and input (the model "
          "reaches %zu and %zu); %d paths replayed, %d endings, %d refused, %lld ms",
          visited.size(), shapes.size(), expected.size(), expectedShapes.size(), replays, endings,
          refused, timer.elapsed());
    QVERIFY2(visited.size() >= expected.size(),
             qPrintable(QStringLiteral("%1 states visited, the model reaches %2")
                            .arg(visited.size())
                            .arg(expected.size())));
    QVERIFY2(shapes.size() >= expectedShapes.size(),
             qPrintable(QStringLiteral("%1 states visited, the model reaches %2")
                            .arg(shapes.size())
                            .arg(expectedShapes.size())));
}

QTEST_MAIN(tst_ModelWalk)
#include "tst_modelwalk.moc"
