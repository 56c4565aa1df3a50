// A seeded random walk of the real windows on a real X server under a real
// window manager (run it through run-under-openbox.sh). Each step is one
// thing a user or the window manager does: a click or double-click anywhere
// in a window of the program (on a control, on the main window while its
// input is off, on a title bar, in an open drop-down list), the wheel, a key,
// a drag of a window, the window manager's close, minimise or move of a
// window. Input goes through the X server (xdotool, and client messages as a
// task bar or pager sends them), so the window manager sees it first.
//
// After every step, once the window system has settled, the walk checks
// that nothing strands the user:
//   - the program has a window on screen, and every window it shows is on
//     screen (none left minimised);
//   - the main window, or the map in its place, is on screen;
//   - the main window's input is off only while a panel (help or about) is
//     on screen, and every open panel lies above the main window in the
//     window manager's stacking order;
//   - a pick in a box has written one whole row of the scale into all six
//     boxes and the criterion.
// A state that breaks a rule and does not mend itself within a few seconds
// is a dead end. Exit (the Exit button, Alt+X, closing the main window) ends
// the program, which is a legal end: the walk starts the program afresh and
// goes on.
//
//   tst_realwalk [--seed N] [--steps N] [--seconds N] [QtTest options]
//
// GALEVANE_WALK_SEED, GALEVANE_WALK_STEPS and GALEVANE_WALK_SECONDS stand in
// for options not given. The walk stops at whichever limit comes first (with
// none given, after 200 steps). The seed is random unless given and is
// printed first; a failure prints it again with the last 20 steps.

#include "core/scale/scaletable.h"
#include "qt/controls/qtdesign.h"
#include "tests/support/flowfixture.h"
#include "tests/support/xdotool.h"
#include "tests/ui/modelwalk/flowmodel.h"

#include <QAbstractItemView>
#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct WalkLimits
{
    quint64 seed = 0;
    int steps = 0;   // 0: no limit
    int seconds = 0; // 0: no limit
};
WalkLimits limits;

constexpr int recentSteps = 20;
// How long a broken rule may take to mend itself before it counts: far longer
// than anything the window manager or the program takes on a loaded machine.
constexpr int deadEndMs = 4000;
// The window system counts as settled once no X event has come for this long
// and every activation timer of the program has run out.
constexpr int quietMs = 40;

// ---------------------------------------------------------------------------
// The X server, through Qt's own connection.

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template <class Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t *x11()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow()
{
    return xcb_setup_roots_iterator(xcb_get_setup(x11())).data->root;
}

