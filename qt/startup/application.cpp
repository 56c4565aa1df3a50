#include "qt/startup/application.h"

#include "core/identity.h"

#include <cstdio>
#include <exception>

namespace {

// Sets the program's name, version and organisation on the application.
void describeApplication()
{
    QCoreApplication::setApplicationName(QStringView(galevane::applicationName).toString());
    QCoreApplication::setApplicationVersion(QStringView(galevane::displayVersion).toString());
    QCoreApplication::setOrganizationName(QStringLiteral("Quayforth"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quayforth.co.uk"));
    QGuiApplication::setDesktopFileName(QStringView(galevane::applicationId).toString());
}

} // namespace

GalevaneApplication::GalevaneApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    describeApplication();
}

bool GalevaneApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &failure) {
        reportUnexpectedFailure(failure.what());
    } catch (...) {
        reportUnexpectedFailure("unknown exception");
    }
    // Nothing after a failed handler can be trusted: end like End does, but
    // with a failing status.
    QCoreApplication::exit(unexpectedFailureExitCode);
    return false;
}

void reportUnexpectedFailure(const char *what)
{
    std::fprintf(stderr, "galevane: unexpected failure, the program must end: %s\n", what);
    std::fflush(stderr);
}
