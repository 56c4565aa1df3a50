#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the program needs to know of its environment to pick a window system
// before the application object exists.
struct DisplayEnvironment
{
    QString platform;       // -platform, else QT_QPA_PLATFORM as the user set it, or empty
    QString x11Display;     // -display, else DISPLAY
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString runtimeDir;     // XDG_RUNTIME_DIR, where Wayland sockets are made
    QString sessionType;    // XDG_SESSION_TYPE
    // WAYLAND_SOCKET: a Wayland connection handed over already open.
    bool waylandSocketGiven = false;

    [[nodiscard]] static DisplayEnvironment fromProcess(int argc, const char *const *argv);
    // Qt reads two options of the command line that choose the window
    // system: "-platform NAME" and, for X11, "-display NAME" (either also
    // with two dashes); they win over the environment, the last one over
    // earlier ones.
    void applyQtOptions(const QStringList &arguments);
};

// One line for the user when no window system can be reached, telling how to
// run `program` under a virtual X server instead; an empty string when the
// program can start.
[[nodiscard]] QString missingDisplayMessage(const DisplayEnvironment &env, const QString &program);

// The exit status of a program that found no window system to start on.
inline constexpr int noDisplayExitCode = 2;

// The windows are placed at fixed screen positions, which a Wayland
// compositor does not let a client do. Where X11 is reachable too (XWayland)
// and the user has not chosen a platform, this returns "xcb"; otherwise empty.
[[nodiscard]] QString preferredPlatform(const DisplayEnvironment &env);

enum class DisplayProtocol { X11, Wayland };

// One display server that Qt's platform plugin would connect to.
struct DisplayServer
{
    DisplayProtocol protocol = DisplayProtocol::X11;
    // As the user names it: the X display (":59"), the Wayland display name
    // ("wayland-0"); empty for an X display when DISPLAY is not set.
    QString name;
    // The Wayland socket's path; empty when it cannot be worked out (no
    // XDG_RUNTIME_DIR). Unused for X11, where libxcb resolves the name.
    QString socketPath;
};

// The display servers Qt will try, in its order, for the platforms the user
// chose or the ones Qt picks by itself. Empty when one of those platforms
// needs no display server (offscreen, minimal, vnc, ...) or is one this
// program does not know, and on systems without X11 and Wayland: then there
// is nothing to check and Qt decides.
[[nodiscard]] QList<DisplayServer> displayServersToTry(const DisplayEnvironment &env);

// Whether a connection to `server` can be opened; it is closed again at once.
// True where the program cannot tell (built without libxcb).
[[nodiscard]] bool canReachDisplay(const DisplayServer &server);

// One line for the user when none of `tried` (not empty) answered, naming
// each and telling how to run `program` under a virtual X server instead.
[[nodiscard]] QString unreachableDisplayMessage(const QList<DisplayServer> &tried,
                                                const QString &program);

// Everything the program checks before it creates the application object:
// the line to print before exiting with status 2, or an empty string when it
// can start. Unlike the functions above, this one connects to the display
// servers.
[[nodiscard]] QString displayProblem(const DisplayEnvironment &env, const QString &program);
