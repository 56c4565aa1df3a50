#include "application.h"
#include "designfonts.h"
#include "displaycheck.h"
#include "firstpaintprobe.h"
#include "formwindow.h"
#include "frmwindscale.h"
#include "windowregistry.h"

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    DisplayEnvironment environment = DisplayEnvironment::fromProcess(argc, argv);
    if (const QString platform = preferredPlatform(environment); !platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());
        environment.platform = platform;
    }
    // Without a display server Qt would abort with advice of its own; the
    // program says in one line what it tried and how to run without a screen.
    if (const QString message = displayProblem(environment, QString::fromLocal8Bit(argv[0]));
        !message.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 2;
    }

    GalevaneApplication app(argc, argv);
    // The program ends only through End, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    registerFontSubstitutions();
    // Every control names its font; the default is the dialog font's stand-in,
    // so no other font file is read at start-up.
    QApplication::setFont(designFont({DesignFace::MsSansSerif, 8.25, false, false}));

    try {
        WindowRegistry registry;
        registry.setEndAction([](int exitCode) { QCoreApplication::exit(exitCode); });
        if (FirstPaintProbe::isRequested())
            FirstPaintProbe::watch(defaultInstance<frmWindScale>().window());
        defaultInstance<frmWindScale>().Show();
        return QApplication::exec();
    } catch (const std::exception &failure) {
        reportUnexpectedFailure(failure.what());
    }
    return unexpectedFailureExitCode;
}
