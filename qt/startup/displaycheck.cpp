#include "qt/startup/displaycheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QtGlobal>

#include <algorithm>
#include <utility>

// The desktop systems whose window system is X11 or Wayland, reached through
// a display server that may be missing.
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
#define GALEVANE_DISPLAY_SERVERS 1
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#if defined(GALEVANE_DISPLAY_SERVERS) && defined(GALEVANE_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace {

// The platforms Qt tries, in its order: the user's list, or where none is
// given Wayland first where a Wayland display or session is announced, then
// X11.
QStringList platformsToTry(const DisplayEnvironment &env)
{
    if (!env.platform.isEmpty())
        return env.platform.split(u';', Qt::SkipEmptyParts);
    if (!env.waylandDisplay.isEmpty() || env.sessionType == u"wayland")
        return {QStringLiteral("wayland"), QStringLiteral("xcb")};
    return {QStringLiteral("xcb")};
}

QString pluginOf(const QString &platformEntry)
{
    return platformEntry.section(u':', 0, 0);
}

bool isWaylandPlugin(const QString &plugin)
{
    return plugin.startsWith(u"wayland", Qt::CaseInsensitive);
}

bool isX11Plugin(const QString &plugin)
{
    return plugin.compare(u"xcb", Qt::CaseInsensitive) == 0;
}

// Where this program's file is, as Qt finds it.
[[maybe_unused]] QString programFolder(const char *argv0)
{
    QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (program.isEmpty() && argv0)
        program = QString::fromLocal8Bit(argv0);
    return program.isEmpty() ? QString() : QFileInfo(program).absolutePath();
}

} // namespace

DisplayEnvironment DisplayEnvironment::fromProcess(int argc, const char *const *argv)
{
    DisplayEnvironment env{
        qEnvironmentVariable("QT_QPA_PLATFORM"),  qEnvironmentVariable("DISPLAY"),
        qEnvironmentVariable("WAYLAND_DISPLAY"),  qEnvironmentVariable("XDG_RUNTIME_DIR"),
        qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariableIsSet("WAYLAND_SOCKET")};
    env.platformPluginPath = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    env.applyQtOptions(arguments);
#ifdef GALEVANE_DISPLAY_SERVERS
    // Looked for only where Qt would try Wayland.
    const QStringList platforms = platformsToTry(env);
    if (std::any_of(platforms.begin(), platforms.end(),
                    [](const QString &entry) { return isWaylandPlugin(pluginOf(entry)); })) {
        env.waylandPluginInstalled = holdsWaylandPlugin(
            platformPluginFolders(env.platformPluginPath, qEnvironmentVariable("QT_PLUGIN_PATH"),
                                  programFolder(argc > 0 ? argv[0] : nullptr)));
    }
#endif
    return env;
}

void DisplayEnvironment::applyQtOptions(const QStringList &arguments)
{
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        QStringView option = arguments.at(i);
        if (option.startsWith(u"--"))
            option = option.mid(1);
        if (option == u"-platform")
            platform = arguments.at(++i);
        else if (option == u"-platformpluginpath")
            platformPluginPath = arguments.at(++i);
        else if (option == u"-display")
            x11Display = arguments.at(++i);
    }
}

QString missingDisplayMessage(const DisplayEnvironment &env, const QString &program)
{
#ifdef GALEVANE_DISPLAY_SERVERS
    if (env.platform.isEmpty() && env.x11Display.isEmpty() && env.waylandDisplay.isEmpty()) {
        return QStringLiteral("galevane: no display found (DISPLAY and WAYLAND_DISPLAY are not "
                              "set); to run without a screen use: xvfb-run -a %1")
            .arg(program);
    }
#else
    Q_UNUSED(env)
    Q_UNUSED(program)
#endif
    return {};
}

