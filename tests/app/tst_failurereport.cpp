// Runs the real application object, lets a handler fail with an exception,
// and checks that the program ends with the failing status after one report.

#include "core/identity.h"
#include "qt/startup/application.h"

#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

namespace {

class FailingHandler final : public QObject
{
protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("handler broke");
        return QObject::event(event);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    GalevaneApplication app(argc, argv);
    if (QCoreApplication::applicationName() != QStringView(galevane::applicationName) ||
        QCoreApplication::applicationVersion() != QStringView(galevane::displayVersion) ||
        QCoreApplication::organizationName() != u"Quayforth") {
        std::puts("application description is wrong");
        return 1;
    }
    FailingHandler handler;
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    // Should the failure go unnoticed, the loop would otherwise run on.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(0); });
    const int status = QApplication::exec();
    if (status != unexpectedFailureExitCode) {
        std::printf("exit status %d, expected %d\n", status, unexpectedFailureExitCode);
        return 1;
    }
    std::printf("exit status %d as expected\n", status);
    return 0;
}