xcb_atom_t atom(const char *name)
{
    const auto cookie = xcb_intern_atom(x11(), 0, uint16_t(qstrlen(name)), name);
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(x11(), cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window manager's stacking order of its client windows, bottom first.
std::vector<xcb_window_t> stackingOrder()
{
    const auto cookie = xcb_get_property(x11(), 0, rootWindow(), atom("_NET_CLIENT_LIST_STACKING"),
                                         XCB_ATOM_WINDOW, 0, 4096);
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(x11(), cookie, nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
    return {ids, ids + xcb_get_property_value_length(reply.get()) / 4};
}

int desktopCount()
{
    const auto cookie = xcb_get_property(x11(), 0, rootWindow(), atom("_NET_NUMBER_OF_DESKTOPS"),
                                         XCB_ATOM_CARDINAL, 0, 1);
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(x11(), cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4)
        return -1;
    return int(*static_cast<const uint32_t *>(xcb_get_property_value(reply.get())));
}

// Whether the X server shows the window: it and the frame it lies in are
// mapped.
bool isViewable(const QWidget *window)
{
    if (!window || !window->internalWinId())
        return false;
    const auto cookie = xcb_get_window_attributes(x11(), xcb_window_t(window->internalWinId()));
    const ReplyPtr<xcb_get_window_attributes_reply_t> reply(
        xcb_get_window_attributes_reply(x11(), cookie, nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// A request to the window manager about a window, as a task bar or pager
// sends it.
void askWindowManager(const QWidget &window, const char *request, std::array<uint32_t, 5> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window.internalWinId());
    message.type = atom(request);
    for (std::size_t i = 0; i < data.size(); ++i)
        message.data.data32[i] = data[i];
    xcb_send_event(x11(), 0, rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(x11());
}

void closeByWindowManager(const QWidget &window)
{
    constexpr uint32_t fromPager = 2;
    askWindowManager(window, "_NET_CLOSE_WINDOW", {XCB_CURRENT_TIME, fromPager, 0, 0, 0});
}

void minimiseByWindowManager(const QWidget &window)
{
    constexpr uint32_t iconicState = 3;
    askWindowManager(window, "WM_CHANGE_STATE", {iconicState, 0, 0, 0, 0});
}

QString number(int value)
{
    return QString::number(value);
}

// ---------------------------------------------------------------------------
// When the window system has settled: no X event for a while, and every
// activation the program waits out (FormWindow::defaultActivationSettleMs after the last
// report of one) decided.

class SettleWatch final : public QObject, public QAbstractNativeEventFilter
{
public:
    SettleWatch()
    {
        m_lastActivationReport.start();
        m_lastNativeEvent.start();
        qApp->installEventFilter(this);
        qApp->installNativeEventFilter(this);
    }
    ~SettleWatch() override
    {
        qApp->removeNativeEventFilter(this);
        qApp->removeEventFilter(this);
    }
    Q_DISABLE_COPY_MOVE(SettleWatch)

    [[nodiscard]] bool quiet() const
    {
        return m_lastActivationReport.elapsed() > FormWindow::defaultActivationSettleMs + quietMs &&
               m_lastNativeEvent.elapsed() > quietMs;
    }

    // Runs the event loop for at least `minimumMs` and then until the window
    // system is quiet; false if it is not quiet within `timeoutMs`.
    bool settle(int minimumMs = 30, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        // Quiet before and after one more round of the event loop: a timer
        // that came due in between has run.
        bool wasQuiet = false;
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const bool isQuiet = quiet();
            if (timer.elapsed() >= minimumMs && isQuiet && wasQuiet)
                return true;
            wasQuiet = isQuiet;
            if (timer.elapsed() > timeoutMs)
                return false;
            QTest::qSleep(2);
        }
    }

    bool nativeEventFilter(const QByteArray &, void *, qintptr *) override
    {
        m_lastNativeEvent.restart();
        return false;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((event->type() == QEvent::WindowActivate ||
             event->type() == QEvent::WindowDeactivate) &&
            dynamic_cast<FormWindow *>(watched))
            m_lastActivationReport.restart();
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer m_lastActivationReport;
    QElapsedTimer m_lastNativeEvent;
};

// ---------------------------------------------------------------------------
// The walk.

using modelwalk::allWins;
using modelwalk::Win;
using modelwalk::winName;

// Somewhere to click: a control, a window's background or title bar, or an
// entry of an open drop-down list, in screen coordinates.
struct Target
{
    QString name;
    QRect area;
};

class Walk
{
public:
    explicit Walk(quint64 seed)
        : m_random(seed)
    {}

    // Starts the program afresh; the problems found at start, if any.
    QString start()
    {
        m_flow.reset();
        m_settle.settle();
        m_flow = std::make_unique<FlowFixture>();
        m_lastPick.reset();
        for (ScaleColumn column : allScaleColumns) {
            ScaleComboBox &box = qtComboBox(m_flow->main().box(column));
            QObject::connect(&box, &ScaleComboBox::picked, &box, [this, column, &box] {
                m_lastPick = std::pair(column, box.currentText());
            });
        }
        QWidget *main = m_flow->mainWindow();
        // Whether it becomes the active window is the window manager's
        // business; that it is on screen is checked.
        if (!QTest::qWaitFor([main] { return main->isActiveWindow(); }, 5000))
            remember(QStringLiteral("   (the main window did not become active at start)"));
        m_settle.settle();
        return problemsThatLast();
    }

    // One random step and the checks after it; the problems found, if any.
    QString step()
    {
        ++m_steps;
        const QString done = doRandomStep();
        remember(done);
        if (!m_settle.settle())
            remember(QStringLiteral("   (the window system kept sending events for 10 s)"));
        if (m_flow->ended()) {
            ++m_ends;
            if (QString left = windowsLeftAfterEnd(); !left.isEmpty())
                return left;
            remember(QStringLiteral("   the program ended; started afresh"));
            return start();
        }
        return problemsThatLast();
    }

    [[nodiscard]] QString recent() const
    {
        return QStringList(m_recent.begin(), m_recent.end()).join(u'\n');
    }
    [[nodiscard]] int steps() const { return m_steps; }
    [[nodiscard]] int ends() const { return m_ends; }
    [[nodiscard]] int picksChecked() const { return m_picksChecked; }
    // Steps after which the main window's input was off, checked.
    [[nodiscard]] int inputOffSteps() const { return m_inputOffSteps; }

private:
    void remember(const QString &line)
    {
        m_recent.push_back(line.startsWith(u' ') ? line
                                                 : QStringLiteral("%1: %2").arg(m_steps).arg(line));
        while (m_recent.size() > recentSteps)
            m_recent.pop_front();
    }

    Form *form(Win win) const
    {
        switch (win) {
        case Win::Main:
            return m_flow->existing<frmWindScale>();
        case Win::Help:
            return m_flow->existing<frmhelp1>();
        case Win::About:
            return m_flow->existing<frmabout>();
        case Win::Map:
            return m_flow->existing<frmAreas>();
        }
        return nullptr;
    }

    QWidget *window(Win win) const
    {
        Form *f = form(win);
        return f ? loadedWidget(*f) : nullptr;
    }

    // The windows the program shows, whether or not they take input.
    std::vector<Win> shownWindows() const
    {
        std::vector<Win> shown;
        for (Win win : allWins) {
            if (QWidget *w = window(win); w && w->isVisible())
                shown.push_back(win);
        }
        return shown;
    }

    int below(int bound) { return int(m_random.bounded(quint32(bound))); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T> const T &oneOf(const std::vector<T> &items)
    {
        return items[std::size_t(below(int(items.size())))];
    }

    QPoint pointIn(const QRect &area)
    {
        const QRect inner =
            area.width() > 6 && area.height() > 6 ? area.adjusted(2, 2, -2, -2) : area;
        return {inner.left() + below(inner.width()), inner.top() + below(inner.height())};
    }

    std::vector<Target> targetsOf(Win win) const
    {
        std::vector<Target> targets;
        QWidget *w = window(win);
        if (!w)
            return targets;
        const QString prefix = QString::fromLatin1(winName(win));
        const QRect client(w->mapToGlobal(QPoint(0, 0)), w->size());
        targets.push_back({prefix + QStringLiteral(" background"), client});
        const QRect frame = w->frameGeometry();
        if (frame.top() < client.top() - 8) {
            // Clear of the icon at the left and the close box at the right.
            targets.push_back({prefix + QStringLiteral(" title bar"),
                               QRect(frame.left() + 24, frame.top() + 3, frame.width() - 70,
                                     client.top() - frame.top() - 6)});
        }
        for (QWidget *child : w->findChildren<QWidget *>()) {
            const QString name = child->objectName();
            if (name.isEmpty() || !child->isVisible() || child->window() != w ||
                name.startsWith(u"qt_"))
                continue;
            const QRect area = QRect(child->mapToGlobal(QPoint(0, 0)), child->size()) & client;
            if (!area.isEmpty())
                targets.push_back({prefix + u' ' + name, area});
        }
        return targets;
    }

    // The arrow of one of the main window's boxes, which opens its list.
    Target boxArrow()
    {
        const ScaleColumn column = allScaleColumns[std::size_t(below(6))];
        ScaleComboBox &box = qtComboBox(m_flow->main().box(column));
        constexpr int arrowWidth = 16;
        const QRect area(box.mapToGlobal(QPoint(box.width() - arrowWidth, 0)),
                         QSize(arrowWidth, box.height()));
        return {QStringLiteral("main %1 arrow").arg(QString::fromLatin1(boxName(column))), area};
    }

    // The entries of a drop-down list that is open, if one is.
    std::vector<Target> openListEntries() const
    {
        std::vector<Target> entries;
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            return entries;
        auto *view = popup->findChild<QAbstractItemView *>();
        if (!view)
            return entries;
        const QRect shown(view->viewport()->mapToGlobal(QPoint(0, 0)), view->viewport()->size());
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QRect item = view->visualRect(view->model()->index(row, 0));
            const QRect area =
                QRect(view->viewport()->mapToGlobal(item.topLeft()), item.size()) & shown;
            if (!area.isEmpty())
                entries.push_back({QStringLiteral("list entry %1").arg(row), area});
        }
        return entries;
    }

    // Where to click now: most often an entry of an open list, otherwise
    // anything in any window shown, the main window included when its input
    // is off.
    Target randomTarget()
    {
        if (const auto entries = openListEntries(); !entries.empty() && chance(70))
            return oneOf(entries);
        const std::vector<Win> shown = shownWindows();
        if (shown.empty())
            return {QStringLiteral("the screen"), QGuiApplication::primaryScreen()->geometry()};
        const Win win = oneOf(shown);
        if (win == Win::Main && chance(35))
            return boxArrow();
        const std::vector<Target> targets = targetsOf(win);
        // Exit ends the program: asked for less often than the rest, so that
        // the walk spends its steps inside the program.
        const Target &target = oneOf(targets);
        if (target.name == u"main Command1" && !chance(15))
            return oneOf(targets);
        return target;
    }

    QString doRandomStep()
    {
        const int roll = below(100);
        if (roll < 42)
            return click(1);
        if (roll < 50)
            return click(2);
        if (roll < 54)
            return wheel();
        if (roll < 76)
            return key();
        if (roll < 83)
            return windowManagerRequest(true);
        if (roll < 90)
            return windowManagerRequest(false);
        return move();
    }

    QString click(int clicks)
    {
        const Target target = randomTarget();
        const QPoint at = pointIn(target.area);
        QStringList arguments{QStringLiteral("mousemove"), number(at.x()), number(at.y()),
                              QStringLiteral("click")};
        if (clicks > 1)
            arguments << QStringLiteral("--repeat") << number(clicks) << QStringLiteral("--delay")
                      << QStringLiteral("80");
        arguments << QStringLiteral("1");
        xdotool(arguments);
        return QStringLiteral("%1 on %2 at %3,%4")
            .arg(clicks > 1 ? QStringLiteral("double-click") : QStringLiteral("click"), target.name)
            .arg(at.x())
            .arg(at.y());
    }

    QString wheel()
    {
        const Target target = randomTarget();
        const QPoint at = pointIn(target.area);
        const bool up = chance(50);
        xdotool({QStringLiteral("mousemove"), number(at.x()), number(at.y()),
                 QStringLiteral("click"), up ? QStringLiteral("4") : QStringLiteral("5")});
        return QStringLiteral("wheel %1 on %2 at %3,%4")
            .arg(up ? QStringLiteral("up") : QStringLiteral("down"), target.name)
            .arg(at.x())
            .arg(at.y());
    }

    QString key()
    {
        static const std::vector<QString> keys{
            QStringLiteral("Tab"),       QStringLiteral("shift+Tab"),  QStringLiteral("Up"),
            QStringLiteral("Down"),      QStringLiteral("Return"),     QStringLiteral("KP_Enter"),
            QStringLiteral("space"),     QStringLiteral("Escape"),     QStringLiteral("alt+F4"),
            QStringLiteral("alt+x"),     QStringLiteral("alt+Escape"), QStringLiteral("alt+Tab"),
            QStringLiteral("alt+space"), QStringLiteral("5"),          QStringLiteral("g"),
            QStringLiteral("BackSpace"),
        };
        QString key = oneOf(keys);
        // Keys that end the program, like the Exit button, less often than
        // the rest.
        const bool onMain =
            QApplication::activeWindow() == window(Win::Main) && window(Win::Main)->isEnabled();
        if (onMain && (key == u"alt+x" || key == u"alt+F4") && !chance(15))
            key = oneOf(keys);
        const QString active = activeWindowName();
        if (key == u"alt+space") {
            // The window manager's menu of the active window, then one of its
            // entries (Iconify, Close) or Escape; Escape again in case the
            // entry was not there, so that no menu is left open.
            static const std::vector<QString> entries{QStringLiteral("n"), QStringLiteral("c"),
                                                      QStringLiteral("Escape")};
            QString entry = oneOf(entries);
            if (onMain && entry == u"c" && !chance(15))
                entry = QStringLiteral("Escape");
            xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                     QStringLiteral("alt+space"), QStringLiteral("sleep"), QStringLiteral("0.2"),
                     QStringLiteral("key"), entry, QStringLiteral("sleep"), QStringLiteral("0.1"),
                     QStringLiteral("key"), QStringLiteral("Escape")});
            return QStringLiteral("alt+space, %1, Escape (active: %2)").arg(entry, active);
        }
        xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
        return QStringLiteral("key %1 (active: %2)").arg(key, active);
    }

    QString activeWindowName() const
    {
        QWidget *active = QApplication::activeWindow();
        if (!active)
            return QStringLiteral("none");
        for (Win win : allWins) {
            if (window(win) == active)
                return QString::fromLatin1(winName(win));
        }
        return QApplication::activePopupWidget() ? QStringLiteral("a list")
                                                 : QStringLiteral("another");
    }

    // The window manager closes or minimises one of the windows shown, as a
    // task bar or pager asks it to.
    QString windowManagerRequest(bool close)
    {
        const std::vector<Win> shown = shownWindows();
        if (shown.empty())
            return QStringLiteral("no window to close or minimise");
        Win win = oneOf(shown);
        // Closing the main window ends the program: less often than the rest.
        if (close && win == Win::Main && window(win)->isEnabled() && !chance(15))
            win = oneOf(shown);
        QWidget *w = window(win);
        if (close)
            closeByWindowManager(*w);
        else
            minimiseByWindowManager(*w);
        return QStringLiteral("window manager %1 %2")
            .arg(close ? QStringLiteral("closes") : QStringLiteral("minimises"),
                 QString::fromLatin1(winName(win)));
    }

    // A window moved: dragged by its title bar, dragged with Alt held (the
    // window manager moves any window so, the panels too), or moved by a
    // pager.
    QString move()
    {
        const std::vector<Win> shown = shownWindows();
        if (shown.empty())
            return QStringLiteral("no window to move");
        const Win win = oneOf(shown);
        QWidget *w = window(win);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = w->frameGeometry();
        const QPoint to(below(qMax(1, screen.width() - frame.width() / 2)),
                        below(qMax(1, screen.height() - frame.height() / 2)));
        const int how = below(3);
        const QPoint client = w->mapToGlobal(QPoint(0, 0));
        const bool titled = frame.top() < client.y() - 8;
        if (how == 0 && titled) {
            const QPoint grab(frame.left() + frame.width() / 2, frame.top() + 6);
            const QPoint drop = grab + (to - frame.topLeft());
            xdotool({QStringLiteral("mousemove"), number(grab.x()), number(grab.y()),
                     QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
                     number(grab.x() + 10), number(grab.y() + 10), QStringLiteral("sleep"),
                     QStringLiteral("0.05"), QStringLiteral("mousemove"), number(drop.x()),
                     number(drop.y()), QStringLiteral("sleep"), QStringLiteral("0.05"),
                     QStringLiteral("mouseup"), QStringLiteral("1")});
            return QStringLiteral("drag %1 by its title bar to %2,%3")
                .arg(QString::fromLatin1(winName(win)))
                .arg(to.x())
                .arg(to.y());
        }
        if (how == 1) {
            const QPoint grab = client + QPoint(w->width() / 2, 8);
            const QPoint drop = grab + (to - frame.topLeft());
            xdotool({QStringLiteral("mousemove"),
                     number(grab.x()),
                     number(grab.y()),
                     QStringLiteral("keydown"),
                     QStringLiteral("alt"),
                     QStringLiteral("mousedown"),
                     QStringLiteral("1"),
                     QStringLiteral("mousemove"),
                     number(grab.x() + 10),
                     number(grab.y() + 10),
                     QStringLiteral("sleep"),
                     QStringLiteral("0.05"),
                     QStringLiteral("mousemove"),
                     number(drop.x()),
                     number(drop.y()),
                     QStringLiteral("sleep"),
                     QStringLiteral("0.05"),
                     QStringLiteral("mouseup"),
                     QStringLiteral("1"),
                     QStringLiteral("keyup"),
                     QStringLiteral("alt")});
            return QStringLiteral("alt+drag %1 to %2,%3")
                .arg(QString::fromLatin1(winName(win)))
                .arg(to.x())
                .arg(to.y());
        }
        xdotool({QStringLiteral("windowmove"), QString::number(w->winId()), number(to.x()),
                 number(to.y())});
        return QStringLiteral("pager moves %1 to %2,%3")
            .arg(QString::fromLatin1(winName(win)))
            .arg(to.x())
            .arg(to.y());
    }

    // ---- checks

    QString windowsLeftAfterEnd() const
    {
        QStringList left;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (dynamic_cast<FormWindow *>(widget) && isViewable(widget))
                left << widget->objectName();
        }
        return left.isEmpty()
                   ? QString()
                   : QStringLiteral("windows still on screen after End: %1").arg(left.join(u", "));
    }

    // Everything that is wrong now.
    QStringList problems()
    {
        QStringList found;
        const std::vector<Win> shown = shownWindows();
        int onScreen = 0;
        for (Win win : shown) {
            if (isViewable(window(win)))
                ++onScreen;
            else
                found << QStringLiteral("the %1 window is shown but not on screen")
                             .arg(QString::fromLatin1(winName(win)));
        }
        if (onScreen == 0)
            found << QStringLiteral("no window of the program is on screen");

        QWidget *main = window(Win::Main);
        const bool mainOnScreen = main && main->isVisible() && isViewable(main);
        QWidget *map = window(Win::Map);
        if (!mainOnScreen && !(map && map->isVisible() && isViewable(map)))
            found << QStringLiteral("neither the main window nor the map is on screen");

        if (main && !main->isEnabled()) {
            int panelsOnScreen = 0;
            const std::vector<xcb_window_t> order = stackingOrder();
            const auto position = [&order](const QWidget *w) {
                return std::find(order.begin(), order.end(), xcb_window_t(w->internalWinId())) -
                       order.begin();
            };
            for (Win panel : {Win::Help, Win::About}) {
                QWidget *p = window(panel);
                if (!p || !p->isVisible() || !isViewable(p))
                    continue;
                ++panelsOnScreen;
                if (mainOnScreen && position(p) < position(main))
                    found << QStringLiteral("the main window's input is off and the %1 window "
                                            "lies under it")
                                 .arg(QString::fromLatin1(winName(panel)));
            }
            if (panelsOnScreen == 0)
                found << QStringLiteral(
                    "the main window's input is off with neither help nor about on screen");
        }

        if (m_lastPick && main) {
            const auto &[column, text] = *m_lastPick;
            frmWindScale &mainForm = m_flow->main();
            if (const ScaleRow *row = ScaleTable::findRow(column, utf16View(text))) {
                for (ScaleColumn other : allScaleColumns) {
                    const QString expected = uidriver::latin1(row->text(other));
                    const QString seen = qtComboBox(mainForm.box(other)).currentText();
                    if (other == column ? seen != text : seen != expected)
                        found << QStringLiteral("after a pick of \"%1\" in %2, %3 shows \"%4\", "
                                                "not \"%5\"")
                                     .arg(text, QString::fromLatin1(boxName(column)),
                                          QString::fromLatin1(boxName(other)), seen,
                                          other == column ? text : expected);
                }
                if (qtTextBox(mainForm.Text1()).toPlainText() != uidriver::latin1(row->criterion))
                    found << QStringLiteral("after a pick of \"%1\" the criterion is not row %2's")
                                 .arg(text)
                                 .arg(row->force);
            } else {
                found << QStringLiteral("a pick in %1 left \"%2\", which is no entry")
                             .arg(QString::fromLatin1(boxName(column)), text);
            }
        }
        return found;
    }

    // The problems that do not go away while the window system settles for
    // a few seconds more.
    QString problemsThatLast()
    {
        QElapsedTimer since;
        since.start();
        QStringList found = problems();
        while (!found.isEmpty() && since.elapsed() < deadEndMs) {
            m_settle.settle(100);
            found = problems();
        }
        if (m_lastPick && found.isEmpty())
            ++m_picksChecked;
        if (QWidget *main = window(Win::Main); found.isEmpty() && main && !main->isEnabled())
            ++m_inputOffSteps;
        m_lastPick.reset();
        if (found.isEmpty())
            return {};
        return found.join(u'\n') + QStringLiteral("\n") + stackingReport();
    }

    QString stackingReport() const
    {
        QStringList names;
        for (xcb_window_t id : stackingOrder()) {
            QString name = QString::number(id, 16);
            for (Win win : allWins) {
                QWidget *w = window(win);
                if (w && xcb_window_t(w->internalWinId()) == id)
                    name = QString::fromLatin1(winName(win)) +
                           (w->isEnabled() ? QString() : QStringLiteral(" (input off)")) +
                           (isViewable(w) ? QString() : QStringLiteral(" (not on screen)"));
            }
            names << name;
        }
        return QStringLiteral("stacking, bottom first: %1; active: %2")
            .arg(names.join(u", "), activeWindowName());
    }

    QRandomGenerator64 m_random;
    SettleWatch m_settle;
    std::unique_ptr<FlowFixture> m_flow;
    std::optional<std::pair<ScaleColumn, QString>> m_lastPick;
    std::deque<QString> m_recent;
    int m_steps = 0;
    int m_ends = 0;
    int m_picksChecked = 0;
    int m_inputOffSteps = 0;
};

} // namespace

class tst_RealWalk : public QObject
{
    Q_OBJECT

private slots:
    void walk();
};

void tst_RealWalk::walk()
{
    const int stepLimit = limits.steps > 0 || limits.seconds > 0 ? limits.steps : 200;
    qInfo("walk: seed %llu, %s steps, %s seconds", limits.seed,
          stepLimit > 0 ? qPrintable(QString::number(stepLimit)) : "any number of",
          limits.seconds > 0 ? qPrintable(QString::number(limits.seconds)) : "any number of");
    QElapsedTimer clock;
    clock.start();
    // One desktop. The window manager switches desktops on the wheel over
    // the desktop background, where the walk's clicks and wheel turns may
    // land; that takes every window of the program off the screen by the
    // user's choice, not the program's.
    QVERIFY(xdotool({QStringLiteral("set_num_desktops"), QStringLiteral("1")}));
    QVERIFY(QTest::qWaitFor([] { return desktopCount() == 1; }, 5000));
    Walk walk(limits.seed);
    const auto fail = [&walk](const QString &problems) {
        return QStringLiteral("seed %1, step %2:\n%3\nlast steps:\n%4")
            .arg(limits.seed)
            .arg(walk.steps())
            .arg(problems, walk.recent());
    };
    if (const QString problems = walk.start(); !problems.isEmpty())
        QFAIL(qPrintable(fail(problems)));
    while ((stepLimit == 0 || walk.steps() < stepLimit) &&
           (limits.seconds == 0 || clock.elapsed() < qint64(limits.seconds) * 1000)) {
        if (const QString problems = walk.step(); !problems.isEmpty())
            QFAIL(qPrintable(fail(problems)));
        if (walk.steps() % 1000 == 0)
            qInfo("walk: %d steps, %d ends, %d picks checked, %d with input off, %lld s",
                  walk.steps(), walk.ends(), walk.picksChecked(), walk.inputOffSteps(),
                  clock.elapsed() / 1000);
    }
    qInfo("walk: seed %llu, %d steps in %lld s, %d ends of the program (started afresh), %d picks "
          "checked, %d steps with the main window's input off, 0 dead ends",
          limits.seed, walk.steps(), clock.elapsed() / 1000, walk.ends(), walk.picksChecked(),
          walk.inputOffSteps());
}

namespace {

// The walk's own options, taken out of the command line before QtTest reads
// it; the environment stands in for those not given.
bool takeWalkOptions(std::vector<char *> &arguments)
{
    bool seedGiven = false;
    const auto fromEnvironment = [](const char *name, auto &value) {
        bool ok = false;
        const QByteArray text = qgetenv(name);
        if (text.isEmpty())
            return false;
        value = decltype(+value)(text.toULongLong(&ok));
        return ok;
    };
    seedGiven = fromEnvironment("GALEVANE_WALK_SEED", limits.seed);
    fromEnvironment("GALEVANE_WALK_STEPS", limits.steps);
    fromEnvironment("GALEVANE_WALK_SECONDS", limits.seconds);
    for (auto it = arguments.begin() + 1; it != arguments.end();) {
        const QByteArray option(*it);
        if ((option == "--seed" || option == "--steps" || option == "--seconds") &&
            it + 1 != arguments.end()) {
            bool ok = false;
            const qulonglong value = QByteArray(*(it + 1)).toULongLong(&ok);
            if (!ok) {
                std::fprintf(stderr, "tst_realwalk: %s takes a number\n", *it);
                return false;
            }
            if (option == "--seed") {
                limits.seed = value;
                seedGiven = true;
            } else if (option == "--steps") {
                limits.steps = int(value);
            } else {
                limits.seconds = int(value);
            }
            it = arguments.erase(it, it + 2);
        } else {
            ++it;
        }
    }
    if (!seedGiven)
        limits.seed = QRandomGenerator::system()->generate64() % 1000000000u;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<char *> arguments(argv, argv + argc);
    if (!takeWalkOptions(arguments))
        return 2;
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    QApplication app(count, arguments.data());
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11()) {
        std::fprintf(stderr, "tst_realwalk: needs an X server (run it through "
                             "run-under-openbox.sh)\n");
        return 2;
    }
    // The walk is one test function that runs as long as its limits say, not
    // QtTest's five minutes.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(7 * 24 * 3600 * 1000LL));
    tst_RealWalk test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, count, arguments.data());
}

#include "tst_realwalk.moc"