QStringList platformPluginFolders(const QString &platformPluginPath,
                                  const QString &pluginPathVariable, const QString &programFolder)
{
    QStringList folders;
    if (!platformPluginPath.isEmpty())
        folders.append(platformPluginPath);
    QStringList pluginFolders = pluginPathVariable.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    pluginFolders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    if (!programFolder.isEmpty())
        pluginFolders.append(programFolder);
    for (const QString &folder : std::as_const(pluginFolders))
        folders.append(folder + QStringLiteral("/platforms"));
    return folders;
}

bool holdsWaylandPlugin(const QStringList &folders)
{
    const QStringList pattern{QStringLiteral("libqwayland-*.so")};
    return std::any_of(folders.begin(), folders.end(), [&pattern](const QString &folder) {
        return !QDir(folder).entryList(pattern, QDir::Files).isEmpty();
    });
}

QString waylandPluginFallbackNotice()
{
    return QStringLiteral("galevane: Qt's Wayland plugin is not installed (Debian package "
                          "qt6-wayland); starting on the X display instead");
}

QString preferredPlatform(const DisplayEnvironment &env)
{
    if (env.platform.isEmpty() && !env.waylandDisplay.isEmpty() && !env.x11Display.isEmpty())
        return QStringLiteral("xcb");
    if (!env.waylandPluginInstalled) {
        // Qt would try Wayland, and nothing but Wayland and X11.
        const QStringList platforms = platformsToTry(env);
        bool wayland = false;
        bool otherThanX11 = false;
        for (const QString &entry : platforms) {
            const QString plugin = pluginOf(entry);
            wayland = wayland || isWaylandPlugin(plugin);
            otherThanX11 = otherThanX11 || (!isWaylandPlugin(plugin) && !isX11Plugin(plugin));
        }
        if (wayland && !otherThanX11)
            return QStringLiteral("xcb");
    }
    return {};
}

QList<DisplayServer> displayServersToTry(const DisplayEnvironment &env)
{
#ifdef GALEVANE_DISPLAY_SERVERS
    // QT_QPA_PLATFORM (or -platform) may list several platforms separated by
    // ";", each perhaps with arguments after a ":"; Qt tries them in order
    // and uses the first that starts. Left alone, it tries Wayland first
    // where a Wayland session or display is announced, then X11.
    const QStringList platforms = platformsToTry(env);
    QList<DisplayServer> servers;
    for (const QString &entry : platforms) {
        const QString plugin = pluginOf(entry);
        if (isX11Plugin(plugin)) {
            servers.append({DisplayProtocol::X11, env.x11Display, {}});
        } else if (isWaylandPlugin(plugin)) {
            // libwayland-client takes an open connection from WAYLAND_SOCKET
            // before anything else; that one cannot be tried without using it.
            if (env.waylandSocketGiven && env.waylandPluginInstalled)
                return {};
            // The socket is $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY, or
            // WAYLAND_DISPLAY itself where it is an absolute path.
            const QString name =
                env.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : env.waylandDisplay;
            QString socketPath;
            if (name.startsWith(u'/'))
                socketPath = name;
            else if (!env.runtimeDir.isEmpty())
                socketPath = env.runtimeDir + u'/' + name;
            servers.append(
                {DisplayProtocol::Wayland, name, socketPath, !env.waylandPluginInstalled});
        } else {
            return {};
        }
    }
    return servers;
#else
    Q_UNUSED(env)
    return {};
#endif
}

