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
#include <cstring>
#include <exception>

namespace {

// Has Qt start on `platform`: set in the environment, and in place of any
// platform named on the command line, which would win over it.
void usePlatform(int argc, char *argv[], const QString &platform)
{
    static QByteArray name;
    name = platform.toLatin1();
    qputenv("QT_QPA_PLATFORM", name);
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            argv[++i] = name.data();
    }
}

// Chooses the window system; where none can be reached, the line that says
// so. Qt would otherwise abort with advice of its own.
QString refusalToStart(int argc, char *argv[])
{
    const DisplayEnvironment environment = DisplayEnvironment::fromProcess(argc, argv);
    const DisplayDecision decision = decideDisplay(environment, QString::fromLocal8Bit(argv[0]));
    if (!decision.notice.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(decision.notice));
    if (!decision.platform.isEmpty())
        usePlatform(argc, argv, decision.platform);
    return decision.problem;
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
