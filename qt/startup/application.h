#pragma once

#include <QApplication>
#include <QByteArray>

// Sets aside, while the application object is made, the style the desktop
// or the command line names for every Qt program (QT_STYLE_OVERRIDE,
// -style), which Qt would otherwise load from its plugin at once, only for
// Galevane to draw in its own, and gives Qt the program's style instead
// before it would make one of its own. The command line loses its style
// options; the environment gets its variable back once the application
// object exists, for the programs Galevane starts.
class DesktopStyleSetAside
{
protected:
    DesktopStyleSetAside(int &argc, char **argv);
    ~DesktopStyleSetAside() = default;
    Q_DISABLE_COPY_MOVE(DesktopStyleSetAside)

    void restoreEnvironment();

private:
    QByteArray m_styleOverride;
    bool m_hadStyleOverride = false;
};

// Removes Qt's style options (-style NAME, -style=NAME, also with two
// dashes) from a command line, in place, keeping argv[argc] null.
void dropStyleOptions(int &argc, char **argv);

// The application object: names the program, draws every window in the
// design's own style and palette (qt/controls/applicationlook.h) and turns any
// failure that escapes an event handler into one clear report and a non-zero
// exit.
class GalevaneApplication final : private DesktopStyleSetAside, public QApplication
{
public:
    GalevaneApplication(int &argc, char **argv);
    Q_DISABLE_COPY_MOVE(GalevaneApplication)

    bool notify(QObject *receiver, QEvent *event) override;
};

// Writes the one-line report of an unexpected failure to standard error.
void reportUnexpectedFailure(const char *what);

inline constexpr int unexpectedFailureExitCode = 70;