namespace {

#ifdef GALEVANE_DISPLAY_SERVERS

bool canReachX11(const QString &display)
{
#ifdef GALEVANE_HAVE_XCB
    // The same call Qt's X11 platform plugin makes; an empty name makes
    // libxcb read DISPLAY, which is then empty too, and fail.
    const QByteArray name = display.toLocal8Bit();
    xcb_connection_t *connection =
        xcb_connect(name.isEmpty() ? nullptr : name.constData(), nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reached;
#else
    Q_UNUSED(display)
    return true;
#endif
}

bool canReachWayland(const QString &socketPath)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Like libwayland-client, no path at all or one too long for the address
    // cannot be connected to.
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0)
        return true; // out of descriptors or the like: let Qt find out itself
    const bool reached =
        connect(socketFd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    close(socketFd);
    return reached;
}

#endif

QString describe(const DisplayServer &server)
{
    if (server.protocol == DisplayProtocol::X11) {
        if (server.name.isEmpty())
            return QStringLiteral("the X display (DISPLAY is not set)");
        return QStringLiteral("the X display \"%1\"").arg(server.name);
    }
    QString wayland =
        server.socketPath.isEmpty()
            ? QStringLiteral("the Wayland display \"%1\" (XDG_RUNTIME_DIR is not set)")
                  .arg(server.name)
            : QStringLiteral("the Wayland display \"%1\" at %2")
                  .arg(server.name, server.socketPath);
    if (server.pluginMissing)
        wayland += QStringLiteral(
            " without Qt's Wayland plugin (not installed: Debian package qt6-wayland)");
    return wayland;
}

bool sameServer(const DisplayServer &a, const DisplayServer &b)
{
    return a.protocol == b.protocol && a.name == b.name && a.socketPath == b.socketPath;
}

} // namespace

bool canReachDisplay(const DisplayServer &server)
{
#ifdef GALEVANE_DISPLAY_SERVERS
    switch (server.protocol) {
    case DisplayProtocol::X11:
        return canReachX11(server.name);
    case DisplayProtocol::Wayland:
        return canReachWayland(server.socketPath);
    }
#else
    Q_UNUSED(server)
#endif
    return true;
}

bool canStartOn(const DisplayServer &server)
{
    return !server.pluginMissing && canReachDisplay(server);
}

QString unreachableDisplayMessage(const QList<DisplayServer> &tried, const QString &program)
{
    QStringList names;
    for (const DisplayServer &server : tried)
        names.append(describe(server));
    // A virtual X server only helps where X11 is among the platforms tried;
    // otherwise the platform has to be named as well.
    const bool triesX11 = std::any_of(tried.begin(), tried.end(), [](const DisplayServer &server) {
        return server.protocol == DisplayProtocol::X11;
    });
    return QStringLiteral(
               "galevane: cannot reach %1; to run without a screen use: %2xvfb-run -a %3")
        .arg(names.join(QStringLiteral(" nor ")),
             triesX11 ? QString() : QStringLiteral("QT_QPA_PLATFORM=xcb "), program);
}

DisplayDecision decideDisplay(const DisplayEnvironment &env, const QString &program)
{
    if (QString message = missingDisplayMessage(env, program); !message.isEmpty())
        return {{}, message, {}};
    QList<DisplayServer> servers = displayServersToTry(env);
    if (const QString preferred = preferredPlatform(env); !preferred.isEmpty()) {
        DisplayEnvironment onPreferred = env;
        onPreferred.platform = preferred;
        const QList<DisplayServer> preferredServers = displayServersToTry(onPreferred);
        if (preferredServers.isEmpty() ||
            std::all_of(preferredServers.begin(), preferredServers.end(), canStartOn)) {
            // Only a platform the user chose and Qt cannot start on is
            // replaced; Qt's own choice is replaced without a word.
            const bool replacesChoice = !env.platform.isEmpty() && !env.waylandPluginInstalled;
            return {preferred, {}, replacesChoice ? waylandPluginFallbackNotice() : QString()};
        }
        // The preferred one does not answer; Qt's own order may still find
        // one that does. Otherwise the line names both.
        for (const DisplayServer &server : preferredServers) {
            if (std::none_of(servers.begin(), servers.end(),
                             [&server](const DisplayServer &s) { return sameServer(s, server); }))
                servers.append(server);
        }
    }
    if (servers.isEmpty() || std::any_of(servers.begin(), servers.end(), canStartOn))
        return {};
    return {{}, unreachableDisplayMessage(servers, program), {}};
}
