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
    // Whether Qt's Wayland platform plugin is where Qt looks for it. Debian
    // ships it apart from Qt (package qt6-wayland); without it Qt cannot
    // start on Wayland, and aborts when no other platform starts.
    bool waylandPluginInstalled = true;
    // -platformpluginpath, else QT_QPA_PLATFORM_PLUGIN_PATH: a folder Qt
    // looks in for platform plugins before all others.
    QString platformPluginPath;

    [[nodiscard]] static DisplayEnvironment fromProcess(int argc, const char *const *argv);
    // Qt reads three options of the command line that choose the window
    // system: "-platform NAME", "-platformpluginpath FOLDER" and, for X11,
    // "-display NAME" (each also with two dashes); they win over the
    // environment, the last one over earlier ones.
    void applyQtOptions(const QStringList &arguments);
};

// The folders Qt looks in for its platform plugins, for a program in
// `programFolder`: the platform plugin path, the "platforms" folder of each
// entry of QT_PLUGIN_PATH (`pluginPathVariable`), of Qt's own plugin folder
// and of the program's folder.
[[nodiscard]] QStringList platformPluginFolders(const QString &platformPluginPath,
                                                const QString &pluginPathVariable,
                                                const QString &programFolder);

// Whether one of `folders` holds a Wayland platform plugin of Qt
// (libqwayland-generic.so, libqwayland-egl.so, ...): file names only,
// nothing is loaded.
[[nodiscard]] bool holdsWaylandPlugin(const QStringList &folders);

// One line for the user when Qt's Wayland plugin is missing and the program
// runs on X11 instead of the Wayland platform the user chose.
[[nodiscard]] QString waylandPluginFallbackNotice();

// One line for the user when no window system can be reached, telling how to
// run `program` under a virtual X server instead; an empty string when the
// program can start.
[[nodiscard]] QString missingDisplayMessage(const DisplayEnvironment &env, const QString &program);

// The exit status of a program that found no window system to start on.
inline constexpr int noDisplayExitCode = 2;

// The windows are placed at fixed screen positions, which a Wayland
// compositor does not let a client do. Where X11 is reachable too (XWayland)
// and the user has not chosen a platform, this returns "xcb". Where Qt would
// start on Wayland (the user's choice, or Qt's own where a Wayland display
// or session is announced) but its Wayland plugin is missing, X11 is the one
// left: "xcb" too. Otherwise empty.
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
    // Wayland only: Qt's Wayland plugin is not installed, so Qt cannot use
    // this display even where it answers.
    bool pluginMissing = false;
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

// Whether Qt can start on `server`: it answers, and for Wayland Qt's plugin
// is installed.
[[nodiscard]] bool canStartOn(const DisplayServer &server);

// One line for the user when none of `tried` (not empty) answered, naming
// each (and Qt's missing Wayland plugin with its Debian package) and telling
// how to run `program` under a virtual X server instead.
[[nodiscard]] QString unreachableDisplayMessage(const QList<DisplayServer> &tried,
                                                const QString &program);

// What the program does before it creates the application object.
struct DisplayDecision
{
    QString platform; // to set as QT_QPA_PLATFORM; empty to leave Qt's choice
    QString problem;  // the line to print before exiting with status 2
    QString notice;   // a line to print before starting anyway
};

// Everything the program checks before it creates the application object:
// the platform it prefers where that one answers (preferredPlatform), else
// whether any display server Qt would try answers and can be used. Unlike
// the functions above, this one connects to the display servers.
[[nodiscard]] DisplayDecision decideDisplay(const DisplayEnvironment &env, const QString &program);
