#include "startup/firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

bool FirstPaintProbe::isRequested()
{
    return qEnvironmentVariableIsSet("GALEVANE_REPORT_FIRST_PAINT");
}

void FirstPaintProbe::watch(QWidget &window)
{
    window.installEventFilter(new FirstPaintProbe(&window));
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || m_reported)
        return QObject::eventFilter(watched, event);
    m_reported = true;
    // Let the paint happen, then report from the next turn of the event loop.
    QMetaObject::invokeMethod(
        this,
        [] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("first-paint-ns %lld\n",
                        static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        },
        Qt::QueuedConnection);
    return false;
}
