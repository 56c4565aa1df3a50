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

// Where no window system can be reached, the line that says so.
QString refusalToStart(const char *program)
{
    const DisplayEnvironment environment = DisplayEnvironment::fromProcess();
    if (QString message = missingDisplayMessage(environment, QString::fromLocal8Bit(program));
        !message.isEmpty()) {
        return message;
    }
    if (const QString platform = preferredPlatform(environment); !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());
    return {};
}

} // namespace

int runProgram(int argc, char *argv[], const std::function<Form &()> &firstWindow)
{
    if (const QString refusal = refusalToStart(argv[0]); !refusal.isEmpty()) {
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
