#include "qt/startup/startup.h"

#include "core/forms/form.h"
#include "core/forms/windowregistry.h"
#include "qt/builder/qtformview.h"
#include "qt/builder/qtfrontend.h"
#include "qt/controls/qtfonts.h"
#include "qt/shell/formwindow.h"
#include "qt/startup/application.h"
#include "qt/startup/displaycheck.h"
#include "qt/startup/firstpaintprobe.h"

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
        QtFrontEnd frontEnd;
        WindowRegistry registry(frontEnd);
        Form &first = firstWindow();
        if (FirstPaintProbe::isRequested()) {
            first.Load();
            FirstPaintProbe::watch(*loadedWidget(first));
        }
        first.Show();
        return QApplication::exec();
    } catch (const std::exception &failure) {
        reportUnexpectedFailure(failure.what());
    }
    return unexpectedFailureExitCode;
}
