#include "application.h"

#include "windowregistry.h"

#include <cstdio>
#include <exception>

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

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Galevane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.00"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quayforth"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quayforth.co.uk"));
    QGuiApplication::setDesktopFileName(QStringLiteral("uk.co.quayforth.Galevane"));
}

void reportUnexpectedFailure(const char *what)
{
    std::fprintf(stderr, "galevane: unexpected failure, the program must end: %s\n", what);
    std::fflush(stderr);
}
