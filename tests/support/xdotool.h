#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

// Runs xdotool while the program goes on handling events, as it does while
// the user clicks and types: the second click of a double-click meets the
// windows the first has opened.
inline bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForStarted(5000))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning) {
        if (timer.elapsed() > 10000) {
            process.kill();
            process.waitForFinished(1000);
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        process.waitForFinished(2);
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
