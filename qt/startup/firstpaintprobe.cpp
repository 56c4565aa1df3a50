#include "qt/startup/firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

void printTime(const char *label)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf(
        "%s %lld\n", label,
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
}

// Out-of-line points for a profiler to start and stop counting at. The asm
// statements keep the compiler from dropping the calls, and differ so that
// the two functions are not folded into one.
#if defined(__GNUC__)
#define GALEVANE_PROFILER_POINT(text) asm volatile("# " text)
#else
#define GALEVANE_PROFILER_POINT(text)
#endif

[[gnu::noinline]] void galevaneOpeningClicked()
{
    GALEVANE_PROFILER_POINT("opening clicked");
}

[[gnu::noinline]] void galevaneOpeningPainted()
{
    GALEVANE_PROFILER_POINT("opening painted");
}

void sendMouse(QWidget &target, QEvent::Type type, Qt::MouseButtons buttons)
{
    const QPointF local = QRectF(target.rect()).center();
    QMouseEvent event(type, local, local, target.mapToGlobal(local), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

} // namespace

FirstPaintProbe::FirstPaintProbe(QWidget &window, QString clickTarget)
    : QObject(&window)
    , m_window(window)
    , m_clickTarget(std::move(clickTarget))
{}

bool FirstPaintProbe::isRequested()
{
    return qEnvironmentVariableIsSet("GALEVANE_REPORT_FIRST_PAINT");
}

void FirstPaintProbe::watch(QWidget &window)
{
    auto *probe =
        new FirstPaintProbe(window, qEnvironmentVariable("GALEVANE_OPEN_AFTER_FIRST_PAINT"));
    window.installEventFilter(probe);
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QObject::eventFilter(watched, event);
    switch (m_stage) {
    case Stage::MainWindow:
        if (watched != &m_window)
            return false;
        m_stage = Stage::Done;
        m_window.removeEventFilter(this);
        // Let the paint happen, then report from the next turn of the event
        // loop.
        QMetaObject::invokeMethod(
            this,
            [this] {
                printTime("first-paint-ns");
                if (m_clickTarget.isEmpty())
                    QCoreApplication::exit(0);
                else
                    clickTarget();
            },
            Qt::QueuedConnection);
        return false;
    case Stage::Opening: {
        // Watching every object: the first paint of a top-level window other
        // than the main one ends the opening.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || !widget->isWindow() || widget == &m_window)
            return false;
        m_stage = Stage::Done;
        QCoreApplication::instance()->removeEventFilter(this);
        QMetaObject::invokeMethod(
            this,
            [] {
                galevaneOpeningPainted();
                printTime("window-paint-ns");
                QCoreApplication::exit(0);
            },
            Qt::QueuedConnection);
        return false;
    }
    case Stage::Done:
        break;
    }
    return false;
}

void FirstPaintProbe::clickTarget()
{
    auto *target = m_window.findChild<QWidget *>(m_clickTarget);
    if (!target) {
        std::fprintf(stderr, "first paint probe: no control named %s\n", qPrintable(m_clickTarget));
        QCoreApplication::exit(2);
        return;
    }
    m_stage = Stage::Opening;
    QCoreApplication::instance()->installEventFilter(this);
    printTime("click-ns");
    galevaneOpeningClicked();
    sendMouse(*target, QEvent::MouseButtonPress, Qt::LeftButton);
    sendMouse(*target, QEvent::MouseButtonRelease, Qt::NoButton);
}
