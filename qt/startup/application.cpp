#include "qt/startup/application.h"

#include "core/identity.h"
#include "qt/controls/applicationlook.h"

#include <cstdio>
#include <cstring>
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

constexpr const char *styleOverrideVariable = "QT_STYLE_OVERRIDE";

} // namespace

DesktopStyleSetAside::DesktopStyleSetAside(int &argc, char **argv)
    : m_styleOverride(qgetenv(styleOverrideVariable))
    , m_hadStyleOverride(qEnvironmentVariableIsSet(styleOverrideVariable))
{
    dropStyleOptions(argc, argv);
    if (m_hadStyleOverride)
        qunsetenv(styleOverrideVariable);
    useDesignStyle();
}

void DesktopStyleSetAside::restoreEnvironment()
{
    if (m_hadStyleOverride)
        qputenv(styleOverrideVariable, m_styleOverride);
}

void dropStyleOptions(int &argc, char **argv)
{
    int kept = argc > 0 ? 1 : 0;
    for (int i = kept; i < argc; ++i) {
        const char *option = argv[i];
        if (std::strncmp(option, "--", 2) == 0)
            ++option;
        if (std::strcmp(option, "-style") == 0 && i + 1 < argc) {
            ++i; // and its value
            continue;
        }
        if (std::strncmp(option, "-style=", 7) == 0)
            continue;
        argv[kept++] = argv[i];
    }
    for (int i = kept; i < argc; ++i)
        argv[i] = nullptr;
    argc = kept;
}

GalevaneApplication::GalevaneApplication(int &argc, char **argv)
    : DesktopStyleSetAside(argc, argv)
    , QApplication(argc, argv)
{
    restoreEnvironment();
    describeApplication();
    useDesignLook();
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
