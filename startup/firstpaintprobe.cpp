#include "startup/firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <chrono>
#include <cstdio>

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
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("first-paint-ns %lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        },
        Qt::QueuedConnection);
    return false;
}
