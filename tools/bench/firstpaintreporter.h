#pragma once

// The first-paint report of the benchmark programs, the same line at the same
// point as the program's own: with GALEVANE_REPORT_FIRST_PAINT set, prints
//     first-paint-ns <std::chrono::steady_clock nanoseconds>
// once the watched window's first paint pass has finished, and exits 0.
// Plain Qt only: the floors link nothing of the program.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <chrono>
#include <cstdio>

// Waits for the window's first Paint event, then lets the rest of that paint
// pass (children, flush to the window system) finish before taking the time:
// the queued call runs on the next turn of the event loop.
class FirstPaintReporter final : public QObject
{
public:
    using QObject::QObject;

    // Watches `window` when the report is asked for; owned by the window.
    static void watchIfRequested(QObject &window)
    {
        if (qEnvironmentVariableIsSet("GALEVANE_REPORT_FIRST_PAINT"))
            window.installEventFilter(new FirstPaintReporter(&window));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    const auto now = std::chrono::steady_clock::now().time_since_epoch();
                    std::printf(
                        "first-paint-ns %lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
