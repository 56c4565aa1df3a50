#include "startup/startup.h"

#include "shell/form.h"
#include "shell/formwindow.h"
#include "shell/windowregistry.h"
#include "startup/application.h"
#include "startup/displaycheck.h"
#include "startup/firstpaintprobe.h"
#include "ui/controls/designfonts.h"

#include <cstdio>
#include <exception>

namespace {

// Chooses the window system; where none can be reached, the line that says
// so. Qt would otherwise abort with advice of its own.
QString refusalToStart(int argc, char *argv[])
{
    DisplayEnvironment environment = DisplayEnvironment::fromProcess(argc, argv);
    if (const QString platform = preferredPlatform(environment); !platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());
        environment.platform = platform;
    }
    return displayProblem(environment, QString::fromLocal8Bit(argv[0]));
}

} // namespace

int runProgram(int argc, char *argv[], const std::function<Form &()> &firstWindow)
{
    if (const QString refusal = refusalToStart(argc, argv); !refusal.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(refusal));
        return noDisplayExitCode;
    }
    GalevaneApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    useDesignFonts();
    try {
        WindowRegistry registry;
        registry.setEndAction([](int exitCode) { QCoreApplication::exit(exitCode); });
        Form &first = firstWindow();
        if (FirstPaintProbe::isRequested())
            FirstPaintProbe::watch(first.window());
        first.Show();
        return QApplication::exec();
    } catch (const std::exception &failure) {
        reportUnexpectedFailure(failure.what());
    }
    return unexpectedFailureExitCode;
}
